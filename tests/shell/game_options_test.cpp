// The game's command line: its own options after the shared ones, its help,
// and the editor's refusal of every one of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "shell/game_options.h"
#include "support/test_support.h"

namespace {

GameParse parse(std::vector<std::string> args) {
    return ParseGameOptions(args);
}

std::string gameUsage() {
    GameOptions options;
    return GameCommandLine(options).Usage("kelvane");
}

std::string editorUsage() {
    AutomationOptions options;
    CommandLine commandLine;
    AddSharedOptions(commandLine, options);
    return commandLine.Usage("kelvedit");
}

TEST(GameOptionsTest, TakesTheSharedOptionsAndItsOwn) {
    TempDir dir;
    const std::string level = dir.write("one.lev", "x");
    const GameParse p = parse({"--headless", "--frames", "3", "--level", "7", "--dump-state", "d"});
    ASSERT_EQ(p.error, "");
    EXPECT_TRUE(p.options.headless);
    EXPECT_EQ(p.options.frames, 3);
    EXPECT_EQ(p.options.levelIndex, 7);
    EXPECT_TRUE(std::filesystem::path(p.options.dumpStateFile).is_absolute());
    {
        // A level file is kept absolute, as the output files are.
        ScopedCurrentDir inside(dir.path());
        const GameParse file = parse({"--level", "one.lev"});
        ASSERT_EQ(file.error, "");
        EXPECT_EQ(file.options.levelFile, level);
        EXPECT_FALSE(file.options.levelIndex.has_value());
    }
    // A name not found here is left to be looked up inside the data folder.
    EXPECT_EQ(parse({"--level", "LEVEL/01-x.lev"}).options.levelFile, "LEVEL/01-x.lev");
    EXPECT_EQ(parse({"--level", "99999999999"}).error,
              "--level needs a level number or a level file, not '99999999999'");
}

TEST(GameOptionsTest, EveryOptionIsNamedOnceAndTheEditorRefusesTheGamesOwn) {
    GameOptions options;
    const CommandLine game = GameCommandLine(options);
    const std::vector<std::string_view> names = game.Names();
    EXPECT_EQ(std::set<std::string_view>(names.begin(), names.end()).size(), names.size());
    for (const std::string_view name : names) EXPECT_EQ(name.rfind("--", 0), 0u) << name;

    ASSERT_FALSE(GameOptionTable().empty());
    for (const OptionEntry<GameOptions>& entry : GameOptionTable()) {
        const std::string name(entry.info.name);
        EXPECT_TRUE(game.Knows(name)) << name;
        // The editor's command line has the shared options only.
        EXPECT_EQ(ParseAutomationOptions({"--headless", name, "1"}).error,
                  "unknown option '" + name + "'");
    }
    for (const OptionEntry<AutomationOptions>& entry : SharedOptionTable())
        EXPECT_TRUE(game.Knows(entry.info.name)) << entry.info.name;
}

TEST(GameOptionsTest, EachHelpListsOnlyItsProgramsOptions) {
    const std::string game = gameUsage();
    const std::string editor = editorUsage();
    EXPECT_EQ(game.rfind("usage: kelvane [options]\n", 0), 0u);
    EXPECT_EQ(editor.rfind("usage: kelvedit [options]\n", 0), 0u);
    for (const char* shared : {"--data DIR", "--headless", "--frames N", "--record-audio FILE.wav",
                               "--help", "--version"}) {
        EXPECT_NE(game.find(shared), std::string::npos) << shared;
        EXPECT_NE(editor.find(shared), std::string::npos) << shared;
    }
    EXPECT_EQ(editor.find("--net-"), std::string::npos) << editor;
    EXPECT_EQ(editor.find("--level"), std::string::npos);
    EXPECT_EQ(editor.find("--script-from"), std::string::npos);
    EXPECT_EQ(editor.find("--nickname"), std::string::npos);
    // The game's: shared first, then its own, the network ones under their heading.
    EXPECT_LT(game.find("--version"), game.find("--level N|FILE"));
    EXPECT_LT(game.find("--script-from play"), game.find("network play (with /NETWORK):\n"));
    EXPECT_LT(game.find("network play (with /NETWORK):\n"), game.find("  --nickname NAME"));
    EXPECT_NE(game.find("  --net-join [INDEX]       list until a session exists, then join the "
                        "INDEXth\n"
                        "                           (from 0; the first when not given)\n"),
              std::string::npos)
        << game;
    EXPECT_NE(game.find("  --net-address HOST[:PORT] the host for \"Direct address\"\n"),
              std::string::npos);
}

} // namespace

