#include "net/session_relay.h"

#include <algorithm>

namespace {

RelayOutput frameTo(int connection, const ControlFrame& frame, NetDelivery delivery) {
    return {connection, EncodeFrame(frame), delivery, false};
}

RelayOutput dropAtOnce(int connection) {
    return {connection, {}, NetDelivery::Reliable, true};
}

} // namespace

SessionRelay::SessionRelay(const NetSessionParams& params, const NetPlayer& host,
                           std::uint32_t sessionId, const GuardLimits& limits, std::uint32_t hostId)
    : params_(params), host_(host), sessionId_(sessionId), nextId_(hostId + 1), guard_(limits) {
    host_.id = hostId;
    params_.name = CutText(params_.name, kNetSessionNameMax);
    params_.password = CutText(params_.password, kNetPasswordMax);
}

bool SessionRelay::PasswordMatches(const std::string& password) const {
    return CutText(password, kNetPasswordMax) == params_.password;
}

ProbeReply SessionRelay::Describe(std::uint16_t port) const {
    ProbeReply reply;
    reply.sessionId = sessionId_;
    reply.port = port;
    reply.players = static_cast<std::uint8_t>(std::min<std::size_t>(PlayerCount(), 255));
    reply.maxPlayers =
        static_cast<std::uint8_t>(std::clamp<std::int32_t>(params_.maxPlayers, 1, 255));
    reply.maxPlayers = std::max(reply.maxPlayers, reply.players);
    reply.name = params_.name;
    reply.identity = params_.identity;
    return reply;
}

void SessionRelay::Connected(int connection, const std::string& address, std::int64_t nowMs,
                             std::vector<RelayOutput>& out) {
    now_ = std::max(now_, nowMs);
    std::vector<int> drop;
    guard_.Connected(connection, address, members_.size(), now_, drop);
    for (int c : drop) out.push_back(dropAtOnce(c));
}

void SessionRelay::Tick(std::int64_t nowMs, std::vector<RelayOutput>& out) {
    std::vector<NetEvent> local;
    Tick(nowMs, out, local);
}

void SessionRelay::Tick(std::int64_t nowMs, std::vector<RelayOutput>& out,
                        std::vector<NetEvent>& local) {
    now_ = std::max(now_, nowMs);
    std::vector<int> drop;
    guard_.Expire(now_, drop);
    for (int c : drop) out.push_back(dropAtOnce(c));
    if (expected_.empty() || now_ < rejoinDeadline_) return;
    // Those that did not come back have left.
    ControlFrame removed;
    removed.kind = FrameKind::PlayerRemoved;
    for (const NetPlayer& gone : expected_) {
        removed.id = gone.id;
        for (const Member& m : members_)
            out.push_back(frameTo(m.connection, removed, NetDelivery::Reliable));
        local.push_back({NetEvent::Kind::PlayerRemoved, gone, {}});
    }
    expected_.clear();
    missed_.clear();
}

void SessionRelay::Receive(int connection, std::span<const std::uint8_t> bytes,
                           NetDelivery delivery, std::vector<RelayOutput>& out,
                           std::vector<NetEvent>& local) {
    const auto frame = ParseFrame(bytes);
    const auto member = std::find_if(members_.begin(), members_.end(),
                                     [&](const Member& m) { return m.connection == connection; });
    if (member != members_.end()) {
        if (frame && frame->kind == FrameKind::Data)
            return relay(*member, *frame, delivery, out, local);
        ++dropped_;
        return;
    }
    // A stranger has one thing to say, once.
    if (frame && frame->kind == FrameKind::Hello && !guard_.WasRefused(connection))
        return admit(connection, *frame, out, local);
    if (frame && frame->kind == FrameKind::Rejoin && !guard_.WasRefused(connection))
        return rejoin(connection, *frame, out);
    ++dropped_;
    guard_.OutOfPlace(connection);
    out.push_back(dropAtOnce(connection));
}

void SessionRelay::admit(int connection, const ControlFrame& hello, std::vector<RelayOutput>& out,
                         std::vector<NetEvent>& local) {
    std::uint32_t refusal = kNetOk;
    if (hello.sessionId != 0 && hello.sessionId != sessionId_)
        refusal = kNetNoSuchSession;
    else if (!open_)
        refusal = kNetSessionClosed;
    else if (const std::uint32_t differs = CompareGameIdentity(params_.identity, hello.identity);
             differs != kNetOk)
        refusal = differs; // another game: it must never start with this one
    else if (!PasswordMatches(hello.password))
        refusal = kNetWrongPassword;
    else if (static_cast<std::int64_t>(PlayerCount()) >= params_.maxPlayers)
        refusal = kNetSessionFull;
    if (refusal != kNetOk) return refuse(connection, refusal, out);
    guard_.Admitted(connection);

    Member joiner{connection, hello.player};
    joiner.player.id = nextId_++;

    ControlFrame welcome;
    welcome.kind = FrameKind::Welcome;
    welcome.sessionId = sessionId_;
    welcome.id = joiner.player.id;
    welcome.players.push_back(host_);
    for (const Member& m : members_) welcome.players.push_back(m.player);
    out.push_back(frameTo(connection, welcome, NetDelivery::Reliable));

    ControlFrame added;
    added.kind = FrameKind::PlayerAdded;
    added.player = joiner.player;
    for (const Member& m : members_)
        out.push_back(frameTo(m.connection, added, NetDelivery::Reliable));
    local.push_back({NetEvent::Kind::PlayerAdded, joiner.player, {}});
    members_.push_back(joiner);
}

