// Growing or shrinking the level on each of its six sides, keeping the cells
// that remain where they stand, as one undo step.
#pragma once

#include <optional>
#include <string>

// Cells added on each side (negative: removed). West and east are low and
// high x, down and up low and high y, south and north low and high z.
struct ResizeMargins {
    int west = 0, east = 0, down = 0, up = 0, south = 0, north = 0;
    bool operator==(const ResizeMargins&) const = default;
};

// Six whole numbers, each with an optional minus sign, in the order west
// east down up south north. nullopt with the message in `error` otherwise.
std::optional<ResizeMargins> ParseResizeAnswer(const std::string& text, std::string& error);

// Resizes the level: cells, start, exit, music zones, sentries and the
// selector move with the low sides' margins. New cells are empty (brightness
// 128). Music zones in the removed part are freed, sentries there removed (the
// others keep their order), an exit there is no longer placed and a start
// there moves to the nearest cell left; each is said in one message. False,
// with the reason shown, when the sizes would not be at least one cell on
// every axis or the grid would be too large.
bool ResizeLevel(const ResizeMargins& margins);

// Tools, Resize: asks for the six margins (again after a bad answer).
void ResizeLevelCommand();
