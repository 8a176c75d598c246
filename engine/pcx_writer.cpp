#include "engine/pcx_writer.h"

#include "platform/files.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, int value) {
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

} // namespace

std::vector<std::uint8_t> EncodePcx(int width, int height, std::span<const std::uint8_t> pixels,
                                    const PalettePlanes& palette) {
    if (width < 1 || height < 1 || width > 65536 || height > 65536) return {};
    const std::size_t w = static_cast<std::size_t>(width);
    if (pixels.size() < w * static_cast<std::size_t>(height)) return {};

    std::vector<std::uint8_t> out(128, 0);
    out[0] = 10; // manufacturer
    out[1] = 5;  // version with a 256-colour palette
    out[2] = 1;  // run-length encoding
    out[3] = 8;  // bits per pixel
    Put16(out, 8, width - 1);
    Put16(out, 10, height - 1);
    Put16(out, 12, 72);
    Put16(out, 14, 72);
    out[65] = 1; // planes
    Put16(out, 66, width);
    Put16(out, 68, 1); // colour palette

    // Runs stay within a row, at most 63 pixels; a lone pixel below 192 is
    // written as itself.
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        while (x < w) {
            std::size_t run = 1;
            while (x + run < w && run < 63 && row[x + run] == row[x]) ++run;
            if (run > 1 || row[x] >= 192) out.push_back(static_cast<std::uint8_t>(192 + run));
            out.push_back(row[x]);
            x += run;
        }
    }

    out.push_back(12);
    for (int i = 0; i < 256; ++i) {
        out.push_back(palette[i]);
        out.push_back(palette[256 + i]);
        out.push_back(palette[512 + i]);
    }
    return out;
}

bool WritePcx(const std::string& file, int width, int height, std::span<const std::uint8_t> pixels,
              const PalettePlanes& palette) {
    const auto bytes = EncodePcx(width, height, pixels, palette);
    return !bytes.empty() && WriteWholeFile(file, bytes);
}
