#include "engine/pictures.h"

#include <algorithm>

#include "engine/angles.h"
#include "engine/pcx.h"
#include "engine/render_context.h"
#include "media/image_blit.h"
#include "platform/files.h"

std::array<Picture, kPictureSlots> pictureSlots;

namespace {

bool ValidSlot(int slot) {
    return slot >= 0 && slot < kPictureSlots;
}

void DrawInto(FrameBuffer& buffer, const Picture& picture, bool colourKey, int level,
              double heightFraction, double widthFraction, double topFraction,
              double leftFraction) {
    const int left = RoundEven(buffer.width * leftFraction);
    const int top = RoundEven(buffer.height * topFraction);
    const int width = RoundEven(buffer.width * widthFraction);
    const int height = RoundEven(buffer.height * heightFraction);
    const std::uint8_t* remap = renderContext.shadeTable->data() + 255 * 256;
    const std::uint8_t* mixing = renderContext.blendTable->data() + level * 256 * 256;
    BlitScaledImage({picture.pixels, picture.width, picture.height}, left, top, width, height,
                    colourKey, remap, mixing, buffer);
}

} // namespace

void ClearPictures() {
    for (auto& picture : pictureSlots) picture = Picture{};
}

Loaded<> LoadPicture(int slot, const std::string& file) {
    if (!ValidSlot(slot))
        return LoadFailure{"VX3: There is no picture slot " + std::to_string(slot)};
    const auto reader = FileReader::Open(file);
    const auto header =
        reader ? reader->Read(0, std::min<std::uint64_t>(reader->Size(), kPcxHeaderSize))
               : std::nullopt;
    if (!header) return LoadFailure{"VX3: The file " + file + " is missing"};
    // Rows are read without padding, so interface pictures must have an even
    // width (an odd Xmax).
    int width = 0, height = 0;
    if (ReadPcxSize(*header, width, height) && width % 2 != 0)
        return LoadFailure{"VX3: The image " + file + " must have an odd width"};
    Loaded<PcxImage> image = DecodePcxFromFile(*reader);
    if (!image) return LoadFailure{"VX3: The image " + file + " is invalid: " + image.error};
    RemapPixels(image->pixels, PaletteRemap(image->palette, renderContext.palette));
    Picture& picture = pictureSlots[slot];
    picture.pixels = std::move(image->pixels);
    picture.width = image->width;
    picture.height = image->height;
    return LoadedDone();
}

void CutPicture(int source, int x, int y, int destination, int height, int width) {
    if (!ValidSlot(source) || !ValidSlot(destination)) return;
    const Picture& from = pictureSlots[source];
    if (from.pixels.empty()) return;
    Picture cut;
    if (width > 0 && height > 0) {
        cut.width = width;
        cut.height = height;
        cut.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        for (int row = 0; row < height; ++row) {
            const std::int64_t sy = std::int64_t{y} + row;
            if (sy < 0 || sy >= from.height) continue;
            for (int col = 0; col < width; ++col) {
                const std::int64_t sx = std::int64_t{x} + col;
                if (sx < 0 || sx >= from.width) continue;
                cut.pixels[static_cast<std::size_t>(row) * width + col] =
                    from.pixels[static_cast<std::size_t>(sy * from.width + sx)];
            }
        }
    }
    pictureSlots[destination] = std::move(cut);
}

void DrawPicture(int slot, bool colourKey, int transparencyPercent, double heightFraction,
                 double widthFraction, double topFraction, double leftFraction) {
    if (!ValidSlot(slot)) return;
    const Picture& picture = pictureSlots[slot];
    if (picture.pixels.empty()) return;
    // Levels beyond 0..16 would read outside the blend table.
    const int level = std::clamp(transparencyPercent, 0, 100) * 16 / 100;
    DrawInto(renderContext.mainBuffer, picture, colourKey, level, heightFraction, widthFraction,
             topFraction, leftFraction);
    if (renderContext.stereoscopic)
        DrawInto(renderContext.stereoBuffer, picture, colourKey, level, heightFraction,
                 widthFraction, topFraction, leftFraction);
}
