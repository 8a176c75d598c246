// The session component on the in-process network: the lists, the events on
// the window's thread, the failure messages, and its end.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/session_component.h"
#include "support/fake_transport.h"

namespace {

struct Machine {
    std::vector<std::string> failures;
    std::vector<std::pair<std::int32_t, std::string>> added, deleted;
    std::vector<std::pair<std::int32_t, std::int32_t>> messages; // from, type
    std::unique_ptr<TDGCPlay> comm;

    Machine(FakeNetwork& network, const std::string& nick) {
        comm = std::make_unique<TDGCPlay>(
            std::vector<NetProvider>{network.Provider()},
            [this](const std::string& text) { failures.push_back(text); });
        comm->GameName = "Kelvane";
        comm->MaxPlayers = 4;
        comm->LongName = nick;
        comm->ShortName = nick;
        comm->OnAddPlayer = [this](std::int32_t id, const std::string& longName,
                                   const std::string&) {
            added.push_back({id, longName});
        };
        comm->OnDeletePlayer = [this](std::int32_t id, const std::string& longName,
                                      const std::string&) {
            deleted.push_back({id, longName});
        };
        comm->OnGameMessage = [this](std::int32_t from, std::int32_t type, const std::uint8_t*) {
            messages.push_back({from, type});
        };
    }
    void Host() { comm->Connect("LAN (broadcast)", true); }
    void Join(std::size_t index = 0) {
        comm->Connect("LAN (broadcast)", false);
        ASSERT_LT(index, comm->Sessions.size());
        comm->JoinSession(comm->Sessions[index].id);
    }
    // Lets the receiving thread hand over what has arrived.
    void Settle() {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        comm->DispatchEvents();
    }
    std::vector<std::string> LongNames() const {
        std::vector<std::string> names;
        for (const NamedId& entry : comm->PlayerLongNames) names.push_back(entry.name);
        return names;
    }
};

std::vector<std::uint8_t> Message(std::uint32_t type, std::size_t size = kNetMessageSize) {
    std::vector<std::uint8_t> bytes(size);
    for (int i = 0; i < 4 && static_cast<std::size_t>(i) < size; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(type >> (8 * i));
    return bytes;
}

} // namespace

TEST(SessionComponent, StartsWithTheDefaultsAndItsProviders) {
    FakeNetwork network;
    TDGCPlay comm({network.Provider("LAN (broadcast)"), network.Provider("Direct address")});
    EXPECT_EQ(comm.MaxPlayers, 2);
    EXPECT_EQ(comm.TimeOut, 500);
    EXPECT_TRUE(comm.GameName.empty());
    EXPECT_EQ(comm.Providers, (std::vector<std::string>{"LAN (broadcast)", "Direct address"}));
    EXPECT_EQ(comm.ProviderCount(), 2);
    EXPECT_FALSE(TDGCPlay::Version().empty());
}

TEST(SessionComponent, HostAndJoinersKeepTheSameListsAndCounts) {
    FakeNetwork network;
    Machine host(network, "Ann"), bob(network, "Bob"), cy(network, "Cy");
    host.Host();
    EXPECT_EQ(host.comm->PlayerCount, 2);
    EXPECT_EQ(host.LongNames(), (std::vector<std::string>{"All", "Ann"}));
    EXPECT_EQ(host.comm->PlayerLongNames[0].id, 0u);

    bob.Join();
    EXPECT_EQ(bob.comm->SessionCount, 1);
    EXPECT_EQ(bob.comm->Sessions[0].name, "Kelvane");
    EXPECT_EQ(bob.comm->PlayerCount, 3); // "All", the host, and Bob
    EXPECT_EQ(bob.LongNames(), (std::vector<std::string>{"All", "Ann", "Bob"}));
    cy.Join();
    host.Settle();
    bob.Settle();
    EXPECT_EQ(host.LongNames(), (std::vector<std::string>{"All", "Ann", "Bob", "Cy"}));
    EXPECT_EQ(host.comm->PlayerCount, 4);
    // Players raise OnAddPlayer in the order they joined; a joiner hears
    // only of those after it.
    ASSERT_EQ(host.added.size(), 2u);
    EXPECT_EQ(host.added[0].second, "Bob");
    EXPECT_EQ(host.added[1].second, "Cy");
    ASSERT_EQ(bob.added.size(), 1u);
    EXPECT_EQ(bob.added[0].first, static_cast<std::int32_t>(cy.comm->LocalPlayerId));
    EXPECT_TRUE(cy.added.empty());
    EXPECT_EQ(bob.comm->PlayerCount, 4);
    for (const Machine* m : {&host, &bob, &cy}) EXPECT_TRUE(m->failures.empty());
}

TEST(SessionComponent, MessagesReachOneOrAllWithTheSenderTheHostKnows) {
    FakeNetwork network;
    Machine host(network, "Ann"), bob(network, "Bob"), cy(network, "Cy");
    host.Host();
    bob.Join();
    cy.Join();
    const auto eleven = Message(11);
    bob.comm->SendMessage(0, eleven);
    host.comm->SendMessage(cy.comm->LocalPlayerId, Message(13));
    cy.comm->SendMessage(host.comm->LocalPlayerId, Message(14));
    // Only exact 260-byte messages go out.
    bob.comm->SendMessage(0, Message(12, 259));
    bob.comm->SendMessage(0, Message(12, 261));
    EXPECT_EQ(bob.comm->DroppedMessages(), 2u);
    for (Machine* m : {&host, &bob, &cy}) m->Settle();

    const auto bobId = static_cast<std::int32_t>(bob.comm->LocalPlayerId);
    const auto hostId = static_cast<std::int32_t>(host.comm->LocalPlayerId);
    const auto cyId = static_cast<std::int32_t>(cy.comm->LocalPlayerId);
    EXPECT_EQ(host.messages,
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{bobId, 11}, {cyId, 14}}));
    EXPECT_EQ(cy.messages,
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{bobId, 11}, {hostId, 13}}));
    EXPECT_TRUE(bob.messages.empty()); // not echoed to the sender
}

