#include "net/session_component.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "net/net_frames.h"

namespace {

// How long the receiving thread waits for traffic before it looks at its
// stop flag again.
constexpr std::int32_t kReceiveSliceMs = 20;

std::uint32_t firstValue(const std::vector<std::uint8_t>& data) {
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
           static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

} // namespace

std::string FailureText(const std::string& operation, std::uint32_t code) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(code));
    const std::string difference = GameDifferenceText(code);
    return operation + " Failed :" + digits +
           (difference.empty() ? std::string() : " (" + difference + ")");
}

const std::string& TDGCPlay::Version() {
    static const std::string version =
        "Kelvane session " + std::to_string(kNetProtocolVersion) + ".0 (ENet, compressed)";
    return version;
}

TDGCPlay::TDGCPlay(std::vector<NetProvider> providers,
                   std::function<void(const std::string&)> showFailure)
    : providers_(std::move(providers)), showFailure_(std::move(showFailure)) {
    resetPlayerLists();
    PlayerCount = 0;
    EnumProviders();
}

TDGCPlay::~TDGCPlay() {
    stopReceiving();
    if (transport_) transport_->Leave();
}

void TDGCPlay::fail(const std::string& operation, std::uint32_t code) {
    lastFailure_ = FailureText(operation, code);
    if (showFailure_) showFailure_(lastFailure_);
}

void TDGCPlay::EnumProviders() {
    Providers.clear();
    if (providers_.empty()) return fail("Enum Servers", kNetNoProvider);
    for (const NetProvider& provider : providers_) Providers.push_back(provider.name);
}

void TDGCPlay::Connect(const std::string& provider, bool create) {
    if (!transport_) {
        EnumProviders();
        if (Providers.empty()) return;
        const auto chosen = std::find_if(providers_.begin(), providers_.end(),
                                         [&](const NetProvider& p) { return p.name == provider; });
        if (chosen != providers_.end() && chosen->open) transport_ = chosen->open();
        if (!transport_) return fail("DirectPlay Create", kNetNoProvider);
    }
    if (create)
        CreateSession();
    else
        EnumSessions();
}

void TDGCPlay::EnumSessions() {
    Sessions.clear();
    SessionDifferences.clear();
    listed_.clear();
    SessionCount = 0;
    if (!transport_) return fail("EnumSessions", kNetNoProvider);
    const std::uint32_t code = transport_->ListSessions(Password, TimeOut, listed_);
    if (listed_.size() > kNetMaxSessions) listed_.resize(kNetMaxSessions);
    for (const NetSessionInfo& session : listed_) {
        Sessions.push_back({CutText(session.name, kNetSessionNameMax), session.id});
        SessionDifferences.push_back(session.identityKnown ? GameDifferenceText(CompareGameIdentity(
                                                                 Identity, session.identity))
                                                           : std::string());
    }
    SessionCount = static_cast<std::int32_t>(Sessions.size());
    if (code != kNetOk) fail("EnumSessions", code);
}

void TDGCPlay::EnumPlayers(std::uint32_t sessionId) {
    SessionId = sessionId;
    resetPlayerLists();
    if (!transport_) return fail("EnumPlayers", kNetNoProvider);
    // The players of a session come with the host's welcome (JoinSession).
    PlayerCount = static_cast<std::int32_t>(PlayerLongNames.size());
}

void TDGCPlay::JoinSession(std::uint32_t sessionId) {
    if (InSession()) return fail("Open", kNetSessionClosed);
    EnumPlayers(sessionId);
    if (!transport_) return;
    const auto session = std::find_if(listed_.begin(), listed_.end(),
                                      [&](const NetSessionInfo& s) { return s.id == sessionId; });
    if (session == listed_.end()) return fail("Open", kNetNoSuchSession);

    std::uint32_t localId = 0;
    std::vector<NetPlayer> others;
    transport_->SetGameIdentity(Identity);
    const NetResult result =
        transport_->JoinSession(*session, Password, localNames(), localId, others);
    if (!result.Ok())
        return fail(result.inPlayerCreation ? "Local Player Create" : "Open", result.code);
    LocalPlayerId = localId;
    for (const NetPlayer& player : others) addPlayer(player);
    HostPlayerId = others.empty() ? 0 : others.front().id; // the host lists itself first
    NetPlayer local = localNames();
    local.id = LocalPlayerId;
    addPlayer(local);
    PlayerCount = static_cast<std::int32_t>(PlayerLongNames.size());
    startReceiving();
}

