#include "net/enet/enet_transport.h"

#include <enet/enet.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "net/host_migration.h"
#include "net/net_frames.h"
#include "net/probe_limiter.h"
#include "net/session_joiner.h"
#include "net/session_relay.h"
#include "platform/net_address.h"

namespace {

using Clock = std::chrono::steady_clock;

// Joining and leaving use the real clock, whatever the game's clock does.
constexpr auto kJoinTimeout = std::chrono::milliseconds(5000);
constexpr auto kLeaveGrace = std::chrono::milliseconds(200);
constexpr auto kProbeRepeat = std::chrono::milliseconds(250);
constexpr std::size_t kChannels = 2;
// A joiner's connections: its host's, and room for the players that come
// back to it should it take over from a host that leaves.
constexpr std::size_t kJoinerPeers = 16;
// After a change of host, how long the new host waits for the others.
constexpr std::int64_t kRejoinWaitMs = 40000;
// A connection to a joiner must ask to come back within this time.
constexpr std::int64_t kHeldHelloMs = 3000;

void initialiseEnet() {
    static std::once_flag once;
    std::call_once(once, [] { enet_initialize(); });
}

bool resolve(const std::string& host, std::uint16_t port, ENetAddress& address) {
    address.port = port;
    if (host.empty()) {
        address.host = ENET_HOST_ANY;
        return true;
    }
    return enet_address_set_host_ip(&address, host.c_str()) == 0 ||
           enet_address_set_host(&address, host.c_str()) == 0;
}

std::string numericHost(const ENetAddress& address) {
    char text[64] = {};
    if (enet_address_get_host_ip(&address, text, sizeof text) != 0) return {};
    return text;
}

// Milliseconds of the steady clock, for the relay's deadlines and the probe
// limiter.
std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
}

enet_uint32 msUntil(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return static_cast<enet_uint32>(std::max<std::int64_t>(left.count(), 0));
}

std::uint32_t newSessionId() {
    std::random_device random;
    std::uint32_t id = 0;
    while (id == 0) id = random();
    return id;
}

std::span<const std::uint8_t> packetBytes(const ENetPacket* packet) {
    return {packet->data, packet->dataLength};
}

void sendOn(ENetPeer* peer, std::span<const std::uint8_t> frame, NetDelivery delivery) {
    ENetPacket* packet =
        enet_packet_create(frame.data(), frame.size(),
                           delivery == NetDelivery::Reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet && enet_peer_send(peer, static_cast<enet_uint8>(delivery), packet) != 0)
        enet_packet_destroy(packet);
}

// Reads one datagram into `buffer`; its size, 0 when none waits, -1 on an
// error or a datagram too long for the buffer.
int receiveDatagram(ENetSocket socket, ENetAddress& from, std::vector<std::uint8_t>& buffer) {
    ENetBuffer data;
    data.data = buffer.data();
    data.dataLength = buffer.size();
    return enet_socket_receive(socket, &from, &data, 1);
}

// Incoming datagrams dropped on purpose (a poor network for tests). ENet's
// intercept hook has no user pointer, so the impairment of the host being
// serviced is set for the current thread around each service call.
struct Impairment {
    std::int32_t lossPercent = 0;
    std::mt19937 random;
    bool Drop() {
        return lossPercent > 0 && static_cast<std::int32_t>(random() % 100) < lossPercent;
    }
};
thread_local Impairment* tServicing = nullptr;

int ENET_CALLBACK dropSome(ENetHost*, ENetEvent*) {
    return tServicing && tServicing->Drop() ? 1 : 0;
}

// Compression as the options ask; a host that cannot set it up sends plain
// datagrams, which every peer reads.
void setCompression(ENetHost* host, bool compress) {
    if (compress) enet_host_compress_with_range_coder(host);
}

int serviceImpaired(ENetHost* host, ENetEvent* event, enet_uint32 timeout, Impairment& impairment) {
    tServicing = &impairment;
    const int result = enet_host_service(host, event, timeout);
    tServicing = nullptr;
    return result;
}

RosterEntry rosterEntry(std::uint32_t id, const ENetAddress& address) {
    RosterEntry entry;
    entry.id = id;
    // ENet keeps the IPv4 address in network order: its bytes are the octets.
    std::memcpy(entry.address.data(), &address.host, entry.address.size());
    entry.port = address.port;
    return entry;
}

