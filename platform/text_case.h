// Case folding of ASCII letters only: file names, keys and option values are
// compared the same way whatever locale the program runs in (a locale could
// fold bytes above 127 into other bytes).
#pragma once

#include <string>
#include <string_view>

char UpperAscii(char c);
char LowerAscii(char c);
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

bool EqualNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
