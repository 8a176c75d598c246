#include "png_writer.h"

#include <string_view>
#include <zlib.h>

#include "platform/byte_io.h"
#include "platform/files.h"

namespace {

constexpr int kBytesPerPixel = 3;

// Length, type, data and the checksum of type and data; numbers big-endian.
void PutChunk(std::vector<std::uint8_t>& png, const char (&type)[5],
              const std::vector<std::uint8_t>& data) {
    ByteWriter out(png);
    out.U32Big(static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    out.Text(std::string_view(type, 4));
    out.Bytes(data);
    out.U32Big(static_cast<std::uint32_t>(
        crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
}

// Every row behind its filter byte. The renders are 8-bit palette pictures
// made RGB: their dithered textures deflate best unfiltered (predicting a
// pixel from its neighbours makes the bytes less alike, not more).
std::vector<std::uint8_t> UnfilteredRows(int width, int height,
                                         const std::vector<std::uint8_t>& rgb) {
    const std::size_t rowBytes = std::size_t(width) * kBytesPerPixel;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        const auto row = rgb.begin() + std::ptrdiff_t(rowBytes * std::size_t(y));
        raw.insert(raw.end(), row, row + std::ptrdiff_t(rowBytes));
    }
    return raw;
}

} // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != std::size_t(width) * std::size_t(height) * kBytesPerPixel)
        return {};
    const std::vector<std::uint8_t> raw = UnfilteredRows(width, height, rgb);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    ByteWriter out(header);
    out.U32Big(static_cast<std::uint32_t>(width));
    out.U32Big(static_cast<std::uint32_t>(height));
    header.insert(header.end(),
                  {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, filter method 0, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgb) {
    const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
    return !png.empty() && WriteWholeFile(path, png);
}
