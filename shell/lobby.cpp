#include "shell/lobby.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/clock.h"
#include "platform/message_box.h"
#include "shell/automation_run.h"
#include "shell/form_services.h"
#include "shell/game_digest.h"
#include "shell/lobby_pad.h"
#include "shell/lobby_view.h"
#include "shell/net_game.h"
#include "shell/net_session.h"
#include "shell/recent_hosts.h"
#include "shell/screen_flow.h"
#include "shell/router_mapping.h"
#include "shell/shell_state.h"
#include "world/world.h"

namespace {

constexpr std::int32_t kLobbyRefreshMs = 500;

void changed() {
    ++lobbyView.revision;
}

void showItems(std::vector<std::string> items, std::int32_t selected = -1) {
    lobbyView.items = std::move(items);
    lobbyView.selected = selected;
    changed();
}

bool hasSelection() {
    return lobbyView.selected >= 0 &&
           lobbyView.selected < static_cast<std::int32_t>(lobbyView.items.size());
}

// Each session's name, marked when it plays another game than this one.
std::vector<std::string> sessionNames(const TDGCPlay& comm) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < comm.Sessions.size(); ++i) {
        std::string name = comm.Sessions[i].name;
        if (i < comm.SessionDifferences.size() && !comm.SessionDifferences[i].empty())
            name += " (" + comm.SessionDifferences[i] + ")";
        names.push_back(std::move(name));
    }
    return names;
}

// The players of the session without "All".
std::vector<std::string> playerNames(const TDGCPlay& comm) {
    std::vector<std::string> names;
    for (std::size_t i = 1; i < comm.PlayerLongNames.size(); ++i)
        names.push_back(comm.PlayerLongNames[i].name);
    return names;
}

// A joiner numbers the players it finds as the host did: the host 0, then
// in the order they joined, itself last; later joiners follow.
void numberPlayersFound(const TDGCPlay& comm) {
    const std::int32_t found = static_cast<std::int32_t>(comm.PlayerLongNames.size()) - 1;
    lastPlayer = std::clamp(found - 1, 0, kPlayerCount - 1);
    for (std::int32_t k = 0; k <= lastPlayer; ++k)
        players[k].PlayerId = static_cast<std::int32_t>(comm.PlayerLongNames[k + 1].id);
    netState.HostId = comm.PlayerLongNames.size() > 1 ? comm.PlayerLongNames[1].id : 0;
}

// The start of the handshake: every record waits for its answer but the host's own.
void pressGo(TDGCPlay& comm) {
    netState.LobbyPhase = kLobbyStarting;
    netState.GoPressed = true;
    comm.CloseSession();
    localPlayer = 0;
    const std::int32_t tick = GetTickCount();
    for (std::int32_t k = 0; k <= lastPlayer; ++k) {
        players[k].PingStart = tick;
        players[k].PingAnswered = 0;
    }
    players[0].PingStart = 0;
    players[0].PingAnswered = 1;
    SendGameMessage(0, StartRequestMessage{});
}

std::int32_t providerIndex(const std::string& name) {
    if (name.empty()) return lobbyView.items.empty() ? -1 : 0;
    const auto found = std::find(lobbyView.items.begin(), lobbyView.items.end(), name);
    return found == lobbyView.items.end()
               ? -1
               : static_cast<std::int32_t>(found - lobbyView.items.begin());
}

// --net-provider, --net-create, --net-join [INDEX] and --net-go-at N, done
// through the same clicks as the player's.
void runLobbyAutomation(TDGCPlay& comm) {
    const NetRunOptions& o = CurrentAutomation().net;
    if (!o.create && !o.joinIndex) return;
    switch (netState.LobbyPhase) {
    case kLobbyChooseTransport: {
        if (netState.ProviderChosen) return;
        netState.ProviderChosen = true;
        const std::int32_t index = providerIndex(o.provider);
        if (index < 0) {
            std::fprintf(stderr, "--net-provider %s: no such transport\n", o.provider.c_str());
            return;
        }
        lobbyView.selected = index;
        changed();
        if (o.create)
            NewGameClick();
        else
            JoinGameClick();
        break;
    }
    case kLobbyChooseSession: {
        if (netState.JoinTried) return;
        const std::int32_t wanted = std::max(*o.joinIndex, 0);
        // No such session yet: list again at the lobby's pace.
        const std::int32_t tick = GetTickCount();
        if (wanted >= comm.SessionCount &&
            TickDifference(netState.LastSend, tick) > kLobbyRefreshMs) {
            netState.LastSend = tick;
            comm.EnumSessions();
            showItems(sessionNames(comm));
        }
        if (wanted >= comm.SessionCount) return;
        netState.JoinTried = true;
        lobbyView.selected = wanted;
        changed();
        JoinGameClick();
        break;
    }
    case kLobbyInSession:
        if (netState.IsHost && o.goAt > 0 && !netState.GoPressed &&
            static_cast<std::int32_t>(lobbyView.items.size()) >= o.goAt)
            NewGameClick();
        break;
    default:
        break;
    }
}

