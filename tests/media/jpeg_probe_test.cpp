// The JPEG frame header read before a clip's picture is decoded.
#include "media/jpeg_probe.h"

#include <gtest/gtest.h>

#include "support/mjpeg_clip.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(JpegProbe, ReadsTheSizeAndKindOfEveryFrameHeader) {
    const auto baseline = ProbeJpegFrame(GreyJpeg(16000, 9));
    ASSERT_TRUE(baseline);
    EXPECT_EQ(baseline->width, 16000);
    EXPECT_EQ(baseline->height, 9);
    EXPECT_FALSE(baseline->wholeCoefficients);
    for (std::uint8_t marker : {0xC2, 0xC3, 0xCA, 0xCF}) {
        const auto kept = ProbeJpegFrame(GreyJpeg(8, 8, marker));
        ASSERT_TRUE(kept) << int{marker};
        EXPECT_TRUE(kept->wholeCoefficients) << int{marker};
    }
    // Fill bytes and padding before a marker are passed over.
    Bytes padded{0xFF, 0xD8, 0x00, 0xFF, 0xFF};
    const Bytes jpeg = GreyJpeg(40, 30);
    padded.insert(padded.end(), jpeg.begin() + 3, jpeg.end());
    const auto found = ProbeJpegFrame(padded);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->width, 40);
}

TEST(JpegProbe, CutOrEmptyPicturesHaveNoHeaderAndAreLeftToTheDecoder) {
    const Bytes jpeg = GreyJpeg(320, 240);
    // Cut anywhere before the frame header's sizes end: nothing read past the end.
    for (std::size_t cut = 0; cut < 100 && cut < jpeg.size(); ++cut) {
        const Bytes head(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(cut));
        const auto header = ProbeJpegFrame(head);
        if (header) {
            EXPECT_EQ(header->width, 320) << cut;
        }
    }
    EXPECT_FALSE(ProbeJpegFrame(Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
    EXPECT_FALSE(ProbeJpegFrame(Bytes{0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x01})); // length below 2
    EXPECT_TRUE(JpegFrameAcceptable(Bytes{}, 1, 1, 1));
}

TEST(JpegProbe, PicturesLargerThanTheClipOrKeptWholeBeyondTheLimitAreRefused) {
    EXPECT_TRUE(JpegFrameAcceptable(GreyJpeg(320, 240), 320, 240, 100));
    EXPECT_FALSE(JpegFrameAcceptable(GreyJpeg(321, 240), 320, 240, 1 << 30));
    EXPECT_TRUE(JpegFrameAcceptable(GreyJpeg(320, 240, 0xC2), 320, 240, 320 * 240));
    EXPECT_FALSE(JpegFrameAcceptable(GreyJpeg(320, 240, 0xC2), 320, 240, 320 * 240 - 1));
}

} // namespace
