// Test gateways on the loopback: a NAT-PMP gateway (UDP) and a UPnP IGD (a
// tiny HTTP server with the device description and the WANIPConnection
// calls). Each keeps a log of what it was asked, one line a request, and
// may write it to a file as it goes. They bind 127.0.0.1 only.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The public address both fakes report.
inline constexpr const char* kFakePublicAddress = "203.0.113.7";

enum class FakeGatewayKind { NatPmp, Upnp };

struct FakeGatewayOptions {
    FakeGatewayKind kind = FakeGatewayKind::NatPmp;
    std::uint16_t port = 0; // 0: any free port
    bool silent = false;    // takes requests and logs them, never answers
    // NAT-PMP: the public port given for a mapping (0: the one asked for).
    std::uint16_t publicPort = 0;
    // UPnP: AddPortMapping answers with this UPnP error code (0: success).
    int refuseWith = 0;
    std::string logFile; // also written here, line by line (empty: kept in memory only)
};

class FakeGateway {
  public:
    explicit FakeGateway(const FakeGatewayOptions& options);
    ~FakeGateway();
    FakeGateway(const FakeGateway&) = delete;
    FakeGateway& operator=(const FakeGateway&) = delete;

    bool Ok() const { return socket_ >= 0; }
    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:PORT/rootDesc.xml" for the UPnP fake.
    std::string DescriptionUrl() const;
    std::vector<std::string> Log() const;

  private:
    void run();
    void natPmpRequest();
    void httpConnection(int connection);
    void note(const std::string& line);

    FakeGatewayOptions options_;
    int socket_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::vector<std::string> log_;
    std::thread thread_;
};
