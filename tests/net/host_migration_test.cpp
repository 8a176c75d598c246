// A session that outlives its host: who is elected, how a joiner goes from
// one candidate to the next, how the player taking over takes the others
// back, and how messages sent again after the change are applied once.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/host_migration.h"
#include "net/session_joiner.h"
#include "net/session_relay.h"

namespace {

RosterEntry Entry(std::uint32_t id, std::uint16_t port) {
    return {id, {127, 0, 0, 1}, port};
}

const std::vector<RosterEntry> kRoster = {Entry(2, 5002), Entry(3, 5003), Entry(4, 5004)};

std::vector<std::uint8_t> Message(std::uint8_t type) {
    std::vector<std::uint8_t> bytes(kNetMessageSize);
    bytes[0] = type;
    return bytes;
}

std::vector<std::uint8_t> RejoinFrame(std::uint32_t sessionId, std::uint32_t id) {
    ControlFrame frame;
    frame.kind = FrameKind::Rejoin;
    frame.sessionId = sessionId;
    frame.id = id;
    return EncodeFrame(frame);
}

std::vector<ControlFrame> FramesTo(const std::vector<RelayOutput>& out, int connection) {
    std::vector<ControlFrame> frames;
    for (const RelayOutput& o : out)
        if (o.connection == connection && !o.frame.empty())
            if (auto frame = ParseFrame(o.frame)) frames.push_back(*frame);
    return frames;
}

} // namespace

TEST(HostMigration, TheLowestRemainingIdHostsAndUnreachableCandidatesAreSkipped) {
    const std::vector<std::uint32_t> none;
    const std::vector<std::uint32_t> some = {4, 0, 2, 3};
    EXPECT_EQ(ElectHost(none), 0u);
    EXPECT_EQ(ElectHost(some), 2u);

    // The lowest of all takes over at once.
    HostMigration second;
    second.Arm(2, kRoster);
    const std::vector<std::uint32_t> othersOf2 = {3, 4};
    const MigrationStep hosting = second.HostLost(othersOf2, 0);
    EXPECT_EQ(hosting.kind, MigrationStep::Kind::Host);
    EXPECT_EQ(second.Phase(), MigrationPhase::Hosting);
    EXPECT_EQ(second.Host(), 2u);

    // Another connects to it at the roster's address; when it cannot be
    // reached, the next lowest (here itself) hosts and 2 is gone.
    HostMigration third;
    third.Arm(3, kRoster);
    const std::vector<std::uint32_t> othersOf3 = {2, 4};
    const MigrationStep connect = third.HostLost(othersOf3, 1000);
    ASSERT_EQ(connect.kind, MigrationStep::Kind::Connect);
    EXPECT_EQ(connect.target, 2u);
    EXPECT_EQ(connect.address, kRoster[0]);
    EXPECT_TRUE(connect.gone.empty());
    const MigrationStep next = third.CandidateLost(1500);
    EXPECT_EQ(next.kind, MigrationStep::Kind::Host);
    EXPECT_EQ(next.gone, std::vector<std::uint32_t>{2});
    EXPECT_EQ(third.Remaining(), std::vector<std::uint32_t>{4});

    // A candidate the roster does not list cannot be reached at all.
    HostMigration fourth;
    const std::vector<RosterEntry> partial = {Entry(3, 5003), Entry(4, 5004)};
    fourth.Arm(4, partial);
    const std::vector<std::uint32_t> othersOf4 = {2, 3};
    const MigrationStep skip = fourth.HostLost(othersOf4, 0);
    EXPECT_EQ(skip.kind, MigrationStep::Kind::Connect);
    EXPECT_EQ(skip.target, 3u);
    EXPECT_EQ(skip.gone, std::vector<std::uint32_t>{2});

    // Not armed (the host left before the game started): nothing to arm from.
    HostMigration lobby;
    EXPECT_FALSE(lobby.Armed());
    lobby.Arm(0, kRoster);
    EXPECT_FALSE(lobby.Armed());
}

