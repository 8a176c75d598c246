// A level pack's description, pack.ini beside its levels:
//   [Pack]
//   name = CAVES OF GOLD
//   author = ANNE
//   order = intro.lev, deeper.lev, last.lev
// Keys may also stand before any section. The order lists the pack's level
// files in play order, separated by commas; without it the levels play in
// file-name order. Blank lines and lines starting with ';' or '#' are
// comments; unknown keys and sections are ignored.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/loaded.h"

inline constexpr const char* kPackIniFile = "pack.ini";

// Far above any real pack.ini; a larger file is refused unread.
constexpr std::size_t kPackIniLimit = 64 * 1024;
// The most levels an order may name, and the longest name or author kept.
constexpr std::size_t kPackMaxOrder = 1000;
constexpr std::size_t kPackMaxText = 64;

struct PackInfo {
    std::string name;   // empty when not given
    std::string author; // empty when not given
    std::vector<std::string> order;
};

// Refused, with the reason and the line it was found on: a NUL byte, a line
// that is neither a section, a key, a comment nor blank, an unterminated
// section, an order entry that is empty, names a folder (a slash or
// backslash, "." or "..") or comes twice, or more than kPackMaxOrder entries.
// A name or author longer than kPackMaxText characters is cut.
Loaded<PackInfo> ParsePackIni(std::string_view text);
