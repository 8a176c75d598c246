// Drives a host's relay through scripted connections, hellos, frames,
// disconnections and time steps, with sixteen slots held as the ENet
// transport holds them (the first byte says how many are kept free), and
// checks what the host promises strangers and players: the slots kept free
// stay free after every new connection, no stranger outlives its deadline,
// one address never holds more than two strangers, only open connections
// are dropped, and a joiner with the password gets in while there is room.
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>

#include "net/session_relay.h"

namespace {

constexpr std::size_t kSlots = 16;
constexpr std::int32_t kMaxPlayers = 4;

struct Connection {
    std::string address;
    std::int64_t since = 0;
};

struct Host {
    explicit Host(std::size_t keepFree) : limits{kSlots, keepFree} {}
    GuardLimits limits;
    SessionRelay relay{{"Fuzz", "pw", kMaxPlayers}, {0, "Host", "Host"}, 7, limits};
    std::map<int, Connection> open;
    std::set<int> members;
    std::int64_t now = 0;
    std::vector<NetEvent> local;

    void apply(std::vector<RelayOutput>& out) {
        for (const RelayOutput& o : out) {
            if (!open.count(o.connection)) __builtin_trap(); // not a connection of ours
            const auto frame = ParseFrame(o.frame);
            if (frame && frame->kind == FrameKind::Welcome) members.insert(o.connection);
            if (o.frame.empty() && o.disconnect) {
                if (members.count(o.connection)) __builtin_trap(); // a player pushed out
                open.erase(o.connection);
            }
        }
        out.clear();
        local.clear();
    }
    void strangersWithinLimits() const {
        std::map<std::string, int> perAddress;
        for (const auto& [c, connection] : open)
            if (!members.count(c)) {
                if (++perAddress[connection.address] > 2) __builtin_trap();
                // Three seconds to say hello, and the grace after a refusal.
                if (now - connection.since >= limits.helloTimeoutMs + limits.refusalGraceMs)
                    __builtin_trap();
            }
    }
};

std::vector<std::uint8_t> hello(const std::string& password) {
    ControlFrame frame;
    frame.kind = FrameKind::Hello;
    frame.password = password;
    frame.player = {0, "Joe", "Joe"};
    return EncodeFrame(frame);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    Host host(1 + data[0] % 8);
    std::vector<RelayOutput> out;
    for (std::size_t at = 1; at < size; ++at) {
        const int op = data[at] >> 5;
        const int arg = data[at] & 31;
        const int slot = arg % static_cast<int>(kSlots);
        const bool isOpen = host.open.count(slot) != 0;
        switch (op) {
        case 0: { // a new connection on the lowest free slot
            int free = 0;
            while (host.open.count(free)) ++free;
            if (static_cast<std::size_t>(free) >= kSlots) __builtin_trap(); // none was kept
            host.open[free] = {"127.0.0." + std::to_string(arg % 4), host.now};
            host.relay.Connected(free, host.open[free].address, host.now, out);
            host.apply(out);
            if (host.open.size() + host.limits.keepFree > kSlots) __builtin_trap();
            break;
        }
        case 1:
        case 2: { // a hello, with the password or without
            if (!isOpen) break;
            const bool fresh = !host.members.count(slot);
            const bool room = host.relay.PlayerCount() < static_cast<std::size_t>(kMaxPlayers);
            host.relay.Receive(slot, hello(op == 1 ? "pw" : "no"), NetDelivery::Reliable, out,
                               host.local);
            host.apply(out);
            const bool welcomed = fresh && host.members.count(slot);
            if (op == 2 && welcomed) __builtin_trap();
            // Turned away with room only when refused before, and then gone.
            if (op == 1 && fresh && room && !welcomed && host.open.count(slot)) __builtin_trap();
            break;
        }
        case 3:
        case 4: { // a data frame, or the next bytes as they are
            if (!isOpen) break;
            std::vector<std::uint8_t> bytes;
            if (op == 3) {
                std::uint8_t message[kNetMessageSize] = {};
                bytes = EncodeFrame(DataFrame(static_cast<std::uint32_t>(arg % 6), message));
            } else {
                const std::size_t length = std::min<std::size_t>(arg, size - at - 1);
                bytes.assign(data + at + 1, data + at + 1 + length);
                at += length;
            }
            const bool stranger = !host.members.count(slot);
            host.relay.Receive(slot, bytes, NetDelivery::Unreliable, out, host.local);
            host.apply(out);
            // A stranger stays only for a hello.
            const auto frame = ParseFrame(bytes);
            if (stranger && host.open.count(slot) && (!frame || frame->kind != FrameKind::Hello))
                __builtin_trap();
            break;
        }
        case 5: // the connection goes by itself
            if (!isOpen) break;
            host.relay.Disconnected(slot, out, host.local);
            host.open.erase(slot);
            host.members.erase(slot);
            host.apply(out);
            break;
        default: // time passes
            host.now += static_cast<std::int64_t>(arg) * (op == 6 ? 10 : 250);
            host.relay.Tick(host.now, out);
            host.apply(out);
            host.strangersWithinLimits();
            break;
        }
        if (host.relay.PlayerCount() != host.members.size() + 1) __builtin_trap();
        if (host.relay.PlayerCount() > static_cast<std::size_t>(kMaxPlayers)) __builtin_trap();
    }
    return 0;
}
