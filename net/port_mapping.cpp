#include "net/port_mapping.h"

#include <algorithm>
#include <mutex>
#include <optional>

struct PortMappingAnswer {
    std::mutex lock;
    std::optional<PortMappingResult> result;
};

namespace {

// The worker's own budget is the mappers'; the poll gives it this much more
// before it says "no answer", for a mapper that overruns a little.
constexpr std::int32_t kPollGraceMs = 250;

using Clock = std::chrono::steady_clock;

std::int64_t msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

const PortMapper* mapperNamed(const std::vector<PortMapper>& mappers, const std::string& name) {
    const auto found = std::find_if(mappers.begin(), mappers.end(),
                                    [&name](const PortMapper& m) { return m.name == name; });
    return found == mappers.end() ? nullptr : &*found;
}

} // namespace

const char* PortMappingStatusName(PortMappingStatus status) {
    switch (status) {
    case PortMappingStatus::Off:
        return "off";
    case PortMappingStatus::Trying:
        return "trying";
    case PortMappingStatus::Mapped:
        return "mapped";
    case PortMappingStatus::Failed:
        return "failed";
    }
    return "off";
}

PortMappingResult TryPortMappers(const std::vector<PortMapper>& mappers, std::uint16_t port,
                                 std::uint32_t lifetimeS, std::int32_t budgetMs) {
    const Clock::time_point start = Clock::now();
    PortMappingResult outcome;
    std::string failures;
    for (const PortMapper& mapper : mappers) {
        const std::int64_t left = budgetMs - msSince(start);
        if (left <= 0) {
            failures += (failures.empty() ? "" : "; ") + mapper.name + ": no time left";
            continue;
        }
        const std::int32_t allowed = static_cast<std::int32_t>(
            mapper.shareMs > 0 ? std::min<std::int64_t>(mapper.shareMs, left) : left);
        PortMappingResult tried =
            mapper.map ? mapper.map(port, lifetimeS, allowed) : PortMappingResult{};
        if (tried.mapped) {
            tried.method = mapper.name;
            tried.failure.clear();
            return tried;
        }
        failures += (failures.empty() ? "" : "; ") + mapper.name + ": " +
                    (tried.failure.empty() ? "not mapped" : tried.failure);
    }
    outcome.failure = mappers.empty() ? "no way to reach the router" : failures;
    return outcome;
}

PortMappingRun::~PortMappingRun() {
    EndPortMapping(*this);
}

void StartPortMapping(PortMappingRun& run, std::vector<PortMapper> mappers, std::uint16_t port,
                      std::int32_t budgetMs, std::uint32_t lifetimeS) {
    EndPortMapping(run);
    run.port = port;
    run.budgetMs = budgetMs;
    run.started = Clock::now();
    run.answerMs = -1;
    run.result = {};
    run.mappers = std::move(mappers);
    if (run.mappers.empty()) {
        run.status = PortMappingStatus::Failed;
        run.result.failure = "no way to reach the router";
        run.answerMs = 0;
        return;
    }
    run.status = PortMappingStatus::Trying;
    run.answer = std::make_shared<PortMappingAnswer>();
    // The worker has its own copy of the mappers and the shared answer, so
    // nothing it touches goes away while it asks.
    run.worker =
        std::thread([answer = run.answer, mappers = run.mappers, port, lifetimeS, budgetMs] {
            PortMappingResult result = TryPortMappers(mappers, port, lifetimeS, budgetMs);
            const std::lock_guard<std::mutex> hold(answer->lock);
            answer->result = std::move(result);
        });
}

bool PollPortMapping(PortMappingRun& run) {
    if (!run.answer) return false;
    std::optional<PortMappingResult> arrived;
    {
        const std::lock_guard<std::mutex> hold(run.answer->lock);
        arrived.swap(run.answer->result);
    }
    if (arrived) {
        if (run.worker.joinable()) run.worker.join();
        run.answer.reset();
        run.result = std::move(*arrived);
        run.status = run.result.mapped ? PortMappingStatus::Mapped : PortMappingStatus::Failed;
        if (run.answerMs < 0) run.answerMs = msSince(run.started);
        return true;
    }
    if (run.status == PortMappingStatus::Trying &&
        msSince(run.started) > run.budgetMs + kPollGraceMs) {
        run.status = PortMappingStatus::Failed;
        run.result.failure = "no answer within " + std::to_string(run.budgetMs) + " ms";
        run.answerMs = msSince(run.started);
        return true;
    }
    return false;
}

void EndPortMapping(PortMappingRun& run, std::int32_t budgetMs) {
    if (run.worker.joinable()) {
        // The mappers keep to their budget, so this wait is short.
        run.worker.join();
        PollPortMapping(run);
    }
    run.answer.reset();
    if (run.result.mapped) {
        if (const PortMapper* mapper = mapperNamed(run.mappers, run.result.method);
            mapper && mapper->unmap)
            mapper->unmap(run.result, run.port, budgetMs);
    }
    run.status = PortMappingStatus::Off;
    run.result = {};
    run.mappers.clear();
}

std::string PortMappingLine(const PortMappingRun& run) {
    const std::string port = std::to_string(run.port);
    switch (run.status) {
    case PortMappingStatus::Off:
        return run.port ? "Router port mapping off: forward UDP port " + port + " by hand" : "";
    case PortMappingStatus::Trying:
        return "Asking the router to forward UDP port " + port + "...";
    case PortMappingStatus::Mapped: {
        const std::string outside = std::to_string(run.result.publicPort);
        const std::string address = run.result.publicAddress.empty()
                                        ? "(public address unknown) port " + outside
                                        : run.result.publicAddress + ":" + outside;
        return "Public address: " + address + " (" + run.result.method + ")";
    }
    case PortMappingStatus::Failed:
        return "Router port mapping failed: forward UDP port " + port + " by hand";
    }
    return "";
}
