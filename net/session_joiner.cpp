#include "net/session_joiner.h"

#include <algorithm>

std::vector<std::uint8_t> SessionJoiner::Hello(std::uint32_t sessionId, const std::string& password,
                                               const NetPlayer& local,
                                               const NetGameIdentity& identity) const {
    ControlFrame hello;
    hello.identity = identity;
    hello.kind = FrameKind::Hello;
    hello.sessionId = sessionId;
    hello.password = password;
    hello.player = local;
    return EncodeFrame(hello);
}

JoinAnswer SessionJoiner::Answer(std::span<const std::uint8_t> bytes, std::uint32_t sessionId) {
    JoinAnswer answer;
    const auto frame = ParseFrame(bytes);
    if (!frame) {
        ++dropped_;
        return answer;
    }
    if (frame->kind == FrameKind::Refuse) {
        answer.answered = true;
        // A refusal always carries a failure code.
        answer.code = frame->id != kNetOk ? frame->id : kNetSessionClosed;
    } else if (frame->kind == FrameKind::Welcome) {
        answer.answered = true;
        if ((sessionId != 0 && frame->sessionId != sessionId) || frame->id == 0) {
            answer.code = kNetNoSuchSession;
            return answer;
        }
        localId_ = frame->id;
        sessionId_ = frame->sessionId;
        answer.localId = frame->id;
        for (const NetPlayer& player : frame->players) {
            const bool known = std::any_of(players_.begin(), players_.end(),
                                           [&](const NetPlayer& p) { return p.id == player.id; });
            if (player.id != 0 && player.id != localId_ && !known) players_.push_back(player);
        }
        answer.others = players_;
    } else {
        ++dropped_;
    }
    return answer;
}

void SessionJoiner::Receive(std::span<const std::uint8_t> bytes, std::vector<NetEvent>& events) {
    const auto frame = ParseFrame(bytes);
    if (!frame) {
        ++dropped_;
        return;
    }
    const auto find = [&](std::uint32_t id) {
        return std::find_if(players_.begin(), players_.end(),
                            [&](const NetPlayer& p) { return p.id == id; });
    };
    switch (frame->kind) {
    case FrameKind::PlayerAdded:
        if (frame->player.id == 0 || frame->player.id == localId_ ||
            find(frame->player.id) != players_.end())
            break;
        players_.push_back(frame->player);
        events.push_back({NetEvent::Kind::PlayerAdded, frame->player, {}});
        return;
    case FrameKind::PlayerRemoved: {
        const auto player = find(frame->id);
        if (player == players_.end()) break;
        events.push_back({NetEvent::Kind::PlayerRemoved, *player, {}});
        players_.erase(player);
        return;
    }
    case FrameKind::Data: {
        const auto sender = find(frame->id);
        if (sender == players_.end()) break;
        // Sent again after a change of host, and applied before: nothing to do.
        if (!sequences_.Accept(frame->id, frame->sequence)) return;
        events.push_back({NetEvent::Kind::Message, *sender,
                          std::vector<std::uint8_t>(frame->message.begin(), frame->message.end())});
        return;
    }
    case FrameKind::Roster:
        if (frame->sessionId != sessionId_) break;
        roster_ = frame->roster;
        rosterUpdated_ = true;
        return;
    default:
        break;
    }
    ++dropped_;
}

bool SessionJoiner::TakeRosterUpdate() {
    const bool updated = rosterUpdated_;
    rosterUpdated_ = false;
    return updated;
}

std::vector<std::uint32_t> SessionJoiner::HostLeft(std::uint32_t hostId,
                                                   std::vector<NetEvent>& events) {
    PlayerGone(hostId, events);
    std::vector<std::uint32_t> ids;
    for (const NetPlayer& player : players_) ids.push_back(player.id);
    return ids;
}

void SessionJoiner::PlayerGone(std::uint32_t id, std::vector<NetEvent>& events) {
    const auto player = std::find_if(players_.begin(), players_.end(),
                                     [&](const NetPlayer& p) { return p.id == id; });
    if (player == players_.end()) return;
    events.push_back({NetEvent::Kind::PlayerRemoved, *player, {}});
    players_.erase(player);
}

std::vector<std::uint8_t> SessionJoiner::Rejoin() const {
    ControlFrame rejoin;
    rejoin.kind = FrameKind::Rejoin;
    rejoin.sessionId = sessionId_;
    rejoin.id = localId_;
    return EncodeFrame(rejoin);
}

void SessionJoiner::HostLost(std::vector<NetEvent>& events) {
    for (const NetPlayer& player : players_)
        events.push_back({NetEvent::Kind::PlayerRemoved, player, {}});
    players_.clear();
}
