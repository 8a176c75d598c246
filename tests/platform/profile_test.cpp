#include "platform/profile.h"
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "platform/files.h"

TEST(Profile, LookupRules) {
    const ProfileData p = ParseProfile("\xEF\xBB\xBF"
                                       "Orphan=1\n"
                                       "  [ General ]  ; words\r\n"
                                       "\tTexture =  Bank.txt \t\r\n"
                                       "; Width=1\r\n"
                                       "Name=a;b\r\n"
                                       "Quoted=\" padded \"\r\n"
                                       "Half=\"x\r\n"
                                       "NoEquals\r\n"
                                       "texture=second\r\n"
                                       "[B]\nLong=" +
                                       std::string(300, 'v') +
                                       "\n"
                                       "[general]\nLate=1\n"
                                       "[Object 7]\nCube=TRUE");
    EXPECT_EQ(ProfileString(p, "GENERAL", "TEXTURE", "d"), "Bank.txt"); // first key wins
    EXPECT_EQ(ProfileString(p, "general", "Width", "d"), "d");          // comment
    EXPECT_EQ(ProfileString(p, "General", "Name", ""), "a;b");
    EXPECT_EQ(ProfileString(p, "General", "Quoted", ""), " padded ");
    EXPECT_EQ(ProfileString(p, "General", "Half", ""), "\"x");
    EXPECT_EQ(ProfileString(p, "General", "NoEquals", "def"), "def");
    EXPECT_EQ(ProfileString(p, "General", "Late", "none"), "none"); // first section wins
    EXPECT_EQ(ProfileString(p, "", "Orphan", "none"), "none");
    EXPECT_EQ(ProfileString(p, " object 7 ", " CUBE ", ""), "TRUE"); // no final line end
    EXPECT_EQ(ProfileString(p, "Object 8", "Cube", "none  "), "none");
    // Values and defaults are cut to the caller's buffer.
    EXPECT_EQ(ProfileString(p, "B", "Long", "", 256), std::string(255, 'v'));
    EXPECT_EQ(ProfileString(p, "B", "Missing", "defaults", 4), "def");
    EXPECT_EQ(ProfileString(p, "B", "Long", "", 0), "");
}

TEST(Profile, IntegersAndFlags) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"-5", -5},         {"+7", 7},      {"0x200", 512},      {"0XfF", 255},
        {"0xFFFFFFFF", -1}, {"0x", 99},     {"0x1FFFFFFFF", 99}, {"12abc", 99},
        {"", 99},           {"-", 99},      {"2147483648", 99},  {"-2147483648", INT32_MIN},
        {"1 2", 99},        {"\"42\"", 42},
    };
    for (const auto& [value, expected] : cases) {
        const ProfileData p = ParseProfile(std::string("[S]\nV=") + value + "\n");
        EXPECT_EQ(ProfileInt(p, "S", "V", 99), expected) << "value '" << value << "'";
    }
    const ProfileData p = ParseProfile("[S]\nA=TrUe \nB=yes\nC=\n");
    EXPECT_TRUE(ProfileFlag(p, "S", "A", "FALSE"));
    EXPECT_FALSE(ProfileFlag(p, "S", "B", "TRUE"));
    EXPECT_FALSE(ProfileFlag(p, "S", "C", "TRUE")); // present but empty
    EXPECT_TRUE(ProfileFlag(p, "S", "Missing", "TRUE"));
}

