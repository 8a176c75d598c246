#include "platform/automation.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <sstream>

#include "platform/files.h"
#include "platform/net_address.h"
#include "platform/text_case.h"

namespace fs = std::filesystem;

namespace {

// The session's long-name field holds a nickname of at most 51 characters;
// a listing holds at most 64 sessions.
constexpr std::size_t kNicknameMax = 51;
constexpr std::size_t kListedSessionsMax = 64;

// A whole decimal number within [low, high]; nothing else on the text.
std::optional<std::int64_t> parseNumber(const std::string& text, std::int64_t low,
                                        std::int64_t high) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [next, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || next != end || value < low || value > high)
        return std::nullopt;
    return value;
}

// Four numbers 0..255 joined by dots, nothing else: the transport takes
// numeric addresses only, so a name is refused here rather than failing later.
bool isDottedQuad(const std::string& text) {
    std::istringstream in(text);
    int parts = 0;
    for (std::string part; std::getline(in, part, '.');) {
        if (part.size() > 3 || !parseNumber(part, 0, 255)) return false;
        ++parts;
    }
    return parts == 4 && text.back() != '.';
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;) result.push_back(word);
    return result;
}

constexpr std::int64_t kMaxFrame = std::numeric_limits<std::int64_t>::max() / 2;

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
    static const std::pair<const char*, FormVerb> kVerbs[] = {
        {"MENU", FormVerb::Menu},     {"CLICK", FormVerb::Click}, {"SELECT", FormVerb::Select},
        {"ANSWER", FormVerb::Answer}, {"FILE", FormVerb::File},   {"MOUSE", FormVerb::Mouse}};
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
        const auto x = parts.size() >= 5 ? parseNumber(parts[3], -100000, 100000) : std::nullopt;
        const auto y = parts.size() >= 5 ? parseNumber(parts[4], -100000, 100000) : std::nullopt;
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

