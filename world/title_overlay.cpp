#include "world/title_overlay.h"

#include "platform/clock.h"
#include "world/frame_clock.h"

TitleOverlay titleOverlay;

void StartTitleOverlay() {
    titleOverlay.shown = true;
    titleOverlay.offset = 0.7f;
    titleOverlay.levelStart = Now;
}

void AdvanceTitleOverlay() {
    TitleOverlay& title = titleOverlay;
    title.drawnShown = title.shown;
    title.drawnOffset = title.offset;
    if (!title.shown) return;
    const std::int32_t elapsed = TickDifference(title.levelStart, Now);
    if (elapsed < 3000) title.offset -= frameScaled(0.2f * title.offset);
    if (elapsed > 5000) title.offset += frameScaled(0.2f * (title.offset + 0.001f));
    if (elapsed > 10000) title.shown = false;
}
