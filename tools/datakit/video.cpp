// The video clip of the music list: a slow flight around the outdoor level,
// drawn frame by frame by the game's own renderer and encoded by the ffmpeg
// program with bit-exact settings, so the clip is the same on every run.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "datakit.h"
#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "draw/scene.h"
#include "engine/angles.h"
#include "engine/render_context.h"
#include "formats/level_file.h"
#include "media/display.h"
#include "world/frame_clock.h"
#include "world/local_view.h"
#include "world/title_overlay.h"
#include "world/world.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFramesPerSecond = 12;
constexpr int kFrames = 96; // eight seconds
constexpr const char* kLevel = "LEVEL/10-OpenSky.lev";
constexpr const char* kClip = "MUSIC/FLYBY.AVI";

// Puts the viewer on a circle around the middle of the level, low enough for
// the carried light to reach the ground, looking at the middle and a little down.
void placeViewer(int frame) {
    const float centreX = worldGrid.sizeX * 256.0f;
    const float centreZ = worldGrid.sizeZ * 256.0f;
    const float radius = std::min(worldGrid.sizeX, worldGrid.sizeZ) * 512.0f * 0.3f;
    const int around = 8192 + frame * 16384 / kFrames; // a half turn over the clip
    PlayerRecord& viewer = players[0];
    viewer.x = centreX + radius * AngleSin(static_cast<float>(around));
    viewer.z = centreZ + radius * AngleCos(static_cast<float>(around));
    viewer.y = 1700.0f;
    viewer.heading = static_cast<float>(around + 16384);
    viewer.pitch = viewer.pitchTarget = -900.0f;
    viewer.cameraDistance = 0;
}

std::string encoderCommand() {
    return std::string("ffmpeg -nostdin -y -loglevel error -f rawvideo -pix_fmt rgb24 -s ") +
           std::to_string(kWidth) + "x" + std::to_string(kHeight) + " -r " +
           std::to_string(kFramesPerSecond) +
           " -i - -c:v mpeg4 -q:v 3 -threads 1 -fflags +bitexact -flags:v +bitexact"
           " -map_metadata -1 " +
           kClip;
}

} // namespace

void GenerateVideo(const DataKit& kit) {
    InFolder inside(kit.out);
    std::filesystem::create_directories("MUSIC");
    BuildCubeFaceMeshes();
    const LevelLoad load = LoadLevel(kLevel, "High");
    if (load.result != kLevelLoaded)
        throw std::runtime_error(std::string("cannot load ") + kLevel +
                                 " for the video clip: " + load.error);
    SetupViewport(kWidth, kHeight);
    localPlayer = 0;
    lastPlayer = 0;
    titleOverlay.shown = false;

    FILE* encoder = popen(encoderCommand().c_str(), "w");
    if (!encoder) throw std::runtime_error("cannot start ffmpeg for the video clip");
    std::vector<std::uint8_t> rgb(kWidth * kHeight * 3);
    for (int frame = 0; frame < kFrames; ++frame) {
        Now = frame * 1000 / kFramesPerSecond;
        frameMs = 1000 / kFramesPerSecond;
        placeViewer(frame);
        UpdateLocalView();
        DrawPlayFrame(world);
        const std::vector<std::uint8_t> picture =
            ComposePresentedFrame(renderContext.mainBuffer, nullptr);
        for (int i = 0; i < kWidth * kHeight; ++i)
            for (int channel = 0; channel < 3; ++channel)
                rgb[i * 3 + channel] = renderContext.palette[channel * 256 + picture[i]];
        if (std::fwrite(rgb.data(), 1, rgb.size(), encoder) != rgb.size()) break;
    }
    if (pclose(encoder) != 0) throw std::runtime_error("ffmpeg failed to encode the video clip");
}
