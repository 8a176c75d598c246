#include "render_tool.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "draw/scene.h"
#include "engine/render_context.h"
#include "formats/level_file.h"
#include "media/display.h"
#include "platform/files.h"
#include "png_writer.h"
#include "world/frame_clock.h"
#include "world/local_view.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

const char* const kUsage =
    "usage: kelvane-render --data DIR --level FILE [--size WxH] "
    "[--camera X,Y,Z,HEADING,PITCH] [--distance D] -o OUT.png\n"
    "  --camera   puts the player there (world units; angle units, 32768 a turn)\n"
    "  --distance 0 looks through the player's eyes; 512..1536 follows behind him\n";

constexpr int kMaxSide = 8192;
constexpr int kSettleFrames = 200; // the follow camera eases in over a few seconds
constexpr int kFrameMs = 50;

bool ParseFloat(const std::string& text, float& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

bool ParseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const auto parts = Split(text, 'x');
    return parts.size() == 2 && ParseInt(parts[0], width) && ParseInt(parts[1], height) &&
           width >= 2 && height >= 2 && width <= kMaxSide && height <= kMaxSide;
}

bool ParseCamera(const std::string& text, std::array<float, 5>& camera) {
    const auto parts = Split(text, ',');
    if (parts.size() != camera.size()) return false;
    for (std::size_t i = 0; i < camera.size(); ++i)
        if (!ParseFloat(parts[i], camera[i])) return false;
    return true;
}

void PlacePlayer(const RenderOptions& options) {
    localPlayer = 0;
    lastPlayer = 0;
    PlayerRecord& p = players[0];
    if (options.camera) {
        const auto& c = *options.camera;
        p.x = c[0];
        p.y = c[1];
        p.z = c[2];
        p.heading = c[3];
        p.pitch = c[4];
        p.pitchTarget = c[4];
    }
    p.cameraX = p.followX = p.x;
    p.cameraY = p.followY = p.y;
    p.cameraZ = p.followZ = p.z;
    p.cameraDistance = options.distance;
}

std::vector<std::uint8_t> PresentedRgb() {
    const std::vector<std::uint8_t> indices =
        ComposePresentedFrame(renderContext.mainBuffer, nullptr);
    std::vector<std::uint8_t> rgb;
    rgb.reserve(indices.size() * 3);
    for (const std::uint8_t index : indices)
        for (int channel = 0; channel < 3; ++channel)
            rgb.push_back(renderContext.palette[channel * 256 + index]);
    return rgb;
}

} // namespace

std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& args,
                                                std::string& error) {
    RenderOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            error = "missing value after " + name;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (name == "--data") {
            options.data = value;
        } else if (name == "--level") {
            options.level = value;
        } else if (name == "-o") {
            options.output = value;
        } else if (name == "--size") {
            if (!ParseSize(value, options.width, options.height)) {
                error = "bad size " + value + " (WxH, 2 to 8192 each)";
                return std::nullopt;
            }
        } else if (name == "--camera") {
            std::array<float, 5> camera{};
            if (!ParseCamera(value, camera)) {
                error = "bad camera " + value + " (X,Y,Z,HEADING,PITCH)";
                return std::nullopt;
            }
            options.camera = camera;
        } else if (name == "--distance") {
            if (!ParseFloat(value, options.distance) || options.distance < 0) {
                error = "bad distance " + value;
                return std::nullopt;
            }
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
    }
    if (options.data.empty() || options.level.empty() || options.output.empty()) {
        error = "--data, --level and -o are required";
        return std::nullopt;
    }
    return options;
}

int RunRenderTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<RenderOptions> parsed = ParseRenderOptions(args, error);
    if (!parsed) {
        err << "kelvane-render: " << error << "\n" << kUsage;
        return 2;
    }
    RenderOptions options = *parsed;

    // Paths given from here stay valid after moving into the data folder.
    std::error_code ec;
    options.output = fs::absolute(options.output, ec).string();
    options.level = StartFolderOrDataPath(options.level);
    fs::current_path(options.data, ec);
    if (ec) {
        err << "kelvane-render: cannot open the data folder " << options.data << ": "
            << ec.message() << "\n";
        return 1;
    }

    ClearWorldTables();
    BuildCubeFaceMeshes();
    const LevelLoad load = LoadLevel(options.level, "High");
    if (load.result != kLevelLoaded) {
        if (!load.error.empty()) err << load.error << "\n";
        err << "kelvane-render: the level " << options.level << " could not be loaded\n";
        return 1;
    }
    windowMode = true;
    SetupViewport(options.width, options.height);
    PlacePlayer(options);

    Now = 1000;
    frameMs = kFrameMs;
    const int frames = options.distance > 0 ? kSettleFrames : 1;
    for (int i = 0; i < frames; ++i) {
        UpdateLocalView();
        DrawPlayFrame(world);
        Now += kFrameMs;
    }

    if (!WritePng(options.output, options.width, options.height, PresentedRgb())) {
        err << "kelvane-render: cannot write " << options.output << "\n";
        return 1;
    }
    out << "wrote " << options.output << " (" << options.width << "x" << options.height << ")\n";
    return 0;
}
