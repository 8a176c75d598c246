// The play screen's head-up display: the bar along the bottom with the level
// timer, the ingots left, the lives and the level number, and the countdown
// tick of the timer's last seconds.
#pragma once

#include <cstdint>
#include <string>

// The HUD's texts for this frame; the timer text is empty while it is hidden
// (no timer, or the dark half of a blink).
struct HudTexts {
    std::string timer;
    std::string ingots;
    std::string lives;
    std::string level;
};
HudTexts MakeHudTexts();

// A level start: the next countdown plays from its first second again.
void ResetTimerCountdown();

// Plays the countdown tick once per whole second of the last 11 seconds.
void SoundTimerCountdown();

// Draws the bar and its texts over the picture.
void DrawPlayHud();
