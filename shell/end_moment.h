// The moments that close a level before its closing transition: "LEVEL
// COMPLETE" with the time the level took, and "GAME OVER" after the last
// life. The world's frames go on under them; only the transition waits.
#pragma once

#include <cstdint>
#include <string>

enum EndMomentKind : std::int32_t {
    kEndMomentNone = 0,
    kEndMomentLevelComplete = 1,
    kEndMomentGameOver = 2,
};

constexpr std::int32_t kLevelCompleteMs = 2000;    // the level-complete moment's length
constexpr std::int32_t kGameOverMs = 4000;         // the game-over moment's length
constexpr std::int32_t kGameOverSkipFromMs = 1000; // fire skips it from then on

struct EndMoment {
    std::int32_t kind = kEndMomentNone; // the moment shown, or the last one shown
    bool active = false;                // shown now (until the level is left)
    bool closing = false;               // over: the closing transition has started
    std::int32_t shownMs = 0;           // how long it has been shown
    std::int32_t levelTimeMs = 0;       // the time the won level took
    bool fireHeld = false;              // fire was down in the previous frame
};

extern EndMoment endMoment;

// Play time of the current level, counted by the play screen.
extern std::int32_t levelPlayMs;

// Starts a moment unless one is already under way.
void StartEndMoment(std::int32_t kind);

// True from a moment's start until the level is left: the level's end is
// decided and the exit no longer counts.
bool EndMomentUnderWay();

// One frame of the moment: counts frameMs, lets fire (pressed anew) cut the
// game over short once it has shown kGameOverSkipFromMs, and when the moment
// is over starts the closing transition as soon as no other transition runs.
void StepEndMoment();

// The level is left (next level, title, end screen): nothing is shown any
// more; the last moment's kind and length stay for the state dump.
void LeaveEndMoment();

// "LEVEL COMPLETE" / "GAME OVER", and the second line ("TIME 01:05"), or
// empty texts while no moment is shown.
struct EndMomentTexts {
    std::string title;
    std::string detail;
};
EndMomentTexts MakeEndMomentTexts();

// "MM:SS" of a time in ms, rounded down to the second; 99:59 at most.
std::string MinutesSeconds(std::int32_t ms);

// Draws the moment's panel and texts over the play picture; reads only.
void DrawEndMoment();
