// The game's picture size and display mode: the nine picture sizes, setting
// one, and switching between the window and full screen.
#pragma once

#include <array>

struct PictureSize {
    int width;
    int height;
};

// By resolution index, as the settings file stores it.
constexpr std::array<PictureSize, 9> kPictureSizes = {{{160, 120},
                                                       {320, 200},
                                                       {320, 240},
                                                       {512, 384},
                                                       {640, 480},
                                                       {800, 600},
                                                       {1024, 768},
                                                       {1280, 1024},
                                                       {1600, 1200}}};
constexpr int kDefaultResolution = 2; // 320 x 240

// The size of a resolution index; any other index gives 320 x 240.
PictureSize PictureSizeForIndex(int index);
// The index of a picture height; any other height gives 2.
int ResolutionIndexForHeight(int height);
// The size after the one of this height; after 1200, or any height not in
// the list, 160 x 120.
PictureSize NextPictureSize(int height);

// Both frame buffers at the new size, with the projection for it and the
// palette applied again.
void SetPictureSize(PictureSize size);
// Shows both frame buffers through the render context's palette again (after
// a texture bank has brought a new one).
void ApplyPicturePalette();
// The current picture size (0 x 0 before the first SetPictureSize).
PictureSize CurrentPictureSize();

bool IsFullScreen();
// Full screen for the current picture; a picture narrower than 320 stays in
// the window. The palette is applied again either way.
void GoFullScreen();
// Back to the window, when in full screen; the palette is applied again.
void GoWindowed();
