// Clips over FFmpeg within the picture and the memory: a clip larger than
// the largest picture is decoded at a reduced size and scaled to fit, one
// too large even so is refused with its reason, and a picture that grows in
// the middle of a clip is not decoded.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "backends/ffmpeg/ffmpeg_media.h"
#include "media/clip_plan.h"
#include "support/mjpeg_clip.h"
#include "support/test_support.h"

namespace {

// The most memory this process has held, in bytes (Linux's VmHWM).
std::uint64_t peakMemory() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        std::uint64_t kb = 0;
        if (key == "VmHWM:" && status >> kb) return kb * 1024;
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

class Clip : public ::testing::Test {
  protected:
    std::unique_ptr<VideoStream> open(const std::vector<std::uint8_t>& bytes) {
        Loaded<std::unique_ptr<VideoStream>> clip = FfmpegVideo(dir.write("CLIP.AVI", bytes));
        EXPECT_TRUE(clip) << clip.error;
        return clip ? std::move(*clip) : nullptr;
    }
    TempDir dir;
};

TEST_F(Clip, AHugeClipIsDecodedSmallAndShownAtTheLargestPicture) {
    // 16000 x 16000, two pictures a second apart: 3.9 GB once, now within
    // the memory of a normal run.
    auto clip = open(GreyMjpegAvi(16000, 16000, 2, 1));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->LengthMs(), 2000);
    EXPECT_EQ(clip->SourceSize().width, 16000);
    EXPECT_EQ(clip->DecodedSize().width, 2000); // an eighth, still above the picture
    EXPECT_EQ(clip->DecodedSize().height, 2000);
    for (std::int64_t ms : {0, 500, 1000, 2000}) {
        const VideoPicture* picture = clip->PictureAt(ms);
        ASSERT_NE(picture, nullptr) << ms;
        EXPECT_EQ(picture->width, 1200);
        EXPECT_EQ(picture->height, 1200);
        ASSERT_EQ(picture->rgb.size(), 1200u * 1200 * 3);
        EXPECT_NEAR(picture->rgb[600 * 1200 * 3], 128, 2); // the grey of the file
    }
    EXPECT_LT(peakMemory(), 300u << 20);
}

TEST_F(Clip, ClipsThatFitAreShownAsTheyAreAndWideOnesKeepTheirShape) {
    auto small = open(GreyMjpegAvi(320, 240, 2, 4));
    ASSERT_TRUE(small);
    const VideoPicture* picture = small->PictureAt(0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 320);
    EXPECT_EQ(picture->height, 240);
    EXPECT_EQ(small->DecodedSize().width, 320);

    auto wide = open(GreyMjpegAvi(4000, 400, 1, 1));
    ASSERT_TRUE(wide);
    picture = wide->PictureAt(0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 1600);
    EXPECT_EQ(picture->height, 160);
    EXPECT_EQ(wide->DecodedSize().width, 2000); // a half: a quarter would be below 1600
}

TEST_F(Clip, AClipTooLargeEvenReducedIsRefusedWithItsSize) {
    // 65535 x 65535 is 8192 x 8192 at an eighth: still more than a decoder
    // may hold. The header alone refuses it; nothing is decoded.
    const std::string file = dir.write("HUGE.AVI", GreyMjpegAvi(65535, 65535, 1, 1));
    const Loaded<std::unique_ptr<VideoStream>> clip = FfmpegVideo(file);
    ASSERT_FALSE(clip);
    EXPECT_EQ(clip.error, "its pictures are 65535 x 65535 pixels, too many to decode (at most " +
                              std::to_string(kMaxClipDecodePixels) + " a picture).");
    EXPECT_LT(peakMemory(), 300u << 20);

    // Not a clip at all: a failure without a reason, as ever.
    const Loaded<std::unique_ptr<VideoStream>> text = FfmpegVideo(dir.write("TEXT.AVI", "clip"));
    ASSERT_FALSE(text);
    EXPECT_EQ(text.error, "");
}

TEST_F(Clip, APictureThatGrowsInTheMiddleIsNotDecoded) {
    // The headers and the first picture say 320 x 240; the second picture is
    // 16000 x 16000 and was decoded at the size of the first.
    auto clip = open(
        MjpegAvi({GreyJpeg(320, 240), GreyJpeg(16000, 16000), GreyJpeg(320, 240)}, 320, 240, 1));
    ASSERT_TRUE(clip);
    for (std::int64_t ms : {0, 1000, 2000}) {
        const VideoPicture* picture = clip->PictureAt(ms);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->width, 320);
        EXPECT_EQ(picture->height, 240);
    }
    EXPECT_LT(peakMemory(), 300u << 20);
}

TEST_F(Clip, AProgressivePictureBeyondTheLimitIsNotDecoded) {
    // Reducing does not shrink what a progressive picture's decoder keeps:
    // the whole picture's coefficients, 1.5 GB here. It is skipped; the
    // baseline picture after it is shown.
    auto clip =
        open(MjpegAvi({GreyJpeg(16000, 16000, 0xC2), GreyJpeg(16000, 16000)}, 16000, 16000, 1));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->PictureAt(0), nullptr);
    const VideoPicture* picture = clip->PictureAt(1000);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 1200);
    EXPECT_LT(peakMemory(), 300u << 20);
}

TEST(ClipPlan, ReducesAsFarAsThePictureAllowsAndRefusesAbsurdSizes) {
    const Loaded<ClipPlan> huge = PlanClip({16000, 16000}, 3);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->reduction, 3);
    EXPECT_EQ(huge->picture.width, 1200);
    // No reduction from the decoder: 16000 x 16000 is beyond what it may hold.
    EXPECT_FALSE(PlanClip({16000, 16000}, 0));
    // 3840 x 2160 decodes whole; its picture is 1600 x 900.
    const Loaded<ClipPlan> uhd = PlanClip({3840, 2160}, 0);
    ASSERT_TRUE(uhd);
    EXPECT_EQ(uhd->picture.width, 1600);
    EXPECT_EQ(uhd->picture.height, 900);
    // Odd sides round up, as the decoder does.
    EXPECT_EQ(ReducedClipSide(16001, 3), 2001);
    for (const ClipSize bad : {ClipSize{0, 10}, ClipSize{10, -1}, ClipSize{65536, 10}}) {
        const Loaded<ClipPlan> plan = PlanClip(bad, 3);
        ASSERT_FALSE(plan);
        EXPECT_NE(plan.error.find("a side may have 1 to 65535"), std::string::npos) << plan.error;
    }
    // A sliver keeps at least one row.
    EXPECT_EQ(FitClipPicture({60000, 1}).height, 1);
}

} // namespace
