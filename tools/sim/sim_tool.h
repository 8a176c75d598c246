// kelvane-sim: plays a level with the game's own frames and no window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit code 0 when --until is met (or none was asked), 1 when not, 2 on bad
// input.
int RunSimTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
