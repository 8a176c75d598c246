// Runs one of the built tool programs with its output captured in files of
// a temporary folder.
#pragma once

#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "support/test_support.h"

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

inline RunResult RunTool(const std::string& program, const TempDir& dir,
                         const std::string& arguments) {
    const std::string out = dir.file("stdout.txt"), err = dir.file("stderr.txt");
    const int status =
        std::system(("'" + program + "' " + arguments + " >'" + out + "' 2>'" + err + "'").c_str());
    const auto outBytes = ReadBytes(out), errBytes = ReadBytes(err);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(outBytes.begin(), outBytes.end()),
            std::string(errBytes.begin(), errBytes.end())};
}
