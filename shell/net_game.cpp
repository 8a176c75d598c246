#include "shell/net_game.h"

#include <algorithm>
#include <span>
#include <string>
#include <variant>

#include "engine/angles.h"
#include "platform/clock.h"
#include "shell/form_services.h"
#include "shell/lobby_view.h"
#include "shell/net_session.h"
#include "shell/play_screen.h"
#include "shell/screen_flow.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "world/behaviours.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/level_state.h"
#include "world/world.h"

namespace {

PlayerRecord& localRecord() {
    return players[std::clamp(localPlayer, 0, kPlayerCount - 1)];
}

char letterOf(std::int32_t code) {
    switch (code) {
    case kEventDig:
        return 'd';
    case kEventPush:
        return 'e';
    case kEventLever:
        return 'f';
    case kEventIngot:
        return 'g';
    case kEventTimer:
        return 'h';
    case kEventExtraLife:
        return 'i';
    case kEventLight:
        return 'j';
    default:
        return 0;
    }
}

// Leaves the lobby for the first level, as a start without the lobby would
// have begun the game.
void leaveLobbyAndStart() {
    ShellState& s = shellState;
    s.NetworkLobby = false;
    lobbyView.panelVisible = false;
    ++lobbyView.revision;
    SetCommPanelVisible(false);
    if (!s.Initialised) {
        if (!InitialiseGame()) {
            RequestProgramEnd(0);
            return;
        }
        s.ScreenState = kScreenNone;
        ResetFrameClock();
        s.Initialised = true;
    }
    // The network game is a new game: without lives the first death would
    // end it and leave this machine on the title screen.
    localRecord().levelIndex = 0;
    localRecord().lives = kNewGameLives;
    EnterFirstScreen();
    s.ActivatedOnce = true;
    netState.LastSend = Now;
    ShowStatusMessage("Network refresh interval: " + std::to_string(s.RefreshInterval) + " ms");
}

bool inLobbyAs(bool host, std::int32_t phase) {
    return shellState.NetworkLobby && netState.IsHost == host && netState.LobbyPhase == phase;
}

// Whether the records are numbered as the sessions's players are, so that a
// player number can be checked against the sender.
bool numberingKnown() {
    const TDGCPlay* comm = CommSession();
    return comm && comm->LocalPlayerId != 0 &&
           localRecord().PlayerId == static_cast<std::int32_t>(comm->LocalPlayerId);
}

bool sentBy(std::int32_t player, std::int32_t from) {
    if (!numberingKnown() || players[player].PlayerId == 0) return true;
    return players[player].PlayerId == from;
}

void actorBusy(PlayerRecord& actor, std::int32_t busyMs, std::int32_t blendMs) {
    actor.pose = kPoseAction;
    actor.busyMs = busyMs;
    actor.poseBlendMs = blendMs;
}

// A thing taken by another player: its sound where he is, and the cell
// emptied when it still holds that thing (two players may take it at once).
void takenRemotely(const WorldEventMessage& e, PlayerRecord& actor) {
    const ObjectType& type = objectTypes[static_cast<std::size_t>(e.argument)];
    TriggerSound(RoundEven(actor.x), RoundEven(actor.y), RoundEven(actor.z), type.ActionSound,
                 type.ActionVolume);
    if (cellAt(e.cellX, e.cellY, e.cellZ) != e.argument) return;
    if (e.letter == 'g')
        TakeIngot(e.cellX, e.cellY, e.cellZ); // the door opens after the last one
    else
        setCell(e.cellX, e.cellY, e.cellZ, 0);
}

void applyWorldEvent(const WorldEventMessage& e) {
    PlayerRecord& actor = players[e.player];
    switch (e.letter) {
    case 'd':
        digHole(e.cellX, e.cellY, e.cellZ, e.argument);
        actorBusy(actor, 500, 250);
        break;
    case 'e':
        pushBlock(e.cellX, e.cellY, e.cellZ, e.argument);
        actorBusy(actor, 500, 100);
        break;
    case 'f':
        operateLever(e.cellX, e.cellY, e.cellZ);
        actorBusy(actor, 300, 100);
        break;
    case 'g':
        takenRemotely(e, actor);
        ShowStatusMessage(std::to_string(e.player) + ": X=" + std::to_string(RoundEven(actor.x)) +
                          " Z=" + std::to_string(RoundEven(actor.z)));
        break;
    case 'h': {
        takenRemotely(e, actor);
        const ObjectType& type = objectTypes[static_cast<std::size_t>(e.argument)];
        timerRunning = 1;
        timeLeftMs = SaturateToInt32(std::int64_t{timeLeftMs} + type.TimerDuration);
        break;
    }
    case 'i':
        takenRemotely(e, actor); // the life counts on the taker's machine only
        break;
    case 'j':
        takenRemotely(e, actor);
        actor.lightTarget = actor.lightTarget == 5000.0f ? 2000.0f : 5000.0f;
        break;
    default:
        break;
    }
}

void applyPlayerState(const PlayerStateMessage& m) {
    PlayerRecord& p = players[m.player];
    p.x = m.x;
    p.y = m.y;
    p.z = m.z;
    p.heading = m.heading;
    p.vx = m.vx;
    p.vy = m.vy;
    p.vz = m.vz;
    p.turnRate = m.turnRate;
    p.pose = m.pose;
    p.poseBlendMs = m.poseBlendMs;
}

void applySentryPosition(const SentryPositionMessage& m) {
    SentryRecord& e = sentries[m.sentry];
    e.x = m.x;
    e.y = m.y;
    e.z = m.z;
    e.heading = m.heading;
}

// Returns false when the message does not belong here and now.
struct Apply {
    std::int32_t from;

