#include <functional>
#include <string>
#include <utility>
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

// Writes the images and collects the bank's lines as they are added.
struct BankWriter {
    const DataKit& kit;
    std::string imageLines =
        "; Kelvane texture bank: images, then textures N=first-last\n#IMAGES\n";
    std::string textureLines = "#TEXTURES\n";
    int images = 0;

    // Writes one image and returns its number in the bank.
    int AddImage(const std::string& file, const std::vector<std::uint8_t>& pixels) {
        WriteDataFile(kit, file,
                      EncodePcx(paint::kSide, paint::kSide, pixels, paint::GamePalette()));
        imageLines += std::to_string(images) + "=" + file + "\n";
        return images++;
    }
    void AddTexture(int number, int first, int last) {
        textureLines += std::to_string(number) + "=" + std::to_string(first) + "-" +
                        std::to_string(last) + "\n";
    }
};

} // namespace

void GenerateTextures(const DataKit& kit) {
    BankWriter bank{kit};
    for (const BankTexture& texture : BankTextures()) {
        const int first = bank.images;
        for (int frame = 0; frame < texture.frames; ++frame) {
            TextureCanvas canvas;
            texture.paint(canvas, frame);
            std::string file = std::string("TEXTURES/") + texture.stem;
            if (texture.frames > 1) file += std::to_string(frame + 1);
            bank.AddImage(file + ".PCX", paint::Finish(canvas));
        }
        bank.AddTexture(texture.number, first, bank.images - 1);
    }
    // The turned copies, named by their texture numbers.
    for (const int number : DirectionalTextures()) {
        const BankTexture* texture = FindTexture(number);
        if (!texture) continue;
        TextureCanvas canvas;
        texture->paint(canvas, 0);
        const std::vector<std::uint8_t> pixels = paint::Finish(canvas);
        for (const auto& [offset, turned] : {std::pair{kQuarterTurnedOffset, QuarterTurned(pixels)},
                                             std::pair{kHalfTurnedOffset, HalfTurned(pixels)}}) {
            const int turnedNumber = offset + number;
            const int image =
                bank.AddImage("TEXTURES/TURN" + std::to_string(turnedNumber) + ".PCX", turned);
            bank.AddTexture(turnedNumber, image, image);
        }
    }
    WriteDataFile(kit, "TEXTURES/KELVANE.TXT", bank.imageLines + bank.textureLines);
}
