#include "platform/program_start.h"

#include <cstdio>
#include <vector>

#include "platform/build_version.h"

std::string VersionText(const std::string& program) {
    return program + " " + kProgramVersion + " (revision " + kBuildRevision + ")\n";
}

std::optional<int> StartProgram(const std::string& program, const CommandLine& commandLine,
                                AutomationOptions& options, int argc, char** argv,
                                std::filesystem::path& dataFolder) {
    // argv[0] is the program; a start without it (argc 0) has no arguments.
    const std::vector<std::string> arguments(argc > 1 ? argv + 1 : argv,
                                             argc > 1 ? argv + argc : argv);
    const std::string error = ReadAutomationOptions(commandLine, arguments, options);
    // Asked for before anything went wrong (the reading stops at the first
    // error), the help or the version is what the user wants.
    if (options.helpRequested) {
        std::fputs(commandLine.Usage(program).c_str(), stdout);
        return 0;
    }
    if (options.versionRequested) {
        std::fputs(VersionText(program).c_str(), stdout);
        return 0;
    }
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), error.c_str(),
                     commandLine.Usage(program).c_str());
        return kBadCommandLineExitCode;
    }

    std::string folderError;
    const auto folder =
        FindDataFolder(options, ExecutableFolder(argc > 0 ? argv[0] : nullptr), folderError);
    if (!folder) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), folderError.c_str());
        return kBadCommandLineExitCode;
    }
    std::error_code ec;
    std::filesystem::current_path(*folder, ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot enter the data folder '%s': %s\n", program.c_str(),
                     folder->c_str(), ec.message().c_str());
        return kBadCommandLineExitCode;
    }
    dataFolder = *folder;
    return std::nullopt;
}
