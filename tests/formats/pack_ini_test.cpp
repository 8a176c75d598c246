// pack.ini: the keys read, what is tolerated and what refuses the pack.
#include "formats/pack_ini.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(PackIni, ReadsNameAuthorAndOrder) {
    const Loaded<PackInfo> info = ParsePackIni("; my pack\r\n"
                                               "[Pack]\r\n"
                                               "Name = Caves of Gold\r\n"
                                               "AUTHOR=anne\r\n"
                                               "order = intro.lev ,deeper.lev,  last.lev\r\n"
                                               "name = ignored, the first wins\r\n"
                                               "[Other]\n"
                                               "order = elsewhere.lev\n"
                                               "free text without an equals sign=ok\n");
    ASSERT_TRUE(info) << info.error;
    EXPECT_EQ(info->name, "Caves of Gold");
    EXPECT_EQ(info->author, "anne");
    EXPECT_EQ(info->order, (std::vector<std::string>{"intro.lev", "deeper.lev", "last.lev"}));
}

TEST(PackIni, KeysBeforeAnySectionAndEmptyOrderMeanFileNameOrder) {
    const Loaded<PackInfo> info = ParsePackIni("name=Loose\n# comment\n\norder=\n");
    ASSERT_TRUE(info) << info.error;
    EXPECT_EQ(info->name, "Loose");
    EXPECT_TRUE(info->author.empty());
    EXPECT_TRUE(info->order.empty());

    const Loaded<PackInfo> empty = ParsePackIni("");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->name.empty());
}

TEST(PackIni, DamagedFilesAreRefusedWithTheLine) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"name=a\0b\n"s, "pack.ini is not a text file"},
        {"name=a\nthis is not a key\n", "pack.ini line 2: neither a key nor a section"},
        {"[Pack\nname=a\n", "pack.ini line 1: a section without ']'"},
        {"order=a.lev,,b.lev\n", "pack.ini line 1: an empty entry in the order"},
        {"order=a.lev,\n", "pack.ini line 1: an empty entry in the order"},
        {"\n\norder=../escape.lev\n", "pack.ini line 3: the order names a folder: ../escape.lev"},
        {"order=sub\\x.lev\n", "pack.ini line 1: the order names a folder: sub\\x.lev"},
        {"order=..\n", "pack.ini line 1: the order names a folder: .."},
        {"order=A.lev, a.LEV\n", "pack.ini line 1: a.LEV comes twice in the order"},
    };
    for (const auto& c : cases) {
        const Loaded<PackInfo> info = ParsePackIni(c.text);
        EXPECT_FALSE(info) << c.text;
        EXPECT_EQ(info.error, c.error) << c.text;
    }
}

TEST(PackIni, AnOverlongOrderIsRefused) {
    std::string order = "order=";
    for (std::size_t i = 0; i <= kPackMaxOrder; ++i) order += std::to_string(i) + ".lev,";
    order.pop_back();
    const Loaded<PackInfo> info = ParsePackIni(order);
    EXPECT_FALSE(info);
    EXPECT_NE(info.error.find("more than"), std::string::npos);
}