ENetAddress addressOf(const RosterEntry& entry) {
    ENetAddress address{};
    std::memcpy(&address.host, entry.address.data(), entry.address.size());
    address.port = entry.port;
    return address;
}

// Datagrams of the discovery port longer than this are none of ours.
constexpr std::size_t kDatagramBuffer = 512;
// Errors in a row that end draining a socket.
constexpr int kMaxReceiveErrors = 64;

} // namespace

struct EnetTransport::State {
    std::mutex lock;
    ENetHost* host = nullptr;
    ENetPeer* server = nullptr; // a joiner's connection to its host
    ENetSocket discovery = ENET_SOCKET_NULL;
    std::optional<SessionRelay> relay; // on the host
    ProbeLimiter probes;               // on the host
    SessionJoiner joiner;
    HostMigration migration;
    SentHistory history;
    NetPlayer local;         // the local player's names and id
    NetSessionParams params; // the session, as created or joined
    // Connections to a joiner, kept until it takes over from its host (the
    // others may notice the host's loss first) or they run out of time.
    struct Held {
        ENetPeer* peer = nullptr;
        std::int64_t since = 0;
        std::vector<std::uint8_t> rejoin; // the frame asking to come back
    };
    std::vector<Held> held;
    std::uint16_t port = 0;
    Impairment impairment;
    std::int32_t delayMs = 0;
    std::deque<std::pair<Clock::time_point, NetEvent>> delayed; // held back, in order
    // Bytes sent and received so far, moved out of the host's counters.
    NetTraffic traffic;

    int connectionOf(const ENetPeer* peer) const { return static_cast<int>(peer - host->peers); }

    void perform(const std::vector<RelayOutput>& outputs) {
        for (const RelayOutput& output : outputs) {
            if (output.connection < 0 ||
                static_cast<std::size_t>(output.connection) >= host->peerCount)
                continue;
            ENetPeer* peer = &host->peers[output.connection];
            if (output.frame.empty()) {
                // Frees the slot now; the peer hears goodbye if it listens.
                if (output.disconnect) enet_peer_disconnect_now(peer, 0);
                continue;
            }
            sendOn(peer, output.frame, output.delivery);
            if (output.disconnect) enet_peer_disconnect_later(peer, 0);
        }
        enet_host_flush(host);
    }

