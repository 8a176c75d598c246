#include "platform/profile.h"
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string text(const std::string& file) {
    const auto bytes = ReadBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(Profile, LooksUpNamesWithoutCaseAndTrimsNamesAndValues) {
    const ProfileData p = ParseProfile("\xEF\xBB\xBF"
                                       "  [ General ]  ; trailing words\r\n"
                                       "\tTexture =  Bank.txt \t\r\n"
                                       "; Width=1\r\n"
                                       "Name=a;b\r\n"
                                       "Quoted=\" padded \"\r\n"
                                       "Single='x'\r\n"
                                       "Half=\"x\r\n"
                                       "NoEquals\r\n"
                                       "[Object 7]\n"
                                       "Cube=TRUE");
    EXPECT_EQ(ProfileString(p, "GENERAL", "texture", "d"), "Bank.txt");
    EXPECT_EQ(ProfileString(p, "general", "WIDTH", "d"), "d"); // commented out
    EXPECT_EQ(ProfileString(p, "General", "Name", ""), "a;b"); // ';' inside a value stays
    EXPECT_EQ(ProfileString(p, "General", "Quoted", ""), " padded ");
    EXPECT_EQ(ProfileString(p, "General", "Single", ""), "x");
    EXPECT_EQ(ProfileString(p, "General", "Half", ""), "\"x");
    EXPECT_EQ(ProfileString(p, "General", "NoEquals", "def"), "def");
    EXPECT_EQ(ProfileString(p, " object 7 ", " CUBE ", ""), "TRUE"); // last line, no line end
    EXPECT_EQ(ProfileString(p, "Object 8", "Cube", "none  "),
              "none"); // default loses trailing blanks
}

TEST(Profile, FirstSectionAndFirstKeyWin) {
    const ProfileData p = ParseProfile("Orphan=1\n"
                                       "[A]\nKey=first\nkey=second\n"
                                       "[B]\nOther=b\n"
                                       "[a]\nKey=third\nLate=only here\n"
                                       "[Broken\nInBroken=1\n");
    EXPECT_EQ(ProfileString(p, "A", "KEY", ""), "first");
    EXPECT_EQ(ProfileString(p, "A", "Late", "missing"), "missing");
    EXPECT_EQ(ProfileString(p, "", "Orphan", "missing"), "missing");
    // A header without ']' is ignored, so its keys belong to the section before.
    EXPECT_EQ(ProfileString(p, "Broken", "InBroken", "missing"), "missing");
}

TEST(Profile, CutsValuesAndDefaultsToTheCallersBuffer) {
    const std::string longValue(300, 'v');
    const ProfileData p = ParseProfile("[S]\nK=" + longValue + "\nShort=abc\n");
    EXPECT_EQ(ProfileString(p, "S", "K", "", 256), std::string(255, 'v'));
    EXPECT_EQ(ProfileString(p, "S", "K", ""), longValue); // fits the standard buffer
    EXPECT_EQ(ProfileString(p, "S", "Short", "", 3), "ab");
    EXPECT_EQ(ProfileString(p, "S", "Short", "", 0), "");
    EXPECT_EQ(ProfileString(p, "S", "None", "defaults", 4), "def");
    const ProfileData huge = ParseProfile("[S]\nK=" + std::string(5000, 'h'));
    EXPECT_EQ(ProfileString(huge, "S", "K", "").size(), kProfileBufferSize - 1);
}

TEST(Profile, ReadsIntegersAsDecimalOrHexOtherwiseTheDefault) {
    struct Case {
        const char* value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"512", 512},
        {"-5", -5},
        {"+7", 7},
        {"0x200", 512},
        {"0X1f", 31},
        {"0xFFFFFFFF", -1},
        {"0x", 99},
        {"0x1FFFFFFFF", 99},
        {"0xG1", 99},
        {"12abc", 99},
        {"", 99},
        {"-", 99},
        {"2147483647", 2147483647},
        {"2147483648", 99},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", 99},
        {"1 2", 99},
        {"\"42\"", 42},
    };
    for (const Case& c : cases) {
        const ProfileData p = ParseProfile(std::string("[S]\nV=") + c.value + "\n");
        EXPECT_EQ(ProfileInt(p, "S", "V", 99), c.expected) << "value '" << c.value << "'";
    }
    EXPECT_EQ(ProfileInt(ParseProfile(""), "S", "V", -3), -3);
}

TEST(Profile, FlagsAreTrueOnlyForTrueInAnyCase) {
    const ProfileData p = ParseProfile("[S]\nA=true\nB=TrUe \nC=yes\nD=\n");
    EXPECT_TRUE(ProfileFlag(p, "S", "A", "FALSE"));
    EXPECT_TRUE(ProfileFlag(p, "S", "B", "FALSE"));
    EXPECT_FALSE(ProfileFlag(p, "S", "C", "TRUE"));
    EXPECT_FALSE(ProfileFlag(p, "S", "D", "TRUE")); // present but empty
    EXPECT_TRUE(ProfileFlag(p, "S", "Missing", "TRUE"));
    EXPECT_FALSE(ProfileFlag(p, "S", "Missing", "FALSE"));
}

