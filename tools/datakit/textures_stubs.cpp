#include "textures_painters.h"
namespace paint {
void PaintSensor(TextureCanvas&) {}
void PaintKeyBlock(TextureCanvas&) {}
void PaintIngot(TextureCanvas&) {}
void PaintHeart(TextureCanvas&) {}
void PaintLamp(TextureCanvas&) {}
void PaintHourglass(TextureCanvas&) {}
void PaintLava(TextureCanvas&, int) {}
void PaintWater(TextureCanvas&, int) {}
void PaintPortal(TextureCanvas&, int) {}
void PaintSky(TextureCanvas&) {}
} // namespace paint
