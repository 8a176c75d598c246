#include "platform/byte_io.h"
#include "platform/text_case.h"

#include <gtest/gtest.h>

TEST(ByteIo, ReaderStopsAtTheEndInsteadOfReadingPastIt) {
    const std::vector<std::uint8_t> data{0x01, 0x02, 0x03, 0x04, 0x00, 0x00, 0x80, 0xBF, 0xFF};
    ByteReader in(data);
    EXPECT_EQ(in.U16(), 0x0201);
    in.Seek(0);
    EXPECT_EQ(in.U32(), 0x04030201u);
    EXPECT_EQ(in.F32(), -1.0f);
    EXPECT_TRUE(in.Ok());
    // One byte left: a 16-bit read does not fit, gives zero and fails the
    // reader for good, even for the byte that would fit.
    EXPECT_EQ(in.U16(), 0);
    EXPECT_FALSE(in.Ok());
    EXPECT_EQ(in.U8(), 0);
    EXPECT_EQ(in.Position(), 8u);

    ByteReader far(data);
    EXPECT_TRUE(far.Bytes(~0ull).empty());
    EXPECT_FALSE(far.Ok());
    ByteReader beyond(data);
    beyond.Seek(10);
    EXPECT_FALSE(beyond.Ok());
}

TEST(ByteIo, WriterPutsNumbersInEitherOrder) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.U16(0x0102);
    out.I32(-2);
    out.U16Big(0x0102);
    out.U32Big(0x01020304);
    out.F32(-1.0f);
    out.Text("ab");
    out.Zeros(2);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 1,   2,   1, 2,
                                                3, 4, 0,    0,    0x80, 0xBF, 'a', 'b', 0, 0}));
    ByteReader in(bytes);
    in.Skip(2);
    EXPECT_EQ(in.I32(), -2);
}

TEST(TextCase, FoldsAsciiLettersOnly) {
    EXPECT_EQ(UpperAscii("Fire-and-iron.lev \xE9"), "FIRE-AND-IRON.LEV \xE9");
    EXPECT_EQ(LowerAscii("KELV.INI \xC9"), "kelv.ini \xC9");
    EXPECT_TRUE(EqualNoCase("/network", "/NETWORK"));
    EXPECT_FALSE(EqualNoCase("\xE9", "\xC9"));
    EXPECT_FALSE(EqualNoCase("abc", "ab"));
    EXPECT_TRUE(EndsWithNoCase("shot.PNG", ".png"));
    EXPECT_FALSE(EndsWithNoCase("png", ".png"));
}
