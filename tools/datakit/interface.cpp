#include <string>

#include "datakit.h"
#include "engine/pcx_writer.h"
#include "interface_font.h"
#include "interface_pictures.h"
#include "paint_palette.h"

namespace {

void WritePicture(const DataKit& kit, const std::string& file, const paint::Image& image) {
    WriteDataFile(kit, file,
                  EncodePcx(image.width, image.height, image.pixels, paint::GamePalette()));
}

} // namespace

void GenerateInterface(const DataKit& kit) {
    using namespace paint;
    WritePicture(kit, "INTERF/TKELV.PCX", PaintLogo());
    WritePicture(kit, "INTERF/TITLE.PCX", PaintTitleFrame());
    WritePicture(kit, "INTERF/OPTION.PCX", PaintOptionMenu());
    WritePicture(kit, "INTERF/SELECT.PCX", PaintCursor());
    WritePicture(kit, "INTERF/BARRE.PCX", PaintHudBar());
    WritePicture(kit, "INTERF/RADAR.PCX", PaintRadar());
    WritePicture(kit, "INTERF/RADARP1.PCX", PaintBlip(false));
    WritePicture(kit, "INTERF/RADARP2.PCX", PaintBlip(true));
    WritePicture(kit, "INTERF/SMALFONT.PCX", FontSheet(Font::kSmall));
    WritePicture(kit, "INTERF/BIGFONT.PCX", FontSheet(Font::kBig));
}
