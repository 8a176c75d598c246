// The painters of the bank's textures, one per texture (animated ones take
// the image number within their cycle).
#pragma once

#include "paint_texture.h"

#include <cstdint>

namespace paint {

// Brushed steel with slow blotches: a variation around 0 for (x, y), tiling.
int Brushed(int x, int y, std::uint32_t seed);

void PaintPlainGrey(TextureCanvas& c);
void PaintBricks(TextureCanvas& c);
void PaintStoneBlocks(TextureCanvas& c);
void PaintEarth(TextureCanvas& c);
// Soil that grows back: darker and damp, laced with pale roots.
void PaintRootedSoil(TextureCanvas& c);
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
// Doors, each kind in its own colour: the first circuit's (blue, like its
// lever's knob), the second circuit's (orange), the ingot door (gold, an
// ingot on its badge) and the sensor door (violet, the sensor's rune).
void PaintDoor(TextureCanvas& c);
void PaintSecondCircuitDoor(TextureCanvas& c);
void PaintIngotDoor(TextureCanvas& c);
void PaintSensorDoor(TextureCanvas& c);
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
