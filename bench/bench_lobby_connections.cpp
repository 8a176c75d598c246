// A lobby under 10 000 connection attempts a second from a thousand
// addresses, through the host's relay and sixteen slots held as the ENet
// transport holds them (half kept free): most strangers say nothing, some send junk, some a
// wrong password, and once a second a real joiner comes and must get in.
// One iteration is one simulated second; "second_percent" is the share of a
// real second the host spends on it, "lost" the attempts that found no slot.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "net/session_relay.h"

namespace {

constexpr int kAttemptsPerSecond = 10'000;
constexpr int kAddresses = 1000;
constexpr std::size_t kSlots = 16;

std::vector<std::uint8_t> Hello(const std::string& password) {
    ControlFrame frame;
    frame.kind = FrameKind::Hello;
    frame.password = password;
    frame.player = {0, "Joe", "Joe"};
    return EncodeFrame(frame);
}

struct Host {
    SessionRelay relay{{"Bench", "pw", 4}, {0, "Host", "Host"}, 3, GuardLimits{kSlots, kSlots / 2}};
    std::array<bool, kSlots> open{};
    std::vector<RelayOutput> out;
    std::vector<NetEvent> local;
    bool welcomed = false;

    void apply() {
        for (const RelayOutput& o : out) {
            if (o.frame.empty() && o.disconnect)
                open[static_cast<std::size_t>(o.connection)] = false;
            const auto frame = ParseFrame(o.frame);
            if (frame && frame->kind == FrameKind::Welcome) welcomed = true;
        }
        out.clear();
        local.clear();
    }
    int connect(const std::string& address, std::int64_t now) {
        for (std::size_t s = 0; s < kSlots; ++s)
            if (!open[s]) {
                open[s] = true;
                relay.Connected(static_cast<int>(s), address, now, out);
                apply();
                return static_cast<int>(s);
            }
        return -1;
    }
    void receive(int connection, const std::vector<std::uint8_t>& bytes) {
        if (connection < 0 || !open[static_cast<std::size_t>(connection)]) return;
        relay.Receive(connection, bytes, NetDelivery::Reliable, out, local);
        apply();
    }
};

void BM_LobbyConnections(benchmark::State& bench) {
    std::vector<std::string> addresses;
    for (int a = 0; a < kAddresses; ++a)
        addresses.push_back("127.1." + std::to_string(a / 250) + "." + std::to_string(a % 250));
    const auto rightHello = Hello("pw");
    const auto wrongHello = Hello("guess");
    const std::vector<std::uint8_t> junk(40, 0xAB);

    Host host;
    std::int64_t now = 0;
    std::int64_t lost = 0, joined = 0, attempt = 0;
    for (auto _ : bench) {
        // The joiner comes at a different moment of each second.
        const std::int64_t joinerAt = now + (bench.iterations() * 379) % 1000;
        for (int ms = 0; ms < 1000; ++ms, ++now) {
            host.relay.Tick(now, host.out);
            host.apply();
            for (int k = 0; k < kAttemptsPerSecond / 1000; ++k, ++attempt) {
                const int c =
                    host.connect(addresses[static_cast<std::size_t>(attempt % kAddresses)], now);
                if (c < 0) {
                    ++lost;
                    continue;
                }
                if (attempt % 10 < 2)
                    host.receive(c, junk);
                else if (attempt % 10 == 2)
                    host.receive(c, wrongHello);
            }
            if (now == joinerAt) {
                host.welcomed = false;
                const int c = host.connect("127.0.0.1", now);
                host.receive(c, rightHello);
                if (host.welcomed) {
                    ++joined;
                    // The player leaves again, so that every second has room.
                    host.relay.Disconnected(c, host.out, host.local);
                    host.open[static_cast<std::size_t>(c)] = false;
                    host.apply();
                }
            }
        }
    }
    if (joined != static_cast<std::int64_t>(bench.iterations()))
        bench.SkipWithError("a joiner was kept out");
    bench.counters["lost"] = static_cast<double>(lost);
    bench.counters["attempts"] =
        benchmark::Counter(static_cast<double>(attempt), benchmark::Counter::kIsRate);
    bench.counters["second_percent"] =
        benchmark::Counter(static_cast<double>(bench.iterations()) / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LobbyConnections)->Unit(benchmark::kMillisecond);

} // namespace
