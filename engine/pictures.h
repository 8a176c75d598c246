// Picture slots: numbered 2D images (interface pictures in 1..12, small-font
// glyphs in 50..149, big-font glyphs in 150..249) drawn stretched to
// rectangles given in fractions of the frame.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/loaded.h"

constexpr int kPictureSlots = 4096;

struct Picture {
    std::vector<std::uint8_t> pixels; // palette indices, row-major
    std::int32_t width = 0;
    std::int32_t height = 0;
};

extern std::array<Picture, kPictureSlots> pictureSlots;

// Empties every slot.
void ClearPictures();

// Loads an interface picture into `slot`, remapped onto the game palette.
// A slot out of range, a missing file, an odd width or a damaged file gives
// the "VX3: ..." text to show; the program must then stop (exit code 0).
// On failure the slot keeps what it had.
Loaded<> LoadPicture(int slot, const std::string& file);

// `destination` becomes a copy of the width x height rectangle of `source`
// at (x, y); parts of the rectangle outside the source are colour 0. Nothing
// happens when the source slot is empty or a slot number is out of range.
void CutPicture(int source, int x, int y, int destination, int height, int width);

// Draws a slot stretched to the rectangle (left, top, width, height) given
// in fractions of the main frame buffer, through shade row 255 and blend
// level percent * 16 / 100; with `colourKey`, colour 0 is not drawn. While
// stereoscopic the stereo buffer gets the same. An empty slot draws nothing.
void DrawPicture(int slot, bool colourKey, int transparencyPercent, double heightFraction,
                 double widthFraction, double topFraction, double leftFraction);
