#include "shell/net_session.h"

#include <algorithm>
#include <memory>
#include <sstream>

#include "formats/replay_file.h"
#include "platform/dump_text.h"
#include "platform/message_box.h"
#include "shell/lobby.h"
#include "shell/net_game.h"
#include "shell/recent_hosts.h"
#include "shell/router_mapping.h"
#include "shell/shell_state.h"
#include "world/world.h"
#include "world/world_dump.h"

NetState netState;

namespace {

std::vector<NetProvider> installedProviders;
std::unique_ptr<TDGCPlay> comm;

} // namespace

void InstallNetProviders(std::vector<NetProvider> providers) {
    installedProviders = std::move(providers);
}

TDGCPlay& OpenCommSession() {
    if (comm) return *comm;
    comm = std::make_unique<TDGCPlay>(installedProviders,
                                      [](const std::string& text) { ShowMessageBox(text); });
    comm->GameName = "Kelvane";
    comm->MaxPlayers = kMaxNetPlayers;
    comm->TimeOut = 1000;
    comm->OnAddPlayer = CommAddPlayer;
    comm->OnDeletePlayer = CommDeletePlayer;
    comm->OnGameMessage = CommGameMessage;
    comm->OnHostChanged = CommHostChanged;
    return *comm;
}

TDGCPlay* CommSession() {
    return comm.get();
}

void CloseCommSession() {
    comm.reset();
    // After the peers were told: removing the mapping may wait for the router.
    EndRouterMapping();
    netState = NetState{};
}

void DispatchNetEvents() {
    if (comm) comm->DispatchEvents();
    PollRouterMapping();
}

void SendGameMessage(std::uint32_t to, const GameMessage& message) {
    if (!comm || !comm->InSession()) return;
    const GameMessageBytes bytes = EncodeGameMessage(message);
    comm->SendMessage(to, bytes, DeliveryOf(message));
    ++netState.Counters.sent;
}

std::string DescribeNetState() {
    if (!comm) return "";
    std::ostringstream out;
    auto add = [&out](const std::string& key, const auto& value) {
        out << key << '=' << value << '\n';
    };
    add("net.lobbyPhase", netState.LobbyPhase);
    add("net.isHost", netState.IsHost ? 1 : 0);
    add("net.hostPlayer", netState.HostPlayer);
    add("net.migrated", netState.Migrated ? 1 : 0);
    add("net.refreshInterval", shellState.RefreshInterval);
    add("localPlayer", localPlayer);
    add("lastPlayer", lastPlayer);
    add("comm.playerCount", comm->PlayerCount);
    add("comm.sessionCount", comm->SessionCount);
    for (std::size_t k = 0; k < comm->Sessions.size(); ++k) {
        add("comm.session" + std::to_string(k) + ".id", comm->Sessions[k].id);
        if (k < comm->SessionDifferences.size())
            add("comm.session" + std::to_string(k) + ".difference",
                EscapeDumpText(comm->SessionDifferences[k]));
    }
    add("comm.sessionId", comm->SessionId); // the session joined
    std::string names;
    for (std::size_t i = 1; i < comm->PlayerLongNames.size(); ++i)
        names += (i > 1 ? "," : "") + comm->PlayerLongNames[i].name;
    add("comm.players", EscapeDumpText(names));
    add("comm.dropped", comm->DroppedMessages());
    add("comm.lastFailure", EscapeDumpText(comm->LastFailure()));
    add("net.protocolVersion", comm->Identity.version);
    add("net.definitionsDigest", DigestText(comm->Identity.definitions));
    add("net.levelsDigest", DigestText(comm->Identity.levels));
    const NetTraffic traffic = comm->Traffic();
    add("comm.compressed", traffic.compressed ? 1 : 0);
    add("comm.bytesSent", traffic.bytesSent);
    add("comm.bytesReceived", traffic.bytesReceived);
    std::string recent;
    for (const std::string& host : LoadRecentHosts()) recent += (recent.empty() ? "" : "|") + host;
    add("net.recentHosts", EscapeDumpText(recent));
    const NetGuardCounts guard = comm->GuardCounts();
    add("comm.strangers.silent", guard.silent);
    add("comm.strangers.outOfPlace", guard.outOfPlace);
    add("comm.strangers.madeRoom", guard.madeRoom);
    add("comm.strangers.sameAddress", guard.sameAddress);
    add("comm.probes.answered", guard.probesAnswered);
    add("comm.probes.refused", guard.probesRefused);
    out << DescribeRouterMapping();
    for (int k = 0; k <= std::min(lastPlayer, kPlayerCount - 1); ++k) {
        const PlayerRecord& p = players[k];
        const std::string key = "player" + std::to_string(k);
        add(key + ".id", p.PlayerId);
        add(key + ".x", p.x);
        add(key + ".y", p.y);
        add(key + ".z", p.z);
        add(key + ".heading", p.heading);
        add(key + ".pose", p.pose);
    }
    add("world.cellsHash", GridHash());
    const GameMessageCounters& c = netState.Counters;
    add("net.sent", c.sent);
    add("net.received", c.received);
    for (std::size_t r = 0; r < c.ignored.size(); ++r)
        add("net.ignored." + std::string(IgnoreReasonName(static_cast<IgnoreReason>(r))),
            c.ignored[r]);
    return out.str();
}
