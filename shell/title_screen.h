// The title screen (screen state 0): the logo page with its credit lines and
// the demo page with the hero walking toward the viewer, 15.5 s each; fire
// starts a new game, Escape ends the program, O (or a controller's start
// button) opens the controls and sound page over it, L (or a controller's
// back button) the level select.
#pragma once

#include <cstdint>
#include <string>

constexpr std::int32_t kTitlePageMs = 15500;
constexpr std::int32_t kTextVariants = 3;

struct TitleScreenState {
    float LogoZoom = 100;       // enlargement of the logo, shrinking toward 0
    float DrawnLogoZoom = 100;  // the enlargement this frame's picture shows
    float DemoDistance = -1;    // depth of the walking hero on the demo page
    std::int32_t TitlePage = 0; // 0 logo, 1 demo
    std::int32_t TextVariant = 0;
    std::string HiddenText; // drawn outside the picture
    bool StartHeld = false; // the controller's start button, as last read
    bool BackHeld = false;  // the controller's back button, as last read
};

extern TitleScreenState titleScreen;

// Buttons 1 to 3 close the screen toward a new game; button 4 ends the
// program.
void TitleInput();

// The title screen's update: input, the page, the logo's zoom or the demo
// hero's walk (with its steps heard from the demo camera). When its closing
// transition has completed, a new game starts at level 0 with 3 lives.
// False when nothing is to be drawn (the program ends, or a clip plays).
bool TitleScreenUpdate();

// The title's picture as the update left it: the logo page or the demo page.
void DrawTitleScreen();

// The two credit lines under the logo for a text variant, unscrambled.
std::string TitleLine(std::int32_t variant, int line);