    void answerProbes() {
        std::vector<std::uint8_t> buffer(kDatagramBuffer);
        for (int errors = 0; errors < kMaxReceiveErrors;) {
            ENetAddress from{};
            const int size = receiveDatagram(discovery, from, buffer);
            if (size == 0) return;
            if (size < 0) {
                ++errors;
                continue;
            }
            const auto password = ParseProbe(
                std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(size)));
            if (!password || !relay->Open() || !relay->PasswordMatches(*password)) continue;
            if (!probes.Allow(numericHost(from), steadyMs())) continue;
            const auto reply = EncodeProbeReply(relay->Describe(port));
            ENetBuffer data;
            data.data = const_cast<std::uint8_t*>(reply.data());
            data.dataLength = reply.size();
            enet_socket_send(discovery, &from, &data, 1);
        }
    }

    void handle(ENetEvent& event, std::vector<NetEvent>& events) {
        std::vector<RelayOutput> outputs;
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            if (relay)
                relay->Connected(connectionOf(event.peer), numericHost(event.peer->address),
                                 steadyMs(), outputs);
            else if (event.peer == server)
                candidateConnected();
            else
                held.push_back({event.peer, steadyMs(), {}});
            break;
        case ENET_EVENT_TYPE_RECEIVE: {
            const NetDelivery delivery =
                event.channelID == 0 ? NetDelivery::Reliable : NetDelivery::Unreliable;
            if (relay)
                relay->Receive(connectionOf(event.peer), packetBytes(event.packet), delivery,
                               outputs, events);
            else if (event.peer == server)
                fromServer(packetBytes(event.packet), events);
            else
                holdRejoin(event.peer, packetBytes(event.packet));
            enet_packet_destroy(event.packet);
            break;
        }
        case ENET_EVENT_TYPE_DISCONNECT:
            if (relay)
                relay->Disconnected(connectionOf(event.peer), outputs, events);
            else if (event.peer == server) {
                server = nullptr;
                serverLost(events);
            } else
                std::erase_if(held, [&](const Held& h) { return h.peer == event.peer; });
            break;
        default:
            break;
        }
        if (!outputs.empty()) perform(outputs);
        if (relay) resendToRejoined();
    }

    // The host says where everyone can be reached once the game starts, so
    // that the session outlives it.
    void sendRoster() {
        if (!relay) return;
        std::vector<RosterEntry> entries;
        for (const SessionRelay::Connection& c : relay->Members())
            entries.push_back(rosterEntry(c.id, host->peers[c.connection].address));
        const auto frame = EncodeFrame(relay->Roster(entries));
        std::vector<RelayOutput> outputs;
        for (const SessionRelay::Connection& c : relay->Members())
            outputs.push_back({c.connection, frame, NetDelivery::Reliable, false});
        perform(outputs);
    }

    void fromServer(std::span<const std::uint8_t> bytes, std::vector<NetEvent>& events) {
        if (migration.Phase() != MigrationPhase::Connecting) {
            joiner.Receive(bytes, events);
            if (joiner.TakeRosterUpdate()) migration.Arm(joiner.LocalId(), joiner.Roster());
            return;
        }
        const JoinAnswer answer = joiner.Answer(bytes, joiner.SessionId());
        if (!answer.answered) return;
        if (answer.code != kNetOk) {
            // Refused: it does not host this session. The connection closes.
            enet_peer_reset(server);
            server = nullptr;
            return follow(migration.CandidateLost(steadyMs()), events);
        }
        migration.Rejoined();
        events.push_back({NetEvent::Kind::HostChanged, playerNamed(migration.Host()), {}});
        // What this machine sent lately goes again: the old host may not have
        // passed it on; whoever has it already applies it once.
        for (const SentMessage& sent : history.Messages())
            if (sent.to == 0 || sent.to == migration.Host())
                sendOn(server, EncodeFrame(DataFrame(sent.to, sent.message, sent.sequence)),
                       NetDelivery::Reliable);
        enet_host_flush(host);
    }

    NetPlayer playerNamed(std::uint32_t id) const {
        if (id == local.id) return local;
        for (const NetPlayer& player : joiner.Others())
            if (player.id == id) return player;
        return {id, {}, {}};
    }

    void candidateConnected() {
        if (migration.Phase() != MigrationPhase::Connecting) return;
        migration.ConnectionMade(steadyMs());
        sendOn(server, joiner.Rejoin(), NetDelivery::Reliable);
        enet_host_flush(host);
    }

    void serverLost(std::vector<NetEvent>& events) {
        if (migration.Phase() == MigrationPhase::Connecting)
            return follow(migration.CandidateLost(steadyMs()), events);
        if (!migration.Armed()) return joiner.HostLost(events);
        const std::uint32_t hostId =
            migration.Host() != 0 ? migration.Host() : SessionRelay::kHostId;
        const auto others = joiner.HostLeft(hostId, events);
        follow(migration.HostLost(others, steadyMs()), events);
    }

    // Does what the election decided: connect to the new host or become it.
    void follow(const MigrationStep& step, std::vector<NetEvent>& events) {
        for (const std::uint32_t gone : step.gone) joiner.PlayerGone(gone, events);
        if (step.kind == MigrationStep::Kind::Connect) {
            ENetAddress address = addressOf(step.address);
            server = enet_host_connect(host, &address, kChannels, 0);
            if (!server) return follow(migration.CandidateLost(steadyMs()), events);
            enet_host_flush(host);
        } else if (step.kind == MigrationStep::Kind::Host) {
            takeOver(events);
        }
    }

    void takeOver(std::vector<NetEvent>& events) {
        GuardLimits limits;
        limits.slots = host->peerCount;
        limits.keepFree = 1;
        NetSessionParams session = params;
        session.maxPlayers = static_cast<std::int32_t>(joiner.Others().size()) + 1;
        relay.emplace(session, local, joiner.SessionId(), limits, local.id);
        relay->ExpectRejoins(joiner.Others(), steadyMs() + kRejoinWaitMs, joiner.Sequences());
        events.push_back({NetEvent::Kind::HostChanged, local, {}});
        // The connections that came while this machine still followed the old host.
        std::vector<RelayOutput> outputs;
        for (const Held& h : held) {
            const int connection = connectionOf(h.peer);
            relay->Connected(connection, numericHost(h.peer->address), steadyMs(), outputs);
            if (!h.rejoin.empty())
                relay->Receive(connection, h.rejoin, NetDelivery::Reliable, outputs, events);
        }
        held.clear();
        if (!outputs.empty()) perform(outputs);
        resendToRejoined();
    }

    void holdRejoin(ENetPeer* peer, std::span<const std::uint8_t> bytes) {
        const auto h =
            std::find_if(held.begin(), held.end(), [&](const Held& k) { return k.peer == peer; });
        if (h == held.end()) return;
        const auto frame = ParseFrame(bytes);
        if (h->rejoin.empty() && frame && frame->kind == FrameKind::Rejoin) {
            h->rejoin.assign(bytes.begin(), bytes.end());
            return;
        }
        // Anything else, or a second one, is out of place.
        enet_peer_disconnect_now(peer, 0);
        held.erase(h);
    }

    // A joiner drops the connections that do not ask to come back in time,
    // and those that wait for longer than a host is ever awaited.
    void expireHeld(std::int64_t now) {
        std::erase_if(held, [&](const Held& h) {
            const std::int64_t limit = h.rejoin.empty() ? kHeldHelloMs : kRejoinWaitMs;
            if (now - h.since < limit) return false;
            enet_peer_disconnect_now(h.peer, 0);
            return true;
        });
    }

    // The new host's own recent messages go to each player that comes back.
    void resendToRejoined() {
        for (const std::uint32_t id : relay->TakeRejoined()) {
            std::vector<RelayOutput> outputs;
            for (const SentMessage& sent : history.Messages())
                if (sent.to == 0 || sent.to == id)
                    relay->SendFromHost(id, sent.message, NetDelivery::Reliable, outputs,
                                        sent.sequence);
            perform(outputs);
        }
    }

    // Moves the host's byte counts (32 bits, which a long game could wrap)
    // into the running totals.
    void countTraffic() {
        if (!host) return;
        traffic.bytesSent += host->totalSentData;
        traffic.bytesReceived += host->totalReceivedData;
        host->totalSentData = 0;
        host->totalReceivedData = 0;
    }

    void service(std::vector<NetEvent>& events) {
        ENetEvent event;
        while (host && serviceImpaired(host, &event, 0, impairment) > 0) handle(event, events);
        countTraffic();
        if (!host) return;
        const std::int64_t now = steadyMs();
        if (relay) {
            std::vector<RelayOutput> outputs;
            relay->Tick(now, outputs, events);
            if (!outputs.empty()) perform(outputs);
            return;
        }
        expireHeld(now);
        if (migration.Overdue(now) && server) {
            enet_peer_reset(server);
            server = nullptr;
            follow(migration.CandidateLost(now), events);
        }
    }

    // True while a goodbye waits for its acknowledgement.
    bool leaving() const {
        for (std::size_t i = 0; i < host->peerCount; ++i)
            if (host->peers[i].state == ENET_PEER_STATE_DISCONNECTING) return true;
        return false;
    }

    // Says goodbye to every connected peer, waits briefly for them to
    // confirm, then drops what is left.
    void close() {
        if (host) {
            for (std::size_t i = 0; i < host->peerCount; ++i)
                if (host->peers[i].state == ENET_PEER_STATE_CONNECTED)
                    enet_peer_disconnect(&host->peers[i], 0);
            const auto end = Clock::now() + kLeaveGrace;
            ENetEvent event;
            while (Clock::now() < end && leaving()) {
                const int result = enet_host_service(host, &event, msUntil(end));
                if (result < 0) break;
                if (result > 0 && event.type == ENET_EVENT_TYPE_RECEIVE)
                    enet_packet_destroy(event.packet);
            }
            for (std::size_t i = 0; i < host->peerCount; ++i)
                if (host->peers[i].state != ENET_PEER_STATE_DISCONNECTED)
                    enet_peer_disconnect_now(&host->peers[i], 0);
            enet_host_flush(host);
            countTraffic();
            enet_host_destroy(host);
        }
        host = nullptr;
        server = nullptr;
        relay.reset();
        held.clear();
        if (discovery != ENET_SOCKET_NULL) enet_socket_destroy(discovery);
        discovery = ENET_SOCKET_NULL;
        port = 0;
    }
};

