#include <functional>
#include <string>
#include <vector>

#include "datakit.h"
#include "engine/pcx_writer.h"
#include "paint_palette.h"
#include "textures_painters.h"
#include "textures_turned.h"

namespace {

using paint::TextureCanvas;

// One texture of the bank: its number, its file stem and the images it cycles through.
struct BankTexture {
    int number;
    const char* stem;
    int frames;
    std::function<void(TextureCanvas&, int)> paint;
};

template <void (*Painter)(TextureCanvas&)> void Still(TextureCanvas& c, int) {
    Painter(c);
}

const std::vector<BankTexture>& BankTextures() {
    using namespace paint;
    // Texture 0 comes first: its image carries the game palette.
    static const std::vector<BankTexture> textures = {
        {0, "GREY", 1, Still<PaintPlainGrey>},
        {1, "BRICKS", 1, Still<PaintBricks>},
        {2, "STONE", 1, Still<PaintStoneBlocks>},
        {3, "EARTH", 1, Still<PaintEarth>},
        {4, "GRASS", 1, Still<PaintGrassTop>},
        {5, "GRASSIDE", 1, Still<PaintGrassSide>},
        {6, "PLANKS", 1, Still<PaintPlanks>},
        {7, "METAL", 1, Still<PaintMetalPlate>},
        {8, "CRATE", 1, Still<PaintCrate>},
        {9, "GLASS", 1, Still<PaintGlass>},
        {10, "LADDER", 1, Still<PaintLadder>},
        {11, "LEVER", 1, Still<PaintLever>},
        {12, "DOOR", 1, Still<PaintDoor>},
        {13, "SENSOR", 1, Still<PaintSensor>},
        {14, "KEYBLOCK", 1, Still<PaintKeyBlock>},
        {15, "INGOT", 1, Still<PaintIngot>},
        {16, "HEART", 1, Still<PaintHeart>},
        {17, "LAMP", 1, Still<PaintLamp>},
        {18, "CLOCK", 1, Still<PaintHourglass>},
        {19, "SPRING", 1, Still<PaintSpring>},
        {20, "HAZARD", 1, Still<PaintHazard>},
        {21, "LAVA", kLavaFrames, PaintLava},
        {22, "WATER", kWaterFrames, PaintWater},
        {23, "MOSSY", 1, Still<PaintMossyStone>},
        {24, "ROCK", 1, Still<PaintRock>},
        {25, "PORTAL", kPortalFrames, PaintPortal},
        {26, "SKY", 1, Still<PaintSky>},
        {27, "ROOTSOIL", 1, Still<PaintRootedSoil>},
        {28, "DOOR2", 1, Still<PaintSecondCircuitDoor>},
        {29, "DOORGOLD", 1, Still<PaintIngotDoor>},
        {30, "DOORSENS", 1, Still<PaintSensorDoor>},
    };
    return textures;
}

const BankTexture* FindTexture(int number) {
    for (const BankTexture& texture : BankTextures())
        if (texture.number == number) return &texture;
    return nullptr;
}

// Writes the images and the bank's lines as they are added.
struct BankWriter {
    const DataKit& kit;
    std::string imageLines =
        "; Kelvane texture bank: images, then textures N=first-last\n#IMAGES\n";
    std::string textureLines = "#TEXTURES\n";
    int image = 0;

    // One still image as texture `number`.
    void Add(int number, const std::string& stem, const std::vector<std::uint8_t>& pixels) {
        const std::string file = "TEXTURES/" + stem + ".PCX";
        WriteDataFile(kit, file,
                      EncodePcx(paint::kSide, paint::kSide, pixels, paint::GamePalette()));
        imageLines += std::to_string(image) + "=" + file + "\n";
        textureLines += std::to_string(number) + "=" + std::to_string(image) + "-" +
                        std::to_string(image) + "\n";
        ++image;
    }
};

} // namespace

void GenerateTextures(const DataKit& kit) {
    BankWriter bank{kit};
    for (const BankTexture& texture : BankTextures()) {
        const int first = bank.image;
        for (int frame = 0; frame < texture.frames; ++frame, ++bank.image) {
            TextureCanvas canvas;
            texture.paint(canvas, frame);
            std::string file = std::string("TEXTURES/") + texture.stem;
            if (texture.frames > 1) file += std::to_string(frame + 1);
            file += ".PCX";
            WriteDataFile(
                kit, file,
                EncodePcx(paint::kSide, paint::kSide, paint::Finish(canvas), paint::GamePalette()));
            bank.imageLines += std::to_string(bank.image) + "=" + file + "\n";
        }
        bank.textureLines += std::to_string(texture.number) + "=" + std::to_string(first) + "-" +
                             std::to_string(bank.image - 1) + "\n";
    }
    // The turned copies, named by their texture numbers.
    for (const int number : DirectionalTextures()) {
        const BankTexture* texture = FindTexture(number);
        if (!texture) continue;
        TextureCanvas canvas;
        texture->paint(canvas, 0);
        const std::vector<std::uint8_t> pixels = paint::Finish(canvas);
        const int quarter = kQuarterTurnedOffset + number, half = kHalfTurnedOffset + number;
        bank.Add(quarter, "TURN" + std::to_string(quarter), QuarterTurned(pixels));
        bank.Add(half, "TURN" + std::to_string(half), HalfTurned(pixels));
    }
    WriteDataFile(kit, "TEXTURES/KELVANE.TXT", bank.imageLines + bank.textureLines);
}