TEST(GameOptionsTest, ReadsTheNetworkOptions) {
    const GameParse p = parse({"/NETWORK",
                               "--nickname",
                               "Ann Lee",
                               "--net-provider",
                               "LAN (broadcast)",
                               "--net-broadcast",
                               "127.255.255.255",
                               "--net-discovery-port",
                               "47900",
                               "--net-bind",
                               "127.0.0.1",
                               "--net-port",
                               "0",
                               "--net-address",
                               "127.0.0.1:5000",
                               "--net-create",
                               "--net-go-at",
                               "3",
                               "--net-loss",
                               "20",
                               "--net-delay",
                               "30",
                               "--script-from",
                               "play"});
    ASSERT_EQ(p.error, "");
    const NetRunOptions& net = p.options.net;
    EXPECT_EQ(net.nickname, "Ann Lee");
    EXPECT_EQ(net.provider, "LAN (broadcast)");
    EXPECT_EQ(net.broadcastAddress, "127.255.255.255");
    EXPECT_EQ(net.discoveryPort, 47900);
    EXPECT_EQ(net.bindAddress, "127.0.0.1");
    EXPECT_EQ(net.port, 0); // any free port, distinct from "not given"
    EXPECT_EQ(net.address, "127.0.0.1:5000");
    EXPECT_TRUE(net.create);
    EXPECT_EQ(net.goAt, 3);
    EXPECT_EQ(net.lossPercent, 20);
    EXPECT_EQ(net.delayMs, 30);
    EXPECT_TRUE(net.scriptFromPlay);
    EXPECT_FALSE(net.joinIndex.has_value());
    EXPECT_FALSE(net.portMapping.has_value()); // the setting's, or off headless
    const GameParse mapping =
        parse({"--net-port-mapping", "off", "--net-gateway", "127.0.0.1:48700", "--net-upnp-url",
               "http://127.0.0.1:48701/rootDesc.xml"});
    ASSERT_EQ(mapping.error, "");
    EXPECT_EQ(mapping.options.net.portMapping, false);
    EXPECT_EQ(mapping.options.net.gateway, "127.0.0.1:48700");
    EXPECT_EQ(mapping.options.net.upnpUrl, "http://127.0.0.1:48701/rootDesc.xml");
}

TEST(GameOptionsTest, NetJoinTakesAnOptionalIndex) {
    EXPECT_EQ(parse({"--net-join"}).options.net.joinIndex, 0);
    // The next option is not taken for the index.
    const GameParse before = parse({"--net-join", "--headless"});
    EXPECT_EQ(before.options.net.joinIndex, 0);
    EXPECT_TRUE(before.options.headless);
    EXPECT_EQ(parse({"--net-join", "2", "/NETWORK"}).options.net.joinIndex, 2);
    // "/NETWORK" after it stays the program's.
    const GameParse network = parse({"--net-join", "/NETWORK"});
    EXPECT_EQ(network.options.net.joinIndex, 0);
    EXPECT_EQ(network.error, "");
    EXPECT_EQ(parse({"--net-join", "64"}).error,
              "--net-join needs a session index from 0 to 63, not '64'");
    EXPECT_EQ(parse({"--net-join", "--net-create"}).error,
              "--net-create and --net-join exclude each other");
}

