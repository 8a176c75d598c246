// The game's transports as the command line sets them up.
#include <gtest/gtest.h>

#include "platform/script_answers.h"
#include "shell/qt/net_providers.h"

namespace {

TEST(GameNetProviders, TheCommandLineOverridesOnlyWhatItGives) {
    GameOptions options;
    const EnetOptions defaults = EnetOptionsFor(options);
    EXPECT_EQ(defaults.broadcastAddress, "255.255.255.255");
    EXPECT_EQ(defaults.discoveryPort, kDefaultDiscoveryPort);
    EXPECT_EQ(defaults.port, kDefaultGamePort);

    options.seed = 7;
    options.net.broadcastAddress = "127.255.255.255";
    options.net.discoveryPort = 47950;
    options.net.bindAddress = "127.0.0.1";
    options.net.port = 0; // any free port, not the default
    options.net.lossPercent = 20;
    options.net.delayMs = 30;
    const EnetOptions given = EnetOptionsFor(options);
    EXPECT_EQ(given.broadcastAddress, "127.255.255.255");
    EXPECT_EQ(given.discoveryPort, 47950);
    EXPECT_EQ(given.bindAddress, "127.0.0.1");
    EXPECT_EQ(given.port, 0);
    EXPECT_EQ(given.lossPercent, 20);
    EXPECT_EQ(given.delayMs, 30);
    EXPECT_EQ(given.seed, 7u);
}

std::vector<NetSessionInfo> listDirect(const GameOptions& options) {
    const std::vector<NetProvider> providers = GameNetProviders(options);
    EXPECT_EQ(providers.size(), 2u);
    std::vector<NetSessionInfo> sessions;
    for (const NetProvider& provider : providers) {
        if (provider.name != "Direct address") continue;
        const std::unique_ptr<NetTransport> transport = provider.open();
        transport->ListSessions("", 0, sessions);
    }
    return sessions;
}

TEST(GameNetProviders, DirectAddressAsksOnlyWithoutTheOption) {
    ClearScriptAnswers();
    GameOptions options;
    QueueScriptAnswer(AnswerQueue::Prompt, {false, "127.0.0.1:47999"});
    std::vector<NetSessionInfo> sessions = listDirect(options);
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].port, 47999);

    // Cancelled: no address, so nothing is listed.
    QueueScriptAnswer(AnswerQueue::Prompt, {true, ""});
    EXPECT_TRUE(listDirect(options).empty());

    // Given on the command line: the queued answer stays for a later prompt.
    options.net.address = "127.0.0.1:47998";
    QueueScriptAnswer(AnswerQueue::Prompt, {false, "unused"});
    sessions = listDirect(options);
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].port, 47998);
    EXPECT_TRUE(TakeScriptAnswer(AnswerQueue::Prompt).has_value());
}

// A run pointed at test gateways asks only those: no discovery, nothing to
// the default route's router.
TEST(GamePortMappers, PointedRunsAskOnlyTheGatewaysGiven) {
    const auto names = [](const std::string& gateway, const std::string& url) {
        GameOptions options;
        options.net.gateway = gateway;
        options.net.upnpUrl = url;
        std::vector<std::string> found;
        for (const PortMapper& mapper : GamePortMappers(options)) found.push_back(mapper.name);
        return found;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(names("", ""), (Names{"NAT-PMP", "UPnP"}));
    EXPECT_EQ(names("127.0.0.1:48700", ""), (Names{"NAT-PMP"}));
    EXPECT_EQ(names("", "http://127.0.0.1:48701/rootDesc.xml"), (Names{"UPnP"}));
    EXPECT_EQ(names("127.0.0.1:48700", "http://127.0.0.1:48701/rootDesc.xml"),
              (Names{"NAT-PMP", "UPnP"}));
}

} // namespace
