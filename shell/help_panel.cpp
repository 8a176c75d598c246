#include "shell/help_panel.h"

#include <algorithm>

#include "draw/panel.h"
#include "draw/text.h"
#include "world/frame_clock.h"

HelpPanelState helpPanel;

namespace {

constexpr double kPanelTop = 0.06;
constexpr double kPanelLeft = 0.03;
constexpr double kMargin = 0.025;
constexpr double kPanelWidth = kHelpTextWidth + 2 * kMargin;
constexpr double kLineStep = 8.0 / 240.0; // a small-font line at 240 rows
constexpr double kTitleStep = 20.0 / 240.0;
constexpr int kPanelTransparency = 10;
const char* const kTitle = "KEYS";

} // namespace

const std::vector<std::string>& HelpLines() {
    static const std::vector<std::string> kLines = {
        "ARROWS           WALK FORWARD AND BACK, TURN LEFT AND RIGHT",
        "SPACE            JUMP; FIRE ON THE TITLE AND END SCREENS",
        "CTRL + UP/DOWN   LOOK UP AND DOWN",
        "SHIFT            DIG, PUSH, WORK LEVERS",
        "ESC              OPTIONS: RESTART, LOAD, SAVE, VIEW, CONTROLS, QUIT",
        "KEYPAD + AND -   CAMERA CLOSER AND FARTHER",
        "+ AND - (MAIN)   CAMERA CLOSER AND FARTHER",
        "",
        "F1 THIS HELP       F4 RESOLUTION     F5 TEXTURE DETAIL",
        "F6 SCREEN MODE     F7 MUSIC ON/OFF   F8 STEREOSCOPIC",
        "F9 FPS             F11 EXCLUSIVE MODE",
        "",
        "KEYBOARD:   BUTTON 1=SPACE  BUTTON 2=CTRL  BUTTON 3=SHIFT  BUTTON 4=ESC",
        "CONTROLLER: STICK OR D-PAD MOVES, A JUMPS, B LOOKS, X ACTS, Y MENU",
    };
    return kLines;
}

void ToggleHelpPanel() {
    helpPanel.shown = !helpPanel.shown;
    helpPanel.remainingMs = helpPanel.shown ? kHelpShownMs : 0;
}

bool HelpKey(bool down) {
    const bool pressed = down && !helpPanel.keyHeld;
    helpPanel.keyHeld = down;
    if (pressed) ToggleHelpPanel();
    return pressed;
}

bool UpdateHelpPanel() {
    HelpPanelState& h = helpPanel;
    if (!h.shown) return false;
    h.remainingMs -= std::max(frameMs, 0);
    if (h.remainingMs <= 0) {
        h.shown = false;
        h.remainingMs = 0;
    }
    return true;
}

void DrawHelpPanel() {
    const std::vector<std::string>& lines = HelpLines();
    const double height = 2 * kMargin + kTitleStep + static_cast<double>(lines.size()) * kLineStep;
    DrawDarkPanel(kPanelTop, kPanelLeft, height, kPanelWidth, kPanelTransparency);
    DrawText(kTitle, true, kPanelTop + kMargin, 0.5 - TextWidth(kTitle, true) / 2);
    double top = kPanelTop + kMargin + kTitleStep;
    for (const std::string& line : lines) {
        DrawText(line, false, top, kPanelLeft + kMargin);
        top += kLineStep;
    }
}
