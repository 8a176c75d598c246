// Bitmap text: a small font (3 x 7 glyphs, picture slots 50..149) and a big
// one (8 x 15, slots 150..249) for the character codes 32..131, placed and
// sized in fractions of the screen so that text scales with the resolution.
#pragma once

#include <string>

// Width of the text as a fraction of the screen width (advance per
// character times its length).
double TextWidth(const std::string& text, bool big);

// Draws the text with its first glyph's top left corner at (left, top),
// fractions of the screen. A carriage return (13) starts a new line under
// the first character.
void DrawText(const std::string& text, bool big, double top, double left);

// The number in decimal with zeros put in front until it has `count`
// characters; they go before a minus sign too ("0-5" for -5 and 3).
std::string ZeroPad(long long number, int count);
