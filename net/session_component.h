// TDGCPlay: the game's network session. It opens a transport by provider
// name, lists, creates or joins sessions, sends 260-byte messages, and keeps
// the player lists ("All" first, identifier 0, then every player). A
// receiving thread queues what arrives; DispatchEvents, called by the
// window's thread between frames, applies it in arrival order and raises
// the three events there, so nothing here is touched from two threads.
// Failures are shown through `ShowFailure` as "<operation> Failed :<code>".
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "net/net_transport.h"

using TDPAddPlayer =
    std::function<void(std::int32_t id, const std::string& longName, const std::string& shortName)>;
using TDPDeletePlayer = TDPAddPlayer;
using TDPGameMessage =
    std::function<void(std::int32_t from, std::int32_t msgType, const std::uint8_t* gameMsg)>;
// The host left during play and the player `id` hosts the session from now on.
using TDPHostChanged = std::function<void(std::int32_t id)>;

// A list entry with the identifier attached.
struct NamedId {
    std::string name;
    std::uint32_t id = 0;
};

class TDGCPlay {
  public:
    // `providers` are the transports there are; `showFailure` shows a
    // failure's text (the game's message box).
    explicit TDGCPlay(std::vector<NetProvider> providers,
                      std::function<void(const std::string&)> showFailure = {});
    ~TDGCPlay();
    TDGCPlay(const TDGCPlay&) = delete;
    TDGCPlay& operator=(const TDGCPlay&) = delete;

    // Published properties.
    std::string GameName;
    std::int32_t MaxPlayers = 2;
    std::string Password;
    TDPAddPlayer OnAddPlayer;
    TDPDeletePlayer OnDeletePlayer;
    TDPGameMessage OnGameMessage;
    TDPHostChanged OnHostChanged;
    std::int32_t TimeOut = 500;
    static const std::string& Version();
    // What this machine plays: a host turns away joiners with another, and
    // a listing marks the sessions that differ.
    NetGameIdentity Identity;

    std::vector<std::string> Providers;
    std::int32_t ProviderCount() const { return static_cast<std::int32_t>(Providers.size()); }
    std::vector<NamedId> Sessions;
    std::int32_t SessionCount = 0;
    // Parallel to Sessions: what differs from this machine's game ("different
    // levels"), empty when the same game or not known (a direct address).
    std::vector<std::string> SessionDifferences;
    std::vector<NamedId> PlayerLongNames;
    std::vector<NamedId> PlayerShortNames;
    std::string LongName;
    std::string ShortName;
    std::uint32_t LocalPlayerId = 0;
    std::uint32_t SessionId = 0;
    std::int32_t PlayerCount = 0;
    // The identifier of the player hosting the session (0 before a session).
    std::uint32_t HostPlayerId = 0;

    void EnumProviders();
    void Connect(const std::string& provider, bool create);
    void EnumSessions();
    void EnumPlayers(std::uint32_t sessionId);
    void JoinSession(std::uint32_t sessionId);
    void CreateSession();
    // Sends exactly kNetMessageSize bytes to a player or, with `to` 0, to all
    // others; any other length is dropped and counted.
    void SendMessage(std::uint32_t to, std::span<const std::uint8_t> message,
                     NetDelivery delivery = NetDelivery::Reliable);
    // On the host: no new players from now on (the game has started).
    void CloseSession();

    // Applies what the receiving thread has queued; the window's thread
    // calls it between frames.
    void DispatchEvents();

    bool InSession() const { return receiving_.joinable(); }
    // The sessions of the last listing as the transport found them, in the
    // order of Sessions (a session reached by address has id 0 and the
    // address as its name, whole).
    const std::vector<NetSessionInfo>& ListedSessions() const { return listed_; }
    // The last failure's text, empty when none.
    const std::string& LastFailure() const { return lastFailure_; }
    // Messages dropped for their length (sent or received), and notifications
    // that changed nothing (a second join, a leave of an unknown player).
    std::uint32_t DroppedMessages() const { return droppedMessages_; }
    std::uint32_t IgnoredNotifications() const { return ignoredNotifications_; }
    // On the host: the connections and probes its transport turned away.
    NetGuardCounts GuardCounts() const {
        return transport_ ? transport_->GuardCounts() : NetGuardCounts{};
    }
    NetTraffic Traffic() const { return transport_ ? transport_->Traffic() : NetTraffic{}; }
    // On the host: the UDP port its session listens on (0 before).
    std::uint16_t GamePort() const { return transport_ ? transport_->GamePort() : 0; }

  private:
    void fail(const std::string& operation, std::uint32_t code);
    void resetPlayerLists();
    void addPlayer(const NetPlayer& player);
    void startReceiving();
    void stopReceiving();
    NetPlayer localNames() const;

    std::vector<NetProvider> providers_;
    std::function<void(const std::string&)> showFailure_;
    std::unique_ptr<NetTransport> transport_;
    std::vector<NetSessionInfo> listed_;

    std::atomic<bool> running_{false};
    std::thread receiving_;
    std::mutex queueLock_;
    std::vector<NetEvent> queue_;
    // The handlers as they were when the session was entered.
    TDPAddPlayer addHandler_;
    TDPDeletePlayer deleteHandler_;
    TDPGameMessage messageHandler_;
    TDPHostChanged hostHandler_;

    std::string lastFailure_;
    std::uint32_t droppedMessages_ = 0;
    std::uint32_t ignoredNotifications_ = 0;
};

// "<operation> Failed :" and the code in upper-case hexadecimal; a refusal
// for another game adds what differs: "Open Failed :8B4E0009 (different levels)".
std::string FailureText(const std::string& operation, std::uint32_t code);
