// Network play seen from one machine: the lobby's phases, the start
// handshake, and the messages of play. The shell's state is one global, so
// the other machines are plain sessions on the in-process network that send
// crafted messages.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "formats/definitions.h"
#include "net/game_messages.h"
#include "net/session_component.h"
#include "platform/clock.h"
#include "platform/joystick.h"
#include "platform/script_answers.h"
#include "platform/script_joystick.h"
#include "shell/automation_run.h"
#include "shell/game_digest.h"
#include "shell/lobby.h"
#include "shell/lobby_pad.h"
#include "shell/lobby_view.h"
#include "shell/net_game.h"
#include "shell/net_session.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "support/fake_transport.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/level_state.h"
#include "world/world.h"

namespace {

const std::string kLan = "LAN (broadcast)";

// Another machine: a bare session that keeps what it receives.
struct Peer {
    std::unique_ptr<TDGCPlay> comm;
    std::vector<std::pair<std::int32_t, GameMessageBytes>> received; // sender, bytes

    Peer(FakeNetwork& network, const std::string& nick) {
        comm = std::make_unique<TDGCPlay>(std::vector<NetProvider>{network.Provider(kLan)});
        comm->GameName = "Kelvane - " + nick;
        comm->MaxPlayers = 4;
        comm->LongName = comm->ShortName = nick;
        comm->Identity = LocalGameIdentity(); // the same data as the game under test
        comm->OnGameMessage = [this](std::int32_t from, std::int32_t, const std::uint8_t* bytes) {
            GameMessageBytes copy;
            std::copy(bytes, bytes + kNetMessageSize, copy.begin());
            received.push_back({from, copy});
        };
    }
    void Join() {
        comm->Connect(kLan, false);
        ASSERT_FALSE(comm->Sessions.empty());
        comm->JoinSession(comm->Sessions.front().id);
        ASSERT_TRUE(comm->InSession());
    }
    void Send(std::uint32_t to, const GameMessage& message) {
        const GameMessageBytes bytes = EncodeGameMessage(message);
        comm->SendMessage(to, bytes, DeliveryOf(message));
    }
    std::vector<std::int32_t> TypesReceived() const {
        std::vector<std::int32_t> types;
        for (const auto& [from, bytes] : received) types.push_back(bytes[0]);
        return types;
    }
    std::uint32_t Id() const { return comm->LocalPlayerId; }
};

class NetLobbyTest : public ShellDataTest {
  protected:
    void SetUp() override {
        ShellDataTest::SetUp();
        ClearWorldTables();
        CloseCommSession();
        lobbyView = LobbyView{};
        InstallNetProviders({network.Provider(kLan)});
        shellState.NetworkLobby = true;
    }
    void TearDown() override {
        CloseCommSession();
        peers.clear();
        gameServices.sendEvent = {};
        ShellDataTest::TearDown();
    }

    void openLobby(const std::string& nick, NetRunOptions options = {}) {
        GameOptions automation;
        options.nickname = nick;
        automation.net = options;
        ConfigureAutomation(automation);
        UseVirtualClock(1000);
        ChangeScreen(kScreenLobby);
    }
    Peer& peer(const std::string& nick) {
        peers.push_back(std::make_unique<Peer>(network, nick));
        return *peers.back();
    }
    // Lets the receiving threads hand over, then runs one lobby frame.
    void settle(std::int32_t advanceMs = 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        for (auto& p : peers)
            if (p) p->comm->DispatchEvents();
        AdvanceVirtualClock(advanceMs);
        LobbyRefresh();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        for (auto& p : peers)
            if (p) p->comm->DispatchEvents();
    }
    void select(std::int32_t index) { lobbyView.selected = index; }

    FakeNetwork network;
    std::vector<std::unique_ptr<Peer>> peers;

  private:
};

NetRunOptions Hosting(std::int32_t goAt) {
    NetRunOptions options;
    options.provider = kLan;
    options.create = true;
    options.goAt = goAt;
    return options;
}

NetRunOptions Joining(std::int32_t index) {
    NetRunOptions options;
    options.provider = kLan;
    options.joinIndex = index;
    return options;
}

GameStartMessage StartOf(const GameMessageBytes& bytes) {
    GameMessageContext any;
    const DecodedGameMessage decoded = DecodeGameMessage(bytes, any);
    EXPECT_TRUE(decoded.message && std::holds_alternative<GameStartMessage>(*decoded.message));
    return decoded.message ? std::get<GameStartMessage>(*decoded.message) : GameStartMessage{};
}

} // namespace

