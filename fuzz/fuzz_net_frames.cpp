// Feeds arbitrary datagrams to the transport's parsers (probe, probe reply
// with or without the host's game identity, control frames) and a stream of
// frames to a host's relay and a joiner, as a hostile peer could: nothing may
// crash, and what is accepted must encode and read back the same.
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
        } else {
            relay.Receive(target & 7, frame, NetDelivery::Reliable, out, events);
        }
    }
    if (relay.PlayerCount() > 4) __builtin_trap();
    joiner.HostLost(events);
    return 0;
}
