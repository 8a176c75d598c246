#include "engine/bank_file.h"

#include <gtest/gtest.h>

TEST(BankFile, BlanksCaseAndSectionsAreHandledAsOneFormat) {
    EXPECT_EQ(NormaliseBankLine(" 12 =\twall.pcx \r"), "12=WALL.PCX");
    const BankListing bank = ParseBankText("1=BEFORE.PCX\n#TEXTURES\n\n" // ignored before #IMAGES
                                           "#images\r\n12 = wall.pcx\r\n7=SUB\\B.PCX\n"
                                           "#TEXTURES\n5 = 9 - 7\n32767=7-9"); // no last newline
    ASSERT_EQ(bank.images.size(), 2u);
    EXPECT_EQ(bank.images[0].index, 12);
    EXPECT_EQ(bank.images[0].file, "WALL.PCX");
    EXPECT_EQ(bank.images[1].file, "SUB\\B.PCX");
    ASSERT_EQ(bank.textures.size(), 2u);
    EXPECT_EQ(bank.textures[0].index, 5);
    EXPECT_EQ(bank.textures[0].first, 9);
    EXPECT_EQ(bank.textures[0].last, 7);
    EXPECT_EQ(bank.textures[1].index, 32767);
    EXPECT_TRUE(ParseBankText("0=A.PCX\n1=2-3\n").images.empty()); // no #IMAGES at all
}

TEST(BankFile, LinesTheFormatCannotHoldAreIgnored) {
    const BankListing bank =
        ParseBankText("#IMAGES\nWALL.PCX\n32768=BIG.PCX\n-1=NEG.PCX\n1X=ODD.PCX\n=NONE.PCX\n4=\n"
                      "99999999999=OVERFLOW.PCX\n2=GOOD.PCX\n"
                      "#TEXTURES\n1=2\n1-2\n1=2-\n1=-2-3\n40000=1-2\n1=1-40000\n1=A-B\n"
                      "#TEXTURES\n6=1-2\n");
    ASSERT_EQ(bank.images.size(), 1u);
    EXPECT_EQ(bank.images[0].file, "GOOD.PCX");
    ASSERT_EQ(bank.textures.size(), 1u);
    EXPECT_EQ(bank.textures[0].index, 6);
}