TEST(Profile, SettingAValueKeepsEverythingElse) {
    const std::string original = "; settings\n"
                                 "[General]\n"
                                 "Top=1\n"
                                 "; the width\n"
                                 "WIDTH=320\n"
                                 "\n"
                                 "[Save]\n"
                                 "Index=abc\n";
    // An existing key is replaced in place, keeping the file's spelling.
    EXPECT_EQ(*SetProfileValue(original, "general", "Width", "640"),
              "; settings\n[General]\nTop=1\n; the width\nWIDTH=640\n\n[Save]\nIndex=abc\n");
    // A new key goes after the last key of its section.
    EXPECT_EQ(
        *SetProfileValue(original, "GENERAL", "Left", "5"),
        "; settings\n[General]\nTop=1\n; the width\nWIDTH=320\nLeft=5\n\n[Save]\nIndex=abc\n");
    // A new section is appended.
    EXPECT_EQ(*SetProfileValue(original, "Network", "NickName", "Bob"),
              original + "\n[Network]\nNickName=Bob\n");
    EXPECT_EQ(*SetProfileValue("", "A", "B", "c"), "[A]\nB=c\n");
}

TEST(Profile, SettingAValueFollowsLineEndsAndTheFirstSection) {
    EXPECT_EQ(*SetProfileValue("[A]\r\nX=1\r\n", "A", "Y", "2"), "[A]\r\nX=1\r\nY=2\r\n");
    EXPECT_EQ(*SetProfileValue("[A]\r\nX=1\r\n", "A", "X", "3"), "[A]\r\nX=3\r\n");
    // A last line without its line end.
    EXPECT_EQ(*SetProfileValue("[A]\nX=1", "A", "Y", "2"), "[A]\nX=1\nY=2\n");
    EXPECT_EQ(*SetProfileValue("[A]", "A", "Y", "2"), "[A]\nY=2\n");
    EXPECT_EQ(*SetProfileValue("[A]\nX=1", "B", "Y", "2"), "[A]\nX=1\n\n[B]\nY=2\n");
    // The section that reads win is the one written.
    const std::string twice = "[A]\nX=1\n[A]\nX=2\n";
    const auto updated = SetProfileValue(twice, "a", "x", "9");
    EXPECT_EQ(*updated, "[A]\nX=9\n[A]\nX=2\n");
    EXPECT_EQ(ProfileString(ParseProfile(*SetProfileValue(twice, "A", "New", "n")), "A", "New", ""),
              "n");
}

TEST(Profile, RefusesNamesAndValuesThatWouldNotReadBack) {
    EXPECT_FALSE(SetProfileValue("", "", "K", "v"));
    EXPECT_FALSE(SetProfileValue("", "S", "  ", "v"));
    EXPECT_FALSE(SetProfileValue("", "S]", "K", "v"));
    EXPECT_FALSE(SetProfileValue("", "S", "K=1", "v"));
    EXPECT_FALSE(SetProfileValue("", "S", ";K", "v"));
    EXPECT_FALSE(SetProfileValue("", "S", "K", "line\nInjected=1"));
    EXPECT_FALSE(SetProfileValue("", "S\nT", "K", "v"));
}

TEST(Profile, FileOperationsReadAndWriteThroughTheDisk) {
    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    EXPECT_EQ(GetProfileString("kelv.ini", "General", "Texture", "true"), "true");
    EXPECT_EQ(GetProfileInt("kelv.ini", "General", "Width", 320), 320);

    ASSERT_TRUE(WriteProfileString("kelv.ini", "General", "Width", "0x200"));
    ASSERT_TRUE(WriteProfileString("KELV.INI", "General", "Texture", "False"));
    ASSERT_TRUE(WriteProfileString("kelv.ini", "Save", "Index", "abc"));
    EXPECT_EQ(text("kelv.ini"), "[General]\nWidth=0x200\nTexture=False\n\n[Save]\nIndex=abc\n");
    EXPECT_EQ(GetProfileInt("Kelv.Ini", "general", "width", 320), 512);
    EXPECT_EQ(GetProfileString("kelv.ini", "General", "Texture", "true"), "False");
    // Only the target file is left: the temporary one was renamed into place.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);

    EXPECT_FALSE(WriteProfileString("kelv.ini", "General", "Bad=Key", "1"));
    EXPECT_FALSE(WriteProfileString("no/such/folder/kelv.ini", "General", "Top", "1"));
    EXPECT_EQ(GetProfileInt("kelv.ini", "General", "Bad", -1), -1);
}
