#include "editor/test_play.h"

#include <optional>
#include <system_error>

#include "editor/editor_state.h"
#include "editor/level_commands.h"
#include "engine/angles.h"
#include "formats/level_file.h"
#include "platform/files.h"

namespace {

// The copy written last, so that it is removed even when the folder for
// temporary files has changed since.
std::optional<std::filesystem::path> written;
// A game was started on the copy (not only its command line recorded).
bool gameStarted = false;

} // namespace

std::filesystem::path TestPlayFile() {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec) folder = "/tmp";
    return folder / ("kelvedit-test-play-" + std::to_string(CurrentProcessId()) + ".lev");
}

ProgramLaunch TestPlayLaunch(const std::filesystem::path& levelFile,
                             const std::optional<PlayStart>& start) {
    ProgramLaunch launch{
        editor.gameProgram,
        {"--data", editor.dataFolder, "--level", std::filesystem::absolute(levelFile).string()}};
    if (start) {
        launch.arguments.insert(launch.arguments.end(),
                                {"--start-cell",
                                 std::to_string(start->x) + "," + std::to_string(start->y) + "," +
                                     std::to_string(start->z),
                                 "--start-heading", std::to_string(start->heading)});
    }
    return launch;
}

PlayStart SelectorPlayStart() {
    const CellPosition c = TargetCell();
    const int turn = 32768;
    const int heading = ((TruncToInt(editor.target.heading) % turn) + turn) % turn;
    return {c.x, c.y, c.z, heading};
}

bool TestPlayFromHereCommand() {
    return TestPlayCommand(SelectorPlayStart());
}

bool TestPlayCommand(const std::optional<PlayStart>& start) {
    const std::filesystem::path file = TestPlayFile();
    if (written && *written != file) RemoveTestPlayFile();
    if (!WriteLevelBytes(file.string(), EncodeEditorLevel())) {
        ShowEditorMessage("The file " + file.string() + " could not be written.");
        return false;
    }
    written = file;
    const ProgramLaunch launch = TestPlayLaunch(file, start);
    std::string line = launch.program;
    for (const std::string& argument : launch.arguments) line += " " + argument;
    std::error_code ec;
    const bool found =
        !launch.program.empty() && std::filesystem::is_regular_file(launch.program, ec);
    // Without a launcher (a run without a screen) the command line is only
    // recorded, so that no game is left running behind a test.
    const bool started = found && (!editorServices.startProgram ||
                                   editorServices.startProgram(launch.program, launch.arguments));
    if (!started) {
        const std::string game = launch.program.empty() ? "kelvane" : launch.program;
        ShowEditorMessage(found ? "The game " + game + " could not be started."
                                : "The game " + game + " was not found.");
        return false;
    }
    editor.lastLaunch = line;
    if (editorServices.startProgram) gameStarted = true;
    return true;
}

void RemoveTestPlayFile() {
    if (!written) return;
    std::error_code ec;
    std::filesystem::remove(*written, ec);
    written.reset();
    gameStarted = false;
}

void ForgetTestPlayFile() {
    if (!gameStarted) RemoveTestPlayFile();
}
