// Router port mapping: the run's states and budget with mappers of the
// test's own, then the NAT-PMP and UPnP mappers against test gateways on
// the loopback (nothing else is ever asked).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "net/port_mapping.h"
#include "net/portmap/natpmp_mapper.h"
#include "net/portmap/upnp_mapper.h"
#include "support/fake_gateways.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::int64_t msSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

// What the test's mappers were asked.
struct Calls {
    std::atomic<int> maps{0};
    std::atomic<int> unmaps{0};
    std::atomic<std::int32_t> lastBudget{0};
};

// A mapper that answers after `delayMs`, mapping or not.
PortMapper testMapper(const std::string& name, bool maps, int delayMs,
                      const std::shared_ptr<Calls>& calls, std::int32_t shareMs = 0) {
    PortMapper mapper;
    mapper.name = name;
    mapper.shareMs = shareMs;
    mapper.map = [=](std::uint16_t port, std::uint32_t, std::int32_t budgetMs) {
        ++calls->maps;
        calls->lastBudget = budgetMs;
        std::this_thread::sleep_for(milliseconds(delayMs));
        PortMappingResult result;
        result.mapped = maps;
        result.publicPort = port;
        result.publicAddress = maps ? "198.51.100.1" : "";
        result.failure = maps ? "" : name + " said no";
        return result;
    };
    mapper.unmap = [calls](const PortMappingResult&, std::uint16_t, std::int32_t) {
        ++calls->unmaps;
    };
    return mapper;
}

// Polls until the status is no longer "trying" or `ms` have passed.
void pollUntilAnswered(PortMappingRun& run, int ms) {
    const Clock::time_point start = Clock::now();
    while (run.status == PortMappingStatus::Trying && msSince(start) < ms) {
        PollPortMapping(run);
        std::this_thread::sleep_for(milliseconds(5));
    }
}

TEST(PortMappers, TheFirstThatMapsWinsAndFailuresAreJoined) {
    auto first = std::make_shared<Calls>();
    auto second = std::make_shared<Calls>();
    auto third = std::make_shared<Calls>();
    const PortMappingResult mapped =
        TryPortMappers({testMapper("A", false, 0, first), testMapper("B", true, 0, second),
                        testMapper("C", true, 0, third)},
                       47801, 3600, 2000);
    EXPECT_TRUE(mapped.mapped);
    EXPECT_EQ(mapped.method, "B");
    EXPECT_EQ(mapped.failure, "");
    EXPECT_EQ(third->maps, 0);

    const PortMappingResult none = TryPortMappers(
        {testMapper("A", false, 0, first), testMapper("B", false, 0, second)}, 47801, 3600, 2000);
    EXPECT_FALSE(none.mapped);
    EXPECT_EQ(none.failure, "A: A said no; B: B said no");
    EXPECT_EQ(TryPortMappers({}, 47801, 3600, 2000).failure, "no way to reach the router");
}

TEST(PortMappers, ASharedBudgetLeavesTimeForTheNextAndNoneBeyondIt) {
    auto first = std::make_shared<Calls>();
    auto second = std::make_shared<Calls>();
    // The first may take at most its share; the second gets what is left.
    TryPortMappers({testMapper("A", false, 100, first, 300), testMapper("B", false, 0, second)},
                   47801, 3600, 1000);
    EXPECT_EQ(first->lastBudget, 300);
    EXPECT_GT(second->lastBudget, 700);
    EXPECT_LE(second->lastBudget, 900);
    // One that overruns the whole budget leaves nothing to the next.
    auto late = std::make_shared<Calls>();
    const PortMappingResult result = TryPortMappers(
        {testMapper("A", false, 150, first), testMapper("B", true, 0, late)}, 47801, 3600, 100);
    EXPECT_FALSE(result.mapped);
    EXPECT_EQ(late->maps, 0);
    EXPECT_NE(result.failure.find("B: no time left"), std::string::npos);
}

