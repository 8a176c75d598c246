// Bytes on the wire per player and second in a scripted game of three
// players on 127.0.0.1 over the ENet transport: every machine sends what
// the play screen sends at 30 frames a second (its player's state and the
// two sentries' positions each frame, a world event now and then), paced in
// real time so that the transport's acknowledgements and pings count as they
// would. Run once with compression off and once on; "bytes_per_s_per_player"
// is what every datagram of the game (ENet's headers included, not UDP/IP's)
// costs per player.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "net/enet/enet_transport.h"
#include "net/game_messages.h"

namespace {

constexpr int kPlayers = 3;
constexpr int kSentries = 2;
constexpr int kFramesPerSecond = 30;
constexpr int kSeconds = 3;

using Clock = std::chrono::steady_clock;

EnetOptions loopback(bool compress) {
    EnetOptions options;
    options.lan = false;
    options.bindAddress = "127.0.0.1";
    options.port = 0;
    options.compress = compress;
    return options;
}

// Reads what arrived, so that the transports acknowledge it.
void drain(std::vector<std::unique_ptr<EnetTransport>>& machines) {
    std::vector<NetEvent> events;
    for (auto& machine : machines) {
        machine->Wait(0, events);
        events.clear();
    }
}

// One frame of machine `k`: a walk round a circle, the sentries pacing.
void sendFrame(EnetTransport& machine, int k, int frame) {
    const float t = static_cast<float>(frame) / kFramesPerSecond;
    PlayerStateMessage state;
    state.player = k;
    state.x = 1000.0f + 300.0f * std::cos(t + static_cast<float>(k));
    state.y = 256.0f;
    state.z = 1000.0f + 300.0f * std::sin(t + static_cast<float>(k));
    state.heading = std::fmod(t * 60.0f, 360.0f);
    state.vx = -300.0f * std::sin(t);
    state.vz = 300.0f * std::cos(t);
    state.turnRate = 60.0f;
    state.pose = frame / 8 % 4;
    state.poseBlendMs = 100;
    machine.Send(0, EncodeGameMessage(state), DeliveryOf(state));
    for (int s = 1; s <= kSentries; ++s) {
        SentryPositionMessage sentry;
        sentry.sentry = s;
        sentry.x = 512.0f * static_cast<float>(s) + 20.0f * t;
        sentry.y = 256.0f;
        sentry.z = 2048.0f;
        sentry.heading = 90.0f;
        machine.Send(0, EncodeGameMessage(sentry), DeliveryOf(sentry));
    }
    if (frame % (2 * kFramesPerSecond) == k) {
        WorldEventMessage event;
        event.player = k;
        event.letter = 'd';
        event.cellX = 3 + frame % 5;
        event.cellY = 1;
        event.cellZ = 4;
        event.argument = 10000;
        machine.Send(0, EncodeGameMessage(event), DeliveryOf(event));
    }
}

void BM_GameTraffic(benchmark::State& bench, bool compress) {
    double perPlayer = 0;
    for (auto _ : bench) {
        std::vector<std::unique_ptr<EnetTransport>> machines;
        machines.push_back(std::make_unique<EnetTransport>(loopback(compress)));
        std::uint32_t id = 0;
        if (!machines[0]->CreateSession({"Bench", "", kPlayers}, {0, "Host", "Host"}, id).Ok()) {
            bench.SkipWithError("cannot host on 127.0.0.1");
            return;
        }
        // The host's thread: the joiners are answered while they wait.
        std::atomic<bool> hosting{true};
        std::thread host([&] {
            std::vector<NetEvent> events;
            while (hosting) {
                machines[0]->Wait(5, events);
                events.clear();
            }
        });
        const NetSessionInfo session{0, "", "127.0.0.1", machines[0]->Port(), 0, 0};
        bool joined = true;
        for (int k = 1; k < kPlayers && joined; ++k) {
            auto joiner = std::make_unique<EnetTransport>(loopback(compress));
            std::vector<NetPlayer> others;
            joined = joiner->JoinSession(session, "", {0, "Joe", "Joe"}, id, others).Ok();
            machines.push_back(std::move(joiner));
        }
        hosting = false;
        host.join();
        if (!joined) {
            bench.SkipWithError("a joiner could not join");
            return;
        }
        drain(machines);

        std::uint64_t before = 0;
        for (auto& machine : machines) before += machine->Traffic().bytesSent;
        const auto start = Clock::now();
        for (int frame = 0; frame < kSeconds * kFramesPerSecond; ++frame) {
            for (int k = 0; k < kPlayers; ++k) sendFrame(*machines[k], k, frame);
            std::this_thread::sleep_until(
                start + std::chrono::milliseconds(1000 * (frame + 1) / kFramesPerSecond));
            drain(machines);
        }
        std::uint64_t after = 0;
        for (auto& machine : machines) after += machine->Traffic().bytesSent;
        perPlayer = static_cast<double>(after - before) / (kPlayers * kSeconds);
        for (auto& machine : machines) machine->Leave();
    }
    bench.counters["bytes_per_s_per_player"] = perPlayer;
    bench.counters["compressed"] = compress ? 1 : 0;
}

BENCHMARK_CAPTURE(BM_GameTraffic, uncompressed, false)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_GameTraffic, compressed, true)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
