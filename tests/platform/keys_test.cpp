#include <gtest/gtest.h>

#include "platform/keys.h"

namespace {

class KeyTableTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetKeys(); }
    void TearDown() override { ResetKeys(); }
};

TEST_F(KeyTableTest, HeldKeyAnswersEveryQuery) {
    PressKey(kVkLeft);
    EXPECT_TRUE(QueryKey(kVkLeft));
    EXPECT_TRUE(QueryKey(kVkLeft));
    ReleaseKey(kVkLeft);
    EXPECT_FALSE(QueryKey(kVkLeft));
}

TEST_F(KeyTableTest, TapBetweenQueriesIsSeenOnce) {
    PressKey(kVkSpace);
    ReleaseKey(kVkSpace);
    EXPECT_FALSE(KeyIsDown(kVkSpace));
    EXPECT_TRUE(QueryKey(kVkSpace));
    EXPECT_FALSE(QueryKey(kVkSpace));
    // Each key keeps its own pending press.
    PressKey(kVkF9);
    ReleaseKey(kVkF9);
    EXPECT_FALSE(QueryKey(kVkF8));
    EXPECT_TRUE(QueryKey(kVkF9));
}

TEST_F(KeyTableTest, FocusLossReleasesHeldKeys) {
    PressKey(kVkUp);
    PressKey(kVkShift);
    EXPECT_TRUE(QueryKey(kVkUp)); // consumes the press of Up only
    ReleaseAllKeys();
    EXPECT_FALSE(QueryKey(kVkUp));
    EXPECT_TRUE(QueryKey(kVkShift)); // its press was not seen yet
    EXPECT_FALSE(QueryKey(kVkShift));
}

TEST_F(KeyTableTest, NumbersOutsideTheTableAreIgnored) {
    PressKey(-1);
    PressKey(256);
    ReleaseKey(1000);
    EXPECT_FALSE(QueryKey(-1));
    EXPECT_FALSE(QueryKey(256));
    EXPECT_FALSE(KeyIsDown(256));
}

TEST(KeyNameTest, ScriptNames) {
    EXPECT_EQ(VirtualKeyFromName("up"), 38);
    EXPECT_EQ(VirtualKeyFromName("ESC"), 27);
    EXPECT_EQ(VirtualKeyFromName("f12"), 123);
    EXPECT_EQ(VirtualKeyFromName("ADD"), 107);
    EXPECT_EQ(VirtualKeyFromName("plus"), kVkOemPlus); // the main row's = and - keys
    EXPECT_EQ(VirtualKeyFromName("MINUS"), kVkOemMinus);
    EXPECT_EQ(VirtualKeyFromName("q"), 'Q');
    for (const char* bad : {"", "F0", "F13", "F01", "AB", "1", "ENTER", "F1X"})
        EXPECT_EQ(VirtualKeyFromName(bad), std::nullopt) << bad;
}

} // namespace