TEST(PortMappingRunTest, StartsAtOnceMapsAndRemovesAtTheEnd) {
    auto calls = std::make_shared<Calls>();
    PortMappingRun run;
    EXPECT_EQ(run.status, PortMappingStatus::Off);
    const Clock::time_point start = Clock::now();
    StartPortMapping(run, {testMapper("A", true, 200, calls)}, 47801);
    // The router's answer is not waited for.
    EXPECT_LT(msSince(start), 100);
    EXPECT_EQ(run.status, PortMappingStatus::Trying);
    EXPECT_EQ(PortMappingLine(run), "Asking the router to forward UDP port 47801...");
    pollUntilAnswered(run, 3000);
    ASSERT_EQ(run.status, PortMappingStatus::Mapped);
    EXPECT_EQ(run.result.method, "A");
    EXPECT_EQ(PortMappingLine(run), "Public address: 198.51.100.1:47801 (A)");
    EXPECT_EQ(calls->unmaps, 0);
    EndPortMapping(run);
    EXPECT_EQ(calls->unmaps, 1);
    EXPECT_EQ(run.status, PortMappingStatus::Off);
    // Ending again removes nothing more.
    EndPortMapping(run);
    EXPECT_EQ(calls->unmaps, 1);
}

TEST(PortMappingRunTest, FailuresAreShownWithWhatToForwardByHand) {
    auto calls = std::make_shared<Calls>();
    PortMappingRun run;
    StartPortMapping(run, {testMapper("A", false, 0, calls)}, 47801);
    pollUntilAnswered(run, 3000);
    EXPECT_EQ(run.status, PortMappingStatus::Failed);
    EXPECT_EQ(PortMappingLine(run), "Router port mapping failed: forward UDP port 47801 by hand");
    EndPortMapping(run);
    EXPECT_EQ(calls->unmaps, 0); // nothing was mapped

    // Without any mapper it fails at once.
    StartPortMapping(run, {}, 47801);
    EXPECT_EQ(run.status, PortMappingStatus::Failed);
}

TEST(PortMappingRunTest, ARouterPastTheBudgetFailsButALateMappingIsStillRemoved) {
    auto calls = std::make_shared<Calls>();
    PortMappingRun run;
    // The mapper ignores its budget of 100 ms and answers after 600.
    StartPortMapping(run, {testMapper("A", true, 600, calls)}, 47801, 100);
    pollUntilAnswered(run, 3000);
    EXPECT_EQ(run.status, PortMappingStatus::Failed);
    EXPECT_EQ(run.result.failure, "no answer within 100 ms");
    EXPECT_LT(run.answerMs, 550);
    // The late answer still counts, so the address is shown after all...
    const Clock::time_point start = Clock::now();
    while (run.status != PortMappingStatus::Mapped && msSince(start) < 3000) {
        PollPortMapping(run);
        std::this_thread::sleep_for(milliseconds(5));
    }
    EXPECT_EQ(run.status, PortMappingStatus::Mapped);
    // ...and the mapping is removed at the end.
    EndPortMapping(run);
    EXPECT_EQ(calls->unmaps, 1);
}

TEST(PortMappingRunTest, EndingWhileTheRouterIsAskedRemovesWhatItMapped) {
    auto calls = std::make_shared<Calls>();
    {
        PortMappingRun run;
        StartPortMapping(run, {testMapper("A", true, 150, calls)}, 47801);
        EndPortMapping(run); // no poll: the worker's answer is taken here
        EXPECT_EQ(calls->unmaps, 1);
    }
    // A run that goes away unended ends itself; a restart ends the first.
    {
        PortMappingRun run;
        StartPortMapping(run, {testMapper("A", true, 0, calls)}, 47801);
        pollUntilAnswered(run, 3000);
        StartPortMapping(run, {testMapper("A", true, 0, calls)}, 47802);
        EXPECT_EQ(calls->unmaps, 2);
        EXPECT_EQ(run.port, 47802);
    }
    EXPECT_EQ(calls->unmaps, 3);
}

FakeGatewayOptions natPmpGateway(bool silent = false) {
    FakeGatewayOptions options;
    options.kind = FakeGatewayKind::NatPmp;
    options.silent = silent;
    return options;
}

std::string loopback(std::uint16_t port) {
    return "127.0.0.1:" + std::to_string(port);
}

bool logHas(const FakeGateway& gateway, const std::string& line) {
    const std::vector<std::string> log = gateway.Log();
    return std::find(log.begin(), log.end(), line) != log.end();
}

