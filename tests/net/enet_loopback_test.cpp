// The session over real ENet sockets on 127.0.0.1: discovery by a broadcast
// to 127.255.255.255, the host's relay, refusals and leaving.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include <enet/enet.h>

#include "net/enet/enet_transport.h"
#include "net/net_frames.h"
#include "net/session_component.h"
#include "support/silent_connections.h"

namespace {

// A discovery port of this process, so that test runs side by side do not
// hear each other's probes.
EnetOptions LoopbackOptions() {
    EnetOptions options;
    options.broadcastAddress = "127.255.255.255";
    options.discoveryPort = static_cast<std::uint16_t>(30000 + getpid() % 20000);
    options.bindAddress = "127.0.0.1";
    options.port = 0;
    return options;
}

struct Peer {
    std::vector<std::string> failures;
    std::vector<std::int32_t> added, deleted;
    std::vector<std::pair<std::int32_t, std::int32_t>> messages;
    std::unique_ptr<TDGCPlay> comm;

    explicit Peer(const std::string& nick, const EnetOptions& options = LoopbackOptions()) {
        comm = std::make_unique<TDGCPlay>(
            EnetProviders(options), [this](const std::string& text) { failures.push_back(text); });
        comm->GameName = "Kelvane - " + nick;
        comm->MaxPlayers = 3;
        comm->TimeOut = 600;
        comm->LongName = comm->ShortName = nick;
        comm->OnAddPlayer = [this](std::int32_t id, const std::string&, const std::string&) {
            added.push_back(id);
        };
        comm->OnDeletePlayer = [this](std::int32_t id, const std::string&, const std::string&) {
            deleted.push_back(id);
        };
        comm->OnGameMessage = [this](std::int32_t from, std::int32_t type, const std::uint8_t*) {
            messages.push_back({from, type});
        };
    }
};

// Hands over arrivals until `done` holds or three seconds pass.
bool Until(const std::vector<Peer*>& peers, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < end) {
        for (Peer* peer : peers) peer->comm->DispatchEvents();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::vector<std::uint8_t> Message(std::uint8_t type) {
    std::vector<std::uint8_t> bytes(kNetMessageSize);
    bytes[0] = type;
    return bytes;
}

} // namespace

TEST(EnetLoopback, PlayersFindJoinAndHearEachOtherThroughTheHost) {
    Peer host("Ann"), bob("Bob"), cy("Cy"), late("Dee");
    host.comm->Connect("LAN (broadcast)", true);
    ASSERT_TRUE(host.comm->InSession()) << (host.failures.empty() ? "" : host.failures[0]);

    for (Peer* joiner : {&bob, &cy, &late}) {
        joiner->comm->Connect("LAN (broadcast)", false);
        ASSERT_EQ(joiner->comm->SessionCount, 1);
        EXPECT_EQ(joiner->comm->Sessions[0].name, "Kelvane - Ann");
        joiner->comm->JoinSession(joiner->comm->Sessions[0].id);
        if (joiner == &late) break;
        ASSERT_TRUE(joiner->comm->InSession())
            << (joiner->failures.empty() ? "" : joiner->failures[0]);
    }
    // The limit is three: the fourth hears why it cannot join.
    EXPECT_EQ(late.failures, (std::vector<std::string>{"Open Failed :8B4E0004"}));
    EXPECT_FALSE(late.comm->InSession());

    ASSERT_TRUE(
        Until({&host, &bob}, [&] { return host.added.size() == 2 && bob.added.size() == 1; }));
    EXPECT_EQ(host.comm->PlayerCount, 4);
    EXPECT_EQ(bob.comm->PlayerCount, 4);
    EXPECT_EQ(cy.comm->PlayerCount, 4);

    const auto bobId = static_cast<std::int32_t>(bob.comm->LocalPlayerId);
    const auto cyId = static_cast<std::int32_t>(cy.comm->LocalPlayerId);
    const auto hostId = static_cast<std::int32_t>(host.comm->LocalPlayerId);
    bob.comm->SendMessage(0, Message(12));
    bob.comm->SendMessage(0, Message(11), NetDelivery::Unreliable);
    cy.comm->SendMessage(bob.comm->LocalPlayerId, Message(14));
    host.comm->SendMessage(cy.comm->LocalPlayerId, Message(13));
    ASSERT_TRUE(Until({&host, &bob, &cy}, [&] {
        return host.messages.size() == 2 && cy.messages.size() == 3 && bob.messages.size() == 1;
    }));
    // Each arrives once, named after its sender; the order between senders
    // and between channels is not fixed.
    using Seen = std::vector<std::pair<std::int32_t, std::int32_t>>;
    const auto sorted = [](Seen seen) {
        std::sort(seen.begin(), seen.end());
        return seen;
    };
    EXPECT_EQ(sorted(host.messages), (Seen{{bobId, 11}, {bobId, 12}}));
    EXPECT_EQ(sorted(cy.messages), sorted({{bobId, 12}, {bobId, 11}, {hostId, 13}}));
    EXPECT_EQ(bob.messages, (Seen{{cyId, 14}}));

    // A joiner that goes is gone from everyone's lists at once.
    cy.comm.reset();
    ASSERT_TRUE(
        Until({&host, &bob}, [&] { return host.deleted.size() == 1 && bob.deleted.size() == 1; }))
        << host.deleted.size() << " " << bob.deleted.size();
    EXPECT_EQ(host.deleted[0], cyId);
    EXPECT_EQ(host.comm->PlayerCount, 3);

    // The host goes: the joiner is left alone, and goes on.
    host.comm.reset();
    ASSERT_TRUE(Until({&bob}, [&] { return bob.deleted.size() == 2; }));
    EXPECT_EQ(bob.comm->PlayerCount, 2);
    bob.comm->SendMessage(0, Message(11));
}

TEST(EnetLoopback, TwoHostsOfOneNameAreBothListedAndEachCanBeJoined) {
    Peer first("Ann"), second("Ann"), joiner("Bob");
    first.comm->Connect("LAN (broadcast)", true);
    second.comm->Connect("LAN (broadcast)", true);
    ASSERT_TRUE(first.comm->InSession() && second.comm->InSession());
    joiner.comm->Connect("LAN (broadcast)", false);
    ASSERT_EQ(joiner.comm->SessionCount, 2);
    EXPECT_EQ(joiner.comm->Sessions[0].name, joiner.comm->Sessions[1].name);
    EXPECT_NE(joiner.comm->Sessions[0].id, joiner.comm->Sessions[1].id);

    joiner.comm->JoinSession(joiner.comm->Sessions[1].id);
    ASSERT_TRUE(joiner.comm->InSession());
    ASSERT_TRUE(
        Until({&first, &second}, [&] { return first.added.size() + second.added.size() == 1; }));
    // Exactly one host took the player in; closing it keeps later ones out.
    Peer& chosen = first.added.size() == 1 ? first : second;
    chosen.comm->CloseSession();
    Peer other("Cy");
    other.comm->Connect("LAN (broadcast)", false);
    EXPECT_EQ(other.comm->SessionCount, 1); // the closed one no longer answers
}

TEST(EnetLoopback, ADirectAddressReachesTheHostWithoutDiscovery) {
    EnetOptions hostOptions = LoopbackOptions();
    hostOptions.lan = false;
    EnetTransport host(hostOptions);
    std::uint32_t hostId = 0;
    ASSERT_TRUE(host.CreateSession({"Direct", "pw", 4}, {0, "Ann", "Ann"}, hostId).Ok());
    ASSERT_NE(host.Port(), 0);

    EnetOptions options = LoopbackOptions();
    options.directAddress = "127.0.0.1:" + std::to_string(host.Port());
    Peer joiner("Bob", options);
    joiner.comm->Password = "pw";
    joiner.comm->Connect("Direct address", false);
    ASSERT_EQ(joiner.comm->SessionCount, 1);
    // The host's thread is this test: keep it serviced while the join waits.
    std::atomic<bool> serving{true};
    std::thread service([&] {
        std::vector<NetEvent> events;
        while (serving) host.Wait(10, events);
    });
    joiner.comm->JoinSession(joiner.comm->Sessions[0].id);
    EXPECT_TRUE(joiner.comm->InSession());
    EXPECT_EQ(joiner.comm->PlayerCount, 3);

    Peer wrong("Cy", options);
    wrong.comm->Connect("Direct address", false);
    wrong.comm->JoinSession(0);
    EXPECT_EQ(wrong.failures, (std::vector<std::string>{"Open Failed :8B4E0006"}));
    serving = false;
    service.join();
}

TEST(EnetLoopback, ReliableMessagesArriveWholeAndInOrderThroughLossAndDelay) {
    EnetOptions poor = LoopbackOptions();
    poor.lossPercent = 20;
    poor.delayMs = 30;
    Peer host("Ann", poor);
    poor.seed = 2;
    Peer bob("Bob", poor);
    host.comm->Connect("LAN (broadcast)", true);
    bob.comm->Connect("LAN (broadcast)", false);
    ASSERT_EQ(bob.comm->SessionCount, 1);
    bob.comm->JoinSession(bob.comm->Sessions[0].id);
    ASSERT_TRUE(bob.comm->InSession()) << (bob.failures.empty() ? "" : bob.failures[0]);

    // The types 20 to 59, in sending order.
    for (std::uint8_t i = 0; i < 40; ++i)
        bob.comm->SendMessage(0, Message(static_cast<std::uint8_t>(20 + i)));
    ASSERT_TRUE(Until({&host}, [&] { return host.messages.size() == 40; })) << host.messages.size();
    for (std::size_t i = 0; i < host.messages.size(); ++i)
        EXPECT_EQ(host.messages[i].second, static_cast<std::int32_t>(20 + i));

    // The loss is real: with every datagram dropped, nothing is found.
    poor.lossPercent = 100;
    Peer deaf("Cy", poor);
    deaf.comm->Connect("LAN (broadcast)", false);
    EXPECT_EQ(deaf.comm->SessionCount, 0);
}

TEST(EnetLoopback, SilentConnectionsDoNotKeepAJoinerOut) {
    EnetOptions hostOptions = LoopbackOptions();
    hostOptions.lan = false;
    EnetTransport host(hostOptions);
    std::uint32_t hostId = 0;
    ASSERT_TRUE(host.CreateSession({"Held", "", 4}, {0, "Ann", "Ann"}, hostId).Ok());
    std::atomic<bool> serving{true};
    std::thread service([&] {
        std::vector<NetEvent> events;
        while (serving) host.Wait(10, events);
    });

    // As many strangers as the host has slots (four players and four more),
    // each from its own loopback address, back at once when let go.
    std::vector<std::string> addresses;
    for (int i = 0; i < 8; ++i) addresses.push_back("127.0.0." + std::to_string(20 + i));
    auto silent = std::make_unique<SilentConnections>("127.0.0.1", host.Port(), addresses, true);
    ASSERT_TRUE(silent->WaitForConnects(8, 3000)) << silent->Connects();

    EnetOptions options = LoopbackOptions();
    EnetTransport joiner(options);
    const NetSessionInfo session{0, "", "127.0.0.1", host.Port(), 0, 0};
    std::uint32_t joinerId = 0;
    std::vector<NetPlayer> others;
    const auto start = std::chrono::steady_clock::now();
    const NetResult joined = joiner.JoinSession(session, "", {0, "Bob", "Bob"}, joinerId, others);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("joined in %lld ms past %d silent connections\n", static_cast<long long>(ms),
                silent->Open());
    EXPECT_TRUE(joined.Ok()) << std::hex << joined.code;
    EXPECT_LT(ms, 5000);
    EXPECT_EQ(others.size(), 1u);

    // The joiner's connection pushed out the oldest of them.
    EXPECT_GE(host.GuardCounts().madeRoom, 1u);
    silent.reset();

    // From one address, no more than two strangers stay at once, and those
    // two go when their three seconds are up.
    const auto crowdStart = std::chrono::steady_clock::now();
    SilentConnections crowd("127.0.0.1", host.Port(), std::vector<std::string>(5, "127.0.0.1"),
                            false);
    ASSERT_TRUE(crowd.WaitForConnects(5, 3000));
    const auto waitFor = [&](int drops, int seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (crowd.Drops() < drops && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    waitFor(3, 2);
    EXPECT_EQ(crowd.Open(), 2);
    EXPECT_EQ(host.GuardCounts().sameAddress, 3u);
    waitFor(5, 5);
    EXPECT_EQ(crowd.Open(), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - crowdStart, std::chrono::milliseconds(2900));
    EXPECT_EQ(host.GuardCounts().silent, 2u);
    serving = false;
    service.join();
}

TEST(EnetLoopback, DiscoveryRepliesAreRateLimitedPerSender) {
    const EnetOptions options = LoopbackOptions();
    EnetTransport host(options);
    std::uint32_t hostId = 0;
    ASSERT_TRUE(host.CreateSession({"Quiet", "", 4}, {0, "Ann", "Ann"}, hostId).Ok());
    std::atomic<bool> serving{true};
    std::thread service([&] {
        std::vector<NetEvent> events;
        while (serving) host.Wait(10, events);
    });

    // Two hundred probes at once from one address get its burst of replies.
    const ENetSocket flood = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
    ASSERT_NE(flood, ENET_SOCKET_NULL);
    enet_socket_set_option(flood, ENET_SOCKOPT_NONBLOCK, 1);
    ENetAddress from{};
    enet_address_set_host_ip(&from, "127.0.0.7");
    ASSERT_EQ(enet_socket_bind(flood, &from), 0);
    ENetAddress to{};
    enet_address_set_host_ip(&to, "127.0.0.1");
    to.port = options.discoveryPort;
    auto probe = EncodeProbe("");
    for (int i = 0; i < 200; ++i) {
        ENetBuffer data{probe.data(), probe.size()};
        enet_socket_send(flood, &to, &data, 1);
    }
    int replies = 0;
    std::vector<std::uint8_t> buffer(512);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < end) {
        ENetAddress sender{};
        ENetBuffer data{buffer.data(), buffer.size()};
        const int size = enet_socket_receive(flood, &sender, &data, 1);
        if (size > 0)
            replies += ParseProbeReply({buffer.data(), static_cast<std::size_t>(size)}) ? 1 : 0;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    enet_socket_destroy(flood);
    EXPECT_GE(replies, 16);
    EXPECT_LE(replies, 24);
    EXPECT_EQ(host.GuardCounts().probesAnswered, static_cast<std::uint64_t>(replies));
    EXPECT_GE(host.GuardCounts().probesRefused, 150u);

    // A lister elsewhere still finds the session.
    std::vector<NetSessionInfo> sessions;
    EnetTransport lister(options);
    EXPECT_EQ(lister.ListSessions("", 600, sessions), kNetOk);
    EXPECT_EQ(sessions.size(), 1u);
    serving = false;
    service.join();
}

TEST(EnetLoopback, OnceTheGameHasStartedTheSessionOutlivesItsHosts) {
    Peer host("Ann"), bob("Bob"), cy("Cy");
    host.comm->Connect("LAN (broadcast)", true);
    ASSERT_TRUE(host.comm->InSession()) << (host.failures.empty() ? "" : host.failures[0]);
    for (Peer* joiner : {&bob, &cy}) {
        joiner->comm->Connect("LAN (broadcast)", false);
        ASSERT_EQ(joiner->comm->SessionCount, 1);
        joiner->comm->JoinSession(joiner->comm->Sessions[0].id);
        ASSERT_TRUE(joiner->comm->InSession());
    }
    ASSERT_TRUE(
        Until({&host, &bob}, [&] { return host.added.size() == 2 && bob.added.size() == 1; }));
    const auto hostId = static_cast<std::int32_t>(host.comm->LocalPlayerId);
    const auto bobId = static_cast<std::int32_t>(bob.comm->LocalPlayerId);
    const auto cyId = static_cast<std::int32_t>(cy.comm->LocalPlayerId);
    EXPECT_EQ(bob.comm->HostPlayerId, static_cast<std::uint32_t>(hostId));

    // The game starts (the session closes); what the host sends after that
    // arrives after the roster.
    host.comm->CloseSession();
    host.comm->SendMessage(0, Message(13));
    cy.comm->SendMessage(0, Message(20));
    ASSERT_TRUE(Until({&host, &bob, &cy}, [&] {
        return bob.messages.size() == 2 && cy.messages.size() == 1 && host.messages.size() == 1;
    }));

    // The host goes while Cy sends: Bob, the lowest remaining, hosts, Cy
    // comes back to him, and both lose only the host.
    host.comm.reset();
    cy.comm->SendMessage(0, Message(21));
    ASSERT_TRUE(Until({&bob, &cy},
                      [&] {
                          return bob.comm->HostPlayerId == static_cast<std::uint32_t>(bobId) &&
                                 cy.comm->HostPlayerId == static_cast<std::uint32_t>(bobId) &&
                                 bob.messages.size() >= 3;
                      }))
        << bob.comm->HostPlayerId << " " << cy.comm->HostPlayerId << " " << bob.messages.size();
    EXPECT_EQ(bob.deleted, std::vector<std::int32_t>{hostId});
    EXPECT_EQ(cy.deleted, std::vector<std::int32_t>{hostId});
    EXPECT_EQ(bob.comm->PlayerCount, 3);
    EXPECT_EQ(cy.comm->PlayerCount, 3);

    // They go on hearing each other; what Cy sent around the change arrives,
    // and what had arrived before does not arrive twice.
    bob.comm->SendMessage(0, Message(22));
    cy.comm->SendMessage(0, Message(23), NetDelivery::Unreliable);
    ASSERT_TRUE(
        Until({&bob, &cy}, [&] { return bob.messages.size() >= 4 && cy.messages.size() >= 2; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Until({&bob, &cy}, [] { return true; });
    using Seen = std::vector<std::pair<std::int32_t, std::int32_t>>;
    EXPECT_EQ(bob.messages, (Seen{{hostId, 13}, {cyId, 20}, {cyId, 21}, {cyId, 23}}));
    EXPECT_EQ(cy.messages, (Seen{{hostId, 13}, {bobId, 22}}));

    // The new host goes too: Cy plays on alone, hosting.
    bob.comm.reset();
    ASSERT_TRUE(Until({&cy}, [&] {
        return cy.comm->HostPlayerId == static_cast<std::uint32_t>(cyId) && cy.deleted.size() == 2;
    }));
    EXPECT_EQ(cy.deleted[1], bobId);
    EXPECT_EQ(cy.comm->PlayerCount, 2);
}
