#include "platform/automation.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <sstream>

#include "platform/files.h"
#include "platform/text_case.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;) result.push_back(word);
    return result;
}

constexpr std::int64_t kMaxFrame = std::numeric_limits<std::int64_t>::max() / 2;

constexpr const char* kPadInputNames[kScriptPadInputCount] = {
    "PAD_UP", "PAD_DOWN", "PAD_LEFT", "PAD_RIGHT", "PAD_A", "PAD_B", "PAD_X", "PAD_Y", "PAD_START"};

std::optional<std::uint32_t> padInputFromName(const std::string& name) {
    const std::string upper = UpperAscii(name);
    for (std::uint32_t i = 0; i < kScriptPadInputCount; ++i)
        if (upper == kPadInputNames[i]) return i;
    return std::nullopt;
}

// The line after its first `count` words, without the blanks before it: the
// free text of a form command, inner spaces kept.
std::string restAfterWords(const std::string& line, int count) {
    std::size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    };
    for (int i = 0; i < count; ++i) {
        skipBlanks();
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    }
    skipBlanks();
    std::string rest = line.substr(at);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.pop_back();
    return rest;
}

std::optional<FormVerb> formVerb(const std::string& word) {
    static const std::pair<const char*, FormVerb> kVerbs[] = {{"MENU", FormVerb::Menu},
                                                              {"CLICK", FormVerb::Click},
                                                              {"SELECT", FormVerb::Select},
                                                              {"ANSWER", FormVerb::Answer},
                                                              {"FILE", FormVerb::File},
                                                              {"MOUSE", FormVerb::Mouse},
                                                              {"SAVEANSWER", FormVerb::SaveAnswer}};
    for (const auto& [name, verb] : kVerbs)
        if (word == name) return verb;
    return std::nullopt;
}

// "FRAME F VERB ..." once the frame and the verb are known to be there; the
// error (without the line) when the rest is malformed.
std::optional<FormCommand> parseFormCommand(const std::string& line,
                                            const std::vector<std::string>& parts,
                                            std::int64_t frame, FormVerb verb, std::string& error) {
    FormCommand command;
    command.frame = frame;
    command.verb = verb;
    switch (verb) {
    case FormVerb::Menu:
    case FormVerb::Click:
        if (parts.size() != 4) {
            error = "F " + parts[2] + " needs one object name";
            return std::nullopt;
        }
        command.target = parts[3];
        break;
    case FormVerb::Select:
        if (parts.size() < 5) {
            error = "F SELECT needs an object name and an item text";
            return std::nullopt;
        }
        command.target = parts[3];
        command.text = restAfterWords(line, 4);
        break;
    case FormVerb::Answer:
    case FormVerb::SaveAnswer:
    case FormVerb::File:
        command.text = restAfterWords(line, 3);
        command.cancel = command.text == "CANCEL";
        if (command.cancel) command.text.clear();
        if (verb == FormVerb::File && command.text.empty() && !command.cancel) {
            error = "F FILE needs a path or CANCEL";
            return std::nullopt;
        }
        break;
    case FormVerb::Mouse: {
        const auto x =
            parts.size() >= 5 ? ParseWholeNumber(parts[3], -100000, 100000) : std::nullopt;
        const auto y =
            parts.size() >= 5 ? ParseWholeNumber(parts[4], -100000, 100000) : std::nullopt;
        if (!x || !y) {
            error = "F MOUSE needs the whole numbers X and Y";
            return std::nullopt;
        }
        command.x = static_cast<int>(*x);
        command.y = static_cast<int>(*y);
        for (std::size_t i = 5; i < parts.size(); ++i) {
            if (parts[i] == "LEFT") {
                command.left = true;
            } else if (parts[i] == "RIGHT") {
                command.right = true;
            } else {
                error = "F MOUSE takes LEFT and RIGHT after X and Y, not '" + parts[i] + "'";
                return std::nullopt;
            }
        }
        break;
    }
    }
    return command;
}

} // namespace

