// How often the discovery port answers: each sender and all of them together
// get a burst, then a steady rate; time is given, so every case is exact.
#include <gtest/gtest.h>

#include "net/probe_limiter.h"

namespace {

int Answered(ProbeLimiter& limiter, const std::string& sender, int probes, std::int64_t now) {
    int answered = 0;
    for (int i = 0; i < probes; ++i) answered += limiter.Allow(sender, now) ? 1 : 0;
    return answered;
}

} // namespace

TEST(ProbeLimiter, ASenderGetsItsBurstThenItsRate) {
    ProbeLimiter limiter({{4, 2}, {100, 100}, 16});
    EXPECT_EQ(Answered(limiter, "127.0.0.2", 10, 1000), 4);
    // Two a second: one after half a second, not before.
    EXPECT_EQ(Answered(limiter, "127.0.0.2", 1, 1499), 0);
    EXPECT_EQ(Answered(limiter, "127.0.0.2", 5, 1500), 1);
    // A quiet spell fills the burst again, never beyond it.
    EXPECT_EQ(Answered(limiter, "127.0.0.2", 10, 100'000), 4);
    // A clock that steps back gives nothing.
    EXPECT_EQ(Answered(limiter, "127.0.0.2", 3, 50'000), 0);
    // Another sender has its own burst.
    EXPECT_EQ(Answered(limiter, "127.0.0.3", 10, 100'000), 4);
    EXPECT_EQ(limiter.Answered(), 13u);
    EXPECT_EQ(limiter.Refused(), 26u);

    // A lister probing four times a second for a second, as the lobby does,
    // is answered every time with the defaults, even with a second lister on
    // the same machine.
    ProbeLimiter lobby;
    int answered = 0;
    for (std::int64_t t = 0; t < 1000; t += 250) answered += Answered(lobby, "127.0.0.1", 2, t);
    EXPECT_EQ(answered, 8);
}

TEST(ProbeLimiter, AllSendersTogetherAreHeldToTheTotal) {
    ProbeLimiter limiter({{4, 4}, {10, 5}, 1000});
    int answered = 0;
    for (int s = 0; s < 20; ++s)
        answered += Answered(limiter, "127.0.1." + std::to_string(s), 2, 0);
    EXPECT_EQ(answered, 10);
    // A flood from a second on gets five a second in all.
    answered = 0;
    for (std::int64_t t = 1; t <= 1000; ++t)
        answered += Answered(limiter, "127.0.2." + std::to_string(t % 200), 3, t);
    EXPECT_EQ(answered, 5);
}

TEST(ProbeLimiter, RemembersBoundedSendersAndForgetsQuietOnes) {
    ProbeLimiter limiter({{2, 1}, {1000, 1000}, 3});
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(Answered(limiter, "127.0.0." + std::to_string(s), 1, 0), 1);
    // A fourth sender finds no room while the others have spent credit...
    EXPECT_EQ(Answered(limiter, "127.0.0.9", 1, 500), 0);
    EXPECT_EQ(limiter.SendersRemembered(), 3u);
    // ...and is answered once they are full again, as good as new.
    EXPECT_EQ(Answered(limiter, "127.0.0.9", 1, 1000), 1);
    EXPECT_LE(limiter.SendersRemembered(), 3u);

    // Many addresses, each probing once: memory stays bounded.
    for (int s = 0; s < 10'000; ++s) limiter.Allow("127.9." + std::to_string(s), 2000 + s / 10);
    EXPECT_LE(limiter.SendersRemembered(), 3u);
}