TEST(SessionComponent, MessagesStartingLikeNotificationsAreOnlyMessages) {
    FakeNetwork network;
    Machine host(network, "Ann"), bob(network, "Bob");
    host.Host();
    bob.Join();
    host.Settle();
    bob.comm->SendMessage(0, Message(3));
    bob.comm->SendMessage(0, Message(5));
    host.Settle();
    EXPECT_EQ(host.comm->PlayerCount, 3);
    EXPECT_EQ(host.added.size(), 1u);
    EXPECT_TRUE(host.deleted.empty());
    EXPECT_EQ(host.messages.size(), 2u);
}

TEST(SessionComponent, LeavingIsSeenAtOnceAndTheEndJoinsTheThread) {
    FakeNetwork network;
    Machine host(network, "Ann"), bob(network, "Bob"), cy(network, "Cy");
    host.Host();
    bob.Join();
    cy.Join();
    const auto cyId = static_cast<std::int32_t>(cy.comm->LocalPlayerId);
    host.Settle();
    bob.Settle();
    cy.comm.reset();
    host.Settle();
    bob.Settle();
    ASSERT_EQ(host.deleted.size(), 1u);
    EXPECT_EQ(host.deleted[0].first, cyId);
    EXPECT_EQ(host.deleted[0].second, "Cy");
    EXPECT_EQ(host.LongNames(), (std::vector<std::string>{"All", "Ann", "Bob"}));
    EXPECT_EQ(host.comm->PlayerCount, 3);
    ASSERT_EQ(bob.deleted.size(), 1u);

    // The host goes: the joiner sees it leave and goes on alone.
    host.comm.reset();
    bob.Settle();
    EXPECT_EQ(bob.deleted.size(), 2u);
    EXPECT_EQ(bob.LongNames(), (std::vector<std::string>{"All", "Bob"}));
    bob.comm->SendMessage(0, Message(11)); // to nobody, harmlessly
}

TEST(SessionComponent, EveryFailureShowsItsOperationAndCode) {
    FakeNetwork network;
    Machine host(network, "Ann");
    host.comm->MaxPlayers = 2;
    host.comm->Password = "pw";
    host.Host();

    Machine full(network, "Bob"), late(network, "Cy"), wrong(network, "Dee");
    full.comm->Password = "pw";
    full.Join();
    EXPECT_TRUE(full.failures.empty());
    late.comm->Password = "pw";
    late.Join();
    EXPECT_EQ(late.failures, (std::vector<std::string>{"Open Failed :8B4E0004"}));
    EXPECT_FALSE(late.comm->InSession());
    EXPECT_EQ(late.comm->PlayerCount, 1); // only "All"

    // A session with another password is not listed, nor one closed at Go.
    wrong.comm->Connect("LAN (broadcast)", false);
    EXPECT_EQ(wrong.comm->SessionCount, 0);
    EXPECT_TRUE(wrong.failures.empty());
    wrong.comm->JoinSession(12345);
    EXPECT_EQ(wrong.failures, (std::vector<std::string>{"Open Failed :8B4E0007"}));

    Machine nobody(network, "Eve");
    nobody.comm->Connect("No such provider", false);
    EXPECT_EQ(nobody.failures, (std::vector<std::string>{"DirectPlay Create Failed :8B4E0001"}));

    Machine unlucky(network, "Fay");
    network.listFailure = kNetBindFailed;
    unlucky.comm->Connect("LAN (broadcast)", false);
    network.createFailure = {kNetBindFailed, false};
    unlucky.comm->CreateSession();
    network.createFailure = {kNetConnectTimedOut, true};
    unlucky.comm->CreateSession();
    EXPECT_EQ(unlucky.failures, (std::vector<std::string>{"EnumSessions Failed :8B4E0002",
                                                          "DirectPlay Open Failed :8B4E0002",
                                                          "Local Player Create Failed :8B4E0003"}));
    EXPECT_FALSE(unlucky.comm->InSession());

    TDGCPlay none({}, [&](const std::string& text) { unlucky.failures.push_back(text); });
    EXPECT_EQ(unlucky.failures.back(), "Enum Servers Failed :8B4E0001");
    none.EnumPlayers(1);
    EXPECT_EQ(unlucky.failures.back(), "EnumPlayers Failed :8B4E0001");
    EXPECT_EQ(FailureText("Open", 0xFFFFFFFFu), "Open Failed :FFFFFFFF");
}

