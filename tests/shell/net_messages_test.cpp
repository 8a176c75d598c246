// Messages of play received from other machines: what another player does
// changes this machine's world as the same action done here would, and a
// hostile message changes nothing but the counters.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <sstream>

#include "net/game_messages.h"
#include "platform/message_box.h"
#include "shell/lobby.h"
#include "shell/net_game.h"
#include "shell/net_session.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"
#include "support/fake_transport.h"
#include "world/behaviours.h"
#include "world/level_start.h"
#include "world/level_state.h"
#include "world/world.h"

namespace {

enum : std::uint8_t {
    kDirt = 1,
    kLever = 2,
    kLeverOpen = 3,
    kDoor = 4,
    kBlock = 5,
    kIngot = 6,
    kIngotDoor = 7,
    kTimer = 8,
    kLight = 9,
    kOneUp = 10,
};

constexpr std::uint32_t kHostId = 1; // the session's own player (this machine)
constexpr std::int32_t kPeerId = 2;  // player 1's machine
constexpr std::int32_t kLevel = 3;

ObjectType& Define(std::uint8_t type) {
    objectTypes[type].undefined = 0;
    return objectTypes[type];
}

// A 6 x 4 x 6 level in play with three players (this machine is player 0,
// the host) and one sentry.
void BuildLevel() {
    ClearWorldTables();
    ASSERT_TRUE(ResizeWorldGrid(6, 4, 6));
    Define(kDirt).Dig = 1;
    Define(kDirt).Recover = 1;
    ObjectType& lever = Define(kLever);
    lever.Lever = 1;
    lever.LeverOpen = kLeverOpen;
    lever.LeverDoor = kDoor;
    Define(kLeverOpen);
    Define(kDoor).Door = 1;
    Define(kBlock).CanPush = 1;
    Define(kIngot).Lingot = 1;
    objectTypes[kIngot].LingotDoor = kIngotDoor;
    Define(kIngotDoor).Door = 1;
    Define(kTimer).Timer = 1;
    objectTypes[kTimer].TimerDuration = 5000;
    Define(kLight).Light = 1;
    Define(kOneUp).OneUp = 1;
    for (int x = 0; x < 6; ++x)
        for (int z = 0; z < 6; ++z) setCell(x, 0, z, kDirt);
    setCell(1, 1, 1, kLever);
    setCell(5, 1, 5, kDoor);
    setCell(2, 1, 2, kBlock);
    setCell(3, 1, 1, kIngot);
    setCell(3, 1, 2, kIngot);
    setCell(5, 1, 0, kIngotDoor);
    setCell(4, 1, 4, kTimer);
    setCell(0, 1, 4, kLight);
    setCell(0, 1, 5, kOneUp);
    RecountIngots();
    lastPlayer = 2;
    localPlayer = 0;
    for (int k = 0; k <= 2; ++k) {
        players[k].levelIndex = kLevel;
        players[k].PlayerId = static_cast<std::int32_t>(kHostId) + k;
        players[k].x = 256.0f + 512.0f * k;
        players[k].z = 1000;
    }
    sentryCount = 1;
    sentries[1].x = 700;
    timerRunning = 0;
    timeLeftMs = 0;
}

// Everything a received message could change, as text.
std::string Snapshot() {
    std::ostringstream out;
    for (std::uint8_t cell : worldGrid.cells) out << int{cell} << ',';
    for (int k = 0; k < kPlayerCount; ++k) {
        const PlayerRecord& p = players[k];
        out << '|' << p.x << ',' << p.y << ',' << p.z << ',' << p.heading << ',' << p.vx << ','
            << p.vy << ',' << p.vz << ',' << p.turnRate << ',' << p.pose << ',' << p.poseBlendMs
            << ',' << p.busyMs << ',' << p.lightTarget << ',' << p.lives << ',' << p.PlayerId;
    }
    for (int i = 0; i <= 2; ++i)
        out << '|' << sentries[i].x << ',' << sentries[i].y << ',' << sentries[i].z << ','
            << sentries[i].heading;
    out << '|' << localPlayer << ',' << lastPlayer << ',' << shellState.RefreshInterval << ','
        << int{timerRunning} << ',' << timeLeftMs << ',' << holeCount << ',' << slidingBlockCount
        << ',' << objectTypes[kIngot].lingotCount << ',' << shellState.ScreenState << ','
        << shellState.MessageText;
    return out.str();
}

class NetMessagesTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        CloseCommSession();
        InstallNetProviders({network.Provider("LAN (broadcast)")});
        OpenCommSession().Connect("LAN (broadcast)", true); // this machine's id: 1
        ASSERT_EQ(CommSession()->LocalPlayerId, kHostId);
        netState.IsHost = true;
        shellState.NetworkLobby = false;
        shellState.ScreenState = kScreenPlay;
        shellState.RefreshInterval = 24;
        BuildLevel();
    }
    void TearDown() override {
        CloseCommSession();
        ShellTest::TearDown();
    }

    void receive(const GameMessageBytes& bytes, std::int32_t from = kPeerId) {
        HandleGameMessage(from, bytes[0], bytes.data());
    }
    void receive(const GameMessage& message, std::int32_t from = kPeerId) {
        receive(EncodeGameMessage(message), from);
    }

    FakeNetwork network;
};

