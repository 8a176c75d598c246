// Text values of the state dumps: one "key=value" line each, so line breaks
// and other control characters are written as escapes.
#pragma once

#include <string>

// Carriage returns and line feeds become \r and \n, other control characters
// \xHH; everything else is kept.
std::string EscapeDumpText(const std::string& text);
