// An in-process network for the session's tests: transports opened on one
// FakeNetwork see each other's sessions and exchange frames through the same
// host relay and joiner logic as the ENet transport, without sockets.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "net/net_transport.h"

class FakeTransport;
struct FakeRouting;

class FakeNetwork {
  public:
    std::unique_ptr<NetTransport> Open();
    // One provider of this name on this network (and, optionally, a second
    // that does not open, to test a failing provider).
    NetProvider Provider(const std::string& name = "LAN (broadcast)");

    // Failures the next listing or session creation reports.
    std::uint32_t listFailure = kNetOk;
    NetResult createFailure;
    // Frames sent unreliably are lost.
    bool loseUnreliable = false;

  private:
    friend class FakeTransport;
    friend struct FakeRouting;
    std::mutex lock_;
    std::condition_variable arrived_;
    std::map<int, FakeTransport*> endpoints_;
    int nextEndpoint_ = 1;
};

class FakeTransport : public NetTransport {
  public:
    FakeTransport(FakeNetwork& network, int endpoint);
    ~FakeTransport() override;

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
    void SetGameIdentity(const NetGameIdentity& identity) override { identity_ = identity; }
    void Leave() override;
    // A host's "port" is its endpoint number.
    std::uint16_t GamePort() const override;

  private:
    struct State;
    NetGameIdentity identity_;
    FakeNetwork& network_;
    int endpoint_;
    std::unique_ptr<State> state_;
    friend struct FakeRouting;
};
