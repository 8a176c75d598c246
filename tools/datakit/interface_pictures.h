// The painters of the interface pictures.
#pragma once

#include "paint_image.h"

namespace paint {

Image PaintLogo();             // the title logo
Image PaintTitleFrame();       // the frame over the title's demo page
Image PaintOptionMenu();       // the in-game options menu
Image PaintCursor();           // the menu cursor
Image PaintHudBar();           // the bar under the play screen
Image PaintRadar();            // the radar screen
Image PaintBlip(bool chasing); // a sentry on the radar

} // namespace paint
