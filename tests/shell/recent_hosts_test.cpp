// The direct addresses the player joined: newest first, eight at most, kept
// in the settings file, and offered by the address prompt.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/profile.h"
#include "shell/form_services.h"
#include "shell/recent_hosts.h"
#include "shell/settings.h"
#include "shell/shell_test_support.h"

namespace {

// Settings in a fresh per-user folder.
class RecentHostsTest : public ShellTest {};

} // namespace

TEST(RecentHosts, ReadSkipsWhatCannotBeOffered) {
    const ProfileData profile = ParseProfile("[Network]\n"
                                             "RecentHost1 = 10.0.0.7:47801 \n"
                                             "RecentHost2=\n"
                                             "RecentHost3=10.0.0.7:47801\n"
                                             "RecentHost4=" +
                                             std::string(300, 'h') +
                                             "\n"
                                             "RecentHost5=friend.example:5000\n"
                                             "RecentHost9=never.read\n");
    EXPECT_EQ(ReadRecentHosts(profile),
              (std::vector<std::string>{"10.0.0.7:47801", "friend.example:5000"}));
    EXPECT_TRUE(ReadRecentHosts(ParseProfile("")).empty());
}

TEST(RecentHosts, TheNewestGoesFirstOnceAndTheOldestFallsOffAfterEight) {
    std::vector<std::string> hosts;
    for (int i = 1; i <= 9; ++i) hosts = RememberHost(hosts, "h" + std::to_string(i));
    ASSERT_EQ(hosts.size(), kRecentHostCount);
    EXPECT_EQ(hosts.front(), "h9");
    EXPECT_EQ(hosts.back(), "h2");

    hosts = RememberHost(hosts, " h5 ");
    EXPECT_EQ(hosts.front(), "h5");
    EXPECT_EQ(std::count(hosts.begin(), hosts.end(), "h5"), 1);
    EXPECT_EQ(hosts.size(), kRecentHostCount);
    for (const std::string& bad :
         std::vector<std::string>{"", "   ", "a\nb", std::string(256, 'x')})
        EXPECT_EQ(RememberHost(hosts, bad), hosts);

    // Every key is written, so a shorter list leaves no older address behind.
    const auto entries = RecentHostEntries({"only"});
    ASSERT_EQ(entries.size(), kRecentHostCount);
    EXPECT_EQ(entries[0].key, "RecentHost1");
    EXPECT_EQ(entries[0].value, "only");
    EXPECT_EQ(entries[7].key, "RecentHost8");
    EXPECT_EQ(entries[7].value, "");
}

TEST_F(RecentHostsTest, AJoinedAddressIsKeptInTheFileAndOfferedFirstByThePrompt) {
    ASSERT_TRUE(WriteSettingsEntries({{"Network", "NickName", "Ann"}}));
    EXPECT_TRUE(SaveRecentHost("10.0.0.1:47801"));
    EXPECT_TRUE(SaveRecentHost("127.0.0.1:5000"));
    EXPECT_EQ(LoadRecentHosts(), (std::vector<std::string>{"127.0.0.1:5000", "10.0.0.1:47801"}));
    EXPECT_EQ(GetProfileString(SettingsPath(), "Network", "NickName", ""), "Ann");

    // No window: the prompt is cancelled, but what it offered is kept.
    EXPECT_FALSE(FormAskText("Direct address", "host[:port]", "", LoadRecentHosts()));
    EXPECT_EQ(LastAskedPrompt().caption, "Direct address");
    EXPECT_EQ(LastAskedPrompt().prefilled, "127.0.0.1:5000");
    EXPECT_EQ(LastAskedPrompt().choices.size(), 2u);
}
