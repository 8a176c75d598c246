// The host's slots: connections that are not players must say a valid hello
// within three seconds and nothing else, one address holds at most two of
// them, and a slot is always left for the next joiner.
#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "net/session_relay.h"

namespace {

// A relay behind a transport of `slots` connections, as net/enet holds them:
// a new connection takes the lowest free slot, a drop frees its slot.
struct Lobby {
    std::size_t slots;
    SessionRelay relay;
    std::set<int> open;
    std::vector<int> dropped;      // in order
    std::vector<RelayOutput> sent; // frames, since the last look
    std::vector<NetEvent> local;

    explicit Lobby(std::size_t slotCount = 8, std::size_t keepFree = 1)
        : slots(slotCount),
          relay({"Lobby", "pw", 4}, {0, "Host", "Host"}, 5, GuardLimits{slotCount, keepFree}) {}

    void apply(std::vector<RelayOutput>& out) {
        for (RelayOutput& o : out) {
            if (o.frame.empty() && o.disconnect) {
                EXPECT_TRUE(open.erase(o.connection)) << "dropped twice: " << o.connection;
                dropped.push_back(o.connection);
            } else {
                sent.push_back(std::move(o));
            }
        }
    }
    // The slot the new connection took, or -1 when none was free.
    int Connect(const std::string& address, std::int64_t now) {
        int slot = 0;
        while (open.count(slot)) ++slot;
        if (static_cast<std::size_t>(slot) >= slots) return -1;
        open.insert(slot);
        std::vector<RelayOutput> out;
        relay.Connected(slot, address, now, out);
        apply(out);
        return slot;
    }
    void Tick(std::int64_t now) {
        std::vector<RelayOutput> out;
        relay.Tick(now, out);
        apply(out);
    }
    void Send(int connection, const std::vector<std::uint8_t>& bytes) {
        std::vector<RelayOutput> out;
        relay.Receive(connection, bytes, NetDelivery::Reliable, out, local);
        apply(out);
    }
    // The frame the host last sent to `connection`.
    std::optional<ControlFrame> LastTo(int connection) const {
        for (auto o = sent.rbegin(); o != sent.rend(); ++o)
            if (o->connection == connection) return ParseFrame(o->frame);
        return std::nullopt;
    }
    bool Joins(int connection, const std::string& password = "pw") {
        ControlFrame hello;
        hello.kind = FrameKind::Hello;
        hello.password = password;
        hello.player = {0, "Joe", "Joe"};
        Send(connection, EncodeFrame(hello));
        const auto answer = LastTo(connection);
        return answer && answer->kind == FrameKind::Welcome;
    }
};

std::string Address(int n) {
    return "127.0.0." + std::to_string(n);
}

} // namespace

TEST(LobbySlots, AConnectionWithoutAHelloGoesAtItsDeadlineAndPlayersStay) {
    Lobby lobby;
    const int silent = lobby.Connect(Address(1), 0);
    const int slow = lobby.Connect(Address(2), 1000);
    lobby.Tick(2999);
    EXPECT_TRUE(lobby.dropped.empty());
    lobby.Tick(3000);
    EXPECT_EQ(lobby.dropped, std::vector<int>{silent});
    // A hello late in its three seconds still counts; a player has no deadline.
    lobby.Tick(3999);
    EXPECT_TRUE(lobby.Joins(slow));
    lobby.Tick(60'000);
    EXPECT_EQ(lobby.dropped, std::vector<int>{silent});
    EXPECT_EQ(lobby.relay.PlayerCount(), 2u);
    EXPECT_EQ(lobby.relay.StrangersDropped().silent, 1u);
    EXPECT_EQ(lobby.relay.Strangers(), 0u);
}

TEST(LobbySlots, SilentConnectionsNeverTakeTheLastSlot) {
    // Eight at once, each from its own address: the eighth pushes out the
    // oldest, and the joiner after them gets a slot and is taken in.
    Lobby lobby;
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(lobby.Connect(Address(i), i), -1);
        EXPECT_LT(lobby.open.size(), lobby.slots);
    }
    EXPECT_EQ(lobby.dropped, std::vector<int>{0});
    const int joiner = lobby.Connect("127.0.1.1", 10);
    ASSERT_NE(joiner, -1);
    EXPECT_TRUE(lobby.Joins(joiner));
    EXPECT_EQ(lobby.relay.StrangersDropped().madeRoom, 2u);

    // Strangers keep coming, one a millisecond from ever new addresses, with
    // players already in: every joiner among them still gets in.
    Lobby busy;
    ASSERT_TRUE(busy.Joins(busy.Connect(Address(200), 0)));
    int admitted = 0;
    for (int i = 0; i < 500; ++i) {
        busy.Tick(i);
        const int slot =
            busy.Connect("127.1." + std::to_string(i / 250) + "." + std::to_string(i % 250), i);
        ASSERT_NE(slot, -1) << "no slot at " << i;
        EXPECT_LT(busy.open.size(), busy.slots);
        if (i == 100 || i == 400) admitted += busy.Joins(slot) ? 1 : 0;
    }
    EXPECT_EQ(admitted, 2);
    EXPECT_EQ(busy.relay.PlayerCount(), 4u);
    // Players are never pushed out to make room.
    EXPECT_EQ(busy.open.size(), busy.slots - 1);
    EXPECT_EQ(busy.relay.Strangers(), busy.slots - 1 - 3);

    // The ENet host keeps half its sixteen slots free for connections still
    // being made: the ninth connection pushes out the oldest.
    Lobby roomy(16, 8);
    for (int i = 0; i < 8; ++i) roomy.Connect(Address(i), 0);
    EXPECT_TRUE(roomy.dropped.empty());
    roomy.Connect(Address(8), 1);
    EXPECT_EQ(roomy.dropped, std::vector<int>{0});
    EXPECT_EQ(roomy.open.size(), 8u);
}

