#include "shell/game_options.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <sstream>

#include "net/net_transport.h"
#include "platform/files.h"
#include "platform/net_address.h"
#include "platform/text_case.h"

namespace {

// Four numbers 0..255 joined by dots, nothing else: the transport takes
// numeric addresses only, so a name is refused here rather than failing later.
bool isDottedQuad(const std::string& text) {
    std::istringstream in(text);
    int parts = 0;
    for (std::string part; std::getline(in, part, '.');) {
        if (part.size() > 3 || !ParseWholeNumber(part, 0, 255)) return false;
        ++parts;
    }
    return parts == 4 && text.back() != '.';
}

std::string ipv4(std::string& field, const std::string& value) {
    if (!isDottedQuad(value))
        return " needs an IPv4 address such as 127.255.255.255, not '" + value + "'";
    field = value;
    return {};
}

// A number option within [low, high] stored through `field`.
template <class Field>
std::string number(Field& field, const std::string& value, const char* what, std::int64_t low,
                   std::int64_t high) {
    const auto n = ParseWholeNumber(value, low, high);
    if (!n) return RangeError(what, low, high, value);
    field = static_cast<Field>(*n);
    return {};
}

std::string port(std::optional<std::uint16_t>& field, const std::string& value,
                 std::int64_t lowest) {
    std::uint16_t n = 0;
    std::string error = number(n, value, "a port number", lowest, 65535);
    if (error.empty()) field = n;
    return error;
}

constexpr std::int64_t kLastSessionIndex = static_cast<std::int64_t>(kNetMaxSessions) - 1;
const std::string kNoError;

const OptionEntry<GameOptions> kGameOptions[] = {
    {{"--level", ValueForm::Required, "N|FILE",
      "skip the title: a new game on level N of the list, or on\nthat one level file"},
     [](GameOptions& o, const std::string& v) {
         if (std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; })) {
             const auto index = ParseWholeNumber(v, 0, std::numeric_limits<std::int32_t>::max());
             if (!index) return " needs a level number or a level file, not '" + v + "'";
             o.levelIndex = static_cast<std::int32_t>(*index);
             return kNoError;
         }
         o.levelFile = v; // checked once the data folder, where it may also be, is known

         return kNoError;
     }},
    {{"--start-cell", ValueForm::Required, "X,Y,Z",
      "with --level FILE: start on this cell instead of the level's start"},
     [](GameOptions& o, const std::string& v) {
         std::array<std::int32_t, 3> cell{};
         std::istringstream in(v);
         std::size_t parts = 0;
         for (std::string part; std::getline(in, part, ',');) {
             const auto n = parts < 3 ? ParseWholeNumber(part, 0, 1 << 24) : std::nullopt;
             if (!n) return " needs three cell numbers X,Y,Z, not '" + v + "'";
             cell[parts++] = static_cast<std::int32_t>(*n);
         }
         if (parts != 3 || v.back() == ',')
             return " needs three cell numbers X,Y,Z, not '" + v + "'";
         o.startCell = cell;
         return kNoError;
     }},
    {{"--start-heading", ValueForm::Required, "H",
      "with --start-cell: the heading there (angle units, 0 to 32767)"},
     [](GameOptions& o, const std::string& v) {
         std::int32_t heading = 0;
         std::string error = number(heading, v, "a heading", 0, 32767);
         if (error.empty()) o.startHeading = heading;
         return error;
     }},
    {{"--replay", ValueForm::Required, "FILE.kvr",
      "play a replay back: its level, controls and frame times\n(another version or level is "
      "refused, exit code 2)"},
     [](GameOptions& o, const std::string& v) {
         o.replayFile = v;
         return kNoError;
     }},
    {{"--script-from", ValueForm::Required, "play", "the script's frame 1 is the first play frame"},
     [](GameOptions& o, const std::string& v) {
         if (v != "play") return " takes only 'play', not '" + v + "'";
         o.net.scriptFromPlay = true;
         return kNoError;
     }},
    {{"--nickname", ValueForm::Required, "NAME", "the nickname, instead of the lobby's prompt",
      "network play (with /NETWORK):"},
     [](GameOptions& o, const std::string& v) {
         // The session's long-name field holds the nickname.
         if (v.size() > kNetLongNameMax)
             return " takes at most " + std::to_string(kNetLongNameMax) + " characters";
         o.net.nickname = v;
         return kNoError;
     }},
    {{"--net-provider", ValueForm::Required, "NAME", "the transport chosen in the lobby's list"},
     [](GameOptions& o, const std::string& v) {
         o.net.provider = v;
         return kNoError;
     }},
    {{"--net-broadcast", ValueForm::Required, "ADDR",
      "where discovery probes go (an IPv4 address)"},
     [](GameOptions& o, const std::string& v) { return ipv4(o.net.broadcastAddress, v); }},
    {{"--net-discovery-port", ValueForm::Required, "P", "the UDP port of discovery probes"},
     [](GameOptions& o, const std::string& v) { return port(o.net.discoveryPort, v, 1); }},
    {{"--net-bind", ValueForm::Required, "ADDR", "the local address to bind (an IPv4 address)"},
     [](GameOptions& o, const std::string& v) { return ipv4(o.net.bindAddress, v); }},
    {{"--net-port", ValueForm::Required, "P", "a created session's port (0: any free port)"},
     [](GameOptions& o, const std::string& v) { return port(o.net.port, v, 0); }},
    {{"--net-address", ValueForm::Required, "HOST[:PORT]", "the host for \"Direct address\""},
     [](GameOptions& o, const std::string& v) {
         if (!ParseHostPort(v, 1))
             return " needs HOST or HOST:PORT (port 1 to 65535), not '" + v + "'";
         o.net.address = v;
         return kNoError;
     }},
    {{"--net-create", ValueForm::None, "", "create a session"},
     [](GameOptions& o, const std::string&) {
         o.net.create = true;
         return kNoError;
     }},
    {{"--net-go-at", ValueForm::Required, "N",
      "the host presses Go once N players (1 to 4) are listed"},
     [](GameOptions& o, const std::string& v) {
         return number(o.net.goAt, v, "a number of players", 1, 4);
     }},
    {{"--net-join", ValueForm::OptionalIndex, "[INDEX]",
      "list until a session exists, then join the INDEXth\n(from 0; the first when not given)"},
     [](GameOptions& o, const std::string& v) {
         std::int32_t index = 0;
         if (!v.empty()) {
             std::string error = number(index, v, "a session index", 0, kLastSessionIndex);
             if (!error.empty()) return error;
         }
         o.net.joinIndex = index;
         return kNoError;
     }},
    {{"--net-loss", ValueForm::Required, "PCT",
      "drop PCT % of incoming datagrams (seeded by --seed)"},
     [](GameOptions& o, const std::string& v) {
         return number(o.net.lossPercent, v, "a percentage", 0, 100);
     }},
    {{"--net-delay", ValueForm::Required, "MS", "hold incoming datagrams back MS ms (0 to 10000)"},
     [](GameOptions& o, const std::string& v) {
         return number(o.net.delayMs, v, "milliseconds", 0, 10000);
     }},
    {{"--net-port-mapping", ValueForm::Required, "on|off",
      "whether a created game asks the router to forward its port\n(headless runs: off unless "
      "on)"},
     [](GameOptions& o, const std::string& v) {
         if (v != "on" && v != "off") return " takes 'on' or 'off', not '" + v + "'";
         o.net.portMapping = v == "on";
         return kNoError;
     }},
    {{"--net-gateway", ValueForm::Required, "ADDR[:PORT]",
      "the NAT-PMP gateway to ask (an IPv4 address); with it or\n--net-upnp-url nothing is "
      "discovered"},
     [](GameOptions& o, const std::string& v) {
         const auto parsed = ParseHostPort(v, 5351);
         if (!parsed || !isDottedQuad(parsed->host))
             return " needs an IPv4 address with an optional port, such as 127.0.0.1:5351, not '" +
                    v + "'";
         o.net.gateway = v;
         return kNoError;
     }},
    {{"--net-upnp-url", ValueForm::Required, "URL",
      "the UPnP gateway's device description (http://...)"},
     [](GameOptions& o, const std::string& v) {
         if (v.rfind("http://", 0) != 0 || v.size() <= 7 ||
             v.find_first_of(" \t\r\n") != std::string::npos)
             return " needs an http:// address, not '" + v + "'";
         o.net.upnpUrl = v;
         return kNoError;
     }},
};

} // namespace

