// The transport's datagrams: what a hostile or broken peer can send must be
// refused whole, and what we send must read back unchanged.
#include <gtest/gtest.h>

#include "net/net_frames.h"
#include "net/session_relay.h"
#include "platform/net_address.h"

namespace {

ProbeReply SampleReply() {
    return {0xCAFE0001, 47801, 2, 4, "Kelvane - Ann"};
}

} // namespace

TEST(ProbeReply, ReadsBackWhatWasSentAndRefusesAnythingMalformed) {
    const auto bytes = EncodeProbeReply(SampleReply());
    ASSERT_EQ(bytes.size(), kProbeReplySize);
    const auto reply = ParseProbeReply(bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->sessionId, 0xCAFE0001u);
    EXPECT_EQ(reply->port, 47801);
    EXPECT_EQ(reply->players, 2);
    EXPECT_EQ(reply->maxPlayers, 4);
    EXPECT_EQ(reply->name, "Kelvane - Ann");

    const std::vector<std::uint8_t> shorter(bytes.begin(), bytes.end() - 1);
    auto longer = bytes;
    longer.push_back(0);
    auto noZero = bytes;
    std::fill(noZero.begin() + 16, noZero.end(), 'A'); // the name fills its field
    auto wrongMagic = bytes;
    wrongMagic[0] = 'X';
    auto crowded = SampleReply();
    crowded.players = 5; // more players than the limit
    auto noPort = SampleReply();
    noPort.port = 0;
    auto noId = SampleReply();
    noId.sessionId = 0;
    for (const auto& bad : {shorter, longer, noZero, wrongMagic, EncodeProbeReply(crowded),
                            EncodeProbeReply(noPort), EncodeProbeReply(noId)})
        EXPECT_FALSE(ParseProbeReply(bad));
    EXPECT_FALSE(ParseProbeReply({}));
    // A probe is not a reply, nor the other way round.
    EXPECT_FALSE(ParseProbeReply(EncodeProbe("")));
    EXPECT_FALSE(ParseProbe(bytes));
    EXPECT_EQ(ParseProbe(EncodeProbe("secret")).value_or("?"), "secret");
}

// The host's game travels in the reply and in the joiner's hello; a reply of
// the length before it did comes from a host of the first protocol.
TEST(ProbeReply, CarriesTheHostsGameAndReadsAnOlderReplyAsTheFirstProtocol) {
    ProbeReply sent = SampleReply();
    sent.identity = {kNetProtocolVersion, 0x1122334455667788ull, 0x99AABBCCDDEEFF00ull};
    const auto bytes = EncodeProbeReply(sent);
    const auto reply = ParseProbeReply(bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->identity, sent.identity);

    const std::vector<std::uint8_t> older(bytes.begin(),
                                          bytes.begin() + kProbeReplySizeWithoutIdentity);
    const auto old = ParseProbeReply(older);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->name, "Kelvane - Ann");
    EXPECT_EQ(old->identity.version, kNetProtocolBeforeIdentity);
    EXPECT_EQ(CompareGameIdentity(sent.identity, old->identity), kNetDifferentVersion);
    const std::vector<std::uint8_t> between(bytes.begin(), bytes.begin() + 60);
    EXPECT_FALSE(ParseProbeReply(between));

    ControlFrame hello;
    hello.kind = FrameKind::Hello;
    hello.player = {0, "Bob", "Bob"};
    hello.identity = sent.identity;
    const auto parsed = ParseFrame(EncodeFrame(hello));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->identity, sent.identity);
    // A hello without the identity is not one.
    auto helloBytes = EncodeFrame(hello);
    helloBytes.resize(helloBytes.size() - 20);
    EXPECT_FALSE(ParseFrame(helloBytes));
}

TEST(GameIdentity, TheFirstDifferenceNamesTheRefusal) {
    const NetGameIdentity mine{kNetProtocolVersion, 1, 2};
    EXPECT_EQ(CompareGameIdentity(mine, mine), kNetOk);
    EXPECT_EQ(CompareGameIdentity(mine, {kNetProtocolVersion, 1, 3}), kNetDifferentLevels);
    EXPECT_EQ(CompareGameIdentity(mine, {kNetProtocolVersion, 9, 3}), kNetDifferentDefinitions);
    EXPECT_EQ(CompareGameIdentity(mine, {kNetProtocolVersion + 1, 9, 3}), kNetDifferentVersion);
    EXPECT_EQ(GameDifferenceText(kNetDifferentLevels), "different levels");
    EXPECT_EQ(GameDifferenceText(kNetDifferentVersion), "different version");
    EXPECT_EQ(GameDifferenceText(kNetSessionFull), "");
}