TEST_F(NetLobbyTest, HostPhasesCaptionsAndAPlayerListThatKeepsItsSelection) {
    openLobby("Ann");
    EXPECT_TRUE(lobbyView.panelVisible);
    EXPECT_EQ(lobbyView.items, std::vector<std::string>{kLan});
    EXPECT_EQ(lobbyView.newGame.caption, "Create Game");
    EXPECT_EQ(lobbyView.joinGame.caption, "Join Game");

    NewGameClick(); // nothing selected: nothing happens
    EXPECT_EQ(netState.LobbyPhase, kLobbyChooseTransport);
    select(0);
    NewGameClick();
    EXPECT_EQ(netState.LobbyPhase, kLobbyInSession);
    EXPECT_TRUE(netState.IsHost);
    EXPECT_EQ(lobbyView.newGame.caption, "Go");
    EXPECT_FALSE(lobbyView.joinGame.enabled);
    NewGameClick(); // Go while alone would wait for ever: ignored
    EXPECT_EQ(netState.LobbyPhase, kLobbyInSession);

    Peer& bob = peer("Bob");
    bob.comm->Connect(kLan, false);
    ASSERT_EQ(bob.comm->Sessions.size(), 1u);
    EXPECT_EQ(bob.comm->Sessions[0].name, "Kelvane - Ann");
    bob.comm->JoinSession(bob.comm->Sessions[0].id);
    Peer& cy = peer("Cy");
    cy.Join();
    // The frame clock stands still in the lobby; the tick counter moves the list.
    settle(100);
    EXPECT_EQ(lobbyView.items, std::vector<std::string>{"Ann"});
    select(0);
    settle(450);
    EXPECT_EQ(lobbyView.items, (std::vector<std::string>{"Ann", "Bob", "Cy"}));
    EXPECT_EQ(lobbyView.selected, 0);
    EXPECT_EQ(lastPlayer, 2);
    EXPECT_EQ(players[1].PlayerId, static_cast<std::int32_t>(bob.Id()));
    EXPECT_EQ(players[2].PlayerId, static_cast<std::int32_t>(cy.Id()));

    // Bob leaves before the start: Cy moves up to number 1.
    select(1);
    peers.front().reset();
    settle(501);
    EXPECT_EQ(lastPlayer, 1);
    EXPECT_EQ(players[1].PlayerId, static_cast<std::int32_t>(cy.Id()));
    EXPECT_EQ(lobbyView.items, (std::vector<std::string>{"Ann", "Cy"}));
    EXPECT_EQ(lobbyView.selected, 1);

    // Go closes the session to latecomers.
    NewGameClick();
    EXPECT_EQ(netState.LobbyPhase, kLobbyStarting);
    settle();
    EXPECT_EQ(cy.TypesReceived(), std::vector<std::int32_t>{kMsgStartRequest});
    std::vector<std::string> refused;
    TDGCPlay late({network.Provider(kLan)}, [&](const std::string& t) { refused.push_back(t); });
    late.Connect(kLan, false);
    EXPECT_EQ(late.SessionCount, 0);
}

