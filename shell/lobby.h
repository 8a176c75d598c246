// The network lobby: the nickname, the transport and session lists, the two
// buttons through their phases, the list of players while in a session, and
// the scripted clicks of automated runs. It changes `lobbyView`; the window
// shows it and sends the clicks here.
#pragma once

#include <cstdint>
#include <string>

// Entering the lobby screen: the nickname, then the transports listed.
void OpenNetworkLobby();
void NewGameClick();
void JoinGameClick();
// Leaves the session, or the list of sessions, for the list of transports
// (not once the start is under way).
void LeaveLobbySession();
// The port-mapping check box changed: the lobby's choice, kept in kelv.ini.
void PortMappingClick(bool checked);
// Every frame while the lobby is open: the session's events, the player
// list every 500 ms of the tick counter, and the scripted clicks.
void LobbyRefresh();

// The session's events about players.
void CommAddPlayer(std::int32_t id, const std::string& longName, const std::string& shortName);
void CommDeletePlayer(std::int32_t id, const std::string& longName, const std::string& shortName);
// In play, the host left and the player `id` hosts from now on.
void CommHostChanged(std::int32_t id);
