// Test-play: the level as it stands is written to a file of its own outside
// the level folder (so that the game's level list and the file being edited
// stay as they are) and the game is started on it with the editor's data.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ProgramLaunch {
    std::string program;
    std::vector<std::string> arguments;
};

// The file test-play writes: in the system's folder for temporary files,
// named after this process, so that two editors at once keep their own copy.
std::filesystem::path TestPlayFile();

// `kelvane --data <data folder> --level <file>`, the game found beside the
// editor's program.
ProgramLaunch TestPlayLaunch(const std::filesystem::path& levelFile);

// Writes the level to TestPlayFile() and starts the game on it. The file
// name, the modified flag and the history are left alone. A file that cannot
// be written or a game that cannot be started is said in a message.
bool TestPlayCommand();

// Removes the copy test-play wrote, if any.
void RemoveTestPlayFile();
// When the editor ends: removes the copy unless a game was started on it,
// since that game reads the file again whenever the level restarts.
void ForgetTestPlayFile();