// Says why a connection is turned away, then closes it.
void SessionRelay::refuse(int connection, std::uint32_t code, std::vector<RelayOutput>& out) {
    ControlFrame refusal;
    refusal.kind = FrameKind::Refuse;
    refusal.id = code;
    RelayOutput output = frameTo(connection, refusal, NetDelivery::Reliable);
    output.disconnect = true;
    out.push_back(std::move(output));
    guard_.Refused(connection, now_);
}

void SessionRelay::rejoin(int connection, const ControlFrame& frame,
                          std::vector<RelayOutput>& out) {
    const auto expected = std::find_if(expected_.begin(), expected_.end(),
                                       [&](const NetPlayer& p) { return p.id == frame.id; });
    if (frame.sessionId != sessionId_ || expected == expected_.end())
        return refuse(connection,
                      frame.sessionId != sessionId_ ? kNetNoSuchSession : kNetSessionClosed, out);
    guard_.Admitted(connection);
    const Member back{connection, *expected};
    expected_.erase(expected);

    ControlFrame welcome;
    welcome.kind = FrameKind::Welcome;
    welcome.sessionId = sessionId_;
    welcome.id = back.player.id;
    welcome.players.push_back(host_);
    for (const Member& m : members_) welcome.players.push_back(m.player);
    for (const NetPlayer& p : expected_) welcome.players.push_back(p);
    out.push_back(frameTo(connection, welcome, NetDelivery::Reliable));
    for (const ControlFrame& missed : missed_[back.player.id])
        out.push_back(frameTo(connection, missed, NetDelivery::Reliable));
    missed_.erase(back.player.id);
    members_.push_back(back);
    rejoined_.push_back(back.player.id);
}

void SessionRelay::ExpectRejoins(const std::vector<NetPlayer>& members, std::int64_t deadlineMs,
                                 const SequenceFilter& applied) {
    open_ = false;
    for (const NetPlayer& player : members) {
        const bool present =
            player.id == 0 || player.id == host_.id ||
            std::any_of(members_.begin(), members_.end(),
                        [&](const Member& m) { return m.player.id == player.id; }) ||
            std::any_of(expected_.begin(), expected_.end(),
                        [&](const NetPlayer& p) { return p.id == player.id; });
        if (!present) expected_.push_back(player);
        nextId_ = std::max(nextId_, player.id + 1);
    }
    rejoinDeadline_ = deadlineMs;
    applied_.Assume(applied.Last());
}

std::vector<std::uint32_t> SessionRelay::TakeRejoined() {
    std::vector<std::uint32_t> taken;
    taken.swap(rejoined_);
    return taken;
}

std::vector<SessionRelay::Connection> SessionRelay::Members() const {
    std::vector<Connection> connections;
    for (const Member& m : members_) connections.push_back({m.connection, m.player.id});
    return connections;
}

ControlFrame SessionRelay::Roster(std::vector<RosterEntry> entries) const {
    ControlFrame roster;
    roster.kind = FrameKind::Roster;
    roster.sessionId = sessionId_;
    roster.roster = std::move(entries);
    return roster;
}

void SessionRelay::relay(const Member& sender, const ControlFrame& data, NetDelivery delivery,
                         std::vector<RelayOutput>& out, std::vector<NetEvent>& local) {
    const std::uint32_t to = data.id;
    const ControlFrame stamped = DataFrame(sender.player.id, data.message, data.sequence);
    const auto target = std::find_if(members_.begin(), members_.end(),
                                     [&](const Member& m) { return m.player.id == to; });
    const bool known = to == 0 || to == host_.id || target != members_.end();
    if (!known || to == sender.player.id) {
        ++dropped_;
        return;
    }
    // A message sent again after a change of host goes on to the others
    // (each applies it once), but the host's player may have it already.
    if ((to == 0 || to == host_.id) && applied_.Accept(sender.player.id, data.sequence))
        local.push_back({NetEvent::Kind::Message,
                         {sender.player.id, sender.player.shortName, sender.player.longName},
                         std::vector<std::uint8_t>(data.message.begin(), data.message.end())});
    for (const Member& m : members_)
        if (m.connection != sender.connection && (to == 0 || m.player.id == to))
            out.push_back(frameTo(m.connection, stamped, delivery));
    if (delivery != NetDelivery::Reliable) return;
    for (const NetPlayer& awaited : expected_) {
        std::vector<ControlFrame>& missed = missed_[awaited.id];
        if ((to == 0 || to == awaited.id) && missed.size() < SentHistory::kKept)
            missed.push_back(stamped);
    }
}

void SessionRelay::Disconnected(int connection, std::vector<RelayOutput>& out,
                                std::vector<NetEvent>& local) {
    guard_.Gone(connection);
    const auto member = std::find_if(members_.begin(), members_.end(),
                                     [&](const Member& m) { return m.connection == connection; });
    if (member == members_.end()) return;
    const NetPlayer gone = member->player;
    members_.erase(member);
    ControlFrame removed;
    removed.kind = FrameKind::PlayerRemoved;
    removed.id = gone.id;
    for (const Member& m : members_)
        out.push_back(frameTo(m.connection, removed, NetDelivery::Reliable));
    local.push_back({NetEvent::Kind::PlayerRemoved, gone, {}});
}

void SessionRelay::SendFromHost(std::uint32_t to, std::span<const std::uint8_t> message,
                                NetDelivery delivery, std::vector<RelayOutput>& out,
                                std::uint32_t sequence) const {
    if (message.size() != kNetMessageSize) return;
    const ControlFrame data = DataFrame(host_.id, message, sequence);
    for (const Member& m : members_)
        if (to == 0 || m.player.id == to) out.push_back(frameTo(m.connection, data, delivery));
}
