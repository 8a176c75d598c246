// One frame of the game, top to bottom: input, music and the clock; the
// current screen's update (on the play screen the world's frame, which ends
// in UpdateLocalView: camera, action cell, music zones, the sound listener,
// ambient loops, poses, touch test), the transition's step and the text
// lines; the voices following the listener; then the drawing, which only
// reads; then the presentation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shell/shell_state.h"

// What the frame's drawing shows, as the updates left it.
struct FramePicture {
    std::int32_t screen = kScreenNone; // the screen whose picture is drawn
    std::int32_t transitionLevel = 0;  // 0: no transition drawn
    std::int32_t transitionStyle = 0;
    std::optional<std::string> message; // the message line, when shown
    std::string fps;                    // "FPS:..." when shown
    std::string debug;                  // the debug line, when set
    bool help = false;                  // the help panel
};

void FrameStep();

// The updates of a frame: the current screen's handler (other states run
// nothing), the transition, the message line, the frame rate and debug texts.
FramePicture UpdateFrame();

// Draws what UpdateFrame gave; changes no record.
void DrawFrame(const FramePicture& picture);
