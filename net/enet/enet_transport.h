// The session transport over ENet: the host binds a game port and, on the
// LAN provider, answers discovery probes on a shared UDP port; joiners
// connect to the host alone, which relays. Channel 0 reliable, 1 unreliable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/net_transport.h"

constexpr std::uint16_t kDefaultDiscoveryPort = 47800;
constexpr std::uint16_t kDefaultGamePort = 47801;

struct EnetOptions {
    bool lan = true; // false: the "Direct address" provider
    std::string broadcastAddress = "255.255.255.255";
    std::uint16_t discoveryPort = kDefaultDiscoveryPort;
    std::string bindAddress;               // empty: every interface
    std::uint16_t port = kDefaultGamePort; // 0: any free port
    std::string directAddress;             // host[:port], for the direct provider
    // For tests of a poor network: incoming datagrams dropped (percent, from
    // a generator seeded with `seed`) and what arrives held back `delayMs`.
    std::int32_t lossPercent = 0;
    std::int32_t delayMs = 0;
    std::uint32_t seed = 1;
    // Datagrams packed with ENet's range coder. Every peer of one protocol
    // version must agree: a peer without it drops what a compressing peer
    // sends (turning it on is part of the protocol version).
    bool compress = true;
};

class EnetTransport : public NetTransport {
  public:
    explicit EnetTransport(const EnetOptions& options);
    ~EnetTransport() override;
    EnetTransport(const EnetTransport&) = delete;
    EnetTransport& operator=(const EnetTransport&) = delete;

    std::uint32_t ListSessions(const std::string& password, std::int32_t timeoutMs,
                               std::vector<NetSessionInfo>& sessions) override;
    NetResult CreateSession(const NetSessionParams& params, const NetPlayer& local,
                            std::uint32_t& localId) override;
    NetResult JoinSession(const NetSessionInfo& session, const std::string& password,
                          const NetPlayer& local, std::uint32_t& localId,
                          std::vector<NetPlayer>& others) override;
    void Send(std::uint32_t to, std::span<const std::uint8_t> message,
              NetDelivery delivery) override;
    void Wait(std::int32_t maxMs, std::vector<NetEvent>& events) override;
    void CloseToNewPlayers() override;
    NetGuardCounts GuardCounts() const override;
    void SetGameIdentity(const NetGameIdentity& identity) override;
    NetTraffic Traffic() const override;
    std::uint16_t GamePort() const override { return port_; }
    void Leave() override;

    // The game port a created session listens on (0 before).
    std::uint16_t Port() const { return port_; }

  private:
    struct State;
    EnetOptions options_;
    std::unique_ptr<State> state_;
    std::uint16_t port_ = 0;
    NetGameIdentity identity_;
};

// "LAN (broadcast)" and "Direct address" with these options.
std::vector<NetProvider> EnetProviders(const EnetOptions& options);
