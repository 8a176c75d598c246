#include "backends/qt/presenter.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include "media/display.h"
#include "platform/message_box.h"
#include "qt/qt_test_support.h"
#include "support/test_support.h"

namespace {

QApplication& App() {
    return EnsureQtApplication();
}

class Presenter : public ::testing::Test {
  protected:
    void SetUp() override {
        DisplayStartup();
        SetFullScreenAvailable(true);
        SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
        for (int i = 0; i < 256; ++i) { // entry i is (i, 2i, 3i)
            palette[i] = i;
            palette[256 + i] = 2 * i;
            palette[512 + i] = 3 * i;
        }
        window.resize(320, 240);
        window.show();
    }
    void TearDown() override {
        LeaveFullScreen();
        SetMessageBoxHandler(nullptr);
    }

    FrameBuffer Buffer(int w, int h) {
        FrameBuffer buffer;
        MakeBitmapDescription(buffer, w, h);
        ApplyPalette(buffer, palette);
        return buffer;
    }
    static QRgb Colour(int i) { return qRgb(i & 255, (2 * i) & 255, (3 * i) & 255); }

    QApplication& app = App(); // before any widget
    PalettePlanes palette{};
    QWidget window;
    std::vector<std::string> messages;
};

TEST_F(Presenter, PaintsBottomUpRowsStretchedToTheClientArea) {
    FrameBuffer buffer = Buffer(2, 2);
    std::copy_n("\1\2\3\4", 4, buffer.pixels.begin());
    PresentFrame(&window, buffer);
    QImage canvas(4, 4, QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        PaintPresentedImage(painter, QRect(0, 0, 4, 4));
    }
    EXPECT_EQ(canvas.pixel(1, 1), Colour(3)); // buffer row 1 is the top screen row
    EXPECT_EQ(canvas.pixel(3, 3), Colour(2));
    {
        QPainter painter(&canvas);
        DrawFrame1to1(buffer, 1, 1, painter);
    }
    EXPECT_EQ(canvas.pixel(2, 2), Colour(2));
    EXPECT_EQ(canvas.pixel(3, 3), Colour(2)); // outside the 1:1 copy
}

TEST_F(Presenter, ScreenshotIsExactlyThePresentedFullScreenPicture) {
    windowMode = false;
    FrameBuffer buffer = Buffer(8, 4), second = Buffer(8, 4);
    for (int i = 0; i < 32; ++i) buffer.pixels[i] = i + 1;
    second.pixels[1] = 2;
    PresentFrame(&window, buffer, &second);
    const QImage& saved = PresentedImage();
    ASSERT_EQ(saved.size(), QSize(8, 4));
    EXPECT_EQ(saved.pixel(1, 0), Colour(2 + 32)); // stereo image merged
    EXPECT_EQ(saved.pixel(7, 2), Colour(24));
    for (int x = 0; x < 8; ++x) EXPECT_EQ(saved.pixel(x, 3), Colour(0)) << x; // black last row
}

TEST_F(Presenter, OnlyWideBuffersGoFullScreenAndAFailureStaysWindowed) {
    FrameBuffer narrow = Buffer(160, 120), wide = Buffer(320, 240);
    EnterFullScreenForBuffer(&window, narrow, palette);
    EXPECT_FALSE(fullScreenActive || window.isFullScreen() || !windowMode);

    palette[5] = 77;
    EnterFullScreenForBuffer(&window, wide, palette);
    EXPECT_TRUE(fullScreenActive && window.isFullScreen() && !windowMode);
    EXPECT_EQ(wide.colourTable[4 * 5 + 2], 77); // palette applied after the switch
    LeaveFullScreenForBuffer(&window, wide, palette);
    EXPECT_FALSE(fullScreenActive || window.isFullScreen() || !windowMode);
    EXPECT_TRUE(messages.empty());

    SetFullScreenAvailable(false);
    EnterFullScreenForBuffer(&window, wide, palette);
    EXPECT_EQ(messages, std::vector<std::string>{"DirectDraw Error"});
    EXPECT_FALSE(fullScreenActive || window.isFullScreen() || !windowMode);
}

TEST(PictureRect, KeepsTheAspectRatioWithBarsAndWholeMultiplesOnRequest) {
    const QSize picture(320, 240);
    EXPECT_EQ(PictureRect(picture, QRect(0, 0, 640, 480), false), QRect(0, 0, 640, 480));
    // Wider than 4:3: bars left and right.
    EXPECT_EQ(PictureRect(picture, QRect(0, 0, 1000, 480), false), QRect(180, 0, 640, 480));
    // Taller: bars above and below.
    EXPECT_EQ(PictureRect(picture, QRect(10, 20, 320, 400), false), QRect(10, 100, 320, 240));
    EXPECT_EQ(PictureRect(picture, QRect(0, 0, 700, 500), false), QRect(16, 0, 667, 500));
    EXPECT_EQ(PictureRect(picture, QRect(0, 0, 700, 500), true), QRect(30, 10, 640, 480));
    // Smaller than the picture: shrunk to fit even with whole multiples.
    EXPECT_EQ(PictureRect(picture, QRect(0, 0, 160, 240), true), QRect(0, 60, 160, 120));
}

TEST(PictureRect, WholeMultiplesAreCountedInDevicePixels) {
    const QSize picture(320, 240);
    // 800 x 600 logical pixels of 1.25 are 1000 x 750 device pixels: three
    // times the picture (768 x 576 logical), where logical pixels would give
    // two times (800 device pixels, two and a half times the picture).
    EXPECT_EQ(DevicePictureRect(picture, QRect(0, 0, 800, 600), true, 1.25),
              QRectF(16, 12, 768, 576));
    EXPECT_EQ(DevicePictureRect(picture, QRect(0, 0, 700, 500), true, 2.0),
              QRectF(30, 10, 640, 480));
    EXPECT_EQ(DevicePictureRect(picture, QRect(0, 0, 700, 500), true, 1.0),
              QRectF(PictureRect(picture, QRect(0, 0, 700, 500), true)));
    // Without whole multiples the picture fills the area as before.
    EXPECT_EQ(DevicePictureRect(picture, QRect(0, 0, 640, 480), false, 1.5),
              QRectF(0, 0, 640, 480));
    // A ratio that is no ratio counts as 1.
    EXPECT_EQ(DevicePictureRect(picture, QRect(0, 0, 700, 500), true, 0.0),
              QRectF(30, 10, 640, 480));
}

} // namespace
