// The end screen's text: the lines of "game.dat", each kept scrambled (as
// ScrambleText left it) until it is drawn.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr std::int32_t kEndTextLines = 1001; // lines kept at most

struct EndTextRecord {
    std::vector<std::string> lines; // as read, at most 1001
    std::int32_t count = 0;         // lines shown: one less than the lines read
};

extern EndTextRecord endText;

// Splits the file's bytes into lines (ended by LF, CR or CR LF; a Ctrl-Z ends
// the text, as in a DOS text file) and keeps the first 1001. The last line
// read is not counted, so a file that ends with a spare line shows all the
// others.
EndTextRecord ParseEndText(std::span<const std::uint8_t> bytes);

// Reads "game.dat" from the current (data) folder into `endText`. When it
// cannot be opened, shows "GAME: The file game.dat does not exist. Please
// re-install the application" and returns false: the program must end.
bool ReadEndText();
