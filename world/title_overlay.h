// The level title that slides in at a level start and leaves after ten
// seconds. The world's frame moves it; the play picture draws what the frame
// left in `drawnShown` and `drawnOffset`.
#pragma once

#include <cstdint>

struct TitleOverlay {
    bool shown = false; // still on its way
    float offset = 0;   // of the two lines, as the next frame shows them
    std::int32_t levelStart = 0;
    bool drawnShown = false; // this frame's picture shows it
    float drawnOffset = 0;   // the offset this frame's picture shows
};

extern TitleOverlay titleOverlay;

// Shows the level title from now on (a level start calls this).
void StartTitleOverlay();

// Once a play frame, at the end of the world's frame: this frame shows the
// title where it is, then it moves for the next frame (the description
// slides down to the middle and the author up to just below it; after five
// seconds they move apart, and after ten they are gone).
void AdvanceTitleOverlay();