EnetTransport::EnetTransport(const EnetOptions& options)
    : options_(options), state_(std::make_unique<State>()) {
    initialiseEnet();
    state_->impairment.lossPercent = std::clamp(options.lossPercent, 0, 100);
    state_->impairment.random.seed(options.seed);
    state_->delayMs = std::max(options.delayMs, 0);
}

EnetTransport::~EnetTransport() {
    Leave();
}

std::uint32_t EnetTransport::ListSessions(const std::string& password, std::int32_t timeoutMs,
                                          std::vector<NetSessionInfo>& sessions) {
    sessions.clear();
    if (!options_.lan) {
        const auto address = ParseHostPort(options_.directAddress,
                                           options_.port != 0 ? options_.port : kDefaultGamePort);
        ENetAddress resolved{};
        if (!address || !resolve(address->host, address->port, resolved)) return kNetNoSuchSession;
        sessions.push_back({0, options_.directAddress, numericHost(resolved), address->port, 0, 0});
        return kNetOk;
    }

    ENetAddress target{};
    if (!resolve(options_.broadcastAddress, options_.discoveryPort, target)) return kNetBindFailed;
    const ENetSocket socket = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
    if (socket == ENET_SOCKET_NULL) return kNetBindFailed;
    enet_socket_set_option(socket, ENET_SOCKOPT_BROADCAST, 1);
    enet_socket_set_option(socket, ENET_SOCKOPT_NONBLOCK, 1);
    if (enet_socket_bind(socket, nullptr) != 0) {
        enet_socket_destroy(socket);
        return kNetBindFailed;
    }

    const auto probe = EncodeProbe(CutText(password, kNetPasswordMax));
    std::vector<std::uint8_t> buffer(kDatagramBuffer);
    const auto end = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    auto nextProbe = Clock::now();
    int errors = 0;
    while (Clock::now() < end && errors < kMaxReceiveErrors) {
        // Probes repeat, so that one lost datagram does not hide a session.
        if (Clock::now() >= nextProbe) {
            ENetBuffer data;
            data.data = const_cast<std::uint8_t*>(probe.data());
            data.dataLength = probe.size();
            enet_socket_send(socket, &target, &data, 1);
            nextProbe += kProbeRepeat;
        }
        enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE;
        enet_socket_wait(socket, &condition, std::min(msUntil(end), msUntil(nextProbe)));
        for (;;) {
            ENetAddress from{};
            const int size = receiveDatagram(socket, from, buffer);
            if (size == 0) break;
            if (size < 0) {
                ++errors;
                break;
            }
            if (state_->impairment.Drop()) continue;
            const auto reply = ParseProbeReply(
                std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(size)));
            if (!reply) continue;
            NetSessionInfo info{
                reply->sessionId,  reply->name, numericHost(from), reply->port, reply->players,
                reply->maxPlayers, true,        reply->identity};
            const bool seen =
                std::any_of(sessions.begin(), sessions.end(), [&](const NetSessionInfo& s) {
                    return s.id == info.id && s.host == info.host && s.port == info.port;
                });
            if (!seen && sessions.size() < kNetMaxSessions) sessions.push_back(info);
        }
    }
    enet_socket_destroy(socket);
    return kNetOk;
}

