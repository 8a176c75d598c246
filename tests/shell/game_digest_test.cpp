// The digest two machines compare before they play together: any change to
// a file of the list, its name or the list's order must show.
#include <gtest/gtest.h>

#include "shell/game_digest.h"
#include "support/test_support.h"

TEST(GameDigest, AnyChangedByteNameOrOrderChangesTheDigest) {
    TempDir dir;
    std::vector<std::uint8_t> level(500, 7);
    const std::string a = dir.write("LEVEL/01-A.lev", level);
    const std::string b = dir.write("LEVEL/02-B.lev", std::string("second"));
    const std::uint64_t digest = FileListDigest({a, b});
    EXPECT_EQ(FileListDigest({a, b}), digest);

    // The same bytes under another folder are the same level list.
    TempDir copy;
    EXPECT_EQ(FileListDigest({copy.write("x/01-A.lev", level), copy.write("x/02-B.lev", "second")}),
              digest);

    level[250] = 8; // one cell
    const std::string changed = copy.write("y/01-A.lev", level);
    EXPECT_NE(FileListDigest({changed, b}), digest);
    EXPECT_NE(FileListDigest({b, a}), digest);
    EXPECT_NE(FileListDigest({copy.write("z/01-C.lev", std::vector<std::uint8_t>(500, 7)), b}),
              digest);
    EXPECT_NE(FileListDigest({a}), digest);

    // A missing file is neither an empty one nor nothing at all.
    const std::string empty = dir.write("LEVEL/03-E.lev", std::string());
    const std::string missing = copy.file("w/03-E.lev");
    EXPECT_NE(FileListDigest({a, b, empty}), FileListDigest({a, b, missing}));
    EXPECT_NE(FileListDigest({a, b, missing}), digest);
}
