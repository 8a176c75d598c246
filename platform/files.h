// Data files: every path the game names ("3do\Game\Transi1.3do") is resolved
// with '\' as '/' and each component matched without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The path of an existing file or folder matching `name` (relative to the
// current directory unless absolute), or the name with '\' turned into '/'
// when nothing matches (so that a new file is created under that name).
std::string ResolvePath(const std::string& name);

bool FileExists(const std::string& name);

// Whole file; nullopt when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name);

// Writes to a temporary file beside the target and renames it into place.
bool WriteWholeFile(const std::string& name, const std::vector<std::uint8_t>& data);

// Entry names of a folder ("." and ".." included, as the platform lists
// them); nullopt when the folder cannot be opened.
std::optional<std::vector<std::string>> ListFolder(const std::string& name);

// Last path component (after the last '/' or '\').
std::string BaseName(const std::string& path);
