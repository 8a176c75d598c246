#include "engine/pcx_writer.h"

#include "engine/pcx.h"
#include "platform/byte_io.h"
#include "platform/files.h"

std::vector<std::uint8_t> EncodePcx(int width, int height, std::span<const std::uint8_t> pixels,
                                    const PalettePlanes& palette) {
    if (width < 1 || height < 1 || width > 65536 || height > 65536) return {};
    const std::size_t w = static_cast<std::size_t>(width);
    if (pixels.size() < w * static_cast<std::size_t>(height)) return {};

    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.U8(10); // manufacturer
    out.U8(5);  // version with a 256-colour palette
    out.U8(1);  // run-length encoding
    out.U8(8);  // bits per pixel
    out.U16(0); // Xmin
    out.U16(0); // Ymin
    out.U16(static_cast<std::uint16_t>(width - 1));
    out.U16(static_cast<std::uint16_t>(height - 1));
    out.U16(72); // dots per inch, across and down
    out.U16(72);
    out.Zeros(48);                              // 16-colour palette
    out.U8(0);                                  // reserved
    out.U8(1);                                  // planes
    out.U16(static_cast<std::uint16_t>(width)); // bytes per row (65536 wraps to 0)
    out.U16(1);                                 // colour palette
    out.Zeros(kPcxHeaderSize - bytes.size());

    // Runs stay within a row, at most 63 pixels; a lone pixel below 192 is
    // written as itself.
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        while (x < w) {
            std::size_t run = 1;
            while (x + run < w && run < 63 && row[x + run] == row[x]) ++run;
            if (run > 1 || row[x] >= 192) out.U8(static_cast<std::uint8_t>(192 + run));
            out.U8(row[x]);
            x += run;
        }
    }

    out.U8(12);
    for (int i = 0; i < 256; ++i) {
        out.U8(palette[i]);
        out.U8(palette[256 + i]);
        out.U8(palette[512 + i]);
    }
    return bytes;
}

bool WritePcx(const std::string& file, int width, int height, std::span<const std::uint8_t> pixels,
              const PalettePlanes& palette) {
    const auto bytes = EncodePcx(width, height, pixels, palette);
    return !bytes.empty() && WriteWholeFile(file, bytes);
}
