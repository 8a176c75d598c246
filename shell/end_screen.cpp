#include "shell/end_screen.h"

#include <algorithm>
#include <cmath>

#include "draw/pipeline.h"
#include "draw/text.h"
#include "engine/angles.h"
#include "media/music_player.h"
#include "platform/scramble_text.h"
#include "shell/end_text.h"
#include "shell/screen_flow.h"
#include "shell/screen_input.h"
#include "shell/shell_state.h"
#include "world/frame_clock.h"
#include "world/models.h"
#include "world/random.h"
#include "world/world.h"

EndScreenState endScreen;

namespace {

constexpr int kEndMusic = 1;
constexpr float kOrbitRadius = 1024;
constexpr std::int32_t kEndLight = 10000;
constexpr std::int32_t kHeroHeight = 150;
constexpr float kSparkRestart = 2048;
constexpr float kGlowTime = 100;
constexpr double kTextAbove = -0.03, kTextBelow = 1.07;
constexpr double kBigLineStep = 0.06, kSmallLineStep = 0.03;

PlayerRecord& localRecord() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

// A falling spark spins and flickers; one on the ground fades, then falls
// again from lower down.
void updateSpark(Spark& spark) {
    if (spark.y != kSparkGround) {
        spark.y -= frameScaled(20);
        if (spark.y < kSparkGround) spark.y = kSparkGround;
        spark.spinA += frameScaled(spark.spinSpeedA);
        spark.spinB += frameScaled(spark.spinSpeedB);
        spark.shade = static_cast<std::uint8_t>(RandomInt(256));
        return;
    }
    spark.glowTime -= frameScaled(5);
    // Never below 0, however long the frame.
    const float faded = spark.shade + RelaxStep(spark.shade, 0, 0.05f);
    spark.shade = static_cast<std::uint8_t>(std::clamp(RoundEven(faded), 0, 255));
    if (spark.glowTime < 0) {
        spark.glowTime = kGlowTime;
        spark.y = kSparkRestart;
    }
}

void drawCredits() {
    for (const EndTextLine& line : EndTextLayout(endText, endScreen.DrawnScrollTop))
        if (line.shown)
            DrawText(line.text, line.big, line.top, 0.5 - TextWidth(line.text, line.big) / 2);
}

} // namespace

void EndInput() {
    if (AnyButtonSet(1, 4)) CloseScreenWithChoice();
}

void ResetCameraOrbits() {
    const int last = std::clamp<int>(lastPlayer, -1, kPlayerCount - 1);
    for (int i = 0; i <= last; ++i) players[i].cameraOrbit = 0;
}

void StartEndScreen() {
    endScreen.ScrollTop = 1.0f;
    endScreen.DrawnScrollTop = 1.0f;
    for (Spark& spark : endScreen.Sparks) {
        spark.shade = static_cast<std::uint8_t>(RandomInt(256));
        spark.spinA = static_cast<float>(RandomInt(32767));
        spark.spinB = static_cast<float>(RandomInt(32767));
        spark.spinSpeedA = static_cast<float>(RandomInt(1200));
        spark.spinSpeedB = static_cast<float>(RandomInt(1200));
        spark.x = static_cast<float>(RandomInt(2048) - 1024);
        spark.z = static_cast<float>(RandomInt(2048) - 1024);
        spark.y = static_cast<float>(RandomInt(3072) + 4096);
        spark.glowTime = kGlowTime;
    }
}

std::vector<EndTextLine> EndTextLayout(const EndTextRecord& text, double scrollTop) {
    std::vector<EndTextLine> layout;
    double top = scrollTop;
    const std::size_t count =
        std::min(text.lines.size(), static_cast<std::size_t>(std::max(text.count, 0)));
    for (std::size_t i = 0; i < count; ++i) {
        if (text.lines[i].empty()) continue;
        const std::string plain = ScrambleText(text.lines[i]);
        const bool big = plain.front() == '&';
        layout.push_back({plain.substr(1), big, top, top > kTextAbove && top < kTextBelow});
        top += big ? kBigLineStep : kSmallLineStep;
    }
    return layout;
}

void DrawEndScreen() {
    ClearFrame(0);
    const PlayerRecord& player = localRecord();
    const std::int32_t orbit = RoundEven(player.cameraOrbit);
    SetCamera(RoundEven(AngleCos(orbit) * kOrbitRadius), 0,
              RoundEven(AngleSin(orbit) * kOrbitRadius), -orbit - 8192, 0, 0);
    AddLight(0, 0, 0, kEndLight);
    SubmitMesh(MeshOrNull(player.poses[0]), 0, kHeroHeight, 0, 0, 0);
    SubmitMesh(MeshOrNull(podiumMesh), 0, 0, 0, 0, 0);
    SubmitMesh(MeshOrNull(flagMesh), 0, 0, 0, 0, 0);
    // One copy of the spark model, recoloured before each spark is queued;
    // the model itself is left as it is.
    if (markerMesh && !markerMesh->faces.empty()) {
        Mesh spark = *markerMesh;
        for (const Spark& s : endScreen.Sparks) {
            spark.faces[0].texture = s.shade;
            SubmitMesh(&spark, RoundEven(s.x), RoundEven(s.y), RoundEven(s.z), 0, 0,
                       RoundEven(s.spinB), RoundEven(s.spinA));
        }
    }
    DrawQueue();
    drawCredits();
}

bool EndScreenUpdate() {
    ShellState& s = shellState;
    if (s.FirstFrame) {
        StartMusic(kEndMusic);
        s.FirstFrame = false;
        StartEndScreen();
    }
    EndInput();
    if (s.VideoPlaying) return false;
    if (s.TransitionCompleted) {
        // Back to the title; this frame is still drawn.
        StartTransition(-1);
        ChangeScreen(kScreenTitle);
    }
    PlayerRecord& player = localRecord();
    // Kept within a turn, so that a long stay does not wear away its precision.
    player.cameraOrbit = std::fmod(player.cameraOrbit + frameScaled(200), 32768.0f);
    for (Spark& spark : endScreen.Sparks) updateSpark(spark);
    // The picture shows the credits where they are; they rise for the next frame.
    endScreen.DrawnScrollTop = endScreen.ScrollTop;
    endScreen.ScrollTop -= frameScaled(0.005f);
    return true;
}