NetResult EnetTransport::CreateSession(const NetSessionParams& params, const NetPlayer& local,
                                       std::uint32_t& localId) {
    std::lock_guard guard(state_->lock);
    if (state_->host) return {kNetBindFailed, false};
    ENetAddress address{};
    if (!resolve(options_.bindAddress, options_.port, address)) return {kNetBindFailed, false};
    // Room beyond the limit, so that a player too many hears why; and as
    // many slots again that the relay keeps free, for connections being
    // made, so that strangers that come back at once cannot hold them all.
    const auto connections =
        static_cast<std::size_t>(std::clamp<std::int32_t>(params.maxPlayers, 1, 64) + 4);
    const std::size_t peers = 2 * connections;
    ENetHost* host = enet_host_create(&address, peers, kChannels, 0, 0);
    if (!host) return {kNetBindFailed, false};
    host->intercept = dropSome;
    setCompression(host, options_.compress);
    ENetAddress bound{};
    enet_socket_get_address(host->socket, &bound);

    ENetSocket discovery = ENET_SOCKET_NULL;
    if (options_.lan) {
        discovery = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
        ENetAddress any{};
        any.host = ENET_HOST_ANY;
        any.port = options_.discoveryPort;
        if (discovery != ENET_SOCKET_NULL) {
            enet_socket_set_option(discovery, ENET_SOCKOPT_REUSEADDR, 1);
            enet_socket_set_option(discovery, ENET_SOCKOPT_BROADCAST, 1);
            enet_socket_set_option(discovery, ENET_SOCKOPT_NONBLOCK, 1);
        }
        if (discovery == ENET_SOCKET_NULL || enet_socket_bind(discovery, &any) != 0) {
            if (discovery != ENET_SOCKET_NULL) enet_socket_destroy(discovery);
            enet_host_destroy(host);
            return {kNetBindFailed, false};
        }
    }
    state_->host = host;
    state_->discovery = discovery;
    state_->port = bound.port;
    GuardLimits limits;
    limits.slots = peers;
    limits.keepFree = connections;
    NetSessionParams described = params;
    described.identity = identity_;
    state_->relay.emplace(described, local, newSessionId(), limits);
    state_->local = local;
    state_->local.id = SessionRelay::kHostId;
    state_->params = described;
    state_->probes = ProbeLimiter();
    port_ = bound.port;
    localId = SessionRelay::kHostId;
    return {};
}

