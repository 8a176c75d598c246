// The texture bank's text: image lines "N=FILE" after "#IMAGES", texture
// lines "N=A-B" after "#TEXTURES". Parsing only; LoadBank reads the files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct BankImageLine {
    std::int32_t index = 0;
    std::string file; // as normalised: upper case, no blanks
};

struct BankTextureLine {
    std::int32_t index = 0, first = 0, last = 0;
};

struct BankListing {
    std::vector<BankImageLine> images;     // in file order
    std::vector<BankTextureLine> textures; // in file order
};

// Removes tabs, carriage returns and spaces and upper-cases ASCII letters.
std::string NormaliseBankLine(std::string_view line);

// Lines before "#IMAGES" are ignored. Lines the format cannot hold are
// skipped: an index outside 0..32767, no "=" (or no "-" in a texture line),
// a number that is not plain decimal digits, an empty file name.
BankListing ParseBankText(std::string_view text);