TEST_F(NetLobbyTest, HostTakesEachAnswerOnceAndStartsWithTheSlowestRoundTrip) {
    openLobby("Ann", Hosting(3));
    LobbyRefresh(); // the scripted click creates the game
    ASSERT_EQ(netState.LobbyPhase, kLobbyInSession);
    Peer& bob = peer("Bob");
    bob.Join();
    Peer& cy = peer("Cy");
    cy.Join();
    settle();
    bob.Send(0, StartAnswerMessage{}); // before Go: not expected
    settle(501);                       // three listed: the script presses Go
    EXPECT_EQ(netState.Counters.Ignored(IgnoreReason::Unexpected), 1u);
    ASSERT_EQ(netState.LobbyPhase, kLobbyStarting);

    AdvanceVirtualClock(20);
    bob.Send(bob.comm->PlayerLongNames[1].id, StartAnswerMessage{});
    settle();
    AdvanceVirtualClock(30);
    bob.Send(bob.comm->PlayerLongNames[1].id, StartAnswerMessage{});    // a second answer
    cy.Send(cy.comm->PlayerLongNames[1].id, GameStartMessage{1, 2, 0}); // only the host sends 10
    settle();
    EXPECT_EQ(netState.Counters.Ignored(IgnoreReason::Unexpected), 3u);
    EXPECT_EQ(players[1].PingStart, 20);
    EXPECT_TRUE(shellState.NetworkLobby);

    cy.Send(cy.comm->PlayerLongNames[1].id, StartAnswerMessage{});
    settle();
    EXPECT_FALSE(shellState.NetworkLobby);
    EXPECT_EQ(shellState.ScreenState, kScreenPlay);
    EXPECT_EQ(shellState.RefreshInterval, 60); // 1.2 x Cy's 50 ms
    EXPECT_EQ(players[0].lives, 3);
    EXPECT_EQ(shellState.MessageText, "Network refresh interval: 60 ms");
    ASSERT_EQ(bob.received.size(), 2u);
    const GameStartMessage toBob = StartOf(bob.received.back().second);
    const GameStartMessage toCy = StartOf(cy.received.back().second);
    EXPECT_EQ(toBob.localPlayer, 1);
    EXPECT_EQ(toCy.localPlayer, 2);
    EXPECT_EQ(toCy.lastPlayer, 2);
    EXPECT_EQ(toCy.refreshInterval, 60);

    // In play: state and sentries every interval, and the player's actions.
    Now += 61;
    SendPlayerState();
    SendGameEvent(kEventLever, 1, 2, 3, 0);
    settle();
    std::vector<std::int32_t> types = bob.TypesReceived();
    ASSERT_GE(types.size(), 4u);
    EXPECT_EQ(types[2], kMsgPlayerState);
    EXPECT_EQ(std::count(types.begin(), types.end(), kMsgSentryPosition), sentryCount);
    EXPECT_EQ(types.back(), kMsgWorldEvent);
    EXPECT_EQ(bob.received.back().second[5], 'f');
}

TEST_F(NetLobbyTest, APlayerWhoLeavesWhileStartingIsNotWaitedFor) {
    openLobby("Ann", Hosting(3));
    LobbyRefresh();
    Peer& bob = peer("Bob");
    bob.Join();
    peer("Cy").Join();
    settle(501); // Go
    ASSERT_EQ(netState.LobbyPhase, kLobbyStarting);
    AdvanceVirtualClock(10);
    bob.Send(bob.comm->PlayerLongNames[1].id, StartAnswerMessage{});
    settle();
    EXPECT_TRUE(shellState.NetworkLobby);
    peers.back().reset(); // Cy goes before answering
    settle();
    EXPECT_FALSE(shellState.NetworkLobby);
    EXPECT_EQ(shellState.RefreshInterval, 12);
    EXPECT_EQ(lastPlayer, 2); // Cy stays as a record that never moves
}

TEST_F(NetLobbyTest, JoinerListsUntilASessionExistsAndStartsOnlyOnTheHostsWord) {
    openLobby("Bob", Joining(0));
    settle();
    EXPECT_EQ(netState.LobbyPhase, kLobbyChooseSession);
    EXPECT_FALSE(lobbyView.newGame.enabled);
    EXPECT_TRUE(lobbyView.items.empty());

    Peer& ann = peer("Ann");
    ann.comm->Connect(kLan, true);
    settle(501); // lists again and joins
    ASSERT_EQ(netState.LobbyPhase, kLobbyInSession);
    EXPECT_EQ(netState.HostId, ann.Id());
    Peer& cy = peer("Cy");
    cy.Join();
    settle(501);
    EXPECT_EQ(lobbyView.items, (std::vector<std::string>{"Ann", "Bob", "Cy"}));
    EXPECT_EQ(lastPlayer, 2);

    cy.Send(0, StartRequestMessage{});      // not the host
    cy.Send(0, GameStartMessage{1, 2, 24}); // not the host
    ann.Send(0, StartRequestMessage{});
    settle();
    EXPECT_EQ(netState.Counters.Ignored(IgnoreReason::Unexpected), 2u);
    ASSERT_EQ(ann.TypesReceived().back(), kMsgStartAnswer);
    EXPECT_EQ(static_cast<std::uint32_t>(ann.received.back().first), CommSession()->LocalPlayerId);
    EXPECT_TRUE(shellState.NetworkLobby);

    ann.Send(0, GameStartMessage{1, 2, 24});
    settle();
    EXPECT_FALSE(shellState.NetworkLobby);
    EXPECT_EQ(localPlayer, 1);
    EXPECT_EQ(lastPlayer, 2);
    EXPECT_EQ(players[1].lives, 3);
    EXPECT_EQ(shellState.MessageText, "Network refresh interval: 24 ms");
    ann.Send(0, GameStartMessage{2, 3, 500}); // a late 10 changes nothing
    settle();
    EXPECT_EQ(localPlayer, 1);
    EXPECT_EQ(shellState.RefreshInterval, 24);
}