// Phase 0: a fresh session named after the player, both buttons as at
// the start, and the transports listed.
void showTransports() {
    TDGCPlay& comm = OpenCommSession();
    comm.LongName = shellState.Nickname;
    comm.ShortName = shellState.Nickname;
    comm.Identity = LocalGameIdentity();
    netState.LobbyPhase = kLobbyChooseTransport;
    lobbyView.joinGame = {"Join Game", true, true};
    lobbyView.newGame = {"Create Game", true, true};
    lobbyView.portMappingEnabled = true;
    lobbyView.mappingLine.clear();
    showItems(comm.Providers);
    netState.LastSend = GetTickCount();
}

// Leaves the session and its numbering for the list of transports, from
// where another game can be created or joined. The scripted clicks are not
// done again.
void returnToTransports() {
    const NetState kept = netState;
    CloseCommSession();
    netState.ProviderChosen = kept.ProviderChosen;
    netState.JoinTried = kept.JoinTried;
    netState.GoPressed = kept.GoPressed;
    netState.Counters = kept.Counters;
    for (PlayerRecord& p : players) {
        p.PlayerId = 0;
        p.PingStart = 0;
        p.PingAnswered = 0;
    }
    localPlayer = 0;
    lastPlayer = 0;
    showTransports();
}

// A joiner whose host has gone before the start can never start: it is
// told and goes back to the transports.
void returnToTransportsAfterHostLeft() {
    returnToTransports();
    // Last: the window keeps running frames while the box is open, and they
    // must find the lobby already back at the transports.
    ShowMessageBox("The host has left the game.");
}

} // namespace

void OpenNetworkLobby() {
    ShellState& s = shellState;
    netState.LobbyPhase = kLobbyChooseTransport;
    // The prompt comes before frame 1: that frame's scripted answers are queued now.
    QueueFirstFrameAnswers();
    const std::string& given = CurrentAutomation().net.nickname;
    if (!given.empty()) {
        s.Nickname = given;
    } else if (const auto answer =
                   FormAskText("Network game", "Please enter your Nickname:", s.Nickname)) {
        s.Nickname = *answer;
    }
    InstallNetGameServices();
    lobbyView.panelVisible = true;
    lobbyView.portMapping = InitialPortMappingChoice();
    showTransports();
    SetCommPanelVisible(true);
}

void NewGameClick() {
    TDGCPlay* comm = CommSession();
    if (!comm) return;
    if (netState.LobbyPhase == kLobbyChooseTransport) {
        if (!hasSelection()) return;
        const auto clickedAt = std::chrono::steady_clock::now();
        comm->GameName = "Kelvane - " + comm->LongName;
        comm->Connect(lobbyView.items[static_cast<std::size_t>(lobbyView.selected)], true);
        // A session that could not be created leaves the lobby where it
        // was, so another transport can be tried.
        if (!comm->InSession()) return;
        netState.IsHost = true;
        lastPlayer = 0;
        players[0].PlayerId = static_cast<std::int32_t>(comm->LocalPlayerId);
        lobbyView.newGame.caption = "Go";
        lobbyView.joinGame.enabled = false;
        // The router is asked on a worker thread: the lobby goes on at once.
        StartRouterMapping(comm->GamePort(), lobbyView.portMapping, clickedAt);
        lobbyView.portMappingEnabled = false;
        lobbyView.mappingLine = RouterMappingLine();
        netState.LobbyPhase = kLobbyInSession;
        showItems(playerNames(*comm));
        netState.LastSend = GetTickCount();
    } else if (netState.LobbyPhase == kLobbyInSession && netState.IsHost) {
        // Alone, the host would wait for answers that never come.
        if (lastPlayer < 1) return;
        pressGo(*comm);
        changed();
    }
}

