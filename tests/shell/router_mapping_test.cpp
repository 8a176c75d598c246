// The router port mapping as the lobby uses it: whether a created game asks,
// the line the lobby shows while and after it asks, the dump's keys, and the
// mapping removed when the session ends. The mappers are the test's own.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/clock.h"
#include "shell/automation_run.h"
#include "shell/lobby.h"
#include "shell/lobby_view.h"
#include "shell/net_session.h"
#include "shell/router_mapping.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "support/fake_transport.h"
#include "world/world.h"

namespace {

struct MapperCalls {
    std::atomic<int> maps{0};
    std::atomic<int> unmaps{0};
    std::atomic<int> port{0};
};

// Maps after `delayMs` at the address 198.51.100.4.
PortMapper slowMapper(const std::shared_ptr<MapperCalls>& calls, int delayMs) {
    PortMapper mapper;
    mapper.name = "Test";
    mapper.map = [calls, delayMs](std::uint16_t port, std::uint32_t, std::int32_t) {
        ++calls->maps;
        calls->port = port;
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        PortMappingResult result;
        result.mapped = true;
        result.publicAddress = "198.51.100.4";
        result.publicPort = port;
        return result;
    };
    mapper.unmap = [calls](const PortMappingResult&, std::uint16_t, std::int32_t) {
        ++calls->unmaps;
    };
    return mapper;
}

bool dumpHas(const std::string& line) {
    return ("\n" + DescribeNetState()).find("\n" + line + "\n") != std::string::npos;
}

class RouterMappingTest : public ShellDataTest {
  protected:
    void SetUp() override {
        ShellDataTest::SetUp();
        ClearWorldTables();
        CloseCommSession();
        lobbyView = LobbyView{};
        InstallNetProviders({network.Provider("LAN (broadcast)")});
        InstallPortMappers({slowMapper(calls, 150)});
        shellState.NetworkLobby = true;
    }
    void TearDown() override {
        CloseCommSession();
        InstallPortMappers({});
        ShellDataTest::TearDown();
    }
    void openLobby(bool headless, std::optional<bool> portMapping) {
        GameOptions automation;
        automation.headless = headless;
        automation.net.nickname = "Ann";
        automation.net.portMapping = portMapping;
        ConfigureAutomation(automation);
        UseVirtualClock(1000);
        ChangeScreen(kScreenLobby);
    }
    void createGame() {
        lobbyView.selected = 0;
        NewGameClick();
        ASSERT_EQ(netState.LobbyPhase, kLobbyInSession);
    }

    FakeNetwork network;
    std::shared_ptr<MapperCalls> calls = std::make_shared<MapperCalls>();
};

TEST_F(RouterMappingTest, TheChoiceStartsFromTheSettingInAWindowAndOffHeadless) {
    const auto choice = [](bool headless, std::optional<bool> given) {
        GameOptions options;
        options.headless = headless;
        options.net.portMapping = given;
        ConfigureAutomation(options);
        return InitialPortMappingChoice();
    };
    shellState.PortMapping = true;
    EXPECT_FALSE(choice(true, std::nullopt)); // a test never reaches a real router by itself
    EXPECT_TRUE(choice(true, true));
    EXPECT_TRUE(choice(false, std::nullopt));
    EXPECT_FALSE(choice(false, false));
    shellState.PortMapping = false;
    EXPECT_TRUE(choice(false, true));
    openLobby(false, std::nullopt);
    EXPECT_FALSE(lobbyView.portMapping);

    // The box changes the setting kept in kelv.ini, until a game is created.
    PortMappingClick(true);
    EXPECT_EQ(shellState.PortMapping, true);
    PortMappingClick(false);
    createGame();
    EXPECT_FALSE(lobbyView.portMappingEnabled);
    PortMappingClick(true);
    EXPECT_FALSE(lobbyView.portMapping);
    EXPECT_EQ(shellState.PortMapping, false);
    EXPECT_EQ(calls->maps, 0);
    EXPECT_EQ(lobbyView.mappingLine, "Router port mapping off: forward UDP port " +
                                         std::to_string(CommSession()->GamePort()) + " by hand");
    EXPECT_TRUE(dumpHas("net.portMapping=off"));
}

TEST_F(RouterMappingTest, ACreatedGameMapsItsPortWithoutWaitingAndUnmapsAtTheEnd) {
    openLobby(true, true);
    const auto start = std::chrono::steady_clock::now();
    createGame();
    const std::string port = std::to_string(CommSession()->GamePort());
    // The lobby is in the session before the router has answered.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(120));
    EXPECT_EQ(lobbyView.mappingLine, "Asking the router to forward UDP port " + port + "...");
    EXPECT_TRUE(dumpHas("net.portMapping=trying"));

    const std::uint32_t revision = lobbyView.revision;
    for (int i = 0; i < 200 && lobbyView.mappingLine.rfind("Public", 0) != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        LobbyRefresh();
    }
    EXPECT_EQ(lobbyView.mappingLine, "Public address: 198.51.100.4:" + port + " (Test)");
    EXPECT_GT(lobbyView.revision, revision); // the window is told
    EXPECT_EQ(calls->port, std::stoi(port));
    EXPECT_TRUE(dumpHas("net.portMapping=mapped"));
    EXPECT_TRUE(dumpHas("net.publicAddress=198.51.100.4:" + port));
    EXPECT_TRUE(dumpHas("net.portMapping.method=Test"));

    EXPECT_EQ(calls->unmaps, 0);
    CloseCommSession();
    EXPECT_EQ(calls->unmaps, 1);
}

TEST_F(RouterMappingTest, AJoinerNeverAsksItsRouter) {
    openLobby(true, true);
    lobbyView.selected = 0;
    JoinGameClick();
    EXPECT_FALSE(lobbyView.portMappingEnabled);
    EXPECT_EQ(lobbyView.mappingLine, "");
    EXPECT_TRUE(dumpHas("net.portMapping=off"));
    EXPECT_EQ(calls->maps, 0);
}

} // namespace