TEST(HostMigration, ACandidateHasLittleTimeToConnectAndLongToAnswerAndCanChangeAgain) {
    HostMigration m;
    m.Arm(4, kRoster);
    const std::vector<std::uint32_t> others = {2, 3};
    ASSERT_EQ(m.HostLost(others, 10'000).target, 2u);
    EXPECT_FALSE(m.Overdue(10'000 + HostMigration::kConnectMs - 1));
    EXPECT_TRUE(m.Overdue(10'000 + HostMigration::kConnectMs));
    // Connected: it may still be following the old host for a while.
    m.ConnectionMade(11'000);
    EXPECT_FALSE(m.Overdue(10'000 + HostMigration::kConnectMs));
    EXPECT_TRUE(m.Overdue(11'000 + HostMigration::kAnswerMs));

    m.Rejoined();
    EXPECT_EQ(m.Phase(), MigrationPhase::Following);
    EXPECT_EQ(m.Host(), 2u);
    EXPECT_FALSE(m.Overdue(1'000'000));
    // Late answers change nothing once back.
    EXPECT_EQ(m.CandidateLost(12'000).kind, MigrationStep::Kind::None);
    EXPECT_EQ(m.Host(), 2u);

    // The new host leaves too: the session moves on to 3.
    const std::vector<std::uint32_t> left = {3};
    const MigrationStep again = m.HostLost(left, 20'000);
    EXPECT_EQ(again.target, 3u);
    EXPECT_EQ(m.Migrations(), 2u);
}

TEST(HostMigration, TheNewHostTakesBackOnlyThePlayersItExpectsAndDropsTheLate) {
    constexpr std::uint32_t kSession = 77;
    // Player 2 takes over; it had applied 3's messages up to 5.
    SequenceFilter applied;
    applied.Accept(3, 5);
    SessionRelay relay({"Kelvane - Ann", "", 4}, {0, "Bob", "Bob"}, kSession, {}, 2);
    relay.ExpectRejoins({{1, "Ann", "Ann"}, {3, "Cy", "Cy"}, {4, "Dee", "Dee"}}, 5000, applied);
    std::vector<RelayOutput> out;
    std::vector<NetEvent> local;

    // A new player is not let in, nor a stranger claiming another's id, nor a
    // rejoin to another session.
    ControlFrame hello;
    hello.kind = FrameKind::Hello;
    hello.player = {0, "Eve", "Eve"};
    relay.Connected(10, "127.0.0.1", 0, out);
    relay.Receive(10, EncodeFrame(hello), NetDelivery::Reliable, out, local);
    relay.Connected(11, "127.0.0.1", 0, out);
    relay.Receive(11, RejoinFrame(kSession, 9), NetDelivery::Reliable, out, local);
    relay.Connected(12, "127.0.0.1", 0, out);
    relay.Receive(12, RejoinFrame(kSession + 1, 3), NetDelivery::Reliable, out, local);
    for (int c : {10, 11, 12}) {
        const auto frames = FramesTo(out, c);
        ASSERT_EQ(frames.size(), 1u) << c;
        EXPECT_EQ(frames[0].kind, FrameKind::Refuse) << c;
    }
    EXPECT_EQ(FramesTo(out, 12)[0].id, kNetNoSuchSession);
    EXPECT_EQ(relay.PlayerCount(), 1u);

    // 3 comes back and hears who is in: the new host first, then those awaited.
    out.clear();
    relay.Connected(13, "127.0.0.1", 0, out);
    relay.Receive(13, RejoinFrame(kSession, 3), NetDelivery::Reliable, out, local);
    const auto welcome = FramesTo(out, 13);
    ASSERT_EQ(welcome.size(), 1u);
    EXPECT_EQ(welcome[0].kind, FrameKind::Welcome);
    EXPECT_EQ(welcome[0].id, 3u);
    ASSERT_EQ(welcome[0].players.size(), 3u);
    EXPECT_EQ(welcome[0].players[0].id, 2u);
    EXPECT_EQ(relay.TakeRejoined(), std::vector<std::uint32_t>{3});
    EXPECT_TRUE(relay.TakeRejoined().empty());
    EXPECT_TRUE(local.empty()); // the game knew the player all along
    // Coming back twice is out of place.
    relay.Connected(14, "127.0.0.1", 0, out);
    relay.Receive(14, RejoinFrame(kSession, 3), NetDelivery::Reliable, out, local);
    EXPECT_EQ(relay.PlayerCount(), 2u);

    // 3 sends again what it sent before the change: what the new host had
    // applied is not applied twice. 4, still awaited, hears all of it (and
    // not what may be lost) once back.
    out.clear();
    for (std::uint32_t sequence : {4u, 5u, 6u})
        relay.Receive(13, EncodeFrame(DataFrame(0, Message(12), sequence)), NetDelivery::Reliable,
                      out, local);
    relay.Receive(13, EncodeFrame(DataFrame(0, Message(11))), NetDelivery::Unreliable, out, local);
    ASSERT_EQ(local.size(), 2u);
    EXPECT_EQ(local[0].player.id, 3u);
    EXPECT_EQ(local[1].data[0], 11);
    relay.Connected(15, "127.0.0.1", 0, out);
    relay.Receive(15, RejoinFrame(kSession, 4), NetDelivery::Reliable, out, local);
    const auto toFour = FramesTo(out, 15);
    ASSERT_EQ(toFour.size(), 4u);
    EXPECT_EQ(toFour[0].kind, FrameKind::Welcome);
    EXPECT_EQ(toFour[3].sequence, 6u);
    EXPECT_EQ(toFour[3].id, 3u); // named after its sender

    // 1 never comes back: at the deadline it has left, for everyone.
    out.clear();
    local.clear();
    relay.Tick(4999, out, local);
    EXPECT_TRUE(local.empty());
    relay.Tick(5000, out, local);
    ASSERT_EQ(local.size(), 1u);
    EXPECT_EQ(local[0].kind, NetEvent::Kind::PlayerRemoved);
    EXPECT_EQ(local[0].player.id, 1u);
    for (int c : {13, 15}) {
        const auto frames = FramesTo(out, c);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].kind, FrameKind::PlayerRemoved);
        EXPECT_EQ(frames[0].id, 1u);
    }
    local.clear();
    relay.Tick(9000, out, local);
    EXPECT_TRUE(local.empty());
}

TEST(HostMigration, AJoinerKeepsTheRosterOfItsSessionAndLetsOnlyTheHostGo) {
    SessionJoiner joiner;
    ControlFrame welcome;
    welcome.kind = FrameKind::Welcome;
    welcome.sessionId = 77;
    welcome.id = 3;
    welcome.players = {{1, "Ann", "Ann"}, {2, "Bob", "Bob"}};
    ASSERT_TRUE(joiner.Answer(EncodeFrame(welcome), 77).answered);
    std::vector<NetEvent> events;

    ControlFrame roster;
    roster.kind = FrameKind::Roster;
    roster.sessionId = 78; // another session's
    roster.roster = kRoster;
    joiner.Receive(EncodeFrame(roster), events);
    EXPECT_FALSE(joiner.TakeRosterUpdate());
    roster.sessionId = 77;
    joiner.Receive(EncodeFrame(roster), events);
    EXPECT_TRUE(joiner.TakeRosterUpdate());
    EXPECT_FALSE(joiner.TakeRosterUpdate());
    EXPECT_EQ(joiner.Roster(), kRoster);

    // A message sent again after a change of host is applied once.
    for (std::uint32_t sequence : {1u, 2u, 2u, 1u, 0u, 0u})
        joiner.Receive(EncodeFrame(DataFrame(2, Message(12), sequence)), events);
    EXPECT_EQ(events.size(), 4u);
    EXPECT_EQ(joiner.DroppedFrames(), 1u); // the roster of another session

    events.clear();
    EXPECT_EQ(joiner.HostLeft(1, events), std::vector<std::uint32_t>{2});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].player.id, 1u);
}
