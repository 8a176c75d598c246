// Writes the media files of the end-to-end cases that are too large to keep:
//   write_media clip FILE WIDTH HEIGHT FRAMES FPS   grey motion-JPEG AVI
//   write_media wave FILE RATE BYTES                8-bit mono wave of BYTES samples
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/mjpeg_clip.h"

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A tone in unsigned 8-bit samples, so that a sound that did play is heard.
std::vector<std::uint8_t> wave8(std::uint32_t rate, std::uint32_t bytes) {
    std::vector<std::uint8_t> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + bytes + bytes % 2);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, rate);
    put32(out, rate);
    put16(out, 1);
    put16(out, 8);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, bytes);
    for (std::uint32_t i = 0; i < bytes; ++i) out.push_back(i % 2 ? 0x40 : 0xC0);
    if (bytes % 2) out.push_back(0);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::uint8_t> bytes;
    if (argc == 7 && std::strcmp(argv[1], "clip") == 0) {
        bytes = GreyMjpegAvi(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                             std::atoi(argv[6]));
    } else if (argc == 5 && std::strcmp(argv[1], "wave") == 0) {
        bytes = wave8(static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)),
                      static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10)));
    } else {
        std::fprintf(stderr,
                     "usage: write_media clip FILE W H FRAMES FPS | wave FILE RATE BYTES\n");
        return 2;
    }
    FILE* file = std::fopen(argv[2], "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
