#include "platform/text_codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCodepage, EveryByteGoesToUtf8AndBackUnchanged) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    const Cp1252Text back = Utf8ToCp1252(utf8);
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(back.refused, "");
    EXPECT_EQ(Cp1252ToUtf8("\xE9\x80\x9F"), "\u00e9\u20ac\u0178");
}

TEST(TextCodepage, CharactersOutsideTheSetAreNamedOnceAndLeftOut) {
    const Cp1252Text text = Utf8ToCp1252("a\u65e5b\u65e5\U0001F600\u0100");
    EXPECT_EQ(text.bytes, "ab");
    EXPECT_EQ(text.refused, "\u65e5\U0001F600\u0100");
    EXPECT_EQ(RefusedCharactersText(text.refused), "\"\u65e5\" \"\U0001F600\" \"\u0100\"");
}

TEST(TextCodepage, MalformedUtf8IsRefusedNotReadPast) {
    // A lone lead byte at the end, a cut sequence, an overlong '/', a
    // surrogate, a stray continuation byte: each is U+FFFD and the text goes on.
    for (const std::string& bad : {std::string("x\xC3"), std::string("x\xE2\x82y"),
                                   std::string("x\xC0\xAF"), std::string("x\xED\xA0\x80"),
                                   std::string("x\x80"), std::string("x\xF8\x88\x80\x80\x80")}) {
        const Cp1252Text text = Utf8ToCp1252(bad);
        EXPECT_EQ(text.bytes.substr(0, 1), "x") << bad;
        EXPECT_EQ(RefusedCharactersText(text.refused), "U+FFFD") << bad;
    }
    EXPECT_EQ(Utf8ToCp1252("x\xE2\x82y").bytes, "xy");
}

TEST(TextCodepage, TheAsciiStandInKeepsOneCharacterPerByte) {
    EXPECT_EQ(Cp1252ToAscii("Caf\xE9 \xC6sop \x80 \x7F \x81 ok"), "Cafe Asop E ? ? ok");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string ascii = Cp1252ToAscii(all);
    ASSERT_EQ(ascii.size(), 256u);
    for (unsigned char c : ascii.substr(127)) EXPECT_TRUE(c >= 32 && c < 127) << int(c);
}

} // namespace