TEST(LobbySlots, OneAddressHoldsAtMostTwoStrangersButAnyNumberOfPlayers) {
    Lobby lobby;
    const std::string shared = "127.0.0.99";
    const int first = lobby.Connect(shared, 0);
    const int second = lobby.Connect(shared, 1);
    const int other = lobby.Connect(Address(3), 2);
    EXPECT_TRUE(lobby.dropped.empty());
    const int third = lobby.Connect(shared, 3);
    EXPECT_EQ(lobby.dropped, std::vector<int>{first});
    EXPECT_EQ(lobby.relay.StrangersDropped().sameAddress, 1u);

    // Players behind one address (a shared network, or one machine) all get
    // in: once in, they no longer count against it.
    EXPECT_TRUE(lobby.Joins(second));
    EXPECT_TRUE(lobby.Joins(third));
    const int fourth = lobby.Connect(shared, 4);
    EXPECT_TRUE(lobby.Joins(fourth));
    EXPECT_EQ(lobby.relay.PlayerCount(), 4u);
    EXPECT_EQ(lobby.dropped, std::vector<int>{first});
    EXPECT_TRUE(lobby.open.count(other));
}

TEST(LobbySlots, AStrangerThatSendsAnythingButAHelloIsDroppedAtOnce) {
    Lobby lobby;
    ControlFrame data;
    data.kind = FrameKind::Data;
    ControlFrame added;
    added.kind = FrameKind::PlayerAdded;
    added.player = {9, "X", "X"};
    const std::vector<std::uint8_t> junk{1, 2, 3};
    const std::vector<std::vector<std::uint8_t>> frames{
        EncodeFrame(data), EncodeFrame(added), junk, {}};
    for (const auto& frame : frames) {
        const int stranger = lobby.Connect(Address(static_cast<int>(lobby.dropped.size())), 0);
        lobby.Send(stranger, frame);
        ASSERT_FALSE(lobby.dropped.empty());
        EXPECT_EQ(lobby.dropped.back(), stranger);
        EXPECT_FALSE(lobby.open.count(stranger));
    }
    EXPECT_EQ(lobby.relay.StrangersDropped().outOfPlace, frames.size());
    EXPECT_TRUE(lobby.sent.empty());
    EXPECT_TRUE(lobby.local.empty());

    // A player's junk is counted, not punished.
    const int player = lobby.Connect(Address(50), 0);
    ASSERT_TRUE(lobby.Joins(player));
    const std::size_t before = lobby.dropped.size();
    lobby.Send(player, junk);
    lobby.Send(player, EncodeFrame(added));
    EXPECT_EQ(lobby.dropped.size(), before);
    EXPECT_TRUE(lobby.open.count(player));
}

TEST(LobbySlots, ARefusedJoinerHearsWhyAndThenMustGo) {
    Lobby lobby;
    const int wrong = lobby.Connect(Address(1), 0);
    EXPECT_FALSE(lobby.Joins(wrong, "nope"));
    // The refusal goes out before the connection closes, with the code the
    // joiner shows ("Open Failed :8B4E0006").
    const auto refusal = lobby.LastTo(wrong);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->kind, FrameKind::Refuse);
    EXPECT_EQ(refusal->id, kNetWrongPassword);
    EXPECT_TRUE(lobby.sent.back().disconnect);
    EXPECT_TRUE(lobby.dropped.empty());

    // It may not try again on the same connection, and one that lingers
    // after its refusal is dropped two seconds later.
    const int again = lobby.Connect(Address(2), 0);
    EXPECT_FALSE(lobby.Joins(again, "nope"));
    lobby.Joins(again, "pw");
    EXPECT_EQ(lobby.dropped, std::vector<int>{again});
    lobby.Tick(1999);
    EXPECT_EQ(lobby.dropped, std::vector<int>{again});
    lobby.Tick(2000);
    EXPECT_EQ(lobby.dropped, (std::vector<int>{again, wrong}));

    // One that goes by itself is simply forgotten.
    const int polite = lobby.Connect(Address(3), 2500);
    EXPECT_FALSE(lobby.Joins(polite, "nope"));
    std::vector<RelayOutput> out;
    lobby.relay.Disconnected(polite, out, lobby.local);
    lobby.open.erase(polite);
    lobby.Tick(10'000);
    EXPECT_EQ(lobby.dropped.size(), 2u);
    EXPECT_EQ(lobby.relay.Strangers(), 0u);
}
