// The one-byte character set of the level file's texts (Windows-1252) and
// UTF-8, the programs' own text: the conversions both ways, and a plain
// ASCII stand-in for drawing with fonts that only hold ASCII.
#pragma once

#include <string>
#include <string_view>

struct Cp1252Text {
    std::string bytes;   // one byte per character that could be held
    std::string refused; // the characters that could not, each once, in UTF-8, in order
};

// UTF-8 to Windows-1252. A character the set lacks, and a byte that is not
// part of well-formed UTF-8 (as U+FFFD), is left out and named in `refused`.
// The five codes the set leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// stand for U+0081 and so on, so that every byte converts back and forth.
Cp1252Text Utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8; every byte has a character.
std::string Cp1252ToUtf8(std::string_view bytes);

// The refused characters for a message: each in quotes, separated by
// spaces, control characters as U+XXXX.
std::string RefusedCharactersText(const std::string& refused);

// Each byte of 127 and above as the ASCII letter it is written with
// ('\xE9' e-acute as 'e', '\xC6' as 'A'), '?' when it has none; bytes below
// 127 are kept.
std::string Cp1252ToAscii(std::string_view bytes);
