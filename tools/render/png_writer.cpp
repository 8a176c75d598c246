#include "png_writer.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <span>
#include <string_view>

#include "platform/byte_io.h"

namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// Length, type, data and the checksum of type and data; numbers big-endian.
void PutChunk(std::vector<std::uint8_t>& png, const char (&type)[5],
              const std::vector<std::uint8_t>& data) {
    ByteWriter out(png);
    out.U32Big(static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    out.Text(std::string_view(type, 4));
    out.Bytes(data);
    out.U32Big(Crc32(png.data() + start, png.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks of at most 65535 bytes.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    ByteWriter out(zlib);
    std::size_t pos = 0;
    do {
        // Block lengths, unlike the rest of the format, are little-endian.
        const auto length =
            static_cast<std::uint16_t>(std::min<std::size_t>(65535, raw.size() - pos));
        const bool last = pos + length == raw.size();
        out.U8(last ? 1 : 0);
        out.U16(length);
        out.U16(static_cast<std::uint16_t>(~length));
        out.Bytes(std::span(raw).subspan(pos, length));
        pos += length;
    } while (pos < raw.size());
    out.U32Big(Adler32(raw));
    return zlib;
}

} // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        const auto row = rgb.begin() + std::ptrdiff_t(rowBytes * std::size_t(y));
        raw.insert(raw.end(), row, row + std::ptrdiff_t(rowBytes));
    }

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    ByteWriter out(header);
    out.U32Big(static_cast<std::uint32_t>(width));
    out.U32Big(static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != std::size_t(width) * std::size_t(height) * 3)
        return false;
    const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return static_cast<bool>(file);
}