NetResult EnetTransport::JoinSession(const NetSessionInfo& session, const std::string& password,
                                     const NetPlayer& local, std::uint32_t& localId,
                                     std::vector<NetPlayer>& others) {
    {
        std::lock_guard guard(state_->lock);
        if (state_->host) return {kNetBindFailed, false};
    }
    ENetAddress target{};
    if (!resolve(session.host, session.port, target) || session.port == 0)
        return {kNetNoSuchSession, false};
    ENetAddress bind{};
    if (!resolve(options_.bindAddress, 0, bind)) return {kNetBindFailed, false};
    ENetHost* host = enet_host_create(&bind, kJoinerPeers, kChannels, 0, 0);
    if (!host) return {kNetBindFailed, false};
    host->intercept = dropSome;
    setCompression(host, options_.compress);
    ENetPeer* peer = enet_host_connect(host, &target, kChannels, 0);
    if (!peer) {
        enet_host_destroy(host);
        return {kNetBindFailed, false};
    }

    SessionJoiner joiner;
    const auto end = Clock::now() + kJoinTimeout;
    bool connected = false;
    NetResult result{kNetConnectTimedOut, false};
    JoinAnswer answer;
    ENetEvent event;
    while (!answer.answered && Clock::now() < end) {
        const int got = serviceImpaired(host, &event, std::min<enet_uint32>(msUntil(end), 50),
                                        state_->impairment);
        if (got < 0) break;
        if (got == 0) continue;
        if (event.peer != peer) {
            // Nobody has a reason to connect to a player still joining.
            if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
            if (event.type == ENET_EVENT_TYPE_CONNECT) enet_peer_disconnect_now(event.peer, 0);
            continue;
        }
        if (event.type == ENET_EVENT_TYPE_CONNECT && !connected) {
            connected = true;
            result.inPlayerCreation = true;
            sendOn(peer, joiner.Hello(session.id, password, local, identity_),
                   NetDelivery::Reliable);
            enet_host_flush(host);
        } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            answer = joiner.Answer(packetBytes(event.packet), session.id);
            enet_packet_destroy(event.packet);
        } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            break;
        }
    }
    if (!answer.answered || answer.code != kNetOk) {
        if (answer.answered) result = {answer.code, false}; // refused while opening
        {
            std::lock_guard guard(state_->lock);
            state_->traffic.bytesSent += host->totalSentData;
            state_->traffic.bytesReceived += host->totalReceivedData;
        }
        enet_peer_reset(peer);
        enet_host_destroy(host);
        return result;
    }

    std::lock_guard guard(state_->lock);
    state_->host = host;
    state_->server = peer;
    state_->joiner = std::move(joiner);
    state_->local = local;
    state_->local.id = answer.localId;
    state_->params = {session.name, password, 0};
    localId = answer.localId;
    others = answer.others;
    return {};
}

