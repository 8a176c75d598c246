// Replays at run time: every level played is recorded (its start, and each
// frame's tick, milliseconds and control flags) and written to
// <user data>/replays/last.kvr when the level is left; a won level whose time
// beats records.ini's (same folder) is also kept as best-<name>.kvr. And
// --replay: a recorded level played back exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// <user data>/replays, and records.ini in it; empty when there is no user
// data folder.
std::string ReplaysFolder();
std::string RecordsFile();

// At the end of StartLevel: finishes the recording before, then starts one
// of the level just entered. Neither while a replay plays nor in a network game.
void BeginLevelRecording();
// Writes the open recording (nothing when none is open): last.kvr, and when
// the level was won with a new best time, records.ini and best-<name>.kvr.
// When the play screen is left, a level starts and at shutdown.
void FinishLevelRecording();
// Once a frame after the frame clock, on the play screen: a recording takes
// the frame's tick, milliseconds and control flags; a replay playing back
// puts its own in their place.
void ReplayFrameInput();

// --replay: reads the replay and checks it against this program and the
// level's bytes, then starts its level as it started. A refusal is shown and
// ends the program with exit code 2.
void StartReplayPlayback(const std::string& file);
bool ReplayPlaying();
// The tick the frame about to run shows while a replay plays back.
std::optional<std::int32_t> NextReplayTick();
// The milliseconds of the frame about to run while a replay plays back (the
// last frame's once all have run): the pace of a replay in a window, and of
// the frames after its end.
std::int32_t ReplayPaceMs();

struct ReplayStatus {
    std::string playbackFile; // --replay's file
    std::int64_t frames = 0;  // the playback's frames, or the recording's so far
    std::int64_t played = 0;  // playback frames run
    bool recording = false;
    std::string lastWritten; // the last replay file written
    std::string recordsFile;
    std::int32_t recordsBest = -1; // the current level's best time, -1 when none
};
ReplayStatus CurrentReplayStatus();

// Forgets the recording and the playback (tests).
void ResetReplays();
