// The end screen (screen state 10): the camera circles the hero on his
// podium while sparks fall and glow out, and the credits of "game.dat" rise
// over the picture; any button goes back to the title.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct EndTextRecord;

constexpr int kSparkCount = 1001;
constexpr float kSparkGround = -400; // height of a spark lying on the ground

struct Spark {
    float x = 0, y = 0, z = 0;
    float spinA = 0, spinB = 0;           // angle units
    float spinSpeedA = 0, spinSpeedB = 0; // angle units per 90 ms
    float glowTime = 0;
    std::uint8_t shade = 0; // the spark model's face colour
};

struct EndScreenState {
    float ScrollTop = 1.0f;      // top of the first text line, fraction of the picture
    float DrawnScrollTop = 1.0f; // where this frame's picture shows it
    std::array<Spark, kSparkCount> Sparks{};
};

extern EndScreenState endScreen;

// Any button closes the screen toward the title.
void EndInput();

// The end screen's update: input, the camera's orbit, the sparks and the
// credits' rise. False when nothing is to be drawn (a clip plays).
bool EndScreenUpdate();

// Zeroes the camera orbit of player records 0..lastPlayer (on entering the
// end screen).
void ResetCameraOrbits();

// The end screen's first-frame set-up: text at the bottom, sparks scattered
// high above the podium with random spins and colours.
void StartEndScreen();

// One line of the credits as the end screen places it.
struct EndTextLine {
    std::string text; // without its font marker
    bool big = false;
    double top = 0;
    bool shown = false; // within the picture's rows, so drawn
};

// The credits' lines from `scrollTop` down: empty stored lines are skipped,
// a big-font line advances 0.06 and a small one 0.03, shown or not.
std::vector<EndTextLine> EndTextLayout(const EndTextRecord& text, double scrollTop);

// Draws the end screen's picture from its state: the podium, the hero, the
// flag and the sparks seen from the orbiting camera, then the credits at
// DrawnScrollTop.
void DrawEndScreen();