WorldEventMessage Event(char letter, int x, int y, int z, std::int32_t argument = 0) {
    return {1, letter, kLevel, x, y, z, argument};
}

void PutInt(GameMessageBytes& bytes, std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

GameMessageBytes Patched(const GameMessage& message, std::size_t at, std::int32_t value,
                         int width = 4) {
    GameMessageBytes bytes = EncodeGameMessage(message);
    if (width == 1)
        bytes[at] = static_cast<std::uint8_t>(value);
    else
        PutInt(bytes, at, value);
    return bytes;
}

} // namespace

TEST_F(NetMessagesTest, HostileMessagesChangeNothingButTheCounters) {
    PlayerStateMessage state;
    state.player = 1;
    state.level = kLevel;
    state.x = 900;
    const WorldEventMessage lever = Event('f', 1, 1, 1);
    const SentryPositionMessage sentry{1, kLevel, 10, 20, 30, 40};
    struct Case {
        const char* what;
        GameMessageBytes bytes;
        IgnoreReason reason;
        std::int32_t from = kPeerId;
    };
    const Case cases[] = {
        {"player beyond lastPlayer", Patched(state, 4, 3, 1), IgnoreReason::BadPlayer},
        {"player 255", Patched(state, 4, 255, 1), IgnoreReason::BadPlayer},
        {"the local player's number", Patched(state, 4, 0, 1), IgnoreReason::BadPlayer},
        {"another player's number", EncodeGameMessage(state), IgnoreReason::Unexpected, 3},
        {"pose 11", Patched(state, 40, 11), IgnoreReason::BadPose},
        {"negative pose", Patched(state, 40, -1), IgnoreReason::BadPose},
        {"negative blend time", Patched(state, 44, -1), IgnoreReason::BadBlendTime},
        {"state of another level", Patched(state, 6, kLevel + 1, 1), IgnoreReason::OtherLevel},
        {"event of another level", Patched(lever, 6, kLevel - 1, 1), IgnoreReason::OtherLevel},
        {"letter c", Patched(lever, 5, 'c', 1), IgnoreReason::BadLetter},
        {"letter k", Patched(lever, 5, 'k', 1), IgnoreReason::BadLetter},
        {"negative cell", Patched(lever, 8, -1), IgnoreReason::BadCell},
        {"cell overflowing 512 x + 256", Patched(lever, 12, INT_MAX), IgnoreReason::BadCell},
        {"cell just outside", Patched(lever, 16, 6), IgnoreReason::BadCell},
        {"type 256", EncodeGameMessage(Event('g', 3, 1, 1, 256)), IgnoreReason::BadObjectType},
        {"negative type", EncodeGameMessage(Event('h', 4, 1, 4, -1)), IgnoreReason::BadObjectType},
        {"undefined type", EncodeGameMessage(Event('g', 3, 1, 1, 200)),
         IgnoreReason::BadObjectType},
        {"a timer taken as an ingot", EncodeGameMessage(Event('g', 4, 1, 4, kTimer)),
         IgnoreReason::BadObjectType},
        {"negative dig delay", EncodeGameMessage(Event('d', 0, 0, 0, -1)), IgnoreReason::BadDelay},
        {"dig delay over an hour", EncodeGameMessage(Event('d', 0, 0, 0, 3600001)),
         IgnoreReason::BadDelay},
        {"sentry 0", Patched(sentry, 4, 0, 1), IgnoreReason::BadSentry},
        {"sentry beyond the count", Patched(sentry, 4, 2, 1), IgnoreReason::BadSentry},
        {"lastPlayer 0", EncodeGameMessage(GameStartMessage{1, 0, 24}),
         IgnoreReason::BadLastPlayer},
        {"lastPlayer 5", EncodeGameMessage(GameStartMessage{1, 5, 24}),
         IgnoreReason::BadLastPlayer},
        {"numbered as the host", EncodeGameMessage(GameStartMessage{0, 2, 24}),
         IgnoreReason::BadLastPlayer},
        {"interval over 10 s", EncodeGameMessage(GameStartMessage{1, 2, 10001}),
         IgnoreReason::BadRefresh},
        {"negative interval", EncodeGameMessage(GameStartMessage{1, 2, -1}),
         IgnoreReason::BadRefresh},
        {"a start in play", EncodeGameMessage(GameStartMessage{2, 3, 500}),
         IgnoreReason::Unexpected},
        {"a start request in play", EncodeGameMessage(StartRequestMessage{}),
         IgnoreReason::Unexpected},
        {"a start answer in play", EncodeGameMessage(StartAnswerMessage{}),
         IgnoreReason::Unexpected},
        {"a forged join", Patched(state, 0, 3), IgnoreReason::UnknownType},
        {"a forged leave", Patched(state, 0, 5), IgnoreReason::UnknownType},
        {"type 15", Patched(state, 0, 15), IgnoreReason::UnknownType},
    };
    for (const Case& c : cases) {
        const std::string before = Snapshot();
        const GameMessageCounters counted = netState.Counters;
        receive(c.bytes, c.from);
        EXPECT_EQ(Snapshot(), before) << c.what;
        EXPECT_EQ(netState.Counters.received, counted.received + 1) << c.what;
        EXPECT_EQ(netState.Counters.Ignored(c.reason), counted.Ignored(c.reason) + 1)
            << c.what << ": " << IgnoreReasonName(c.reason);
        EXPECT_EQ(netState.Counters.sent, counted.sent) << c.what;
    }
    // The same messages, well formed, do apply.
    receive(state);
    receive(sentry);
    EXPECT_EQ(players[1].x, 900.0f);
    EXPECT_EQ(sentries[1].heading, 40.0f);
}