TEST_F(NetLobbyTest, AJoinerWhoseHostLeavesIsToldAndCanHostAnotherGame) {
    openLobby("Bob", Joining(0));
    Peer& ann = peer("Ann");
    ann.comm->Connect(kLan, true);
    settle();    // lists the sessions
    settle(501); // joins
    ASSERT_EQ(netState.LobbyPhase, kLobbyInSession);
    peer("Cy").Join();
    settle(501);
    ASSERT_EQ(lastPlayer, 2);

    // Another joiner leaving changes only the list.
    peers.back().reset();
    settle(501);
    EXPECT_EQ(netState.LobbyPhase, kLobbyInSession);
    EXPECT_EQ(lastPlayer, 1);
    EXPECT_TRUE(messages.empty());

    // The host answers the start request, then quits before sending the numbers.
    ann.Send(0, StartRequestMessage{});
    settle();
    peers.front().reset();
    settle();
    ASSERT_EQ(messages, std::vector<std::string>{"The host has left the game."});
    EXPECT_TRUE(shellState.NetworkLobby);
    EXPECT_EQ(netState.LobbyPhase, kLobbyChooseTransport);
    EXPECT_EQ(lobbyView.items, std::vector<std::string>{kLan});
    EXPECT_EQ(lobbyView.selected, -1);
    EXPECT_EQ(lobbyView.newGame.caption, "Create Game");
    EXPECT_TRUE(lobbyView.newGame.enabled);
    EXPECT_TRUE(lobbyView.joinGame.enabled);
    ASSERT_NE(CommSession(), nullptr);
    EXPECT_FALSE(CommSession()->InSession());
    EXPECT_EQ(lastPlayer, 0);
    EXPECT_EQ(players[1].PlayerId, 0);
    settle(501); // the script's join is not done again
    EXPECT_EQ(netState.LobbyPhase, kLobbyChooseTransport);

    // A game of his own, which another player can join.
    select(0);
    NewGameClick();
    ASSERT_EQ(netState.LobbyPhase, kLobbyInSession);
    EXPECT_TRUE(netState.IsHost);
    Peer& dee = peer("Dee");
    dee.Join();
    EXPECT_EQ(dee.comm->Sessions.front().name, "Kelvane - Bob");
    settle(501);
    EXPECT_EQ(lobbyView.items, (std::vector<std::string>{"Bob", "Dee"}));
    EXPECT_EQ(players[1].PlayerId, static_cast<std::int32_t>(dee.Id()));
    EXPECT_EQ(messages.size(), 1u);
}