TEST(GameOptionsTest, BadNetworkValuesAreErrors) {
    EXPECT_EQ(parse({"--net-port", "65536"}).error,
              "--net-port needs a port number from 0 to 65535, not '65536'");
    EXPECT_NE(parse({"--net-discovery-port", "0"}).error, "");
    EXPECT_NE(parse({"--net-port", "80x"}).error, "");
    for (const char* address :
         {"localhost", "1.2.3", "1.2.3.4.", "1.2.3.4.5", "256.1.1.1", "1..2.3", "-1.2.3.4"}) {
        EXPECT_NE(parse({"--net-broadcast", address}).error, "") << address;
        EXPECT_NE(parse({"--net-bind", address}).error, "") << address;
    }
    EXPECT_EQ(parse({"--net-address", "host:0"}).error,
              "--net-address needs HOST or HOST:PORT (port 1 to 65535), not 'host:0'");
    EXPECT_NE(parse({"--net-address", ":5000"}).error, "");
    EXPECT_EQ(parse({"--net-address", "example.org"}).error, "");
    EXPECT_NE(parse({"--net-go-at", "0"}).error, "");
    EXPECT_NE(parse({"--net-go-at", "5"}).error, "");
    EXPECT_NE(parse({"--net-loss", "101"}).error, "");
    EXPECT_NE(parse({"--net-delay", "-1"}).error, "");
    EXPECT_EQ(parse({"--net-port-mapping", "yes"}).error,
              "--net-port-mapping takes 'on' or 'off', not 'yes'");
    for (const char* gateway : {"router.lan", "10.0.0.1:0", "10.0.0.1:70000", "10.0.0.1:"})
        EXPECT_NE(parse({"--net-gateway", gateway}).error, "") << gateway;
    for (const char* url : {"127.0.0.1:5000/desc.xml", "http://", "https://a/", "http://a b/"})
        EXPECT_NE(parse({"--net-upnp-url", url}).error, "") << url;
    EXPECT_EQ(parse({"--script-from", "title"}).error,
              "--script-from takes only 'play', not 'title'");
    EXPECT_NE(parse({"--nickname", std::string(52, 'n')}).error, "");
    EXPECT_EQ(parse({"--nickname"}).error, "--nickname needs a value");
}

namespace {

// What a file manager passes: "kelvane FILE", with options around it or not.
TEST(GameOptionsTest, APlainFileIsALevelOrAReplay) {
    TempDir dir;
    const std::string level = dir.write("mine.lev", "x");
    const std::string replay = dir.write("last.KVR", "x");
    ScopedCurrentDir inside(dir.path());
    const GameParse plainLevel = parse({"mine.lev"});
    ASSERT_EQ(plainLevel.error, "");
    EXPECT_EQ(plainLevel.options.levelFile, level);
    EXPECT_EQ(plainLevel.options.replayFile, "");
    // An option's value is not a plain argument; /NETWORK stays the program's.
    const GameParse around = parse({"/NETWORK", "--frames", "5", "last.KVR", "--headless"});
    ASSERT_EQ(around.error, "");
    EXPECT_EQ(around.options.replayFile, replay);
    EXPECT_EQ(around.options.levelFile, "");
    EXPECT_EQ(around.options.frames, 5);
    EXPECT_EQ(parse({"--net-join", "mine.lev"}).options.levelFile, level);
    EXPECT_EQ(parse({"mine.lev", "last.KVR"}).error,
              "one level or replay file only, not also 'last.KVR'");
    EXPECT_EQ(parse({"--level", "mine.lev", "mine.lev"}).error,
              "one level or replay file only, not also 'mine.lev'");
}

TEST(GameOptionsTest, AReplayBringsItsOwnLevelScriptAndClock) {
    TempDir dir;
    ScopedCurrentDir inside(dir.path());
    const GameParse p = parse({"--replay", "r.kvr", "--headless"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.replayFile, (dir.path() / "r.kvr").string());
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{"--level", "1"}, {"--frame-ms", "50"}, {"x.lev"}}) {
        std::vector<std::string> args{"--replay", "r.kvr"};
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_NE(parse(args).error, "") << extra.front();
    }
}

TEST(GameOptionsTest, AStartCellGoesWithALevelFile) {
    TempDir dir;
    const std::string level = dir.write("mine.lev", "x");
    const GameParse p =
        parse({"--level", level, "--start-cell", "3,0,12", "--start-heading", "24576"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.startCell, (std::array<std::int32_t, 3>{3, 0, 12}));
    EXPECT_EQ(p.options.startHeading, 24576);
    for (const char* bad : {"3,0", "3,0,12,4", "3,,12", "3,0,12,", "-1,0,0", "a,b,c"})
        EXPECT_EQ(parse({"--level", level, "--start-cell", bad}).error,
                  std::string("--start-cell needs three cell numbers X,Y,Z, not '") + bad + "'")
            << bad;
    EXPECT_NE(parse({"--level", level, "--start-cell", "1,1,1", "--start-heading", "32768"}).error,
              "");
    EXPECT_EQ(parse({"--start-cell", "1,1,1"}).error,
              "--start-cell and --start-heading need --level FILE");
    EXPECT_EQ(parse({"--level", "0", "--start-cell", "1,1,1"}).error,
              "--start-cell and --start-heading need --level FILE");
    EXPECT_EQ(parse({"--level", level, "--start-heading", "5"}).error,
              "--start-heading needs --start-cell");
}

} // namespace
