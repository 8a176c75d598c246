#include "backends/qt/presenter.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>

#include "media/display.h"
#include "media/music_decoders.h"
#include "platform/message_box.h"

namespace {

QImage presented;
bool fullScreenAvailable = true;
bool integerScalingOn = false;
QPointer<QWidget> fullScreenWindow;

std::array<QRgb, 256> ColourLookup(const FrameBuffer& buffer) {
    std::array<QRgb, 256> lookup{};
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* entry = buffer.colourTable.data() + 4 * i;
        lookup[i] = qRgb(entry[2], entry[1], entry[0]);
    }
    return lookup;
}

// `rows` holds width * height indices, top row first.
QImage ToImage(const std::uint8_t* rows, int width, int height, const FrameBuffer& buffer) {
    const auto lookup = ColourLookup(buffer);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::uint8_t* src = rows + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) line[x] = lookup[src[x]];
    }
    return image;
}

} // namespace

void PresentFrame(QWidget* window, const FrameBuffer& buffer, const FrameBuffer* stereo) {
    const auto screen = ComposePresentedFrame(buffer, stereo);
    if (screen.empty()) return;
    presented = ToImage(screen.data(), buffer.width, buffer.height, buffer);
    if (window) window->update();
}

void PresentVideoPicture(QWidget* window, const VideoPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() < static_cast<std::size_t>(picture.width) * picture.height * 3)
        return;
    presented = QImage(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                       QImage::Format_RGB888)
                    .convertToFormat(QImage::Format_RGB32);
    if (window) window->update();
}

const QImage& PresentedImage() {
    return presented;
}

void PaintPresentedImage(QPainter& painter, const QRect& clientArea) {
    if (presented.isNull()) return;
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.drawImage(DevicePictureRect(presented.size(), clientArea, integerScalingOn, ratio),
                      presented);
}

QRectF DevicePictureRect(const QSize& picture, const QRect& clientArea, bool integerScaling,
                         double pixelRatio) {
    const double ratio = std::isfinite(pixelRatio) && pixelRatio > 0 ? pixelRatio : 1.0;
    const auto device = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
    const QRect deviceArea(device(clientArea.left()), device(clientArea.top()),
                           device(clientArea.width()), device(clientArea.height()));
    const QRect shown = PictureRect(picture, deviceArea, integerScaling);
    return QRectF(shown.left() / ratio, shown.top() / ratio, shown.width() / ratio,
                  shown.height() / ratio);
}

QRect PictureRect(const QSize& picture, const QRect& clientArea, bool integerScaling) {
    if (picture.isEmpty() || clientArea.isEmpty()) return clientArea;
    const double fit = std::min(static_cast<double>(clientArea.width()) / picture.width(),
                                static_cast<double>(clientArea.height()) / picture.height());
    const double scale = integerScaling && fit >= 1.0 ? std::floor(fit) : fit;
    const int width =
        std::clamp(static_cast<int>(std::lround(picture.width() * scale)), 1, clientArea.width());
    const int height =
        std::clamp(static_cast<int>(std::lround(picture.height() * scale)), 1, clientArea.height());
    return QRect(clientArea.left() + (clientArea.width() - width) / 2,
                 clientArea.top() + (clientArea.height() - height) / 2, width, height);
}

void SetIntegerScaling(bool on) {
    integerScalingOn = on;
}

QImage FrameBufferImage(const FrameBuffer& buffer) {
    if (!FrameBufferUsable(buffer)) return {};
    const int w = buffer.width, h = buffer.height;
    if (!windowMode) return ToImage(buffer.pixels.data(), w, h, buffer);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::copy_n(buffer.pixels.data() + static_cast<std::size_t>(h - 1 - y) * w, w,
                    rows.data() + static_cast<std::size_t>(y) * w);
    return ToImage(rows.data(), w, h, buffer);
}

void DrawFrame1to1(const FrameBuffer& buffer, int x, int y, QPainter& canvas) {
    if (!windowMode) return;
    const QImage image = FrameBufferImage(buffer);
    if (!image.isNull()) canvas.drawImage(QPoint(x, y), image);
}

void DrawFrameStretched(const FrameBuffer& buffer, int x, int y, QPainter& canvas, int height,
                        int width) {
    if (!windowMode) return;
    const QImage image = FrameBufferImage(buffer);
    if (!image.isNull()) canvas.drawImage(QRect(x, y, width, height), image);
}

bool EnterFullScreen(QWidget* window) {
    if (fullScreenActive) LeaveFullScreen();
    windowMode = false;
    fullScreenActive = true;
    if (!fullScreenAvailable || !window || !QGuiApplication::primaryScreen()) {
        ShowMessageBox("DirectDraw Error");
        windowMode = true;
        fullScreenActive = false;
        return false;
    }
    fullScreenWindow = window;
    window->showFullScreen();
    window->setCursor(Qt::BlankCursor);
    return true;
}

void LeaveFullScreen() {
    if (!fullScreenActive) return;
    windowMode = true;
    if (fullScreenWindow) {
        fullScreenWindow->showNormal();
        fullScreenWindow->unsetCursor();
    }
    fullScreenWindow = nullptr;
    fullScreenActive = false;
}

void EnterFullScreenForBuffer(QWidget* window, FrameBuffer& buffer, const PalettePlanes& palette) {
    if (!FullScreenAllowed(buffer)) return;
    EnterFullScreen(window);
    ApplyPalette(buffer, palette);
}

void LeaveFullScreenForBuffer(QWidget*, FrameBuffer& buffer, const PalettePlanes& palette) {
    if (!FullScreenAllowed(buffer)) return;
    LeaveFullScreen();
    ApplyPalette(buffer, palette);
}

void SetFullScreenAvailable(bool available) {
    fullScreenAvailable = available;
}