Loaded<InputScript> ParseInputScript(const std::string& text) {
    InputScript script;
    std::istringstream in(text);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> parts = words(line);
        if (parts.empty() || parts[0][0] == '#') continue;
        const std::string where = "script line " + std::to_string(lineNumber) + ": ";

        ScriptEntry entry;
        const std::string& range = parts[0];
        const auto dash = range.find('-');
        const auto first = ParseWholeNumber(range.substr(0, dash), 1, kMaxFrame);
        const auto last = dash == std::string::npos
                              ? first
                              : ParseWholeNumber(range.substr(dash + 1), 1, kMaxFrame);
        if (!first || !last) {
            return LoadFailure{where + "'" + range +
                               "' is not a frame number or range FIRST-LAST (from 1)"};
        }
        if (*last < *first) {
            return LoadFailure{where + "the range '" + range + "' ends before it starts"};
        }
        entry.first = *first;
        entry.last = *last;
        if (parts.size() < 2) {
            return LoadFailure{where + "no keys after the frames"};
        }
        // "F" followed by a verb is a form command; "F" alone or before keys is the key F.
        const std::optional<FormVerb> verb =
            parts.size() >= 3 && parts[1] == "F" ? formVerb(parts[2]) : std::nullopt;
        if (verb) {
            if (*first != *last) {
                return LoadFailure{where + "a form command runs on one frame, not '" + range + "'"};
            }
            std::string error;
            std::optional<FormCommand> command =
                parseFormCommand(line, parts, *first, *verb, error);
            if (!command) return LoadFailure{where + error};
            script.formCommands.push_back(std::move(*command));
            continue;
        }
        for (std::size_t i = 1; i < parts.size(); ++i) {
            if (const auto pad = padInputFromName(parts[i])) {
                entry.pad |= 1u << *pad;
                continue;
            }
            const auto vk = VirtualKeyFromName(parts[i]);
            if (!vk) {
                return LoadFailure{where + "unknown key '" + parts[i] +
                                   "' (keys: UP DOWN LEFT RIGHT SPACE CTRL SHIFT ESC F1..F12 ADD "
                                   "SUBTRACT DELETE BACK PGUP PGDN PLUS MINUS "
                                   "A..Z; controller: PAD_UP PAD_DOWN PAD_LEFT PAD_RIGHT "
                                   "PAD_A PAD_B PAD_X PAD_Y PAD_START)"};
            }
            entry.keys.push_back(*vk);
        }
        script.entries.push_back(std::move(entry));
    }
    return LoadedValue(std::move(script));
}

std::optional<InputScript> ParseInputScript(const std::string& text, std::string& error) {
    Loaded<InputScript> script = ParseInputScript(text);
    if (!script) error = script.error;
    return std::move(script.value);
}

Loaded<InputScript> ReadInputScript(const std::string& file) {
    const SmallFile text = ReadSmallFile(file);
    if (text.status == SmallFileStatus::TooLarge)
        return LoadFailure{TooLargeText("the script '" + file + "'")};
    if (text.status == SmallFileStatus::Missing)
        return LoadFailure{"cannot read the script '" + file + "'"};
    Loaded<InputScript> script =
        ParseInputScript(std::string(text.bytes.begin(), text.bytes.end()));
    if (!script) script.error = file + ": " + script.error;
    return script;
}

KeySet ScriptKeysForFrame(const InputScript& script, std::int64_t frame) {
    KeySet held;
    for (const ScriptEntry& entry : script.entries) {
        if (frame < entry.first || frame > entry.last) continue;
        for (int vk : entry.keys) held.set(static_cast<std::size_t>(vk));
    }
    return held;
}

std::uint32_t ScriptPadForFrame(const InputScript& script, std::int64_t frame) {
    std::uint32_t held = 0;
    for (const ScriptEntry& entry : script.entries)
        if (frame >= entry.first && frame <= entry.last) held |= entry.pad;
    return held;
}

bool ScriptUsesPad(const InputScript& script) {
    return std::any_of(script.entries.begin(), script.entries.end(),
                       [](const ScriptEntry& e) { return e.pad != 0; });
}

