#include "png_writer.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
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

std::uint8_t Paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up),
              toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<std::uint8_t>(left);
    return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// The row under filter `type` (0 none, 1 sub, 2 up, 3 average, 4 Paeth) given
// the row above (zeros above the top row).
void FilterRow(int type, const std::uint8_t* row, const std::uint8_t* above, std::size_t size,
               std::uint8_t* out) {
    for (std::size_t i = 0; i < size; ++i) {
        const int left = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
        const int up = above[i];
        const int upLeft = i >= kBytesPerPixel ? above[i - kBytesPerPixel] : 0;
        int predicted = 0;
        switch (type) {
        case 1:
            predicted = left;
            break;
        case 2:
            predicted = up;
            break;
        case 3:
            predicted = (left + up) / 2;
            break;
        case 4:
            predicted = Paeth(left, up, upLeft);
            break;
        default:
            break;
        }
        out[i] = static_cast<std::uint8_t>(row[i] - predicted);
    }
}

// Every row behind its filter byte; each row takes the filter whose bytes,
// read as signed, sum to the least: the usual guess at what deflates best.
std::vector<std::uint8_t> FilteredRows(int width, int height,
                                       const std::vector<std::uint8_t>& rgb) {
    const std::size_t rowBytes = std::size_t(width) * kBytesPerPixel;
    const std::vector<std::uint8_t> zeros(rowBytes, 0);
    std::vector<std::uint8_t> raw((rowBytes + 1) * std::size_t(height));
    std::vector<std::uint8_t> candidate(rowBytes);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rgb.data() + rowBytes * std::size_t(y);
        const std::uint8_t* above = y > 0 ? row - rowBytes : zeros.data();
        std::uint8_t* out = raw.data() + (rowBytes + 1) * std::size_t(y);
        std::uint64_t bestCost = std::numeric_limits<std::uint64_t>::max();
        for (int type = 0; type <= 4; ++type) {
            FilterRow(type, row, above, rowBytes, candidate.data());
            std::uint64_t cost = 0;
            for (const std::uint8_t byte : candidate)
                cost += static_cast<std::uint64_t>(std::abs(static_cast<std::int8_t>(byte)));
            if (cost < bestCost) {
                bestCost = cost;
                out[0] = static_cast<std::uint8_t>(type);
                std::copy(candidate.begin(), candidate.end(), out + 1);
            }
        }
    }
    return raw;
}

} // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != std::size_t(width) * std::size_t(height) * kBytesPerPixel)
        return {};
    const std::vector<std::uint8_t> raw = FilteredRows(width, height, rgb);
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
                  {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, adaptive filters, no interlace
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