    bool operator()(const StartRequestMessage&) const {
        if (!inLobbyAs(false, kLobbyInSession) ||
            static_cast<std::uint32_t>(from) != netState.HostId)
            return false;
        SendGameMessage(static_cast<std::uint32_t>(from), StartAnswerMessage{});
        return true;
    }
    bool operator()(const StartAnswerMessage&) const {
        if (!inLobbyAs(true, kLobbyStarting)) return false;
        bool answered = false;
        const std::int32_t tick = GetTickCount();
        for (std::int32_t k = 1; k <= lastPlayer; ++k) {
            PlayerRecord& p = players[k];
            if (p.PlayerId != from || p.PingAnswered) continue;
            p.PingStart = std::max(TickDifference(p.PingStart, tick), 0);
            p.PingAnswered = 1;
            answered = true;
        }
        if (answered) FinishStartWhenAllAnswered();
        return answered;
    }
    bool operator()(const GameStartMessage& m) const {
        if (!inLobbyAs(false, kLobbyInSession) ||
            static_cast<std::uint32_t>(from) != netState.HostId)
            return false;
        localPlayer = m.localPlayer;
        lastPlayer = m.lastPlayer;
        shellState.RefreshInterval = m.refreshInterval;
        leaveLobbyAndStart();
        return true;
    }
    bool operator()(const PlayerStateMessage& m) const {
        if (shellState.NetworkLobby || !sentBy(m.player, from)) return false;
        applyPlayerState(m);
        return true;
    }
    bool operator()(const WorldEventMessage& m) const {
        if (shellState.NetworkLobby || !sentBy(m.player, from)) return false;
        applyWorldEvent(m);
        return true;
    }
    bool operator()(const SentryPositionMessage& m) const {
        if (shellState.NetworkLobby) return false;
        applySentryPosition(m);
        return true;
    }
};

} // namespace

void InstallNetGameServices() {
    gameServices.sendEvent = [](std::int32_t code, std::int32_t x, std::int32_t y, std::int32_t z,
                                std::int32_t value) {
        if (const char letter = letterOf(code)) SendWorldEvent(letter, x, y, z, value);
    };
}

GameMessageContext CurrentMessageContext(char named) {
    GameMessageContext context;
    context.localPlayer = localPlayer;
    context.lastPlayer = lastPlayer;
    context.level = localRecord().levelIndex;
    context.sizeX = worldGrid.sizeX;
    context.sizeY = worldGrid.sizeY;
    context.sizeZ = worldGrid.sizeZ;
    context.sentryCount = std::clamp(sentryCount, 0, kSentrySlots - 1);
    for (std::size_t t = 0; t < context.takeLetter.size(); ++t) {
        const ObjectType& type = objectTypes[t];
        if (type.undefined) continue;
        const bool gives[] = {type.Lingot != 0, type.Timer != 0, type.OneUp != 0, type.Light != 0};
        for (int i = 3; i >= 0; --i)
            if (gives[i]) context.takeLetter[t] = static_cast<char>('g' + i);
        if (named >= 'g' && named <= 'j' && gives[named - 'g']) context.takeLetter[t] = named;
    }
    return context;
}

