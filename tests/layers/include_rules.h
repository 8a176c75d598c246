// Which layer a source file belongs to and which layers it may include. The
// table mirrors the target_link_libraries lines of the build and the picture
// in HACKING.md; the build alone would let a header of a higher layer slip in.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct IncludeViolation {
    std::string file;
    int line = 0;
    std::string included;
    std::string reason;
};

// The layer of a path relative to the source root ("engine/draw/scene.cpp"
// is "engine/draw"), or "" for files no rule covers (tools, tests, ...).
std::string LayerOf(const std::string& path);

// The include lines of `text` (a file at `path`) that break the rules: a
// header of a layer the file's layer may not use, an outside library (Qt,
// SDL, FFmpeg, ENet, ...) outside the window-system layers, or the message
// box service where the programs do not decide what the user sees.
std::vector<IncludeViolation> CheckIncludes(const std::string& path, const std::string& text);

// Every .cpp and .h file of the layers below `root`.
std::vector<IncludeViolation> CheckSourceTree(const std::filesystem::path& root);
