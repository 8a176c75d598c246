// The window's place on a first start, when the settings hold no size.
#pragma once

#include "shell/form_services.h"

constexpr int kWindowUnitWidth = 320; // the picture size the window grows by
constexpr int kWindowUnitHeight = 240;
constexpr int kWindowScreenPercent = 90; // the share of the screen it may take

// The client size is the largest whole multiple of 320 x 240 device pixels
// that fits within 90 % of `area` (a screen's available area in logical
// pixels, whose pixels are `pixelRatio` device pixels wide), at least 1;
// given back in logical pixels and centred in the area.
WindowPlace FirstWindowPlace(const WindowPlace& area, double pixelRatio);
