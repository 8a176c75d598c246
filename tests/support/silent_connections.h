// Raw ENet connections that connect to a host and never say a word: the
// strangers a host must not let hold its slots. Each has its own local
// address (all on 127.0.0.0/8) and is kept serviced by a thread, so that it
// stays alive as long as the host lets it; with `reconnect`, a dropped one
// connects again at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

class SilentConnections {
  public:
    SilentConnections(const std::string& host, std::uint16_t port,
                      const std::vector<std::string>& fromAddresses, bool reconnect);
    ~SilentConnections();
    SilentConnections(const SilentConnections&) = delete;
    SilentConnections& operator=(const SilentConnections&) = delete;

    // Waits up to `ms` until `count` connections have been made in all.
    bool WaitForConnects(int count, int ms) const;
    int Open() const { return open_; }         // connected now
    int Connects() const { return connects_; } // connections made in all
    int Drops() const { return drops_; }       // times the host let one go

  private:
    struct Client;
    void run();

    std::vector<Client*> clients_;
    bool reconnect_;
    std::atomic<bool> running_{true};
    std::atomic<int> open_{0};
    std::atomic<int> connects_{0};
    std::atomic<int> drops_{0};
    std::thread thread_;
};
