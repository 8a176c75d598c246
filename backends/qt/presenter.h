// Showing frame buffers in a Qt window: presenting a frame, painting it,
// the editor's direct draws, and the full-screen switch.
//
// Wiring for a form: call PresentFrame once a frame (after drawing), and in
// the form's paintEvent call PaintPresentedImage(painter, rect()). Switch
// with EnterFullScreenForBuffer / LeaveFullScreenForBuffer. `--screenshot`
// saves PresentedImage.
#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <string>

#include "media/frame_buffer.h"

struct VideoPicture;

class QPainter;
class QWidget;

// Converts the frame through the buffer's colour table into the presented
// image (the stereo image merged in when given, full-screen copy rule or
// bottom-up rows as the mode says) and asks `window` to repaint. A buffer
// without pixels leaves the previous image in place.
void PresentFrame(QWidget* window, const FrameBuffer& buffer, const FrameBuffer* stereo = nullptr);

// Makes a video clip's RGB picture the presented image (shown scaled like a
// frame, saved by a screenshot) and asks `window` to repaint.
void PresentVideoPicture(QWidget* window, const VideoPicture& picture);

// The last presented picture, at the buffer's size (null before the first).
const QImage& PresentedImage();

// Draws the presented image scaled into `clientArea` with its aspect ratio
// kept, centred (the caller fills the bars); nothing before the first present.
void PaintPresentedImage(QPainter& painter, const QRect& clientArea);

// Where a picture of `picture` size is shown in `clientArea`: as large as it
// fits with its aspect ratio, centred. With integer scaling the scale is the
// largest whole multiple that fits (a picture larger than the area is still
// shrunk to fit).
QRect PictureRect(const QSize& picture, const QRect& clientArea, bool integerScaling);
// The same worked out in device pixels (`pixelRatio` to a logical pixel),
// so that whole multiples stay whole on high-density screens; given back in
// logical pixels.
QRectF DevicePictureRect(const QSize& picture, const QRect& clientArea, bool integerScaling,
                         double pixelRatio);
// Integer scaling for PaintPresentedImage (off at start).
void SetIntegerScaling(bool on);

// The buffer's picture (screen rows, through its colour table), without any
// merge or full-screen rule.
QImage FrameBufferImage(const FrameBuffer& buffer);

// Window mode only: the buffer at (x, y) unscaled, or stretched onto the
// rectangle (x, y, width, height).
void DrawFrame1to1(const FrameBuffer& buffer, int x, int y, QPainter& canvas);
void DrawFrameStretched(const FrameBuffer& buffer, int x, int y, QPainter& canvas, int height,
                        int width);

// Full screen covers the screen with the window, the picture scaled to it,
// and hides the mouse cursor. Buffers under 320 wide stay windowed. When the
// switch cannot be made, "DirectDraw Error" is shown and the window stays as
// it was. Both end by applying the palette to the buffer.
void EnterFullScreenForBuffer(QWidget* window, FrameBuffer& buffer, const PalettePlanes& palette);
void LeaveFullScreenForBuffer(QWidget* window, FrameBuffer& buffer, const PalettePlanes& palette);

// The switch itself, at any width; entering again while full screen first
// leaves. EnterFullScreen returns false after showing the error.
bool EnterFullScreen(QWidget* window);
void LeaveFullScreen();

// Whether full screen can be used at all (false, for example, for runs that
// must stay in a window). Asking for it then fails like a failed switch.
void SetFullScreenAvailable(bool available);
