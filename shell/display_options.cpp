#include "shell/display_options.h"

#include "draw/pipeline.h"
#include "engine/render_context.h"
#include "media/display.h"
#include "media/music_decoders.h"
#include "shell/form_services.h"

// Clips are scaled to fit the largest picture the game shows.
static_assert(kPictureSizes.back().width == kMaxClipPictureWidth &&
              kPictureSizes.back().height == kMaxClipPictureHeight);

PictureSize PictureSizeForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kPictureSizes.size()))
        return kPictureSizes[kDefaultResolution];
    return kPictureSizes[index];
}

int ResolutionIndexForHeight(int height) {
    // No two sizes share a height.
    for (int i = 0; i < static_cast<int>(kPictureSizes.size()); ++i)
        if (kPictureSizes[i].height == height) return i;
    return kDefaultResolution;
}

PictureSize NextPictureSize(int height) {
    for (int i = 0; i + 1 < static_cast<int>(kPictureSizes.size()); ++i)
        if (kPictureSizes[i].height == height) return kPictureSizes[i + 1];
    return kPictureSizes[0];
}

void SetPictureSize(PictureSize size) {
    SetupViewport(size.width, size.height);
}

void ApplyPicturePalette() {
    ApplyPalette(renderContext.mainBuffer, renderContext.palette);
    ApplyPalette(renderContext.stereoBuffer, renderContext.palette);
}

PictureSize CurrentPictureSize() {
    return {renderContext.mainBuffer.width, renderContext.mainBuffer.height};
}

bool IsFullScreen() {
    return fullScreenActive;
}

void GoFullScreen() {
    if (!FullScreenAllowed(renderContext.mainBuffer)) return;
    EnterFormFullScreen();
    ApplyPicturePalette();
}

void GoWindowed() {
    if (!fullScreenActive) return;
    LeaveFormFullScreen();
    ApplyPicturePalette();
}
