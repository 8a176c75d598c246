// The end screen's credits: the hand-written data/credits.txt turned into the
// lines of game.dat, each scrambled so that the file does not read as text.
#pragma once

#include <string>

// Source lines: ';' at the start marks a comment, "&" a big-font line, any
// other line (an empty one too) is a small-font line. Every line of the
// result starts with its font marker ("&" or a space), is scrambled and ends
// with '\n'; one blank line follows the last, because the game does not show
// the last line it reads. Throws std::runtime_error naming the line for
// characters the fonts lack and for lines whose scrambled bytes would end
// or break a line.
std::string EncodeCredits(const std::string& source);