// The network options and --script-from; false with the error set when the
// value is malformed.
bool parseNetOption(const std::string& arg, const std::string& value, NetRunOptions& net,
                    std::string& error) {
    const auto number = [&](std::int64_t low, std::int64_t high, const char* what) {
        const auto n = parseNumber(value, low, high);
        if (!n) {
            error = arg + " needs " + what + " from " + std::to_string(low) + " to " +
                    std::to_string(high) + ", not '" + value + "'";
        }
        return n;
    };
    if (arg == "--script-from") {
        if (value != "play") {
            error = "--script-from takes only 'play', not '" + value + "'";
            return false;
        }
        net.scriptFromPlay = true;
    } else if (arg == "--nickname") {
        if (value.size() > kNicknameMax) {
            error = "--nickname takes at most " + std::to_string(kNicknameMax) + " characters";
            return false;
        }
        net.nickname = value;
    } else if (arg == "--net-provider") {
        net.provider = value;
    } else if (arg == "--net-broadcast" || arg == "--net-bind") {
        if (!isDottedQuad(value)) {
            error = arg + " needs an IPv4 address such as 127.255.255.255, not '" + value + "'";
            return false;
        }
        (arg == "--net-bind" ? net.bindAddress : net.broadcastAddress) = value;
    } else if (arg == "--net-discovery-port") {
        const auto port = number(1, 65535, "a port number");
        if (!port) return false;
        net.discoveryPort = static_cast<std::uint16_t>(*port);
    } else if (arg == "--net-port") {
        const auto port = number(0, 65535, "a port number");
        if (!port) return false;
        net.port = static_cast<std::uint16_t>(*port);
    } else if (arg == "--net-address") {
        if (!ParseHostPort(value, 1)) {
            error = "--net-address needs HOST or HOST:PORT (port 1 to 65535), not '" + value + "'";
            return false;
        }
        net.address = value;
    } else if (arg == "--net-go-at") {
        const auto players = number(1, 4, "a number of players");
        if (!players) return false;
        net.goAt = static_cast<std::int32_t>(*players);
    } else if (arg == "--net-loss") {
        const auto percent = number(0, 100, "a percentage");
        if (!percent) return false;
        net.lossPercent = static_cast<std::int32_t>(*percent);
    } else if (arg == "--net-delay") {
        const auto ms = number(0, 10000, "milliseconds");
        if (!ms) return false;
        net.delayMs = static_cast<std::int32_t>(*ms);
    }
    return true;
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
        const auto first = parseNumber(range.substr(0, dash), 1, kMaxFrame);
        const auto last =
            dash == std::string::npos ? first : parseNumber(range.substr(dash + 1), 1, kMaxFrame);
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
            const auto vk = VirtualKeyFromName(parts[i]);
            if (!vk) {
                return LoadFailure{where + "unknown key '" + parts[i] +
                                   "' (keys: UP DOWN LEFT RIGHT SPACE CTRL SHIFT ESC F1..F12 ADD "
                                   "SUBTRACT DELETE BACK PGUP PGDN "
                                   "A..Z)"};
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

std::string AutomationUsage(const std::string& program) {
    return "usage: " + program +
           " [options]\n"
           "  --data DIR               data folder\n"
           "  --headless               no window and no audio device; message boxes go to "
           "stderr\n"
           "  --frames N               run N frames, then close as the window's close would\n"
           "  --frame-ms MS            virtual clock: each frame advances it by MS; frames run "
           "back to back\n"
           "  --seed N                 seed the random generator with N instead of the clock\n"
           "  --script FILE            input script: lines 'FIRST[-LAST] KEY...' or 'FRAME F VERB "
           "...'\n"
           "  --screenshot FILE.png    save the last presented picture at exit\n"
           "  --dump-state FILE        write the state as key=value lines at exit\n"
           "  --record-audio FILE.wav  mix the sound into a wave file instead of a device\n"
           "  --level N|FILE           skip the title: a new game on level N of the list, or on\n"
           "                           that one level file\n"
           "  --script-from play       the script's frame 1 is the first play frame\n"
           "network play (with /NETWORK):\n"
           "  --nickname NAME          the nickname, instead of the lobby's prompt\n"
           "  --net-provider NAME      the transport chosen in the lobby's list\n"
           "  --net-broadcast ADDR     where discovery probes go (an IPv4 address)\n"
           "  --net-discovery-port P   the UDP port of discovery probes\n"
           "  --net-bind ADDR          the local address to bind (an IPv4 address)\n"
           "  --net-port P             a created session's port (0: any free port)\n"
           "  --net-address HOST[:PORT] the host for \"Direct address\"\n"
           "  --net-create             create a session\n"
           "  --net-go-at N            the host presses Go once N players (1 to 4) are listed\n"
           "  --net-join [INDEX]       list until a session exists, then join the INDEXth\n"
           "                           (from 0; the first when not given)\n"
           "  --net-loss PCT           drop PCT % of incoming datagrams (seeded by --seed)\n"
           "  --net-delay MS           hold incoming datagrams back MS ms (0 to 10000)\n";
}

AutomationParse ParseAutomationOptions(const std::vector<std::string>& arguments) {
    AutomationParse result;
    AutomationOptions& options = result.options;
    options.arguments = arguments;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg.rfind("--", 0) != 0) continue; // left for the program
        if (arg == "--help") {
            result.helpRequested = true;
            continue;
        }
        if (arg == "--headless") {
            options.headless = true;
            continue;
        }
        if (arg == "--net-create") {
            options.net.create = true;
            continue;
        }
        if (arg == "--net-join") {
            // The index is optional: a following whole number is taken as it.
            options.net.joinIndex = 0;
            if (i + 1 < arguments.size() && !arguments[i + 1].empty() &&
                arguments[i + 1].find_first_not_of("0123456789") == std::string::npos) {
                constexpr auto kLastIndex = static_cast<std::int64_t>(kListedSessionsMax) - 1;
                const auto index = parseNumber(arguments[i + 1], 0, kLastIndex);
                if (!index) {
                    result.error = "--net-join needs a session index from 0 to " +
                                   std::to_string(kLastIndex) + ", not '" + arguments[i + 1] + "'";
                    return result;
                }
                options.net.joinIndex = static_cast<std::int32_t>(*index);
                ++i;
            }
            continue;
        }
        static const char* const withValue[] = {
            "--data",          "--frames",      "--frame-ms",           "--seed",
            "--script",        "--screenshot",  "--dump-state",         "--record-audio",
            "--level",         "--script-from", "--nickname",           "--net-provider",
            "--net-broadcast", "--net-bind",    "--net-discovery-port", "--net-port",
            "--net-address",   "--net-go-at",   "--net-loss",           "--net-delay"};
        if (std::find(std::begin(withValue), std::end(withValue), arg) == std::end(withValue)) {
            result.error = "unknown option '" + arg + "'";
            return result;
        }
        if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
            result.error = arg + " needs a value";
            return result;
        }
        const std::string& value = arguments[++i];

        if (arg == "--data") {
            options.dataFolder = value;
        } else if (arg == "--frames") {
            const auto n = parseNumber(value, 0, kMaxFrame);
            if (!n) {
                result.error = "--frames needs a whole number of 0 or more, not '" + value + "'";
                return result;
            }
            options.frames = *n;
        } else if (arg == "--frame-ms") {
            const auto ms = parseNumber(value, 0, 3600000);
            if (!ms) {
                result.error = "--frame-ms needs a whole number of milliseconds from 0 to "
                               "3600000, not '" +
                               value + "'";
                return result;
            }
            options.frameMs = static_cast<std::int32_t>(*ms);
        } else if (arg == "--seed") {
            const auto seed = parseNumber(value, 0, std::numeric_limits<std::uint32_t>::max());
            if (!seed) {
                result.error =
                    "--seed needs a whole number from 0 to 4294967295, not '" + value + "'";
                return result;
            }
            options.seed = static_cast<std::uint32_t>(*seed);
        } else if (arg == "--script") {
            options.scriptFile = value;
        } else if (arg == "--screenshot") {
            if (!EndsWithNoCase(value, ".png")) {
                result.error = "--screenshot needs a file name ending in .png, not '" + value + "'";
                return result;
            }
            options.screenshotFile = value;
        } else if (arg == "--dump-state") {
            options.dumpStateFile = value;
        } else if (arg == "--record-audio") {
            if (!EndsWithNoCase(value, ".wav")) {
                result.error =
                    "--record-audio needs a file name ending in .wav, not '" + value + "'";
                return result;
            }
            options.recordAudioFile = value;
        } else if (arg == "--level") {
            const bool number = std::all_of(value.begin(), value.end(),
                                            [](char c) { return c >= '0' && c <= '9'; });
            if (number) {
                const auto index = parseNumber(value, 0, std::numeric_limits<std::int32_t>::max());
                if (!index) {
                    result.error =
                        "--level needs a level number or a level file, not '" + value + "'";
                    return result;
                }
                options.levelIndex = static_cast<std::int32_t>(*index);
            } else {
                std::error_code ec;
                if (!fs::is_regular_file(value, ec)) {
                    result.error = "--level: the level file '" + value + "' does not exist";
                    return result;
                }
                options.levelFile = value;
            }
        } else if (!parseNetOption(arg, value, options.net, result.error)) {
            return result;
        }
    }

    if (options.net.create && options.net.joinIndex) {
        result.error = "--net-create and --net-join exclude each other";
        return result;
    }

    // Output files and the script stay relative to the folder the program was
    // started in, although the game later moves into its data folder.
    for (std::string* path : {&options.scriptFile, &options.screenshotFile, &options.dumpStateFile,
                              &options.recordAudioFile, &options.levelFile}) {
        std::error_code ec;
        if (!path->empty()) *path = fs::absolute(*path, ec).string();
    }

    if (!options.scriptFile.empty()) {
        // Read as given: the script lives outside the data folder.
        Loaded<InputScript> script = ReadInputScript(options.scriptFile);
        if (!script) {
            result.error = script.error;
            return result;
        }
        options.script = std::move(*script);
    }
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