void JoinGameClick() {
    TDGCPlay* comm = CommSession();
    if (!comm || !hasSelection()) return;
    if (netState.LobbyPhase == kLobbyChooseTransport) {
        comm->Connect(lobbyView.items[static_cast<std::size_t>(lobbyView.selected)], false);
        netState.LobbyPhase = kLobbyChooseSession;
        lobbyView.newGame.enabled = false;
        lobbyView.portMappingEnabled = false; // only a host asks its router
        showItems(sessionNames(*comm));
        netState.LastSend = GetTickCount();
    } else if (netState.LobbyPhase == kLobbyChooseSession) {
        const std::size_t index = static_cast<std::size_t>(lobbyView.selected);
        if (index >= comm->Sessions.size()) return;
        comm->JoinSession(comm->Sessions[index].id);
        // Refused (full, closed, gone, another game): stay in the list of sessions.
        if (!comm->InSession()) return;
        // Reached by address: offered first the next time the address is asked.
        if (index < comm->ListedSessions().size() && comm->ListedSessions()[index].id == 0)
            SaveRecentHost(comm->ListedSessions()[index].name);
        numberPlayersFound(*comm);
        netState.LobbyPhase = kLobbyInSession;
        showItems(playerNames(*comm));
        netState.LastSend = GetTickCount();
    }
}

void LeaveLobbySession() {
    // Once the start is under way the session is already closed for play.
    if (netState.LobbyPhase != kLobbyChooseSession && netState.LobbyPhase != kLobbyInSession)
        return;
    returnToTransports();
}

void PortMappingClick(bool checked) {
    if (!lobbyView.portMappingEnabled) return;
    lobbyView.portMapping = checked;
    shellState.PortMapping = checked;
    changed();
}

void LobbyRefresh() {
    DispatchNetEvents();
    // The session is replaced only here, outside its own event dispatch.
    if (netState.HostLeft && shellState.NetworkLobby) returnToTransportsAfterHostLeft();
    TDGCPlay* comm = CommSession();
    if (!comm || !shellState.NetworkLobby) return;
    if (std::string line = RouterMappingLine(); line != lobbyView.mappingLine) {
        lobbyView.mappingLine = std::move(line);
        changed();
    }
    // The frame clock stands still while the lobby is shown: the tick counter paces it.
    const std::int32_t tick = GetTickCount();
    if (netState.LobbyPhase == kLobbyInSession &&
        TickDifference(netState.LastSend, tick) > kLobbyRefreshMs) {
        netState.LastSend = tick;
        std::vector<std::string> names = playerNames(*comm);
        if (names != lobbyView.items) {
            const std::int32_t kept = lobbyView.selected;
            const bool keeps = kept >= 0 && kept < static_cast<std::int32_t>(names.size());
            showItems(std::move(names), keeps ? kept : -1);
        }
    }
    LobbyPadStep();
    if (CommSession()) runLobbyAutomation(*CommSession());
}

void CommAddPlayer(std::int32_t id, const std::string&, const std::string&) {
    // Players are numbered in the lobby only; the session is closed at Go.
    if (!shellState.NetworkLobby || lastPlayer >= kPlayerCount - 1) return;
    lastPlayer += 1;
    players[lastPlayer].PlayerId = id;
    players[lastPlayer].PingAnswered = 0;
}

void CommDeletePlayer(std::int32_t id, const std::string& longName, const std::string&) {
    // In play a player who leaves stays as a record frozen at its last state.
    if (!shellState.NetworkLobby) return FreezeLeaver(id, longName);
    if (!netState.IsHost && netState.LobbyPhase >= kLobbyInSession &&
        static_cast<std::uint32_t>(id) == netState.HostId) {
        netState.HostLeft = true;
        return;
    }
    for (std::int32_t k = 1; k <= lastPlayer; ++k) {
        if (players[k].PlayerId != id) continue;
        if (netState.LobbyPhase == kLobbyStarting) {
            // Gone while starting: it will never answer; do not wait for it.
            if (players[k].PingAnswered) return;
            players[k].PingStart = 0;
            players[k].PingAnswered = 1;
            FinishStartWhenAllAnswered();
            return;
        }
        // Before the start the others move up, so the numbers stay 1, 2, 3.
        for (std::int32_t j = k; j < lastPlayer; ++j) {
            players[j].PlayerId = players[j + 1].PlayerId;
            players[j].PingStart = players[j + 1].PingStart;
            players[j].PingAnswered = players[j + 1].PingAnswered;
        }
        players[lastPlayer].PlayerId = 0;
        lastPlayer -= 1;
        return;
    }
}

void CommHostChanged(std::int32_t id) {
    // Before the start a host that leaves ends the session (CommDeletePlayer).
    if (shellState.NetworkLobby) return;
    for (std::int32_t k = 0; k <= std::min(lastPlayer, kPlayerCount - 1); ++k)
        if (players[k].PlayerId == id) netState.HostPlayer = k;
    netState.HostId = static_cast<std::uint32_t>(id);
    netState.Migrated = true;
    const TDGCPlay* comm = CommSession();
    netState.IsHost = comm && comm->LocalPlayerId == static_cast<std::uint32_t>(id);
}
