#include "engine/bank_image.h"

#include "platform/files.h"

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kPaletteBytes = 768;
constexpr std::size_t kLongestRun = 255 - 192;

bool fail(std::string* error, const char* reason) {
    if (error) *error = reason;
    return false;
}

} // namespace

bool DecodePcxFile(const std::string& file, PcxImage& out, std::string* error) {
    const auto data = ReadWholeFile(file);
    if (!data) return fail(error, "cannot be read");
    const std::vector<std::uint8_t>& bytes = *data;
    if (bytes.size() < kHeaderBytes + kPaletteBytes)
        return fail(error, "too short for a PCX header and palette");

    const int width = (bytes[8] | bytes[9] << 8) + 1;
    const int height = (bytes[10] | bytes[11] << 8) + 1;
    // Pixel data lies between the header and the palette at the end; refuse
    // a header announcing more pixels than that data could possibly encode
    // before allocating anything.
    const std::size_t dataEnd = bytes.size() - kPaletteBytes;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    if (count > (dataEnd - kHeaderBytes) * kLongestRun) return fail(error, "pixel data too short");

    std::vector<std::uint8_t> pixels(count);
    std::size_t produced = 0, at = kHeaderBytes;
    while (produced < count) {
        if (at >= dataEnd) return fail(error, "pixel data too short");
        const std::uint8_t b = bytes[at++];
        if (b < 192) {
            pixels[produced++] = b;
            continue;
        }
        if (at >= dataEnd) return fail(error, "pixel data too short");
        const std::uint8_t colour = bytes[at++];
        // A run that would pass the end of the picture is cut there.
        for (int n = b - 192; n > 0 && produced < count; --n) pixels[produced++] = colour;
    }

    const std::uint8_t* colours = bytes.data() + dataEnd;
    for (int i = 0; i < 256; ++i) {
        out.palette[i] = colours[3 * i];
        out.palette[256 + i] = colours[3 * i + 1];
        out.palette[512 + i] = colours[3 * i + 2];
    }
    out.width = width;
    out.height = height;
    out.pixels = std::move(pixels);
    return true;
}
