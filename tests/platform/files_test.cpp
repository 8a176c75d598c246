#include "platform/files.h"
#include "platform/profile.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

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

TEST(Files, ReadsOnlyThePiecesAskedFor) {
    TempDir dir;
    const std::string file = dir.write("big.bin", std::vector<std::uint8_t>{1, 2, 3, 4});
    ExtendSparse(file, 3ull << 30);
    const std::uint64_t before = BytesReadSoFar();
    const auto reader = FileReader::Open(file);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Size(), 3ull << 30);
    EXPECT_EQ(*reader->Read(1, 2), (std::vector<std::uint8_t>{2, 3}));
    EXPECT_EQ(*reader->Read(reader->Size() - 2, 2), (std::vector<std::uint8_t>{0, 0}));
    EXPECT_FALSE(reader->Read(reader->Size() - 1, 2));
    EXPECT_FALSE(reader->Read(~0ull, 2)); // no wrap-around past the end
    // A text file over the limit is refused unread.
    EXPECT_EQ(ReadSmallFile(file).status, SmallFileStatus::TooLarge);
    EXPECT_LT(BytesReadSoFar() - before, 4096u);
    EXPECT_EQ(ReadSmallFile(dir.write("small.txt", "abc"), 3).bytes,
              (std::vector<std::uint8_t>{'a', 'b', 'c'}));

    // Only regular files open; a pipe must not leave the reader waiting.
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(FileReader::Open(dir.file("pipe")));
    EXPECT_FALSE(FileReader::Open(dir.path().string()));
    EXPECT_EQ(ReadSmallFile(dir.file("none")).status, SmallFileStatus::Missing);
}

TEST(Files, WritersNeverFollowANamePlantedBesideTheTarget) {
    TempDir dir, elsewhere;
    const std::string victim = elsewhere.write("victim", "keep");
    ScopedCurrentDir cd(dir.path());
    const mode_t previous = ::umask(027);
    // The name the writers used to take, planted in advance.
    fs::create_symlink(victim, "out.bin.tmp");
    fs::create_symlink(victim, "kelv.ini.tmp");
    EXPECT_TRUE(WriteWholeFile("out.bin", {1, 2, 3}));
    EXPECT_TRUE(WriteProfileString("kelv.ini", "General", "Width", "640"));
    ::umask(previous);
    EXPECT_EQ(ReadBytes(victim), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(ReadBytes("out.bin"), (std::vector<std::uint8_t>{1, 2, 3}));
    // As any new file: 0666 less the umask.
    EXPECT_EQ(fs::status("out.bin").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A guessed temporary name is never opened through: creation is exclusive.
    fs::create_symlink(victim, "guessed");
    fs::create_symlink(elsewhere.file("made"), "dangling");
    EXPECT_EQ(CreateNewFile("guessed"), -1);
    EXPECT_EQ(CreateNewFile("dangling"), -1);
    EXPECT_FALSE(fs::exists(elsewhere.file("made")));
    EXPECT_EQ(ReadBytes(victim), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));

    // A failed write leaves no temporary file behind.
    fs::create_directories("folder/inside");
    EXPECT_FALSE(WriteWholeFile("folder", {1}));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dangling", "folder", "guessed", "kelv.ini",
                                               "kelv.ini.tmp", "out.bin", "out.bin.tmp"}));
}

TEST(Files, DataFileNamesStayInsideTheDataFolder) {
    for (const char* inside : {"a.bnk", "3DO/GAME/x.3do", "3do\\game\\..\\x.3do", "./a/../b", ""})
        EXPECT_TRUE(IsDataFileName(inside)) << inside;
    for (const char* outside :
         {"/etc/passwd", "\\etc\\passwd", "../x", "3DO/GAME/../../../x", "a\\..\\..\\x", "..//"})
        EXPECT_FALSE(IsDataFileName(outside)) << outside;
}
