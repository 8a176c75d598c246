// The display surface without any windowing library: frame buffer set-up,
// colour tables, the full-screen switch state and the composition of the
// picture that presenting shows. The window side lives in backends/qt/.
#pragma once

#include <cstdint>
#include <vector>

#include "media/frame_buffer.h"

// Narrower buffers never go full screen.
constexpr int kMinFullScreenWidth = 320;

// True while the window covers the screen exclusively. Kept beside the
// process-wide `windowMode` flag, which only differs from it mid-switch.
extern bool fullScreenActive;

// Window mode on, full screen off: the state of a starting program.
void DisplayStartup();

// Allocates the W x (H + 5) pixel block and clears the colour table. Sizes
// below 1 give an empty buffer that presenting and drawing ignore.
void MakeBitmapDescription(FrameBuffer& buffer, int width, int height);
void FreeBitmapDescription(FrameBuffer& buffer);

// Colour table entry i = (blue[i], green[i], red[i], 1).
void SetColourTable(FrameBuffer& buffer, const PalettePlanes& palette);

// Makes the palette the one the buffer is shown with. Windows only need the
// colour table today; the full-screen picture goes through the same table.
void ApplyPalette(FrameBuffer& buffer, const PalettePlanes& palette);

// True when the buffer is large enough to be shown full screen.
bool FullScreenAllowed(const FrameBuffer& buffer);

// Whether the buffer holds the W * (H + 5) pixels its size promises.
bool FrameBufferUsable(const FrameBuffer& buffer);

// The W * H palette indices the screen shows for `buffer`, top row first:
// the stereo image merged in (main + 16 * second, 8-bit) when `stereo` is
// given and of the same size, then in full screen the linear copy of
// W * (H - 1) bytes rounded down to a multiple of 4 followed by a black last
// row, or in window mode the bottom-up rows turned over. The buffer itself is
// left unchanged, so presenting the same frame twice shows the same picture.
// Empty when the buffer is unusable.
std::vector<std::uint8_t> ComposePresentedFrame(const FrameBuffer& buffer,
                                                const FrameBuffer* stereo);
