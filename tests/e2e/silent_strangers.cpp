// silent_strangers PORT COUNT SECONDS DATA: holds COUNT silent ENet
// connections against the game host on 127.0.0.1:PORT (each from its own
// loopback address, back at once when let go), then joins that host through
// the game's own transport, as a game of the data folder DATA, and reports
// how long the join took. The connections are held SECONDS in all, so that
// a game joiner started meanwhile meets them too. Exits 0 when the join
// succeeded within five seconds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "net/enet/enet_transport.h"
#include "shell/game_digest.h"
#include "support/silent_connections.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: silent_strangers PORT COUNT SECONDS DATA\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::current_path(argv[4], ec);
    if (ec) {
        std::fprintf(stderr, "cannot enter the data folder %s\n", argv[4]);
        return 2;
    }
    const auto port = static_cast<std::uint16_t>(std::atoi(argv[1]));
    const int count = std::atoi(argv[2]);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[3]));

    std::vector<std::string> addresses;
    for (int i = 0; i < count; ++i) addresses.push_back("127.0.0." + std::to_string(40 + i));
    SilentConnections silent("127.0.0.1", port, addresses, true);
    // The host comes up a moment after this program starts.
    if (!silent.WaitForConnects(count, 10'000)) {
        std::fprintf(stderr, "only %d of %d silent connections were made\n", silent.Connects(),
                     count);
        return 1;
    }
    std::printf("silent connections: %d made, %d open\n", silent.Connects(), silent.Open());

    EnetOptions options;
    options.lan = false;
    options.bindAddress = "127.0.0.1";
    EnetTransport joiner(options);
    joiner.SetGameIdentity(LocalGameIdentity()); // the host's game: only silence keeps it out
    const NetSessionInfo session{0, "", "127.0.0.1", port, 0, 0};
    std::uint32_t id = 0;
    std::vector<NetPlayer> others;
    const auto start = std::chrono::steady_clock::now();
    const NetResult result =
        joiner.JoinSession(session, "", {0, "Stranger", "Stranger"}, id, others);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    joiner.Leave();
    if (!result.Ok()) {
        std::printf("join failed after %lld ms: %08X\n", static_cast<long long>(ms), result.code);
        return 1;
    }
    std::printf("joined in %lld ms past %d open silent connections\n", static_cast<long long>(ms),
                silent.Open());

    while (std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::printf("silent connections: %d made, %d let go\n", silent.Connects(), silent.Drops());
    return ms < 5000 ? 0 : 1;
}