TEST(NatPmpMapperTest, MapsThePortAndRemovesIt) {
    FakeGateway gateway(natPmpGateway());
    ASSERT_TRUE(gateway.Ok());
    const PortMapper mapper = NatPmpMapper(loopback(gateway.Port()));
    const PortMappingResult result = mapper.map(47801, 3600, 1000);
    ASSERT_TRUE(result.mapped) << result.failure;
    EXPECT_EQ(result.publicAddress, kFakePublicAddress);
    EXPECT_EQ(result.publicPort, 47801);
    EXPECT_TRUE(logHas(gateway, "public-address"));
    EXPECT_TRUE(logHas(gateway, "map udp 47801->47801 lifetime 3600"));
    mapper.unmap(result, 47801, 1000);
    EXPECT_TRUE(logHas(gateway, "unmap udp 47801"));
}

TEST(NatPmpMapperTest, TheRoutersOwnPublicPortIsTheOneShown) {
    FakeGatewayOptions options = natPmpGateway();
    options.publicPort = 50123;
    FakeGateway gateway(options);
    ASSERT_TRUE(gateway.Ok());
    const PortMappingResult result = NatPmpMapper(loopback(gateway.Port())).map(47801, 60, 1000);
    ASSERT_TRUE(result.mapped) << result.failure;
    EXPECT_EQ(result.publicPort, 50123);
}

TEST(NatPmpMapperTest, SilentOrAbsentGatewaysFailWithinTheBudget) {
    FakeGateway silent(natPmpGateway(true));
    ASSERT_TRUE(silent.Ok());
    Clock::time_point start = Clock::now();
    PortMappingResult result = NatPmpMapper(loopback(silent.Port())).map(47801, 60, 400);
    EXPECT_FALSE(result.mapped);
    EXPECT_EQ(result.failure, "no answer");
    EXPECT_GE(msSince(start), 390);
    EXPECT_LT(msSince(start), 900);
    // The library's resends reach the gateway within the budget.
    EXPECT_GE(silent.Log().size(), 2u);

    // A port where nothing listens is refused by the loopback at once.
    std::uint16_t closedPort = 0;
    {
        FakeGateway gone(natPmpGateway());
        closedPort = gone.Port();
    }
    start = Clock::now();
    result = NatPmpMapper(loopback(closedPort)).map(47801, 60, 1000);
    EXPECT_FALSE(result.mapped);
    EXPECT_LT(msSince(start), 1100);

    EXPECT_EQ(NatPmpMapper("gateway.example").map(47801, 60, 100).failure,
              "the gateway 'gateway.example' is no IPv4 address");
}

TEST(UpnpMapperTest, MapsThroughTheGivenDescriptionAndRemoves) {
    FakeGatewayOptions options;
    options.kind = FakeGatewayKind::Upnp;
    FakeGateway gateway(options);
    ASSERT_TRUE(gateway.Ok());
    const PortMapper mapper = UpnpMapper(gateway.DescriptionUrl());
    const PortMappingResult result = mapper.map(47801, 3600, 2000);
    ASSERT_TRUE(result.mapped) << result.failure;
    EXPECT_EQ(result.publicAddress, kFakePublicAddress);
    EXPECT_EQ(result.publicPort, 47801);
    EXPECT_TRUE(logHas(gateway, "description"));
    EXPECT_TRUE(logHas(gateway, "add UDP 47801->127.0.0.1:47801 lease 3600"));
    mapper.unmap(result, 47801, 1000);
    EXPECT_TRUE(logHas(gateway, "delete UDP 47801"));
}

TEST(UpnpMapperTest, ARefusalOrAMissingGatewayIsAFailure) {
    FakeGatewayOptions options;
    options.kind = FakeGatewayKind::Upnp;
    options.refuseWith = 718; // the port is mapped to another machine
    FakeGateway gateway(options);
    ASSERT_TRUE(gateway.Ok());
    PortMappingResult result = UpnpMapper(gateway.DescriptionUrl()).map(47801, 3600, 2000);
    EXPECT_FALSE(result.mapped);
    EXPECT_EQ(result.failure, "the gateway refused the mapping (718)");

    std::string nowhere;
    {
        FakeGateway gone(options);
        nowhere = gone.DescriptionUrl();
    }
    result = UpnpMapper(nowhere).map(47801, 3600, 2000);
    EXPECT_FALSE(result.mapped);
    EXPECT_EQ(result.failure, "no gateway description at " + nowhere);
}

} // namespace
