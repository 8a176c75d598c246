// Asking the home router to forward the game's UDP port, so that players on
// the internet can reach a hosted game. The ways of asking (NAT-PMP, UPnP
// IGD) are mappers installed by the program; net/portmap/ holds the ones
// over their libraries, the tests their own. A run tries the mappers in
// order on a worker thread within one budget, so the lobby never waits for
// a router; the window's thread polls it once a frame and removes the
// mapping when the session ends. Nothing here uses a network library.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// The whole time the mappers get to map the port, and how long the router
// keeps the mapping when the program cannot remove it (a crash).
constexpr std::int32_t kPortMappingBudgetMs = 2000;
constexpr std::uint32_t kPortMappingLifetimeS = 3600;
// Removing the mapping at the end of the session waits at most this long.
constexpr std::int32_t kPortUnmappingBudgetMs = 1000;

enum class PortMappingStatus : std::uint8_t { Off, Trying, Mapped, Failed };

// "off", "trying", "mapped", "failed" (the state dump's words).
const char* PortMappingStatusName(PortMappingStatus status);

// What one mapper, or the run, achieved.
struct PortMappingResult {
    bool mapped = false;
    std::string method;        // the mapper that mapped the port
    std::string publicAddress; // the router's public IPv4 address; empty when unknown
    std::uint16_t publicPort = 0;
    std::string failure; // why nothing was mapped, one line
    // What the mapper needs to remove the mapping again (its own text).
    std::string handle;
};

struct PortMapper {
    std::string name; // "NAT-PMP", "UPnP"
    // Maps UDP `port` (the same number outside when the router allows) to
    // this machine for `lifetimeS` seconds, giving up after `budgetMs`.
    std::function<PortMappingResult(std::uint16_t port, std::uint32_t lifetimeS,
                                    std::int32_t budgetMs)>
        map;
    // Removes what `map` achieved, giving up after `budgetMs`.
    std::function<void(const PortMappingResult& mapped, std::uint16_t port, std::int32_t budgetMs)>
        unmap;
    // The most of the run's budget this mapper may take, so that the next
    // one keeps some time (0: all that is left).
    std::int32_t shareMs = 0;
};

// Tries the mappers in order until one maps the port or the budget is
// spent; the failures of all are joined into `failure`. Blocks: the run
// calls it on its worker thread.
PortMappingResult TryPortMappers(const std::vector<PortMapper>& mappers, std::uint16_t port,
                                 std::uint32_t lifetimeS, std::int32_t budgetMs);

// The worker's answer, shared with it so that it may outlive a poll.
struct PortMappingAnswer;

// One session's mapping, owned by the window's thread.
struct PortMappingRun {
    PortMappingStatus status = PortMappingStatus::Off;
    PortMappingResult result; // once mapped or failed
    std::uint16_t port = 0;
    std::int32_t budgetMs = kPortMappingBudgetMs;
    std::chrono::steady_clock::time_point started;
    std::int64_t answerMs = -1; // from the start to the answer (or the budget's end)
    std::vector<PortMapper> mappers;
    std::thread worker;
    std::shared_ptr<PortMappingAnswer> answer;

    PortMappingRun() = default;
    PortMappingRun(const PortMappingRun&) = delete;
    PortMappingRun& operator=(const PortMappingRun&) = delete;
    // Ends the mapping (EndPortMapping) if the owner did not.
    ~PortMappingRun();
};

// Starts mapping `port`: status "trying" at once, the mappers asked on a
// worker thread. A run already started is ended first. Without mappers the
// status is "failed" at once.
void StartPortMapping(PortMappingRun& run, std::vector<PortMapper> mappers, std::uint16_t port,
                      std::int32_t budgetMs = kPortMappingBudgetMs,
                      std::uint32_t lifetimeS = kPortMappingLifetimeS);
// Takes the worker's answer when there is one. With none past the budget
// (and a little grace) the status is "failed" ("no answer"); an answer that
// comes later still counts, so a mapping made late is shown and removed.
// True when the status or result changed.
bool PollPortMapping(PortMappingRun& run);
// The end of the session: waits for a worker still asking, removes the
// mapping it made, and leaves the run "off".
void EndPortMapping(PortMappingRun& run, std::int32_t budgetMs = kPortUnmappingBudgetMs);

// The lobby's line about the mapping: the address to give to friends, or
// what to forward by hand.
std::string PortMappingLine(const PortMappingRun& run);
