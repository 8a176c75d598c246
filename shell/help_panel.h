// The help F1 shows: the keys, on a dark panel over the picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr std::int32_t kHelpShownMs = 15000; // how long the panel stays
constexpr double kHelpTextWidth = 0.89;      // room for a line, a fraction of the width

struct HelpPanelState {
    bool shown = false;
    std::int32_t remainingMs = 0;
    bool keyHeld = false; // F1 was down in the previous frame
};

extern HelpPanelState helpPanel;

// The panel's lines, top to bottom (an empty line is a gap).
const std::vector<std::string>& HelpLines();

// Shows the panel for kHelpShownMs, or hides it when it is shown.
void ToggleHelpPanel();

// F1's state in this frame: a press (down now, not in the previous frame)
// toggles the panel. True when it did.
bool HelpKey(bool down);

// Counts the panel down by frameMs; true when it is drawn in this frame.
bool UpdateHelpPanel();

// Draws the panel and its lines; reads only.
void DrawHelpPanel();