// A host turns away a joiner that plays other levels, definitions or
// protocol before it becomes a player; the joiner's list already marks the
// game, and its failure says what differs.
TEST(SessionComponent, AnotherGameIsMarkedAndRefusedSayingWhatDiffers) {
    FakeNetwork network;
    Machine host(network, "Ann");
    host.comm->Identity = {kNetProtocolVersion, 10, 20};
    host.Host();
    const struct {
        NetGameIdentity identity;
        const char* difference;
        std::uint32_t code;
    } others[] = {
        {{kNetProtocolVersion, 10, 21}, "different levels", kNetDifferentLevels},
        {{kNetProtocolVersion, 11, 21}, "different definitions", kNetDifferentDefinitions},
        {{kNetProtocolVersion + 1, 10, 20}, "different version", kNetDifferentVersion},
    };
    for (const auto& other : others) {
        Machine joiner(network, "Bob");
        joiner.comm->Identity = other.identity;
        joiner.Join();
        ASSERT_EQ(joiner.comm->SessionDifferences.size(), 1u);
        EXPECT_EQ(joiner.comm->SessionDifferences[0], other.difference);
        EXPECT_FALSE(joiner.comm->InSession());
        ASSERT_EQ(joiner.failures.size(), 1u);
        EXPECT_EQ(joiner.failures[0], FailureText("Open", other.code));
        EXPECT_NE(joiner.failures[0].find(other.difference), std::string::npos);
    }
    host.Settle();
    EXPECT_EQ(host.comm->PlayerCount, 2);
    EXPECT_TRUE(host.added.empty());

    Machine same(network, "Cy");
    same.comm->Identity = host.comm->Identity;
    same.Join();
    EXPECT_EQ(same.comm->SessionDifferences[0], "");
    EXPECT_TRUE(same.comm->InSession());
    EXPECT_TRUE(same.failures.empty());
}

TEST(SessionComponent, AClosedSessionRefusesLatePlayers) {
    FakeNetwork network;
    Machine host(network, "Ann"), bob(network, "Bob"), late(network, "Cy");
    host.Host();
    bob.Join();
    late.comm->Connect("LAN (broadcast)", false);
    ASSERT_EQ(late.comm->SessionCount, 1);
    host.comm->CloseSession();
    late.comm->JoinSession(late.comm->Sessions[0].id);
    EXPECT_EQ(late.failures, (std::vector<std::string>{"Open Failed :8B4E0005"}));
    late.comm->EnumSessions();
    EXPECT_EQ(late.comm->SessionCount, 0);
    host.Settle();
    EXPECT_EQ(host.comm->PlayerCount, 3);
}

TEST(SessionComponent, NamesAreCutAndListingsKeepAtMost64Sessions) {
    FakeNetwork network;
    std::vector<std::unique_ptr<Machine>> hosts;
    for (int i = 0; i < 70; ++i) {
        hosts.push_back(std::make_unique<Machine>(network, "H"));
        hosts.back()->comm->GameName = "Kelvane - " + std::string(30, 'x'); // 40 characters
        hosts.back()->Host();
    }
    const std::string nick(30, 'n');
    Machine joiner(network, nick);
    joiner.comm->ShortName = nick;
    joiner.Join(69 % 64);
    EXPECT_EQ(joiner.comm->SessionCount, 64);
    EXPECT_EQ(joiner.comm->Sessions[0].name.size(), kNetSessionNameMax);
    // The long name travels whole, the short name cut to 19.
    Machine& host = *hosts[69 % 64];
    host.Settle();
    ASSERT_EQ(host.comm->PlayerLongNames.size(), 3u);
    EXPECT_EQ(host.comm->PlayerLongNames[2].name, nick);
    EXPECT_EQ(host.comm->PlayerShortNames[2].name, std::string(kNetShortNameMax, 'n'));
}