void TDGCPlay::CreateSession() {
    if (InSession()) return fail("DirectPlay Open", kNetSessionClosed);
    if (!transport_) return fail("DirectPlay Open", kNetNoProvider);
    NetSessionParams params{CutText(GameName, kNetSessionNameMax),
                            CutText(Password, kNetPasswordMax), MaxPlayers};
    std::uint32_t localId = 0;
    transport_->SetGameIdentity(Identity);
    const NetResult result = transport_->CreateSession(params, localNames(), localId);
    if (!result.Ok())
        return fail(result.inPlayerCreation ? "Local Player Create" : "DirectPlay Open",
                    result.code);
    LocalPlayerId = localId;
    HostPlayerId = localId;
    resetPlayerLists();
    NetPlayer local = localNames();
    local.id = LocalPlayerId;
    addPlayer(local);
    PlayerCount = 2;
    startReceiving();
}

void TDGCPlay::SendMessage(std::uint32_t to, std::span<const std::uint8_t> message,
                           NetDelivery delivery) {
    if (message.size() != kNetMessageSize) {
        ++droppedMessages_;
        return;
    }
    if (transport_ && InSession()) transport_->Send(to, message, delivery);
}

void TDGCPlay::CloseSession() {
    if (transport_) transport_->CloseToNewPlayers();
}

void TDGCPlay::DispatchEvents() {
    std::vector<NetEvent> events;
    {
        std::lock_guard guard(queueLock_);
        events.swap(queue_);
    }
    for (const NetEvent& event : events) {
        const std::uint32_t id = event.player.id;
        const auto entry = std::find_if(PlayerLongNames.begin(), PlayerLongNames.end(),
                                        [&](const NamedId& p) { return p.id == id; });
        switch (event.kind) {
        case NetEvent::Kind::PlayerAdded:
            if (id == 0 || entry != PlayerLongNames.end()) {
                ++ignoredNotifications_;
                break;
            }
            addPlayer(event.player);
            PlayerCount += 1;
            if (addHandler_)
                addHandler_(static_cast<std::int32_t>(id),
                            CutText(event.player.longName, kNetLongNameMax),
                            CutText(event.player.shortName, kNetShortNameMax));
            break;
        case NetEvent::Kind::PlayerRemoved: {
            if (id == 0 || entry == PlayerLongNames.end()) {
                ++ignoredNotifications_;
                break;
            }
            const std::size_t index = static_cast<std::size_t>(entry - PlayerLongNames.begin());
            const std::string longName = PlayerLongNames[index].name;
            const std::string shortName = PlayerShortNames[index].name;
            PlayerLongNames.erase(PlayerLongNames.begin() + static_cast<std::ptrdiff_t>(index));
            PlayerShortNames.erase(PlayerShortNames.begin() + static_cast<std::ptrdiff_t>(index));
            PlayerCount -= 1;
            if (deleteHandler_) deleteHandler_(static_cast<std::int32_t>(id), longName, shortName);
            break;
        }
        case NetEvent::Kind::HostChanged:
            if (id == 0 || (id != LocalPlayerId && entry == PlayerLongNames.end())) {
                ++ignoredNotifications_;
                break;
            }
            HostPlayerId = id;
            if (hostHandler_) hostHandler_(static_cast<std::int32_t>(id));
            break;
        case NetEvent::Kind::Message:
            if (event.data.size() != kNetMessageSize) {
                ++droppedMessages_;
                break;
            }
            if (messageHandler_)
                messageHandler_(static_cast<std::int32_t>(id),
                                static_cast<std::int32_t>(firstValue(event.data)),
                                event.data.data());
            break;
        }
    }
}

void TDGCPlay::resetPlayerLists() {
    PlayerLongNames.assign(1, {"All", 0});
    PlayerShortNames.assign(1, {"All", 0});
}

void TDGCPlay::addPlayer(const NetPlayer& player) {
    PlayerLongNames.push_back({CutText(player.longName, kNetLongNameMax), player.id});
    PlayerShortNames.push_back({CutText(player.shortName, kNetShortNameMax), player.id});
}

NetPlayer TDGCPlay::localNames() const {
    return {0, CutText(ShortName, kNetShortNameMax), CutText(LongName, kNetLongNameMax)};
}

void TDGCPlay::startReceiving() {
    addHandler_ = OnAddPlayer;
    deleteHandler_ = OnDeletePlayer;
    messageHandler_ = OnGameMessage;
    hostHandler_ = OnHostChanged;
    running_ = true;
    receiving_ = std::thread([this] {
        std::vector<NetEvent> arrived;
        while (running_) {
            transport_->Wait(kReceiveSliceMs, arrived);
            if (arrived.empty()) continue;
            std::lock_guard guard(queueLock_);
            for (NetEvent& event : arrived) queue_.push_back(std::move(event));
            arrived.clear();
        }
    });
}

void TDGCPlay::stopReceiving() {
    running_ = false;
    if (receiving_.joinable()) receiving_.join();
}
