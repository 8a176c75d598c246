// The game's one network session and what the shell keeps about it: the
// transports the window offers, the lobby's phase, who hosts, and the
// counters of game messages. The window installs the providers at start-up;
// the session is created when the lobby opens and lives until the program
// ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/game_messages.h"
#include "net/session_component.h"

enum LobbyPhaseValue : std::int32_t {
    kLobbyChooseTransport = 0,
    kLobbyChooseSession = 1,
    kLobbyInSession = 2,
    kLobbyStarting = 3,
};

struct NetState {
    std::int32_t LobbyPhase = kLobbyChooseTransport;
    // The last lobby refresh (tick count) and, in play, the last state send (Now).
    std::int32_t LastSend = 0;
    bool IsHost = false;
    std::uint32_t HostId = 0; // on a joiner: the session identifier of the host
    // In play: the player number of the machine hosting the session, which
    // alone decides where the sentries go, and whether it took over from a
    // host that left.
    std::int32_t HostPlayer = 0;
    bool Migrated = false;
    // On a joiner in the lobby: the host has gone (or its connection is lost).
    bool HostLeft = false;
    // Automation: each scripted click is done once.
    bool ProviderChosen = false;
    bool JoinTried = false;
    bool GoPressed = false;
    GameMessageCounters Counters;
};

extern NetState netState;

// The transports the lobby lists; the window calls this before the lobby opens.
void InstallNetProviders(std::vector<NetProvider> providers);
// The session, created on first use with the game's settings (name
// "Kelvane", four players, 1000 ms to list sessions) and its failures shown
// in a message box. Null before.
TDGCPlay& OpenCommSession();
TDGCPlay* CommSession();
// Leaves the session at once and forgets it and the network state (program end).
void CloseCommSession();
// Applies what has arrived since the last frame; once per frame.
void DispatchNetEvents();

// Sends a game message to one player, or to all with `to` 0, on the channel
// its kind asks for, and counts it.
void SendGameMessage(std::uint32_t to, const GameMessage& message);

// The network keys of the state dump ("" without a session).
std::string DescribeNetState();
