// The game's command line: the options both programs take, and the game's
// own (a level to start on, the script's start, the network runs' values).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/automation.h"
#include "platform/option_table.h"

// The game's network options, for runs of several processes on one machine.
struct NetRunOptions {
    std::string nickname;                       // --nickname: instead of the lobby's prompt
    std::string provider;                       // --net-provider: chosen in the lobby's list
    std::string broadcastAddress;               // --net-broadcast (empty: the transport's default)
    std::optional<std::uint16_t> discoveryPort; // --net-discovery-port
    std::string bindAddress;                    // --net-bind
    std::optional<std::uint16_t> port;          // --net-port (0: any free port)
    std::string address;                        // --net-address HOST[:PORT] for "Direct address"
    bool create = false;                        // --net-create: create a session
    std::int32_t goAt = 0; // --net-go-at N: the host presses Go once N players are listed
    std::optional<std::int32_t> joinIndex; // --net-join [INDEX]: join the INDEXth listed session
    std::int32_t lossPercent = 0;          // --net-loss PCT: incoming datagrams dropped
    std::int32_t delayMs = 0;              // --net-delay MS: incoming datagrams held back
    bool scriptFromPlay = false;           // --script-from play: frame 1 is the first play frame
    // --net-port-mapping on|off: whether a created game asks the router to
    // forward its port (not given: kelv.ini's choice in a window, off headless).
    std::optional<bool> portMapping;
    std::string gateway; // --net-gateway ADDR[:PORT]: the NAT-PMP gateway to ask
    std::string upnpUrl; // --net-upnp-url URL: the UPnP gateway's description, not discovered
};

struct GameOptions : AutomationOptions {
    // --level: a new game on this index of the level list, or on this one
    // level file (absolute), instead of the title screen.
    std::optional<std::int32_t> levelIndex;
    std::string levelFile;
    // --start-cell X,Y,Z and --start-heading H: the level file of --level is
    // played from this cell and heading instead of its own start.
    std::optional<std::array<std::int32_t, 3>> startCell;
    std::optional<std::int32_t> startHeading;
    // --replay FILE, or a plain FILE.kvr: a recorded level played back (absolute).
    std::string replayFile;
    NetRunOptions net;
};

// The game's own options, in the order its help lists them (after the shared ones).
std::span<const OptionEntry<GameOptions>> GameOptionTable();

// The game's command line, filling `options`: the shared table, the game's
// table, and the checks of the game's options taken together.
CommandLine GameCommandLine(GameOptions& options);

struct GameParse {
    GameOptions options;
    std::string error; // empty when the command line is good
};
// Reads the game's options from argv[1..] (see ReadAutomationOptions).
GameParse ParseGameOptions(const std::vector<std::string>& arguments);
