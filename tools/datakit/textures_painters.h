// The painters of the bank's textures, one per texture (animated ones take
// the image number within their cycle).
#pragma once

#include "paint_texture.h"

namespace paint {

void PaintPlainGrey(TextureCanvas& c);
void PaintBricks(TextureCanvas& c);
void PaintStoneBlocks(TextureCanvas& c);
void PaintEarth(TextureCanvas& c);
void PaintGrassTop(TextureCanvas& c);
void PaintGrassSide(TextureCanvas& c);
void PaintMossyStone(TextureCanvas& c);
void PaintRock(TextureCanvas& c);

void PaintPlanks(TextureCanvas& c);
void PaintMetalPlate(TextureCanvas& c);
void PaintCrate(TextureCanvas& c);
void PaintGlass(TextureCanvas& c);
void PaintLadder(TextureCanvas& c);
void PaintLever(TextureCanvas& c);
void PaintDoor(TextureCanvas& c);
void PaintSpring(TextureCanvas& c);
void PaintHazard(TextureCanvas& c);

void PaintSensor(TextureCanvas& c);
void PaintKeyBlock(TextureCanvas& c);
void PaintIngot(TextureCanvas& c);
void PaintHeart(TextureCanvas& c);
void PaintLamp(TextureCanvas& c);
void PaintHourglass(TextureCanvas& c);

constexpr int kLavaFrames = 8;
constexpr int kWaterFrames = 8;
constexpr int kPortalFrames = 4;
void PaintLava(TextureCanvas& c, int frame);
void PaintWater(TextureCanvas& c, int frame);
void PaintPortal(TextureCanvas& c, int frame);
void PaintSky(TextureCanvas& c);

} // namespace paint
