#include "platform/qt/presenter.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include "media/display.h"
#include "platform/message_box.h"
#include "support/test_support.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

class Presenter : public ::testing::Test {
  protected:
    void SetUp() override {
        DisplayStartup();
        SetFullScreenAvailable(true);
        SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
        // Entry i is (i, 2i, 3i) modulo 256.
        for (int i = 0; i < 256; ++i) {
            palette[i] = static_cast<std::uint8_t>(i);
            palette[256 + i] = static_cast<std::uint8_t>(2 * i);
            palette[512 + i] = static_cast<std::uint8_t>(3 * i);
        }
        window.resize(320, 240);
        window.show();
    }
    void TearDown() override {
        LeaveFullScreen();
        SetMessageBoxHandler(nullptr);
        DisplayStartup();
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

TEST_F(Presenter, WindowModeShowsBottomUpRowsThroughTheColourTable) {
    FrameBuffer buffer = Buffer(4, 3);
    buffer.pixels[0] = 7;     // buffer row 0 = bottom screen row
    buffer.pixels[2 * 4] = 9; // buffer row 2 = top screen row
    PresentFrame(&window, buffer);
    const QImage& image = PresentedImage();
    ASSERT_EQ(image.size(), QSize(4, 3));
    EXPECT_EQ(image.pixel(0, 2), Colour(7));
    EXPECT_EQ(image.pixel(0, 0), Colour(9));
    EXPECT_EQ(image.pixel(1, 1), Colour(0));

    // The palette shows only once applied.
    palette[9] = 200;
    PresentFrame(&window, buffer);
    EXPECT_EQ(PresentedImage().pixel(0, 0), Colour(9));
    ApplyPalette(buffer, palette);
    PresentFrame(&window, buffer);
    EXPECT_EQ(qRed(PresentedImage().pixel(0, 0)), 200);
}

TEST_F(Presenter, ScreenshotIsExactlyThePresentedPicture) {
    windowMode = false;
    FrameBuffer buffer = Buffer(8, 4);
    FrameBuffer second = Buffer(8, 4);
    for (int i = 0; i < 8 * 4; ++i) buffer.pixels[i] = static_cast<std::uint8_t>(i + 1);
    second.pixels[1] = 2;
    PresentFrame(&window, buffer, &second);

    TempDir dir;
    const std::string png = dir.file("shot.png");
    ASSERT_TRUE(SavePresentedImage(png));
    QImage saved(QString::fromStdString(png));
    ASSERT_EQ(saved.size(), QSize(8, 4));
    EXPECT_EQ(saved.pixel(0, 0), Colour(1));
    EXPECT_EQ(saved.pixel(1, 0), Colour(2 + 32)); // stereo image merged
    EXPECT_EQ(saved.pixel(7, 2), Colour(24));
    for (int x = 0; x < 8; ++x) EXPECT_EQ(saved.pixel(x, 3), Colour(0)) << x; // black last row
    EXPECT_FALSE(SavePresentedImage(dir.file("no/such/folder/shot.png")));
}

TEST_F(Presenter, PaintsStretchedToTheClientAreaAndDrawsBuffersForTheEditor) {
    FrameBuffer buffer = Buffer(2, 2);
    buffer.pixels = {1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PresentFrame(&window, buffer);
    QImage canvas(4, 4, QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        PaintPresentedImage(painter, QRect(0, 0, 4, 4));
    }
    EXPECT_EQ(canvas.pixel(0, 0), Colour(3));
    EXPECT_EQ(canvas.pixel(1, 1), Colour(3));
    EXPECT_EQ(canvas.pixel(3, 3), Colour(2));

    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        DrawFrame1to1(buffer, 1, 1, painter);
    }
    EXPECT_EQ(canvas.pixel(1, 1), Colour(3));
    EXPECT_EQ(canvas.pixel(2, 2), Colour(2));
    EXPECT_EQ(canvas.pixel(3, 3), qRgb(0, 0, 0));
    {
        QPainter painter(&canvas);
        DrawFrameStretched(buffer, 0, 0, painter, 4, 4);
    }
    EXPECT_EQ(canvas.pixel(3, 0), Colour(4));
}

TEST_F(Presenter, NarrowBuffersStayWindowedAndWideOnesSwitchBackAndForth) {
    FrameBuffer narrow = Buffer(160, 120);
    EnterFullScreenForBuffer(&window, narrow, palette);
    EXPECT_FALSE(fullScreenActive);
    EXPECT_TRUE(windowMode);
    EXPECT_FALSE(window.isFullScreen());

    FrameBuffer wide = Buffer(320, 240);
    palette[5] = 77;
    EnterFullScreenForBuffer(&window, wide, palette);
    EXPECT_TRUE(fullScreenActive);
    EXPECT_FALSE(windowMode);
    EXPECT_TRUE(window.isFullScreen());
    EXPECT_EQ(wide.colourTable[4 * 5 + 2], 77); // palette applied after the switch
    // Entering again leaves first and ends up full screen once more.
    EnterFullScreenForBuffer(&window, wide, palette);
    EXPECT_TRUE(fullScreenActive);

    LeaveFullScreenForBuffer(&window, wide, palette);
    EXPECT_FALSE(fullScreenActive);
    EXPECT_TRUE(windowMode);
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Presenter, FailedSwitchSaysDirectDrawErrorAndStaysWindowed) {
    SetFullScreenAvailable(false);
    FrameBuffer wide = Buffer(640, 480);
    EnterFullScreenForBuffer(&window, wide, palette);
    ASSERT_EQ(messages, std::vector<std::string>{"DirectDraw Error"});
    EXPECT_FALSE(fullScreenActive);
    EXPECT_TRUE(windowMode);
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_FALSE(EnterFullScreen(nullptr));
}

} // namespace