TEST(ProbeReply, LongNamesAreCutToTheirFieldsKeepingTheZero) {
    ProbeReply reply = SampleReply();
    reply.name = std::string(40, 'n');
    const auto parsed = ParseProbeReply(EncodeProbeReply(reply));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->name, std::string(kNetSessionNameMax, 'n'));
    EXPECT_EQ(ParseProbe(EncodeProbe(std::string(20, 'p'))).value_or(""),
              std::string(kNetPasswordMax, 'p'));
}

TEST(ControlFrames, EveryKindReadsBack) {
    ControlFrame welcome;
    welcome.kind = FrameKind::Welcome;
    welcome.sessionId = 77;
    welcome.id = 3;
    welcome.players = {{1, "Ann", "Ann the host"}, {2, "Bob", "Bob"}};
    const auto parsed = ParseFrame(EncodeFrame(welcome));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sessionId, 77u);
    EXPECT_EQ(parsed->id, 3u);
    ASSERT_EQ(parsed->players.size(), 2u);
    EXPECT_EQ(parsed->players[0].longName, "Ann the host");
    EXPECT_EQ(parsed->players[1].id, 2u);

    ControlFrame data;
    data.kind = FrameKind::Data;
    data.id = 4;
    data.message[0] = 11;
    data.message[259] = 0xEE;
    data.sequence = 0x01020304;
    const auto back = ParseFrame(EncodeFrame(data));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->id, 4u);
    EXPECT_EQ(back->sequence, 0x01020304u);
    EXPECT_EQ(back->message, data.message);

    ControlFrame roster;
    roster.kind = FrameKind::Roster;
    roster.sessionId = 77;
    roster.roster = {{2, {192, 168, 1, 20}, 50123}, {3, {127, 0, 0, 1}, 1}};
    const auto listed = ParseFrame(EncodeFrame(roster));
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->sessionId, 77u);
    EXPECT_EQ(listed->roster, roster.roster);

    ControlFrame rejoin;
    rejoin.kind = FrameKind::Rejoin;
    rejoin.sessionId = 77;
    rejoin.id = 3;
    const auto again = ParseFrame(EncodeFrame(rejoin));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->sessionId, 77u);
    EXPECT_EQ(again->id, 3u);
}

TEST(ControlFrames, MalformedFramesAreRefused) {
    ControlFrame added;
    added.kind = FrameKind::PlayerAdded;
    added.player = {5, "Cy", "Cy"};
    auto bytes = EncodeFrame(added);
    ASSERT_TRUE(ParseFrame(bytes));

    auto noZero = bytes;
    std::fill(noZero.begin() + 5, noZero.begin() + 25, 'x'); // short name without its zero
    auto trailing = bytes;
    trailing.push_back(0);
    auto unknownKind = bytes;
    unknownKind[0] = 9;
    EXPECT_FALSE(ParseFrame(noZero));
    EXPECT_FALSE(ParseFrame(trailing));
    EXPECT_FALSE(ParseFrame(unknownKind));
    EXPECT_FALSE(ParseFrame({}));

    // A welcome whose count says more players than it holds, or more than
    // any session has.
    ControlFrame welcome;
    welcome.kind = FrameKind::Welcome;
    welcome.id = 2;
    welcome.players = {{1, "A", "A"}};
    auto lying = EncodeFrame(welcome);
    lying[9] = 2;
    EXPECT_FALSE(ParseFrame(lying));
    lying[9] = 200;
    EXPECT_FALSE(ParseFrame(lying));
    // A data frame must carry exactly one 260-byte message.
    ControlFrame data;
    data.kind = FrameKind::Data;
    const auto fullData = EncodeFrame(data);
    const std::vector<std::uint8_t> shortData(fullData.begin(), fullData.end() - 1);
    EXPECT_FALSE(ParseFrame(shortData));

    // A roster whose count lies, or that lists a player without an id or a
    // port; a rejoin without an id.
    ControlFrame roster;
    roster.kind = FrameKind::Roster;
    roster.roster = {{2, {127, 0, 0, 1}, 5000}};
    auto listed = EncodeFrame(roster);
    ASSERT_TRUE(ParseFrame(listed));
    listed[5] = 2;
    EXPECT_FALSE(ParseFrame(listed));
    listed[5] = static_cast<std::uint8_t>(kMaxRosterEntries + 1);
    EXPECT_FALSE(ParseFrame(listed));
    roster.roster[0].port = 0;
    EXPECT_FALSE(ParseFrame(EncodeFrame(roster)));
    roster.roster[0] = {0, {127, 0, 0, 1}, 5000};
    EXPECT_FALSE(ParseFrame(EncodeFrame(roster)));
    ControlFrame rejoin;
    rejoin.kind = FrameKind::Rejoin;
    EXPECT_FALSE(ParseFrame(EncodeFrame(rejoin)));
}

