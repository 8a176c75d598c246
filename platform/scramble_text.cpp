#include "platform/scramble_text.h"

std::string ScrambleText(std::string text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ ((i + 1) & 0xff));
    return text;
}