TEST_F(NetMessagesTest, RemoteLeverDigAndPushChangeTheGridAsLocalOnesDo) {
    struct Case {
        WorldEventMessage event;
        std::function<void()> local;
        std::int32_t busyMs;
    };
    const Case cases[] = {
        {Event('f', 1, 1, 1), [] { operateLever(1, 1, 1); }, 300},
        {Event('d', 2, 0, 3, 10000), [] { digHole(2, 0, 3, 10000); }, 500},
        {Event('e', 2, 1, 2, 8192), [] { pushBlock(2, 1, 2, 8192); }, 500},
    };
    for (const Case& c : cases) {
        BuildLevel();
        const std::string untouched = Snapshot();
        c.local();
        const std::vector<std::uint8_t> localCells = worldGrid.cells;
        const std::int32_t localHoles = holeCount, localBlocks = slidingBlockCount;
        BuildLevel();
        receive(c.event);
        EXPECT_NE(Snapshot(), untouched) << c.event.letter;
        EXPECT_EQ(worldGrid.cells, localCells) << c.event.letter;
        EXPECT_EQ(holeCount, localHoles) << c.event.letter;
        EXPECT_EQ(slidingBlockCount, localBlocks) << c.event.letter;
        EXPECT_EQ(players[1].pose, kPoseAction);
        EXPECT_EQ(players[1].busyMs, c.busyMs);
    }
}