TEST(HostPort, ReadsTheAddressAPlayerTypes) {
    const auto plain = ParseHostPort("192.168.1.5", 47801);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->host, "192.168.1.5");
    EXPECT_EQ(plain->port, 47801);
    const auto withPort = ParseHostPort("localhost:9000", 47801);
    ASSERT_TRUE(withPort);
    EXPECT_EQ(withPort->host, "localhost");
    EXPECT_EQ(withPort->port, 9000);
    for (const char* bad :
         {"", ":9000", "host:", "host:0", "host:65536", "host:12x", "host:999999"})
        EXPECT_FALSE(ParseHostPort(bad, 47801)) << bad;
}

// The host names the sender after the connection, whatever the frame says,
// and takes nothing but a hello from a stranger and nothing but data from a
// member.
TEST(SessionRelay, StampsSendersAndRefusesFramesOutOfPlace) {
    SessionRelay relay({"S", "", 4}, {0, "Host", "Host"}, 99);
    std::vector<RelayOutput> out;
    std::vector<NetEvent> local;
    ControlFrame hello;
    hello.kind = FrameKind::Hello;
    hello.player = {0, "Bob", "Bob"};
    relay.Receive(7, EncodeFrame(hello), NetDelivery::Reliable, out, local);
    relay.Receive(8, EncodeFrame(hello), NetDelivery::Reliable, out, local);
    ASSERT_EQ(local.size(), 2u);
    const std::uint32_t first = local[0].player.id, second = local[1].player.id;
    EXPECT_NE(first, second);

    out.clear();
    local.clear();
    ControlFrame data;
    data.kind = FrameKind::Data;
    data.id = 0; // to all
    data.message[0] = 12;
    relay.Receive(8, EncodeFrame(data), NetDelivery::Unreliable, out, local);
    ASSERT_EQ(local.size(), 1u);
    EXPECT_EQ(local[0].player.id, second);
    ASSERT_EQ(out.size(), 1u); // to the other joiner only, on the same channel
    EXPECT_EQ(out[0].connection, 7);
    EXPECT_EQ(out[0].delivery, NetDelivery::Unreliable);
    EXPECT_EQ(ParseFrame(out[0].frame)->id, second);

    // A second hello from a member, data from a stranger, data to oneself or
    // to nobody, and join or leave notifications from a joiner change nothing
    // (the stranger is dropped at once).
    out.clear();
    local.clear();
    const std::uint32_t dropped = relay.DroppedFrames();
    relay.Receive(7, EncodeFrame(hello), NetDelivery::Reliable, out, local);
    relay.Receive(9, EncodeFrame(data), NetDelivery::Reliable, out, local);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].connection, 9);
    EXPECT_TRUE(out[0].frame.empty() && out[0].disconnect);
    out.clear();
    data.id = first;
    relay.Receive(7, EncodeFrame(data), NetDelivery::Reliable, out, local);
    data.id = 1234;
    relay.Receive(7, EncodeFrame(data), NetDelivery::Reliable, out, local);
    ControlFrame removed;
    removed.kind = FrameKind::PlayerRemoved;
    removed.id = second;
    relay.Receive(7, EncodeFrame(removed), NetDelivery::Reliable, out, local);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(local.empty());
    EXPECT_EQ(relay.DroppedFrames(), dropped + 5);
    EXPECT_EQ(relay.PlayerCount(), 3u);
}