std::span<const OptionEntry<GameOptions>> GameOptionTable() {
    return kGameOptions;
}

namespace {

bool endsWithNoCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && EqualNoCase(text.substr(text.size() - end.size()), end);
}

// "kelvane FILE.lev" as "--level FILE.lev" (what a file manager passes), and
// "kelvane FILE.kvr" as "--replay FILE.kvr"; "/NETWORK" stays the program's.
std::string takePlainArgument(GameOptions& options, const std::string& argument) {
    if (EqualNoCase(argument, "/NETWORK")) return {};
    if (!options.levelFile.empty() || !options.replayFile.empty())
        return "one level or replay file only, not also '" + argument + "'";
    if (endsWithNoCase(argument, ".kvr"))
        options.replayFile = argument;
    else
        options.levelFile = argument;
    return {};
}

} // namespace

CommandLine GameCommandLine(GameOptions& options) {
    CommandLine commandLine;
    AddSharedOptions(commandLine, options);
    commandLine.Add(GameOptionTable(), options);
    commandLine.SetPlainArguments(
        [&options](const std::string& argument) { return takePlainArgument(options, argument); });
    commandLine.AddCheck([&options] {
        if (options.net.create && options.net.joinIndex)
            return std::string("--net-create and --net-join exclude each other");
        if (!options.replayFile.empty()) {
            // A replay brings its level, its controls and its frame times.
            if (options.levelIndex || !options.levelFile.empty() || !options.scriptFile.empty() ||
                options.frameMs || options.net.create || options.net.joinIndex)
                return std::string("--replay takes no --level, --script, --frame-ms or network "
                                   "options: the replay holds its level, controls and times");
            std::error_code ec;
            options.replayFile = std::filesystem::absolute(options.replayFile, ec).string();
        }
        if ((options.startCell || options.startHeading) && options.levelFile.empty())
            return std::string("--start-cell and --start-heading need --level FILE");
        if (options.startHeading && !options.startCell)
            return std::string("--start-heading needs --start-cell");
        // A level beside the caller is kept absolute, as the output files are:
        // the game moves into its data folder. Other names are looked up there.
        options.levelFile = StartFolderOrDataPath(options.levelFile);
        return std::string();
    });
    return commandLine;
}

GameParse ParseGameOptions(const std::vector<std::string>& arguments) {
    GameParse result;
    const CommandLine commandLine = GameCommandLine(result.options);
    result.error = ReadAutomationOptions(commandLine, arguments, result.options);
    return result;
}
