// Command-line options for automated runs, shared by the game and the editor:
// data folder, headless mode, frame count, virtual clock, fixed seed, an input
// script, the files written at the end (screenshot, state dump, audio), --help
// and --version; and the input script's reader.
#pragma once

#include <bitset>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/keys.h"
#include "platform/loaded.h"
#include "platform/option_table.h"

// The controller inputs a script can hold: "PAD_UP" ... "PAD_START" on a
// key line, each a bit of ScriptEntry::pad in this order.
enum ScriptPadInput : std::uint32_t {
    kScriptPadUp,
    kScriptPadDown,
    kScriptPadLeft,
    kScriptPadRight,
    kScriptPadA,
    kScriptPadB,
    kScriptPadX,
    kScriptPadY,
    kScriptPadStart,
    kScriptPadInputCount
};

// One script line: the keys (and controller inputs) held down on frames
// first..last (counted from 1).
struct ScriptEntry {
    std::int64_t first = 0, last = 0;
    std::vector<int> keys;
    std::uint32_t pad = 0; // bit 1 << ScriptPadInput for each input held
};

using KeySet = std::bitset<kVirtualKeyCount>;

// A script line "FRAME F VERB ..." acting on the window's named components
// on that frame, in the order of the lines:
//   F MENU <objectName>            triggers a menu item
//   F CLICK <objectName>           clicks an icon or a button
//   F SELECT <objectName> <text>   chooses a drop-down list's item, as a user does
//   F ANSWER <text>|CANCEL         queued for the next input box or question
//   F SAVEANSWER YES|NO|CANCEL     queued for the next "save changes?" question
//   F FILE <path>|CANCEL           queued for the next file dialog
//   F MOUSE X Y [LEFT] [RIGHT]     the mouse at X, Y over the window, buttons held
enum class FormVerb { Menu, Click, Select, Answer, SaveAnswer, File, Mouse };

struct FormCommand {
    std::int64_t frame = 0;
    FormVerb verb = FormVerb::Menu;
    std::string target; // the object name (MENU, CLICK, SELECT)
    std::string text;   // the item, answer or path, spaces kept
    bool cancel = false;
    int x = 0, y = 0;
    bool left = false, right = false;
};

struct InputScript {
    std::vector<ScriptEntry> entries;
    std::vector<FormCommand> formCommands;
};

// The options both programs take; the game's own extend them (GameOptions).
struct AutomationOptions {
    std::vector<std::string> arguments; // every argument as given, options included
    std::string dataFolder;
    bool headless = false;
    std::optional<std::int64_t> frames;
    std::optional<std::int32_t> frameMs;
    std::optional<std::uint32_t> seed;
    std::string scriptFile;
    InputScript script;
    std::string screenshotFile;
    std::string dumpStateFile;
    std::string recordAudioFile;
    bool helpRequested = false;
    bool versionRequested = false;
};

struct AutomationParse {
    AutomationOptions options;
    std::string error; // empty when the command line is good
};

constexpr int kBadCommandLineExitCode = 2;

// The options both programs take, in the order their help lists them.
std::span<const OptionEntry<AutomationOptions>> SharedOptionTable();
// Adds the shared table, filling `options`, to a program's command line.
void AddSharedOptions(CommandLine& commandLine, AutomationOptions& options);

// Reads `arguments` (argv[1..]) with `commandLine`, whose tables fill
// `options`; then makes the output files and the script absolute (the
// programs move into their data folder later) and reads the script. The
// error, empty when the command line is good.
std::string ReadAutomationOptions(const CommandLine& commandLine,
                                  const std::vector<std::string>& arguments,
                                  AutomationOptions& options);

// The shared options alone: the editor's command line.
AutomationParse ParseAutomationOptions(const std::vector<std::string>& arguments);

// Script text: one entry per line, "FIRST[-LAST] KEY..." or "FRAME F VERB ...",
// where a KEY may also be a controller input (PAD_A, PAD_UP, PAD_START ...),
// with blank lines and lines starting with '#' ignored. The error names the line
// ("script line 3: no keys after the frames").
Loaded<InputScript> ParseInputScript(const std::string& text);
// The same, with the error in `error` and nullopt on failure.
std::optional<InputScript> ParseInputScript(const std::string& text, std::string& error);

// Reads and parses a script file. Errors: "cannot read the script '<file>'",
// "the script '<file>' is larger than 16 MiB" (it is not read), or
// "<file>: " and the parser's error.
Loaded<InputScript> ReadInputScript(const std::string& file);

// The keys the script holds down on `frame`.
KeySet ScriptKeysForFrame(const InputScript& script, std::int64_t frame);
// The controller inputs it holds then (bits as in ScriptEntry::pad).
std::uint32_t ScriptPadForFrame(const InputScript& script, std::int64_t frame);
// Whether any line holds a controller input: the run's controller is then
// the script's.
bool ScriptUsesPad(const InputScript& script);

// The form commands of `frame`, in script order.
std::vector<FormCommand> FormCommandsForFrame(const InputScript& script, std::int64_t frame);

// Presses and releases keys so that exactly the script's keys for `frame` are
// held by it. `held` is what the script held on the previous frame; only
// changes are fed in, so the keyboard's own events are left alone, and a key
// the window let go (focus lost) is pressed again while the script holds it.
void FeedScriptKeys(const InputScript& script, std::int64_t frame, KeySet& held);

// The folder of the running program (from /proc/self/exe, else argv[0]).
std::filesystem::path ExecutableFolder(const char* argv0);

// The data folder: --data DIR when given (an error when it is not a folder),
// else "data" next to the program, else "../share/kelvane" relative to it,
// else the current directory.
std::optional<std::filesystem::path> FindDataFolder(const AutomationOptions& options,
                                                    const std::filesystem::path& programFolder,
                                                    std::string& error);
