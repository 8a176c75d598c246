#include "layers/include_rules.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

// Layers from the longest folder prefix down; a path belongs to the first
// that matches.
const std::vector<std::string> kLayers = {
    "engine/draw",
    "shell/qt",
    "editor/qt",
    "platform/qt",
    "platform/sdl",
    "platform/ffmpeg",
    "platform/enet",
    "platform/openmpt",
    "platform/fluidsynth",
    "platform",
    "media",
    "engine",
    "world",
    "formats",
    "net",
    "shell",
    "editor",
};

// What each layer may include besides itself.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"platform", {}},
    {"media", {"platform"}},
    {"engine", {"media", "platform"}},
    {"world", {"engine", "media", "platform"}},
    {"formats", {"world", "engine", "media", "platform"}},
    {"engine/draw", {"world", "engine", "media", "platform"}},
    {"net", {"formats", "world", "engine", "media", "platform"}},
    {"shell", {"net", "formats", "engine/draw", "world", "engine", "media", "platform"}},
    {"editor", {"formats", "engine/draw", "world", "engine", "media", "platform"}},
    {"platform/qt", {"media", "platform"}},
    {"platform/sdl", {"media", "platform"}},
    {"platform/ffmpeg", {"media", "platform"}},
    {"platform/enet", {"platform"}},
    {"platform/openmpt", {"media", "platform"}},
    {"platform/fluidsynth", {"media", "platform"}},
    {"shell/qt",
     {"shell", "net", "formats", "engine/draw", "world", "engine", "media", "platform",
      "platform/qt", "platform/sdl", "platform/ffmpeg", "platform/enet", "platform/openmpt",
      "platform/fluidsynth"}},
    {"editor/qt",
     {"editor", "formats", "engine/draw", "world", "engine", "media", "platform", "platform/qt",
      "platform/sdl", "platform/ffmpeg", "platform/openmpt", "platform/fluidsynth"}},
};

// Layers that may include the headers of outside libraries.
const std::set<std::string> kWindowSystem = {
    "platform/qt",      "platform/sdl",        "platform/ffmpeg", "platform/enet",
    "platform/openmpt", "platform/fluidsynth", "shell/qt",        "editor/qt"};

// Layers that may show message boxes: the programs, and the service itself.
const std::set<std::string> kMessageBoxUsers = {"platform", "platform/qt", "shell",
                                                "shell/qt", "editor",      "editor/qt"};

const std::regex kIncludeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
const std::regex kOutsideLibrary(
    R"(^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|SDL2?/.*|SDL.*|libav[a-z]*/.*|libsw[a-z]*/.*|enet/.*|fluidsynth.*|libopenmpt/.*)$)");

bool StartsWithFolder(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

} // namespace

std::string LayerOf(const std::string& path) {
    for (const std::string& layer : kLayers)
        if (StartsWithFolder(path, layer)) return layer;
    return "";
}

std::vector<IncludeViolation> CheckIncludes(const std::string& path, const std::string& text) {
    std::vector<IncludeViolation> found;
    const std::string layer = LayerOf(path);
    if (layer.empty()) return found;
    const std::set<std::string>& allowed = kAllowed.at(layer);

    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::smatch match;
        if (!std::regex_search(line, match, kIncludeLine)) continue;
        const bool quoted = match[1] == "\"";
        const std::string included = match[2];
        auto report = [&](const std::string& reason) {
            found.push_back({path, number, included, reason});
        };
        if (!quoted) {
            if (std::regex_match(included, kOutsideLibrary) && !kWindowSystem.count(layer))
                report("an outside library outside the window-system layers");
            continue;
        }
        const std::string target = LayerOf(included);
        if (target.empty()) continue; // a header next to the file, or not a layer's
        if (target != layer && !allowed.count(target))
            report("layer " + layer + " may not use layer " + target);
        if (included == "platform/message_box.h" && !kMessageBoxUsers.count(layer))
            report("only the programs show message boxes; return the error text instead");
    }
    return found;
}

std::vector<IncludeViolation> CheckSourceTree(const std::filesystem::path& root) {
    std::vector<IncludeViolation> found;
    std::set<std::string> tops;
    for (const std::string& layer : kLayers) tops.insert(layer.substr(0, layer.find('/')));
    std::vector<std::filesystem::directory_entry> entries;
    for (const std::string& top : tops) {
        if (!std::filesystem::is_directory(root / top)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / top))
            entries.push_back(entry);
    }
    for (const auto& entry : entries) {
        if (!entry.is_regular_file()) continue;
        const std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h") continue;
        const std::string path = entry.path().lexically_relative(root).generic_string();
        if (LayerOf(path).empty()) continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        const auto more = CheckIncludes(path, text.str());
        found.insert(found.end(), more.begin(), more.end());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(a.file, a.line) < std::tie(b.file, b.line);
    });
    return found;
}
