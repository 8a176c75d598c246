// Feeds arbitrary datagrams to the transport's parsers (probe, probe reply
// with or without the host's game identity, control frames) and a stream of
// frames to a host's relay, to a relay that took over from a host that left,
// and to a joiner, as a hostile peer could: nothing may crash, and what is
// accepted must encode and read back the same.
#include <cstddef>
#include <cstdint>
#include <span>

#include "net/net_frames.h"
#include "net/session_joiner.h"
#include "net/session_relay.h"

namespace {

void checkRoundTrip(std::span<const std::uint8_t> bytes) {
    if (const auto frame = ParseFrame(bytes)) {
        const auto again = EncodeFrame(*frame);
        const auto reread = ParseFrame(again);
        if (!reread || EncodeFrame(*reread) != again) __builtin_trap();
    }
    if (const auto reply = ParseProbeReply(bytes)) {
        // A reply without the identity reads as protocol 1 and is sent back with it.
        const auto again = EncodeProbeReply(*reply);
        const auto reread = ParseProbeReply(again);
        if (!reread || again.size() != kProbeReplySize || !(reread->identity == reply->identity))
            __builtin_trap();
    }
    if (const auto password = ParseProbe(bytes))
        if (ParseProbe(EncodeProbe(*password)) != password) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    checkRoundTrip(input);

    // Records: one byte of connection (its top bit: to the joiner instead),
    // two bytes of length, then the frame.
    SessionRelay relay({"Fuzz", "", 4}, {0, "Host", "Host"}, 42);
    // Player 3 took over from the host; 2 and 4 may come back.
    SessionRelay takeover({"Fuzz", "", 4}, {0, "Cy", "Cy"}, 42, {}, 3);
    takeover.ExpectRejoins({{2, "Bo", "Bo"}, {4, "Di", "Di"}}, 1000, SequenceFilter{});
    SessionJoiner joiner;
    std::vector<RelayOutput> out;
    std::vector<NetEvent> events;
    std::size_t at = 0;
    while (at + 3 <= size) {
        const std::uint8_t target = data[at];
        const std::size_t length =
            std::min<std::size_t>(data[at + 1] | data[at + 2] << 8, size - at - 3);
        const auto frame = input.subspan(at + 3, length);
        at += 3 + length;
        if (target & 0x80) {
            joiner.Answer(frame, 0);
            joiner.Receive(frame, events);
        } else if (target & 0x40) {
            relay.Disconnected(target & 7, out, events);
            takeover.Disconnected(target & 7, out, events);
        } else {
            relay.Receive(target & 7, frame, NetDelivery::Reliable, out, events);
            takeover.Receive(target & 7, frame, NetDelivery::Reliable, out, events);
            takeover.Tick(static_cast<std::int64_t>(at), out, events);
        }
    }
    if (relay.PlayerCount() > 4) __builtin_trap();
    // Only the expected players come back, never a stranger.
    if (takeover.PlayerCount() > 3) __builtin_trap();
    for (const std::uint32_t id : takeover.TakeRejoined())
        if (id != 2 && id != 4) __builtin_trap();
    joiner.Rejoin();
    joiner.HostLeft(1, events);
    joiner.HostLost(events);
    return 0;
}
