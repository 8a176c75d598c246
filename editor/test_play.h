// Test-play: the level as it stands is written to a file of its own outside
// the level folder (so that the game's level list and the file being edited
// stay as they are) and the game is started on it with the editor's data.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct ProgramLaunch {
    std::string program;
    std::vector<std::string> arguments;
};

// The file test-play writes: in the system's folder for temporary files,
// named after this process, so that two editors at once keep their own copy.
std::filesystem::path TestPlayFile();

// Where the hero starts a test-play away from the level's own start.
struct PlayStart {
    int x = 0, y = 0, z = 0;
    int heading = 0; // angle units, 0..32767
};

// `kelvane --data <data folder> --level <file>`, the game found beside the
// editor's program; with a start, `--start-cell X,Y,Z --start-heading H` too.
ProgramLaunch TestPlayLaunch(const std::filesystem::path& levelFile,
                             const std::optional<PlayStart>& start = std::nullopt);

// Writes the level to TestPlayFile() and starts the game on it, from the
// level's start or from `start`. The file name, the modified flag and the
// history are left alone. A file that cannot be written or a game that cannot
// be started is said in a message.
bool TestPlayCommand(const std::optional<PlayStart>& start = std::nullopt);

// The selector's target cell and heading (turned into 0..32767).
PlayStart SelectorPlayStart();
// Test-play from the selector's cell and heading.
bool TestPlayFromHereCommand();

// Removes the copy test-play wrote, if any.
void RemoveTestPlayFile();
// When the editor ends: removes the copy unless a game was started on it,
// since that game reads the file again whenever the level restarts.
void ForgetTestPlayFile();
