// The light scrambling of the saved game and the credits file, so that
// neither reads as plain text.
#pragma once

#include <string>

// Byte i of `text`, counted from 1, exclusive-or i modulo 256 (byte 256 with
// 0); the length is unchanged. Applying it twice gives the text back.
std::string ScrambleText(std::string text);
