// The game's state as "key=value" lines, for automated runs to compare.
#pragma once

#include <string>

// One line per value; text values have carriage returns and line feeds
// written as \r and \n, other control characters as \xHH.
std::string DescribeState();

bool WriteStateDump(const std::string& path);