namespace {

// " needs a file name ending in EXT, not 'VALUE'" unless it ends so.
std::string fileEndingIn(const char* ending, const std::string& value) {
    if (EndsWithNoCase(value, ending)) return {};
    return std::string(" needs a file name ending in ") + ending + ", not '" + value + "'";
}

using Shared = AutomationOptions;

const OptionEntry<Shared> kSharedOptions[] = {
    {{"--data", ValueForm::Required, "DIR", "data folder"},
     [](Shared& o, const std::string& v) {
         o.dataFolder = v;
         return std::string();
     }},
    {{"--headless", ValueForm::None, "",
      "no window and no audio device; message boxes go to stderr"},
     [](Shared& o, const std::string&) {
         o.headless = true;
         return std::string();
     }},
    {{"--frames", ValueForm::Required, "N", "run N frames, then close as the window's close would"},
     [](Shared& o, const std::string& v) {
         o.frames = ParseWholeNumber(v, 0, kMaxFrame);
         return o.frames ? std::string() : " needs a whole number of 0 or more, not '" + v + "'";
     }},
    {{"--frame-ms", ValueForm::Required, "MS",
      "virtual clock: each frame advances it by MS; frames run back to back"},
     [](Shared& o, const std::string& v) {
         const auto ms = ParseWholeNumber(v, 0, 3600000);
         if (!ms) return RangeError("a whole number of milliseconds", 0, 3600000, v);
         o.frameMs = static_cast<std::int32_t>(*ms);
         return std::string();
     }},
    {{"--seed", ValueForm::Required, "N", "seed the random generator with N instead of the clock"},
     [](Shared& o, const std::string& v) {
         constexpr std::int64_t kHighest = std::numeric_limits<std::uint32_t>::max();
         const auto seed = ParseWholeNumber(v, 0, kHighest);
         if (!seed) return RangeError("a whole number", 0, kHighest, v);
         o.seed = static_cast<std::uint32_t>(*seed);
         return std::string();
     }},
    {{"--script", ValueForm::Required, "FILE",
      "input script: lines 'FIRST[-LAST] KEY...' or 'FRAME F VERB ...'"},
     [](Shared& o, const std::string& v) {
         o.scriptFile = v;
         return std::string();
     }},
    {{"--screenshot", ValueForm::Required, "FILE.png", "save the last presented picture at exit"},
     [](Shared& o, const std::string& v) {
         o.screenshotFile = v;
         return fileEndingIn(".png", v);
     }},
    {{"--dump-state", ValueForm::Required, "FILE", "write the state as key=value lines at exit"},
     [](Shared& o, const std::string& v) {
         o.dumpStateFile = v;
         return std::string();
     }},
    {{"--record-audio", ValueForm::Required, "FILE.wav",
      "mix the sound into a wave file instead of a device"},
     [](Shared& o, const std::string& v) {
         o.recordAudioFile = v;
         return fileEndingIn(".wav", v);
     }},
    {{"--help", ValueForm::None, "", "list these options"},
     [](Shared& o, const std::string&) {
         o.helpRequested = true;
         return std::string();
     }},
    {{"--version", ValueForm::None, "", "print the program's version and the build's revision"},
     [](Shared& o, const std::string&) {
         o.versionRequested = true;
         return std::string();
     }},
};

} // namespace

std::span<const OptionEntry<AutomationOptions>> SharedOptionTable() {
    return kSharedOptions;
}

void AddSharedOptions(CommandLine& commandLine, AutomationOptions& options) {
    commandLine.Add(SharedOptionTable(), options);
}

std::string ReadAutomationOptions(const CommandLine& commandLine,
                                  const std::vector<std::string>& arguments,
                                  AutomationOptions& options) {
    options.arguments = arguments;
    if (std::string error = commandLine.Parse(arguments); !error.empty()) return error;

    // Output files and the script stay relative to the folder the program was
    // started in, although the program later moves into its data folder.
    for (std::string* path : {&options.scriptFile, &options.screenshotFile, &options.dumpStateFile,
                              &options.recordAudioFile}) {
        std::error_code ec;
        if (!path->empty()) *path = fs::absolute(*path, ec).string();
    }
    if (!options.scriptFile.empty()) {
        // Read as given: the script lives outside the data folder.
        Loaded<InputScript> script = ReadInputScript(options.scriptFile);
        if (!script) return script.error;
        options.script = std::move(*script);
    }
    return {};
}

AutomationParse ParseAutomationOptions(const std::vector<std::string>& arguments) {
    AutomationParse result;
    CommandLine commandLine;
    AddSharedOptions(commandLine, result.options);
    result.error = ReadAutomationOptions(commandLine, arguments, result.options);
    return result;
}

fs::path ExecutableFolder(const char* argv0) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && !self.empty()) return self.parent_path();
    if (argv0 == nullptr) return fs::current_path(ec);
    return fs::absolute(fs::path(argv0), ec).parent_path();
}

std::optional<fs::path> FindDataFolder(const AutomationOptions& options,
                                       const fs::path& programFolder, std::string& error) {
    std::error_code ec;
    if (!options.dataFolder.empty()) {
        const fs::path folder = fs::absolute(options.dataFolder, ec);
        if (ec || !fs::is_directory(folder, ec)) {
            error = "the data folder '" + options.dataFolder + "' does not exist";
            return std::nullopt;
        }
        return folder;
    }
    for (const fs::path& candidate :
         {programFolder / "data", programFolder / ".." / "share" / "kelvane"}) {
        if (fs::is_directory(candidate, ec)) return candidate.lexically_normal();
    }
    return fs::current_path(ec);
}

std::vector<FormCommand> FormCommandsForFrame(const InputScript& script, std::int64_t frame) {
    std::vector<FormCommand> result;
    for (const FormCommand& command : script.formCommands)
        if (command.frame == frame) result.push_back(command);
    return result;
}

void FeedScriptKeys(const InputScript& script, std::int64_t frame, KeySet& held) {
    const KeySet wanted = ScriptKeysForFrame(script, frame);
    for (int vk = 0; vk < kVirtualKeyCount; ++vk) {
        const auto bit = static_cast<std::size_t>(vk);
        if (wanted[bit] && (!held[bit] || !KeyIsDown(vk))) PressKey(vk);
        if (!wanted[bit] && held[bit]) ReleaseKey(vk);
    }
    held = wanted;
}
