#include "engine/bank_file.h"

#include <gtest/gtest.h>

namespace {

bool sameImages(const BankListing& a, const BankListing& b) {
    if (a.images.size() != b.images.size()) return false;
    for (std::size_t i = 0; i < a.images.size(); ++i)
        if (a.images[i].index != b.images[i].index || a.images[i].file != b.images[i].file)
            return false;
    return true;
}

} // namespace

TEST(BankFile, BlanksTabsCarriageReturnsAndCaseDoNotMatter) {
    EXPECT_EQ(NormaliseBankLine(" 12 =\twall.pcx \r"), "12=WALL.PCX");
    const BankListing spaced = ParseBankText("#images\r\n12 = wall.pcx\r\n");
    const BankListing tight = ParseBankText("#IMAGES\n12=WALL.PCX\n");
    ASSERT_EQ(tight.images.size(), 1u);
    EXPECT_EQ(tight.images[0].index, 12);
    EXPECT_EQ(tight.images[0].file, "WALL.PCX");
    EXPECT_TRUE(sameImages(spaced, tight));
}

TEST(BankFile, SectionsSplitImagesFromTexturesAndPreambleIsIgnored) {
    const BankListing bank = ParseBankText("1=IGNORED.PCX\n"
                                           "#TEXTURES\n" // before #IMAGES: ignored too
                                           "\n"
                                           "#IMAGES\n"
                                           "0=A.PCX\n"
                                           "\n"
                                           "7=SUB\\B.PCX\n"
                                           "#TEXTURES\n"
                                           "3=0-0\n"
                                           "5 = 9 - 7\n"
                                           "#TEXTURES\n" // no "=": ignored
                                           "32767=7-9"); // no final newline
    ASSERT_EQ(bank.images.size(), 2u);
    EXPECT_EQ(bank.images[0].file, "A.PCX");
    EXPECT_EQ(bank.images[1].index, 7);
    EXPECT_EQ(bank.images[1].file, "SUB\\B.PCX");
    ASSERT_EQ(bank.textures.size(), 3u);
    EXPECT_EQ(bank.textures[1].index, 5);
    EXPECT_EQ(bank.textures[1].first, 9);
    EXPECT_EQ(bank.textures[1].last, 7);
    EXPECT_EQ(bank.textures[2].index, 32767);
}

TEST(BankFile, LinesTheFormatCannotHoldAreIgnored) {
    const BankListing bank = ParseBankText("#IMAGES\n"
                                           "WALL.PCX\n"      // no "="
                                           "32768=BIG.PCX\n" // index too large
                                           "-1=NEG.PCX\n"    // not plain digits
                                           "1X=ODD.PCX\n"    // not a number
                                           "=NONUMBER.PCX\n" // empty number
                                           "4=\n"            // no file
                                           "99999999999=OVERFLOW.PCX\n"
                                           "2=GOOD.PCX\n"
                                           "#TEXTURES\n"
                                           "1=2\n"       // no "-"
                                           "1-2\n"       // no "="
                                           "1=2-\n"      // no last image
                                           "1=-2-3\n"    // no first image
                                           "40000=1-2\n" // index too large
                                           "1=1-40000\n" // image index too large
                                           "1=A-B\n"     // not numbers
                                           "6=1-2\n");
    ASSERT_EQ(bank.images.size(), 1u);
    EXPECT_EQ(bank.images[0].file, "GOOD.PCX");
    ASSERT_EQ(bank.textures.size(), 1u);
    EXPECT_EQ(bank.textures[0].index, 6);
}

TEST(BankFile, NoImagesSectionMeansAnEmptyBank) {
    const BankListing bank = ParseBankText("0=A.PCX\n1=2-3\n");
    EXPECT_TRUE(bank.images.empty());
    EXPECT_TRUE(bank.textures.empty());
}