void CommGameMessage(std::int32_t from, std::int32_t msgType, const std::uint8_t* gameMsg) {
    HandleGameMessage(from, msgType, gameMsg);
}

void HandleGameMessage(std::int32_t from, std::int32_t, const std::uint8_t* gameMsg) {
    GameMessageCounters& counters = netState.Counters;
    ++counters.received;
    if (!gameMsg) return counters.Ignore(IgnoreReason::WrongSize);
    constexpr std::size_t kLetterAt = 5;
    const DecodedGameMessage decoded =
        DecodeGameMessage(std::span(gameMsg, kNetMessageSize),
                          CurrentMessageContext(static_cast<char>(gameMsg[kLetterAt])));
    if (!decoded.message) return counters.Ignore(decoded.reason);
    if (!std::visit(Apply{from}, *decoded.message)) counters.Ignore(IgnoreReason::Unexpected);
}

std::int32_t RefreshIntervalFor(std::int32_t largestRoundTripMs) {
    const std::int64_t scaled = (std::int64_t{std::max(largestRoundTripMs, 0)} * 12 + 5) / 10;
    return static_cast<std::int32_t>(std::min<std::int64_t>(scaled, kMaxRefreshIntervalMs));
}

void FinishStartWhenAllAnswered() {
    std::int32_t largest = 0;
    for (std::int32_t k = 0; k <= lastPlayer; ++k) {
        if (!players[k].PingAnswered) return;
        largest = std::max(largest, players[k].PingStart);
    }
    shellState.RefreshInterval = RefreshIntervalFor(largest);
    for (std::int32_t k = 1; k <= lastPlayer; ++k)
        SendGameMessage(static_cast<std::uint32_t>(players[k].PlayerId),
                        GameStartMessage{k, lastPlayer, shellState.RefreshInterval});
    leaveLobbyAndStart();
}

void SendPlayerState() {
    if (lastPlayer <= 0 || TickDifference(netState.LastSend, Now) <= shellState.RefreshInterval)
        return;
    netState.LastSend = Now;
    const PlayerRecord& p = localRecord();
    PlayerStateMessage state;
    state.player = localPlayer;
    state.level = p.levelIndex;
    state.x = p.x;
    state.y = p.y;
    state.z = p.z;
    state.heading = p.heading;
    state.vx = p.vx;
    state.vy = p.vy;
    state.vz = p.vz;
    state.turnRate = p.turnRate;
    state.pose = p.pose;
    state.poseBlendMs = p.poseBlendMs;
    SendGameMessage(0, state);
    const std::int32_t count = std::clamp(sentryCount, 0, kSentrySlots - 1);
    for (std::int32_t i = 1; i <= count; ++i) {
        const SentryRecord& e = sentries[i];
        SendGameMessage(0, SentryPositionMessage{i, p.levelIndex, e.x, e.y, e.z, e.heading});
    }
}

void SendWorldEvent(char letter, std::int32_t x, std::int32_t y, std::int32_t z,
                    std::int32_t argument) {
    if (lastPlayer <= 0) return;
    WorldEventMessage event;
    event.player = localPlayer;
    event.letter = letter;
    event.level = localRecord().levelIndex;
    event.cellX = x;
    event.cellY = y;
    event.cellZ = z;
    event.argument = argument;
    SendGameMessage(0, event);
}

bool DecidesSentries() {
    return localPlayer == netState.HostPlayer;
}

void FreezeLeaver(std::int32_t id, const std::string& longName) {
    for (std::int32_t k = 0; k <= std::min(lastPlayer, kPlayerCount - 1); ++k) {
        PlayerRecord& p = players[k];
        if (k == localPlayer || p.PlayerId != id) continue;
        // No state follows: the last one must not carry it on for ever.
        p.vx = 0;
        p.vz = 0;
        p.turnRate = 0;
    }
    // The host's leaving is news: the game goes on with another. A joiner
    // goes without a word.
    if (static_cast<std::uint32_t>(id) == netState.HostId)
        ShowStatusMessage(longName + " has left the game.");
}
