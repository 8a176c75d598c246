// The commands of kelvane-level, writing to the given streams.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct LevelData;

// key=value lines describing a level: definition file, sizes, start, exit,
// texts, outside flag, sentries, seed, used music zones and the number of
// cells of each object type present.
std::string DescribeLevel(const LevelData& level);

// Runs the command in `args` (without the program name). Exit code 0 on
// success, 1 for a file that cannot be read or written, 2 for a usage error.
int RunLevelTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