TEST_F(NetMessagesTest, RemotePickUpsEmptyTheirCellOnceAndTheLastIngotOpensTheDoor) {
    receive(Event('g', 3, 1, 1, kIngot));
    EXPECT_EQ(cellAt(3, 1, 1), 0);
    EXPECT_EQ(cellAt(5, 1, 0), kIngotDoor);
    EXPECT_EQ(shellState.MessageText, "1: X=768 Z=1000");
    receive(Event('g', 3, 1, 1, kIngot)); // taken here meanwhile: counts once
    EXPECT_EQ(objectTypes[kIngot].lingotCount, 1);
    receive(Event('g', 3, 1, 2, kIngot)); // the last one: the door opens
    EXPECT_EQ(cellAt(5, 1, 0), 0);
    EXPECT_TRUE(std::any_of(transitionSlots.begin(), transitionSlots.end(),
                            [](const TransitionSlot& slot) { return slot.active != 0; }));

    // A timer extends the level's time on every machine, running or not.
    setCell(4, 1, 4, kLever); // something else holds the timer's cell now
    receive(Event('h', 4, 1, 4, kTimer));
    EXPECT_EQ(cellAt(4, 1, 4), kLever);
    EXPECT_EQ(timerRunning, 1);
    EXPECT_EQ(timeLeftMs, 5000);

    // A type that gives two things comes as two events.
    objectTypes[kLight].Timer = 1;
    objectTypes[kLight].TimerDuration = 700;
    receive(Event('h', 0, 1, 4, kLight));
    EXPECT_EQ(timeLeftMs, 5700);
    receive(Event('j', 0, 1, 4, kLight));
    EXPECT_EQ(cellAt(0, 1, 4), 0);
    EXPECT_EQ(players[1].lightTarget, 2000.0f);
    const std::int32_t lives = players[0].lives;
    receive(Event('i', 0, 1, 5, kOneUp));
    EXPECT_EQ(cellAt(0, 1, 5), 0);
    EXPECT_EQ(players[0].lives, lives); // the life counts on the taker's machine
    EXPECT_EQ(netState.Counters.received, 7u);
    EXPECT_EQ(netState.Counters.Ignored(IgnoreReason::BadObjectType), 0u);
}

TEST_F(NetMessagesTest, ALeaverStandsStillWhereLastToldAndTheNewHostDecidesTheSentries) {
    EXPECT_TRUE(DecidesSentries());
    PlayerRecord& bob = players[1];
    bob.vx = 40;
    bob.vz = -30;
    bob.turnRate = 2;
    // On the host, a joiner goes without a word; on a joiner, the host's
    // leaving is told.
    shellState.MessageText.clear();
    CommDeletePlayer(kPeerId, "Bob the Brave", "Bob");
    EXPECT_EQ(shellState.MessageText, "");
    netState.HostId = kPeerId;
    CommDeletePlayer(kPeerId, "Bob the Brave", "Bob");
    EXPECT_EQ(shellState.MessageText, "Bob the Brave has left the game.");
    EXPECT_EQ(bob.x, 768.0f);
    EXPECT_EQ(bob.z, 1000.0f);
    EXPECT_EQ(bob.vx, 0.0f);
    EXPECT_EQ(bob.vz, 0.0f);
    EXPECT_EQ(bob.turnRate, 0.0f);
    EXPECT_EQ(bob.PlayerId, kPeerId); // the record stays in the game
    EXPECT_EQ(lastPlayer, 2);
    EXPECT_FALSE(netState.Migrated);

    // Player 2's machine hosts now: this one no longer moves the sentries on its own.
    CommHostChanged(kPeerId + 1);
    EXPECT_EQ(netState.HostPlayer, 2);
    EXPECT_TRUE(netState.Migrated);
    EXPECT_FALSE(netState.IsHost);
    EXPECT_FALSE(DecidesSentries());
    CommHostChanged(static_cast<std::int32_t>(kHostId));
    EXPECT_EQ(netState.HostPlayer, 0);
    EXPECT_TRUE(netState.IsHost);
    EXPECT_TRUE(DecidesSentries());

    // In the lobby a host that leaves ends the session instead.
    shellState.NetworkLobby = true;
    netState.Migrated = false;
    CommHostChanged(kPeerId + 1);
    EXPECT_EQ(netState.HostPlayer, 0);
    EXPECT_FALSE(netState.Migrated);
}
