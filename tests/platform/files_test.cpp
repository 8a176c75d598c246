#include "platform/files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

TEST(Files, ResolvesBackslashesAndCaseOfEveryComponent) {
    TempDir dir;
    dir.write("3DO/GAME/podium.3do", "x");
    ScopedCurrentDir cd(dir.path());
    EXPECT_EQ(ResolvePath("3do\\Game\\PODIUM.3do"), "3DO/GAME/podium.3do");
    EXPECT_EQ(ResolvePath("3DO/GAME/podium.3do"), "3DO/GAME/podium.3do");
    EXPECT_TRUE(FileExists("3do\\game\\Podium.3DO"));
    // A name with no match keeps its spelling, with forward slashes.
    EXPECT_EQ(ResolvePath("3do\\Game\\missing.3do"), "3do/Game/missing.3do");
    EXPECT_FALSE(FileExists("3do\\Game\\missing.3do"));
}

TEST(Files, ListsFolderWithDotEntriesAndFailsOnMissingFolder) {
    TempDir dir;
    dir.write("LEVEL/a1", "x");
    ScopedCurrentDir cd(dir.path());
    auto names = ListFolder("level\\");
    ASSERT_TRUE(names);
    EXPECT_EQ(names->size(), 3u);
    EXPECT_FALSE(ListFolder("NOPE"));
}

TEST(Files, WritesWholeFileAtomicallyAndReadsItBack) {
    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    ASSERT_TRUE(WriteWholeFile("out.bin", {1, 2, 3}));
    EXPECT_EQ(*ReadWholeFile("OUT.BIN"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(ReadWholeFile("none.bin"));
    // A folder is not a file, whatever the stream library makes of it.
    std::filesystem::create_directories("folder");
    EXPECT_FALSE(ReadWholeFile("folder"));
    EXPECT_FALSE(ReadWholeFile("folder/"));
}
