#include "engine/pcx.h"

#include <algorithm>
#include <new>

#include "engine/palette.h"
#include "platform/byte_io.h"
#include "platform/files.h"

namespace {

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

bool Adopt(Loaded<PcxImage> image, PcxImage& out, std::string* error) {
    if (!image) {
        SetError(error, image.error);
        return false;
    }
    out = std::move(*image);
    return true;
}

// What the header and the file's size alone say: the picture's size, and
// whether the bytes between header and palette could hold it at all.
struct PcxLayout {
    int width = 0, height = 0;
    std::size_t count = 0;         // pixels
    std::uint64_t packedBytes = 0; // between the header and the palette
};

Loaded<PcxLayout> LayoutOf(std::span<const std::uint8_t> header, std::uint64_t fileSize) {
    PcxLayout layout;
    if (fileSize < kPcxHeaderSize + kPcxPaletteSize ||
        !ReadPcxSize(header, layout.width, layout.height)) {
        return LoadFailure{"too short for a PCX header and palette (" + std::to_string(fileSize) +
                           " bytes)"};
    }
    layout.count = static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.height);
    layout.packedBytes = fileSize - kPcxHeaderSize - kPcxPaletteSize;
    // Two bytes make at most 63 pixels, so a header that promises more than
    // the data can hold is refused before anything is allocated for it.
    const std::uint64_t mostPixels = layout.packedBytes / 2 * 63 + layout.packedBytes % 2;
    if (layout.count > mostPixels)
        return LoadFailure{"pixel data too short for " + SizeText(layout.width, layout.height) +
                           " pixels"};
    if (layout.width > kPcxMaxSide || layout.height > kPcxMaxSide)
        return LoadFailure{SizeText(layout.width, layout.height) + " pixels is more than the " +
                           SizeText(kPcxMaxSide, kPcxMaxSide) + " a picture may have"};
    return LoadedValue(layout);
}

// Run-length pixels fed in pieces: a byte below 192 is one pixel, a byte
// 192 + n is a run of n pixels of the colour in the next byte. A run that
// would pass the end of the picture is cut there.
class RunDecoder {
  public:
    explicit RunDecoder(std::size_t count) : pixels_(count) {}

    void Feed(std::span<const std::uint8_t> packed) {
        for (std::size_t at = 0; at < packed.size() && !Done(); ++at) {
            const std::uint8_t b = packed[at];
            if (runLength_ >= 0) {
                const std::size_t run =
                    std::min<std::size_t>(runLength_, pixels_.size() - produced_);
                std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(produced_), run, b);
                produced_ += run;
                runLength_ = -1;
            } else if (b >= 192) {
                runLength_ = b - 192;
            } else {
                pixels_[produced_++] = b;
            }
        }
    }

    bool Done() const { return produced_ == pixels_.size(); }
    std::vector<std::uint8_t>& Pixels() { return pixels_; }

  private:
    std::vector<std::uint8_t> pixels_;
    std::size_t produced_ = 0;
    int runLength_ = -1; // a run byte waiting for its colour
};

// Run data that ends before the picture does gives the pixels it reaches;
// the rest stay colour 0, as the decoder's buffer starts, and nothing past
// the run data (the palette) is taken as pixels.
Loaded<PcxImage> Finish(RunDecoder& decoder, const PcxLayout& layout,
                        std::span<const std::uint8_t> colours) {
    PcxImage image;
    for (int i = 0; i < 256; ++i) {
        image.palette[i] = colours[3 * i];
        image.palette[256 + i] = colours[3 * i + 1];
        image.palette[512 + i] = colours[3 * i + 2];
    }
    image.width = layout.width;
    image.height = layout.height;
    image.pixels = std::move(decoder.Pixels());
    return LoadedValue(std::move(image));
}

} // namespace

bool ReadPcxSize(std::span<const std::uint8_t> data, int& width, int& height) {
    ByteReader in(data);
    in.Seek(8);
    const int xMax = in.U16(), yMax = in.U16();
    if (!in.Ok()) return false;
    width = xMax + 1;
    height = yMax + 1;
    return true;
}

