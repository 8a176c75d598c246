// The network's share of one play frame at its worst: a refresh interval of
// 0 sends the local player and every sentry (up to 255) each frame, and the
// three other machines' blocks of the same size arrive to be decoded.
// "frame_percent" is the share of a 50 ms frame the codec takes.
#include <benchmark/benchmark.h>

#include <vector>

#include "net/game_messages.h"

namespace {

constexpr int kSentries = 255;
constexpr int kRemotePlayers = 3;

GameMessageContext Context() {
    GameMessageContext context;
    context.localPlayer = 0;
    context.lastPlayer = kRemotePlayers;
    context.level = 4;
    context.sizeX = 64;
    context.sizeY = 16;
    context.sizeZ = 64;
    context.sentryCount = kSentries;
    return context;
}

std::vector<GameMessage> OneMachinesFrame(int player) {
    std::vector<GameMessage> messages;
    PlayerStateMessage state;
    state.player = player;
    state.level = 4;
    state.x = 1792.5f;
    state.y = 752.f;
    state.z = 768.25f;
    state.heading = 1.5f;
    state.pose = 3;
    state.poseBlendMs = 100;
    messages.push_back(state);
    for (int s = 1; s <= kSentries; ++s) {
        SentryPositionMessage sentry;
        sentry.sentry = s;
        sentry.level = 4;
        sentry.x = 512.f * static_cast<float>(s % 64);
        sentry.z = 512.f * static_cast<float>(s / 64);
        messages.push_back(sentry);
    }
    return messages;
}

void BM_NetFrame(benchmark::State& bench) {
    const GameMessageContext context = Context();
    const std::vector<GameMessage> sent = OneMachinesFrame(0);
    std::vector<GameMessageBytes> received;
    for (int p = 1; p <= kRemotePlayers; ++p)
        for (const GameMessage& m : OneMachinesFrame(p)) received.push_back(EncodeGameMessage(m));

    GameMessageCounters counters;
    for (auto _ : bench) {
        for (const GameMessage& m : sent) {
            benchmark::DoNotOptimize(EncodeGameMessage(m));
            ++counters.sent;
        }
        for (const GameMessageBytes& bytes : received) {
            const DecodedGameMessage decoded = DecodeGameMessage(bytes, context);
            if (decoded.message)
                ++counters.received;
            else
                counters.Ignore(decoded.reason);
            benchmark::DoNotOptimize(decoded);
        }
    }
    if (counters.received != bench.iterations() * received.size())
        bench.SkipWithError("a well-formed message was refused");
    bench.counters["frame_percent"] =
        benchmark::Counter(static_cast<double>(bench.iterations()) * 0.050 / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NetFrame);

} // namespace