TEST(Profile, SettingAValueKeepsEverythingElse) {
    const std::string file = "; settings\n[General]\nTop=1\n; the width\nWIDTH=320\n\n"
                             "[Save]\nIndex=abc\n";
    EXPECT_EQ(*SetProfileValue(file, "general", "Width", "640"),
              "; settings\n[General]\nTop=1\n; the width\nWIDTH=640\n\n[Save]\nIndex=abc\n");
    EXPECT_EQ(
        *SetProfileValue(file, "GENERAL", "Left", "5"),
        "; settings\n[General]\nTop=1\n; the width\nWIDTH=320\nLeft=5\n\n[Save]\nIndex=abc\n");
    EXPECT_EQ(*SetProfileValue(file, "Network", "Nick", "Bob"), file + "\n[Network]\nNick=Bob\n");
    EXPECT_EQ(*SetProfileValue("[A]\r\nX=1\r\n", "A", "Y", "2"), "[A]\r\nX=1\r\nY=2\r\n");
    EXPECT_EQ(*SetProfileValue("[A]\nX=1", "A", "Y", "2"), "[A]\nX=1\nY=2\n");
    EXPECT_EQ(*SetProfileValue("[A]\nX=1\n[A]\nX=2\n", "a", "x", "9"), "[A]\nX=9\n[A]\nX=2\n");
    EXPECT_EQ(*SetProfileValue("\xEF\xBB\xBF[A]\nX=1\n", "a", "x", "2"), "\xEF\xBB\xBF[A]\nX=2\n");
    // Names and values that would not read back as written are refused.
    EXPECT_FALSE(SetProfileValue("", "", "K", "v"));
    EXPECT_FALSE(SetProfileValue("", "S]", "K", "v"));
    EXPECT_FALSE(SetProfileValue("", "S", "K=1", "v"));
    EXPECT_FALSE(SetProfileValue("", "S", ";K", "v"));
    EXPECT_FALSE(SetProfileValue("", "S", "K", "line\nInjected=1"));
}

TEST(Profile, FileOperations) {
    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    EXPECT_EQ(GetProfileInt("kelv.ini", "General", "Width", 320), 320);
    ASSERT_TRUE(WriteProfileString("kelv.ini", "General", "Width", "0x200"));
    ASSERT_TRUE(WriteProfileString("KELV.INI", "Save", "Index", "abc"));
    const auto bytes = ReadBytes("kelv.ini");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "[General]\nWidth=0x200\n\n[Save]\nIndex=abc\n");
    EXPECT_EQ(GetProfileInt("Kelv.Ini", "general", "width", 320), 512);
    EXPECT_EQ(GetProfileString("kelv.ini", "Save", "Index", ""), "abc");
    // The temporary file was renamed into place.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_FALSE(WriteProfileString("no/such/folder/kelv.ini", "General", "Top", "1"));

    // Several keys go in at once, or none does.
    ASSERT_TRUE(WriteProfileStrings("kelv.ini", {{"General", "Top", "5"}, {"Net", "Name", "x"}}));
    EXPECT_EQ(GetProfileInt("kelv.ini", "General", "Top", 0), 5);
    EXPECT_FALSE(
        WriteProfileStrings("kelv.ini", {{"General", "Top", "6"}, {"Net", "Name", "a\nb"}}));
    EXPECT_EQ(GetProfileInt("kelv.ini", "General", "Top", 0), 5);
}

TEST(Profile, FileOverTheLimitIsAnErrorAndIsNeitherReadNorReplaced) {
    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    const std::string file = dir.write("kelv.ini", "[General]\nWidth=640\n");
    ExtendSparse(file, kTextFileLimit + 1);
    const std::uint64_t before = BytesReadSoFar();
    const Loaded<ProfileData> profile = ReadProfileFile("kelv.ini");
    ASSERT_FALSE(profile);
    EXPECT_EQ(profile.error, "The file kelv.ini is larger than 16 MiB.");
    EXPECT_EQ(GetProfileInt("kelv.ini", "General", "Width", 320), 320);
    EXPECT_FALSE(WriteProfileString("kelv.ini", "General", "Top", "1"));
    EXPECT_LT(BytesReadSoFar() - before, 4096u);
    EXPECT_EQ(std::filesystem::file_size(file), kTextFileLimit + 1);
    // A missing file still reads as a file without keys.
    const Loaded<ProfileData> missing = ReadProfileFile("none.ini");
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->sections.empty());
}
