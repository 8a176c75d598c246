#include "support/mjpeg_clip.h"

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16be(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void put16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putId(Bytes& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(id[i]));
}

void set32(Bytes& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A one-symbol Huffman table: the code "0" stands for symbol 0 (a DC
// difference of nothing, or an AC end of block).
void putTable(Bytes& out, std::uint8_t classAndId) {
    put16be(out, 0xFFC4);
    put16be(out, 2 + 1 + 16 + 1);
    out.push_back(classAndId);
    out.push_back(1);
    out.insert(out.end(), 15, 0);
    out.push_back(0);
}

// A list chunk's start: "LIST", its size (set by endChunk), its type.
std::size_t beginList(Bytes& out, const char* type) {
    putId(out, "LIST");
    const std::size_t sizeAt = out.size();
    put32(out, 0);
    putId(out, type);
    return sizeAt;
}

void endChunk(Bytes& out, std::size_t sizeAt) {
    set32(out, sizeAt, static_cast<std::uint32_t>(out.size() - sizeAt - 4));
}

} // namespace

std::vector<std::uint8_t> GreyJpeg(int width, int height, std::uint8_t frameMarker) {
    Bytes out{0xFF, 0xD8};
    put16be(out, 0xFFDB); // quantisation: all ones
    put16be(out, 67);
    out.push_back(0);
    out.insert(out.end(), 64, 1);
    put16be(out, 0xFF00u | frameMarker); // 8 bits, one component
    put16be(out, 11);
    out.push_back(8);
    put16be(out, static_cast<unsigned>(height));
    put16be(out, static_cast<unsigned>(width));
    out.insert(out.end(), {1, 1, 0x11, 0});
    putTable(out, 0x00);
    putTable(out, 0x10);
    put16be(out, 0xFFDA);
    put16be(out, 8);
    out.insert(out.end(), {1, 1, 0x00, 0, 63, 0});
    // Every block is "0" (no DC change) then "0" (end of block): two zero bits.
    const std::uint64_t blocks =
        static_cast<std::uint64_t>((width + 7) / 8) * static_cast<std::uint64_t>((height + 7) / 8);
    const std::uint64_t bits = blocks * 2;
    out.insert(out.end(), bits / 8, 0);
    if (bits % 8 != 0) out.push_back(static_cast<std::uint8_t>(0xFF >> (bits % 8)));
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

std::vector<std::uint8_t> GreyMjpegAvi(int width, int height, int frames, int framesPerSecond) {
    return MjpegAvi(std::vector<Bytes>(static_cast<std::size_t>(frames), GreyJpeg(width, height)),
                    width, height, framesPerSecond);
}

std::vector<std::uint8_t> MjpegAvi(const std::vector<std::vector<std::uint8_t>>& pictures,
                                   int width, int height, int framesPerSecond) {
    const int frames = static_cast<int>(pictures.size());
    std::uint32_t pictureSize = 0; // the largest, for the players' buffers
    for (const Bytes& picture : pictures)
        pictureSize = std::max(pictureSize, static_cast<std::uint32_t>(picture.size()));
    Bytes out;
    putId(out, "RIFF");
    put32(out, 0);
    putId(out, "AVI ");
    const std::size_t header = beginList(out, "hdrl");
    putId(out, "avih");
    put32(out, 56);
    put32(out, static_cast<std::uint32_t>(1000000 / framesPerSecond));
    put32(out, pictureSize * static_cast<std::uint32_t>(framesPerSecond));
    put32(out, 0);
    put32(out, 0x10); // has an index
    put32(out, static_cast<std::uint32_t>(frames));
    put32(out, 0);
    put32(out, 1);
    put32(out, pictureSize);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    out.insert(out.end(), 16, 0);
    const std::size_t streamList = beginList(out, "strl");
    putId(out, "strh");
    put32(out, 56);
    putId(out, "vids");
    putId(out, "MJPG");
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 1);
    put32(out, static_cast<std::uint32_t>(framesPerSecond));
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(frames));
    put32(out, pictureSize);
    put32(out, 0xFFFFFFFF);
    put32(out, 0);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(width));
    put16(out, static_cast<unsigned>(height));
    putId(out, "strf");
    put32(out, 40);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    putId(out, "MJPG");
    put32(out, static_cast<std::uint32_t>(static_cast<std::uint64_t>(width) * height * 3));
    out.insert(out.end(), 16, 0);
    endChunk(out, streamList);
    endChunk(out, header);

    const std::size_t movi = beginList(out, "movi");
    const std::size_t moviType = movi + 4;
    std::vector<std::uint32_t> offsets;
    for (const Bytes& picture : pictures) {
        offsets.push_back(static_cast<std::uint32_t>(out.size() - moviType));
        putId(out, "00dc");
        put32(out, static_cast<std::uint32_t>(picture.size()));
        out.insert(out.end(), picture.begin(), picture.end());
        if (picture.size() % 2 != 0) out.push_back(0);
    }
    endChunk(out, movi);
    putId(out, "idx1");
    put32(out, static_cast<std::uint32_t>(16 * frames));
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        putId(out, "00dc");
        put32(out, 0x10); // a key frame
        put32(out, offsets[i]);
        put32(out, static_cast<std::uint32_t>(pictures[i].size()));
    }
    set32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}
