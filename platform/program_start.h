// The start both programs share, before any window or device: the command
// line, --help and --version, and the data folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/automation.h"
#include "platform/option_table.h"

// "PROGRAM VERSION (revision REVISION)" and a line end: what --version prints.
std::string VersionText(const std::string& program);

// Reads argv[1..] with `commandLine` (whose tables fill `options`). --help
// prints the program's usage and --version its version, both on standard
// output; a bad command line prints "PROGRAM: <error>" and the usage on
// standard error. Then finds the data folder (FindDataFolder) and makes it
// the current directory, and sets `dataFolder` to it. Returns the exit code
// when the program ends here (0 after --help or --version, 2 for a bad
// command line or data folder), nullopt when it goes on.
std::optional<int> StartProgram(const std::string& program, const CommandLine& commandLine,
                                AutomationOptions& options, int argc, char** argv,
                                std::filesystem::path& dataFolder);