void EnetTransport::Send(std::uint32_t to, std::span<const std::uint8_t> message,
                         NetDelivery delivery) {
    if (message.size() != kNetMessageSize) return;
    std::lock_guard guard(state_->lock);
    if (!state_->host) return;
    // Reliable messages are numbered and kept, to be sent again after a
    // change of host.
    const std::uint32_t sequence =
        delivery == NetDelivery::Reliable ? state_->history.Record(to, message) : 0;
    if (state_->relay) {
        std::vector<RelayOutput> outputs;
        state_->relay->SendFromHost(to, message, delivery, outputs, sequence);
        state_->perform(outputs);
    } else if (state_->server && state_->migration.Phase() == MigrationPhase::Following) {
        sendOn(state_->server, EncodeFrame(DataFrame(to, message, sequence)), delivery);
        enet_host_flush(state_->host);
    }
}

void EnetTransport::Wait(std::int32_t maxMs, std::vector<NetEvent>& events) {
    const auto timeout = static_cast<enet_uint32>(std::max(maxMs, 0));
    ENetSocket hostSocket = ENET_SOCKET_NULL;
    ENetSocket discovery = ENET_SOCKET_NULL;
    {
        std::lock_guard guard(state_->lock);
        if (state_->host) hostSocket = state_->host->socket;
        discovery = state_->discovery;
    }
    if (hostSocket == ENET_SOCKET_NULL) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
        return;
    }
    // Wait outside the lock, so that sends from the window's thread go on.
    ENetSocketSet set;
    ENET_SOCKETSET_EMPTY(set);
    ENET_SOCKETSET_ADD(set, hostSocket);
    if (discovery != ENET_SOCKET_NULL) ENET_SOCKETSET_ADD(set, discovery);
    enet_socketset_select(std::max(hostSocket, discovery), &set, nullptr, timeout);

    std::lock_guard guard(state_->lock);
    if (state_->discovery != ENET_SOCKET_NULL && state_->relay) state_->answerProbes();
    if (state_->delayMs == 0) return state_->service(events);
    std::vector<NetEvent> arrived;
    state_->service(arrived);
    const auto due = Clock::now() + std::chrono::milliseconds(state_->delayMs);
    for (NetEvent& event : arrived) state_->delayed.emplace_back(due, std::move(event));
    while (!state_->delayed.empty() && state_->delayed.front().first <= Clock::now()) {
        events.push_back(std::move(state_->delayed.front().second));
        state_->delayed.pop_front();
    }
}

NetGuardCounts EnetTransport::GuardCounts() const {
    std::lock_guard guard(state_->lock);
    NetGuardCounts counts;
    if (state_->relay) {
        const StrangerDrops& dropped = state_->relay->StrangersDropped();
        counts.silent = dropped.silent;
        counts.outOfPlace = dropped.outOfPlace;
        counts.madeRoom = dropped.madeRoom;
        counts.sameAddress = dropped.sameAddress;
    }
    counts.probesAnswered = state_->probes.Answered();
    counts.probesRefused = state_->probes.Refused();
    return counts;
}

void EnetTransport::SetGameIdentity(const NetGameIdentity& identity) {
    identity_ = identity;
}

NetTraffic EnetTransport::Traffic() const {
    std::lock_guard guard(state_->lock);
    state_->countTraffic();
    NetTraffic traffic = state_->traffic;
    traffic.compressed = options_.compress;
    return traffic;
}

void EnetTransport::CloseToNewPlayers() {
    std::lock_guard guard(state_->lock);
    if (!state_->relay || !state_->relay->Open()) return;
    state_->relay->Close();
    state_->sendRoster();
}

void EnetTransport::Leave() {
    std::lock_guard guard(state_->lock);
    state_->close();
    port_ = 0;
}

std::vector<NetProvider> EnetProviders(const EnetOptions& options) {
    EnetOptions lan = options;
    lan.lan = true;
    EnetOptions direct = options;
    direct.lan = false;
    return {
        {"LAN (broadcast)", [lan] { return std::make_unique<EnetTransport>(lan); }},
        {"Direct address", [direct] { return std::make_unique<EnetTransport>(direct); }},
    };
}
