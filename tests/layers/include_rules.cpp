#include "layers/include_rules.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

// Layers from the longest folder prefix down; a path belongs to the first
// that matches.
const std::vector<std::string> kLayers = {
    "shell/qt",
    "editor/qt",
    "backends/qt",
    "backends/sdl",
    "backends/ffmpeg",
    "backends/openmpt",
    "backends/fluidsynth",
    "net/enet",
    "net/portmap",
    "platform",
    "media",
    "engine",
    "world",
    "formats",
    "draw",
    "net",
    "shell",
    "editor",
};

// The adapters over outside libraries: each may use the layers it adapts to.
const std::set<std::string> kBackends = {"backends/qt", "backends/sdl", "backends/ffmpeg",
                                         "backends/openmpt", "backends/fluidsynth"};

std::set<std::string> withBackends(std::set<std::string> layers) {
    layers.insert(kBackends.begin(), kBackends.end());
    return layers;
}

// What each layer may include besides itself.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"platform", {}},
    {"media", {"platform"}},
    {"engine", {"media", "platform"}},
    {"world", {"engine", "media", "platform"}},
    {"formats", {"world", "engine", "media", "platform"}},
    {"draw", {"world", "engine", "media", "platform"}},
    {"net", {"formats", "world", "engine", "media", "platform"}},
    {"net/enet", {"net", "platform"}},
    {"net/portmap", {"net", "platform"}},
    {"shell", {"net", "formats", "draw", "world", "engine", "media", "platform"}},
    {"editor", {"formats", "draw", "world", "engine", "media", "platform"}},
    {"backends/qt", {"media", "platform"}},
    {"backends/sdl", {"media", "platform"}},
    {"backends/ffmpeg", {"media", "platform"}},
    {"backends/openmpt", {"media", "platform"}},
    {"backends/fluidsynth", {"media", "platform"}},
    {"shell/qt", withBackends({"shell", "net", "net/enet", "net/portmap", "formats", "draw",
                               "world", "engine", "media", "platform"})},
    {"editor/qt",
     withBackends({"editor", "formats", "draw", "world", "engine", "media", "platform"})},
};

// Layers that may include the headers of outside libraries.
const std::set<std::string> kWindowSystem =
    withBackends({"net/enet", "net/portmap", "shell/qt", "editor/qt"});

// Layers that may show message boxes: the programs, and the service itself.
const std::set<std::string> kMessageBoxUsers = {"platform", "backends/qt", "shell",
                                                "shell/qt", "editor",      "editor/qt"};

const std::regex kIncludeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
const std::regex kOutsideLibrary(
    R"(^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|SDL2?/.*|SDL.*|libav[a-z]*/.*|libsw[a-z]*/.*|enet/.*|natpmp\.h|miniupnpc/.*|fluidsynth.*|libopenmpt/.*)$)");

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

namespace {

// Calls `visit(path, text)` for every .cpp and .h file of the layers below
// `root`, with the path relative to it.
template <typename Visit> void forEachLayerFile(const std::filesystem::path& root, Visit visit) {
    std::set<std::string> tops;
    for (const std::string& layer : kLayers) tops.insert(layer.substr(0, layer.find('/')));
    for (const std::string& top : tops) {
        if (!std::filesystem::is_directory(root / top)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / top)) {
            if (!entry.is_regular_file()) continue;
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            const std::string path = entry.path().lexically_relative(root).generic_string();
            if (LayerOf(path).empty()) continue;
            std::ifstream file(entry.path(), std::ios::binary);
            std::ostringstream text;
            text << file.rdbuf();
            visit(path, text.str());
        }
    }
}

std::string topFolder(const std::string& layer) {
    return layer.substr(0, layer.find('/'));
}

} // namespace

std::vector<IncludeViolation> CheckSourceTree(const std::filesystem::path& root) {
    std::vector<IncludeViolation> found;
    forEachLayerFile(root, [&](const std::string& path, const std::string& text) {
        const auto more = CheckIncludes(path, text);
        found.insert(found.end(), more.begin(), more.end());
    });
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(a.file, a.line) < std::tie(b.file, b.line);
    });
    return found;
}

FolderGraph FolderIncludes(const std::string& path, const std::string& text) {
    FolderGraph graph;
    const std::string from = topFolder(LayerOf(path));
    if (from.empty()) return graph;
    graph[from];
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (!std::regex_search(line, match, kIncludeLine) || match[1] != "\"") continue;
        const std::string to = topFolder(LayerOf(match[2]));
        if (!to.empty() && to != from) graph[from].insert(to);
    }
    return graph;
}

FolderGraph FolderIncludeGraph(const std::filesystem::path& root) {
    FolderGraph graph;
    forEachLayerFile(root, [&](const std::string& path, const std::string& text) {
        for (const auto& [from, targets] : FolderIncludes(path, text))
            graph[from].insert(targets.begin(), targets.end());
    });
    return graph;
}

std::string FindFolderCircle(const FolderGraph& graph) {
    // Depth-first search; a folder met again while still on the path closes a circle.
    std::map<std::string, int> state; // 0 unseen, 1 on the path, 2 done
    std::vector<std::string> path;
    std::string circle;
    std::function<bool(const std::string&)> visit = [&](const std::string& node) {
        state[node] = 1;
        path.push_back(node);
        const auto edges = graph.find(node);
        if (edges != graph.end()) {
            for (const std::string& next : edges->second) {
                if (state[next] == 1) {
                    const auto begin = std::find(path.begin(), path.end(), next);
                    for (auto it = begin; it != path.end(); ++it) circle += *it + " -> ";
                    circle += next;
                    return true;
                }
                if (state[next] == 0 && visit(next)) return true;
            }
        }
        path.pop_back();
        state[node] = 2;
        return false;
    };
    for (const auto& [node, edges] : graph)
        if (state[node] == 0 && visit(node)) return circle;
    return "";
}