Loaded<PcxImage> DecodePcxBytes(std::span<const std::uint8_t> data) {
    const auto layout = LayoutOf(data, data.size());
    if (!layout) return LoadFailure{layout.error};
    RunDecoder decoder(layout->count);
    decoder.Feed(data.subspan(kPcxHeaderSize, layout->packedBytes));
    return Finish(decoder, *layout, data.last(kPcxPaletteSize));
}

Loaded<PcxImage> DecodePcxFromFile(const FileReader& file) {
    const LoadFailure unreadable{"cannot be read"};
    try {
        const auto header = file.Read(0, std::min<std::uint64_t>(file.Size(), kPcxHeaderSize));
        if (!header) return unreadable;
        const auto layout = LayoutOf(*header, file.Size());
        if (!layout) return LoadFailure{layout.error};
        const auto colours = file.Read(file.Size() - kPcxPaletteSize, kPcxPaletteSize);
        if (!colours) return unreadable;

        // Every pixel takes at most two bytes, so that much is read first and
        // whatever lies beyond it never is. Only runs of no pixels (192) can
        // make a picture need more; their rest is read in growing pieces.
        RunDecoder decoder(layout->count);
        std::uint64_t at = 0;
        std::uint64_t piece = 2 * static_cast<std::uint64_t>(layout->count);
        while (!decoder.Done() && at < layout->packedBytes) {
            piece = std::min(piece, layout->packedBytes - at);
            const auto packed = file.Read(kPcxHeaderSize + at, piece);
            if (!packed) return unreadable;
            decoder.Feed(*packed);
            at += piece;
            piece = std::max<std::uint64_t>(2 * piece, 1u << 16);
        }
        return Finish(decoder, *layout, *colours);
    } catch (const std::bad_alloc&) {
        return unreadable;
    }
}

Loaded<PcxImage> DecodePcxFromFile(const std::string& file) {
    const auto reader = FileReader::Open(file);
    if (!reader) return LoadFailure{"cannot be read"};
    return DecodePcxFromFile(*reader);
}

bool DecodePcx(std::span<const std::uint8_t> data, PcxImage& out, std::string* error) {
    return Adopt(DecodePcxBytes(data), out, error);
}

bool DecodePcxFile(const std::string& file, PcxImage& out, std::string* error) {
    return Adopt(DecodePcxFromFile(file), out, error);
}

bool ReadPcx(const std::string& file, std::span<std::uint8_t> pixels, PalettePlanes& palette,
             std::string* error) {
    const auto image = DecodePcxFromFile(file);
    if (!image) {
        SetError(error, image.error);
        return false;
    }
    if (image->pixels.size() != pixels.size()) {
        SetError(error, "is " + SizeText(image->width, image->height) + " pixels, not the " +
                            std::to_string(pixels.size()) + " expected");
        return false;
    }
    std::copy(image->pixels.begin(), image->pixels.end(), pixels.begin());
    palette = image->palette;
    return true;
}

bool ReadPcxRemapped(const std::string& file, std::span<std::uint8_t> pixels, int width, int height,
                     const PalettePlanes& palette, std::string* error) {
    auto image = DecodePcxFromFile(file);
    if (!image) {
        SetError(error, image.error);
        return false;
    }
    if (image->width != width || image->height != height ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        SetError(error, "is " + SizeText(image->width, image->height) + " pixels, not the " +
                            SizeText(width, height) + " expected");
        return false;
    }
    RemapPixels(image->pixels, PaletteRemap(image->palette, palette));
    std::copy(image->pixels.begin(), image->pixels.end(), pixels.begin());
    return true;
}

ColourMap PaletteRemap(const PalettePlanes& from, const PalettePlanes& to) {
    ColourMap map{};
    for (int c = 1; c < 256; ++c)
        map[c] = static_cast<std::uint8_t>(
            NearestPaletteEntry(to, from[c], from[256 + c], from[512 + c], 1, 254));
    return map;
}

void RemapPixels(std::span<std::uint8_t> pixels, const ColourMap& map) {
    for (auto& p : pixels) p = map[p];
}