// The lobby through the controller alone: down chooses, X lists the
// sessions, B goes back, A joins; B leaves the session; A creates a game
// and, with another player in it, says Go, after which B cannot leave.
TEST_F(NetLobbyTest, TheControllerDrivesTheLobby) {
    UseScriptJoystick();
    lobbyPad = LobbyPadState{};
    const auto press = [this](ScriptPadInput input) {
        HoldScriptPad(1u << input);
        settle();
        HoldScriptPad(0);
        settle();
    };
    openLobby("Bob");
    Peer& ann = peer("Ann");
    ann.comm->Connect(kLan, true);
    press(kScriptPadX); // nothing chosen yet
    EXPECT_EQ(netState.LobbyPhase, kLobbyChooseTransport);
    press(kScriptPadDown);
    press(kScriptPadDown); // the list's end
    EXPECT_EQ(lobbyView.selected, 0);
    press(kScriptPadX);
    ASSERT_EQ(netState.LobbyPhase, kLobbyChooseSession);
    EXPECT_EQ(lobbyView.items, std::vector<std::string>{"Kelvane - Ann"});
    press(kScriptPadB);
    EXPECT_EQ(netState.LobbyPhase, kLobbyChooseTransport);
    EXPECT_EQ(lobbyView.items, std::vector<std::string>{kLan});
    for (ScriptPadInput input : {kScriptPadDown, kScriptPadX, kScriptPadDown, kScriptPadA})
        press(input);
    ASSERT_EQ(netState.LobbyPhase, kLobbyInSession);
    EXPECT_EQ(lastPlayer, 1);

    press(kScriptPadB);
    EXPECT_EQ(netState.LobbyPhase, kLobbyChooseTransport);
    ASSERT_NE(CommSession(), nullptr);
    EXPECT_FALSE(CommSession()->InSession());
    EXPECT_EQ(lastPlayer, 0);
    settle(); // the host hears him go
    ann.comm->EnumPlayers(ann.comm->SessionId);
    EXPECT_EQ(ann.comm->PlayerCount, 1);
    peers.front().reset();

    press(kScriptPadDown);
    press(kScriptPadA);
    ASSERT_EQ(netState.LobbyPhase, kLobbyInSession);
    EXPECT_TRUE(netState.IsHost);
    press(kScriptPadA); // alone: no Go
    EXPECT_EQ(netState.LobbyPhase, kLobbyInSession);
    peer("Dee").Join();
    settle(501);
    press(kScriptPadA);
    EXPECT_EQ(netState.LobbyPhase, kLobbyStarting);
    press(kScriptPadB);
    EXPECT_EQ(netState.LobbyPhase, kLobbyStarting);
    InstallJoystickDevice(nullptr);
}

TEST_F(NetLobbyTest, AFullSessionRefusesTheJoinerWhoStaysInTheLobby) {
    Peer& ann = peer("Ann");
    ann.comm->MaxPlayers = 2;
    ann.comm->Connect(kLan, true);
    peer("Bob").Join();
    openLobby("Cy", Joining(0));
    settle();
    settle(501);
    EXPECT_EQ(netState.LobbyPhase, kLobbyChooseSession);
    EXPECT_TRUE(shellState.NetworkLobby);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], FailureText("Open", kNetSessionFull));
}

TEST_F(NetLobbyTest, AScriptsFirstFrameAnswersTheNicknamePromptAsked) {
    ClearScriptAnswers();
    shellState.Nickname = "Old";
    GameOptions automation;
    auto script = ParseInputScript("1 F ANSWER Zed\n1 F SELECT ListBox " + kLan +
                                   "\n1 F ANSWER later\n2 F ANSWER two\n");
    ASSERT_TRUE(script) << script.error;
    automation.script = *script;
    ConfigureAutomation(automation);
    ChangeScreen(kScreenLobby); // asks before frame 1
    EXPECT_EQ(shellState.Nickname, "Zed");
    ASSERT_NE(CommSession(), nullptr);
    EXPECT_EQ(CommSession()->LongName, "Zed");
    // Frame 1 runs the rest of its commands; its answers are not queued twice.
    BeginAutomatedFrame();
    const std::vector<FormCommand> first = ScriptFormCommandsNow();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].verb, FormVerb::Select);
    const std::optional<QueuedAnswer> next = TakeScriptAnswer(AnswerQueue::Prompt);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->text, "later");
    EXPECT_FALSE(TakeScriptAnswer(AnswerQueue::Prompt));
    BeginAutomatedFrame();
    const std::vector<FormCommand> second = ScriptFormCommandsNow();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].text, "two");

    // A script that starts in play has no frame 1 in the lobby.
    CloseCommSession();
    shellState.Nickname = "Old";
    automation.net.scriptFromPlay = true;
    ConfigureAutomation(automation);
    ChangeScreen(kScreenLobby);
    EXPECT_EQ(shellState.Nickname, "Old");
    EXPECT_FALSE(TakeScriptAnswer(AnswerQueue::Prompt));
}

TEST(RefreshInterval, IsTheSlowestRoundTripTimesOnePointTwoWithinWhatPeersAccept) {
    EXPECT_EQ(RefreshIntervalFor(20), 24);
    EXPECT_EQ(RefreshIntervalFor(0), 0);
    EXPECT_EQ(RefreshIntervalFor(3), 4); // 3.6 rounds up
    EXPECT_EQ(RefreshIntervalFor(9000), kMaxRefreshIntervalMs);
}
