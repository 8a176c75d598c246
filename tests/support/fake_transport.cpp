#include "support/fake_transport.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

#include "net/net_frames.h"
#include "net/session_joiner.h"
#include "net/session_relay.h"

struct FakeTransport::State {
    std::optional<SessionRelay> relay; // hosting
    std::vector<int> members;          // hosting: the joiners' endpoints
    SessionJoiner joiner;              // joined
    int server = 0;                    // joined: the host's endpoint
    std::vector<NetEvent> pending;
};

// Routing under the network's lock.
struct FakeRouting {
    static FakeTransport* at(FakeNetwork& network, int endpoint) {
        const auto found = network.endpoints_.find(endpoint);
        return found == network.endpoints_.end() ? nullptr : found->second;
    }
    static void deliver(FakeNetwork& network, const std::vector<RelayOutput>& outputs) {
        for (const RelayOutput& output : outputs) {
            FakeTransport* target = at(network, output.connection);
            if (!target) continue;
            if (output.delivery == NetDelivery::Unreliable && network.loseUnreliable) continue;
            target->state_->joiner.Receive(output.frame, target->state_->pending);
            if (output.disconnect) target->state_->server = 0;
        }
        network.arrived_.notify_all();
    }
};

std::unique_ptr<NetTransport> FakeNetwork::Open() {
    std::lock_guard guard(lock_);
    return std::make_unique<FakeTransport>(*this, nextEndpoint_++);
}

NetProvider FakeNetwork::Provider(const std::string& name) {
    return {name, [this] { return Open(); }};
}

FakeTransport::FakeTransport(FakeNetwork& network, int endpoint)
    : network_(network), endpoint_(endpoint), state_(std::make_unique<State>()) {
    network_.endpoints_[endpoint_] = this; // Open holds the lock
}

FakeTransport::~FakeTransport() {
    Leave();
    std::lock_guard guard(network_.lock_);
    network_.endpoints_.erase(endpoint_);
}

std::uint32_t FakeTransport::ListSessions(const std::string& password, std::int32_t,
                                          std::vector<NetSessionInfo>& sessions) {
    std::lock_guard guard(network_.lock_);
    sessions.clear();
    if (network_.listFailure != kNetOk) return std::exchange(network_.listFailure, kNetOk);
    for (const auto& [endpoint, transport] : network_.endpoints_) {
        const auto& relay = transport->state_->relay;
        if (!relay || !relay->Open() || !relay->PasswordMatches(password)) continue;
        const ProbeReply reply = relay->Describe(static_cast<std::uint16_t>(endpoint));
        if (sessions.size() < kNetMaxSessions)
            sessions.push_back({reply.sessionId, reply.name, "fake", reply.port, reply.players,
                                reply.maxPlayers, true, reply.identity});
    }
    return kNetOk;
}

NetResult FakeTransport::CreateSession(const NetSessionParams& params, const NetPlayer& local,
                                       std::uint32_t& localId) {
    std::lock_guard guard(network_.lock_);
    if (!network_.createFailure.Ok()) return std::exchange(network_.createFailure, NetResult{});
    NetSessionParams described = params;
    described.identity = identity_;
    state_->relay.emplace(described, local, 0x1000u + static_cast<std::uint32_t>(endpoint_));
    localId = SessionRelay::kHostId;
    return {};
}

NetResult FakeTransport::JoinSession(const NetSessionInfo& session, const std::string& password,
                                     const NetPlayer& local, std::uint32_t& localId,
                                     std::vector<NetPlayer>& others) {
    std::lock_guard guard(network_.lock_);
    FakeTransport* host = FakeRouting::at(network_, session.port);
    if (!host || !host->state_->relay) return {kNetConnectTimedOut, false};
    std::vector<RelayOutput> outputs;
    host->state_->relay->Receive(endpoint_,
                                 state_->joiner.Hello(session.id, password, local, identity_),
                                 NetDelivery::Reliable, outputs, host->state_->pending);
    // The answer is the first frame to this endpoint; the rest go their way.
    JoinAnswer answer;
    std::vector<RelayOutput> rest;
    for (RelayOutput& output : outputs) {
        if (output.connection == endpoint_ && !answer.answered)
            answer = state_->joiner.Answer(output.frame, session.id);
        else
            rest.push_back(std::move(output));
    }
    FakeRouting::deliver(network_, rest);
    if (!answer.answered) return {kNetConnectTimedOut, true};
    if (answer.code != kNetOk) return {answer.code, false};
    host->state_->members.push_back(endpoint_);
    state_->server = session.port;
    localId = answer.localId;
    others = answer.others;
    return {};
}

void FakeTransport::Send(std::uint32_t to, std::span<const std::uint8_t> message,
                         NetDelivery delivery) {
    if (message.size() != kNetMessageSize) return;
    std::lock_guard guard(network_.lock_);
    std::vector<RelayOutput> outputs;
    if (state_->relay) {
        state_->relay->SendFromHost(to, message, delivery, outputs);
    } else if (FakeTransport* host = FakeRouting::at(network_, state_->server)) {
        if (delivery == NetDelivery::Unreliable && network_.loseUnreliable) return;
        host->state_->relay->Receive(endpoint_, EncodeFrame(DataFrame(to, message)), delivery,
                                     outputs, host->state_->pending);
    }
    FakeRouting::deliver(network_, outputs);
}

void FakeTransport::Wait(std::int32_t maxMs, std::vector<NetEvent>& events) {
    std::unique_lock guard(network_.lock_);
    network_.arrived_.wait_for(guard, std::chrono::milliseconds(maxMs),
                               [&] { return !state_->pending.empty(); });
    for (NetEvent& event : state_->pending) events.push_back(std::move(event));
    state_->pending.clear();
}

void FakeTransport::CloseToNewPlayers() {
    std::lock_guard guard(network_.lock_);
    if (state_->relay) state_->relay->Close();
}

void FakeTransport::Leave() {
    std::lock_guard guard(network_.lock_);
    if (state_->relay) {
        for (int member : state_->members)
            if (FakeTransport* joiner = FakeRouting::at(network_, member)) {
                joiner->state_->joiner.HostLost(joiner->state_->pending);
                joiner->state_->server = 0;
            }
        state_->relay.reset();
        state_->members.clear();
    } else if (FakeTransport* host = FakeRouting::at(network_, state_->server)) {
        std::vector<RelayOutput> outputs;
        host->state_->relay->Disconnected(endpoint_, outputs, host->state_->pending);
        auto& members = host->state_->members;
        members.erase(std::remove(members.begin(), members.end(), endpoint_), members.end());
        FakeRouting::deliver(network_, outputs);
    }
    state_->server = 0;
    network_.arrived_.notify_all();
}

std::uint16_t FakeTransport::GamePort() const {
    std::lock_guard guard(network_.lock_);
    return state_->relay ? static_cast<std::uint16_t>(endpoint_) : 0;
}
