// The scrambling of stored texts (the saved game, the credits file, the
// title's credit lines): byte i, counted from 1, exclusive-or i modulo 256.
// Applying it twice gives the text back; the length never changes.
#pragma once

#include <string>

inline std::string ScrambleText(std::string text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ ((i + 1) & 0xff));
    return text;
}
