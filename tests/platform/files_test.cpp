#include "platform/files.h"
#include "platform/profile.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

std::vector<std::string> temporariesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (IsOurTemporaryName(entry.path().filename().string()))
            names.push_back(entry.path().filename().string());
    return names;
}

void backDate(const std::string& file, std::chrono::seconds age) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - age);
}

} // namespace

TEST(Files, SavingThroughASymbolicLinkKeepsTheLink) {
    TempDir dir, store;
    const std::string real = store.write("levels/real.lev", "old");
    ScopedCurrentDir cd(dir.path());
    fs::create_symlink(real, "near.lev");
    fs::create_symlink("near.lev", "chain.lev"); // relative, two links deep
    ASSERT_TRUE(WriteWholeFile("chain.lev", {'n', 'e', 'w'}));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status("chain.lev")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status("near.lev")));
    EXPECT_EQ(ReadBytes(real), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    // The temporary file is made beside the target and is gone afterwards.
    EXPECT_TRUE(temporariesIn(store.path() / "levels").empty());
    EXPECT_TRUE(temporariesIn(dir.path()).empty());

    // A link whose target does not exist yet creates that target.
    fs::create_symlink(store.file("levels/new.lev"), "fresh.lev");
    ASSERT_TRUE(WriteWholeFile("fresh.lev", {1}));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status("fresh.lev")));
    EXPECT_EQ(ReadBytes(store.file("levels/new.lev")), (std::vector<std::uint8_t>{1}));

    // A loop of links fails cleanly.
    fs::create_symlink("loop2", "loop1");
    fs::create_symlink("loop1", "loop2");
    EXPECT_FALSE(WriteWholeFile("loop1", {1}));
}

TEST(Files, AKilledWritersTemporaryIsRemovedByALaterWrite) {
    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    ASSERT_TRUE(WriteWholeFile("save.ini", {'o', 'l', 'd'}));

    // The child is stopped by the file size limit's signal in the middle of
    // writing its temporary file, as a kill would stop it.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        WriteWholeFile("save.ini", std::vector<std::uint8_t>(8 << 20, 7));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::vector<std::string> left = temporariesIn(dir.path());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(ReadBytes("save.ini"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));

    // A young one may be another writer's save in progress: it stays.
    ASSERT_TRUE(WriteWholeFile("save.ini", {'a'}));
    EXPECT_EQ(temporariesIn(dir.path()), left);

    // Old enough, it goes; names of other patterns and links stay.
    backDate(left[0], kLeftoverTemporaryAge + std::chrono::seconds(5));
    for (const char* other : {"notes.tmp", "x.0123456789AB.tmp", "x.0123456789a.tmp"}) {
        dir.write(other, "keep");
        backDate(dir.file(other), std::chrono::hours(1));
    }
    fs::create_symlink(dir.file("save.ini"), "y.0123456789ab.tmp");
    ASSERT_TRUE(WriteWholeFile("save.ini", {'b'}));
    EXPECT_EQ(temporariesIn(dir.path()), std::vector<std::string>{"y.0123456789ab.tmp"});
    for (const char* other : {"notes.tmp", "x.0123456789AB.tmp", "x.0123456789a.tmp"})
        EXPECT_TRUE(fs::exists(other)) << other;
    EXPECT_EQ(ReadBytes("save.ini"), (std::vector<std::uint8_t>{'b'}));
}

TEST(Files, CommandLineFilesComeFromTheStartFolderFirst) {
    TempDir start;
    start.write("mine.lev", "x");
    ScopedCurrentDir cd(start.path());
    EXPECT_EQ(StartFolderOrDataPath("mine.lev"), (start.path() / "mine.lev").string());
    // Not here: left to be found inside the data folder.
    EXPECT_EQ(StartFolderOrDataPath("LEVEL/01-First.lev"), "LEVEL/01-First.lev");
    EXPECT_EQ(StartFolderOrDataPath("/abs/x.lev"), "/abs/x.lev");
    EXPECT_EQ(StartFolderOrDataPath(""), "");
}
