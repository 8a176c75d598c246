// Which layer a source file belongs to and which layers it may include. The
// table mirrors the target_link_libraries lines of the build and the picture
// in HACKING.md; the build alone would let a header of a higher layer slip in.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

struct IncludeViolation {
    std::string file;
    int line = 0;
    std::string included;
    std::string reason;
};

// The layer of a path relative to the source root ("backends/qt/presenter.cpp"
// is "backends/qt"), or "" for files no rule covers (tools, tests, ...).
std::string LayerOf(const std::string& path);

// The include lines of `text` (a file at `path`) that break the rules: a
// header of a layer the file's layer may not use, an outside library (Qt,
// SDL, FFmpeg, ENet, ...) outside the window-system layers, or the message
// box service where the programs do not decide what the user sees.
std::vector<IncludeViolation> CheckIncludes(const std::string& path, const std::string& text);

// Every .cpp and .h file of the layers below `root`.
std::vector<IncludeViolation> CheckSourceTree(const std::filesystem::path& root);

// Which top-level folders each top-level folder includes, every layer folder
// taken as one node ("draw/scene.cpp" and "draw/text.h" are both "draw").
using FolderGraph = std::map<std::string, std::set<std::string>>;

// The folders that one file (at `path`, holding `text`) includes.
FolderGraph FolderIncludes(const std::string& path, const std::string& text);

// The folder graph of every layer file below `root`.
FolderGraph FolderIncludeGraph(const std::filesystem::path& root);

// One circle of the graph as "a -> b -> a", or "" when there is none.
std::string FindFolderCircle(const FolderGraph& graph);
