// The editor's two pictures, drawn with the game's renderer: the level view
// around the selector (sky, shadow, sentries, objects in motion, cells and the
// selector, start, exit and music-zone markers) and the preview of the
// current object. Also the marker meshes and the frame's logic before drawing.
#pragma once

#include <cstdint>
#include <string>

#include "media/frame_buffer.h"
#include "platform/loaded.h"
#include "world/view_box.h"

// Loads "3do/editor/select.3do", "start.3do", "sfx.3do" and "exit.3do", each
// painted in one flat colour nearest to white, white, cyan and yellow.
Loaded<> LoadEditorMarkers();

// The buffer size for a level view of the given size: the larger side picks
// 800 x 600, 640 x 480, 512 x 348, 320 x 240 or 160 x 120.
void LevelViewBufferSize(int viewWidth, int viewHeight, int& width, int& height);

// The view distances offered, in cells on each side of the camera; 0 stands
// for the whole level. The first is the distance at start.
inline constexpr int kViewDistances[] = {8, 16, 32, 64, 0};
bool IsViewDistance(int cells);
// "8 cells", ..., "Whole level".
std::string ViewDistanceName(int cells);

// The cells the level view draws this frame: the view distance around the
// view's camera (enough to hold the whole grid for 0).
ViewBox EditorViewBox();

// The largest rectangle of the picture's 4:3 shape centred in an area of
// the given size (bars above and below, or at the sides).
struct PictureArea {
    int x = 0, y = 0, width = 0, height = 0;
};
PictureArea FitPicture(int areaWidth, int areaHeight);

// The frame's logic: the frame clock, the keys (when `readKeys`), animation,
// clamping and smoothing; then the sound listener at the view's camera, the
// ambient loops due around it, and the voices following the listener.
void RunEditorFrame(bool readKeys);

// Draws the level view into the render context's main buffer.
void DrawEditorView();

// Draws the current object turning at the origin into `buffer` (256 x 256),
// with the render context's palette and textures.
void DrawEditorPreview(FrameBuffer& buffer);

// The preview drag: with the left button, the angles turn by the mouse's last
// step; with the right button they return to 0.
void DragPreview(bool left, bool right, int dx, int dy);
