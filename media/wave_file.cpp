#include "media/wave_file.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/files.h"

namespace {

// Where the bytes come from: a file read in pieces or a block in memory.
class ByteSource {
  public:
    explicit ByteSource(const FileReader& file) : file_(&file), size_(file.Size()) {}
    explicit ByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes), size_(bytes.size()) {}

    std::uint64_t Size() const { return size_; }
    // `length` bytes at `offset`, or nothing when they do not all lie in the source.
    std::optional<std::vector<std::uint8_t>> Read(std::uint64_t offset,
                                                  std::uint64_t length) const {
        if (offset > size_ || length > size_ - offset) return std::nullopt;
        if (file_) return file_->Read(offset, length);
        const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
        return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(length));
    }

  private:
    const FileReader* file_ = nullptr;
    std::span<const std::uint8_t> bytes_;
    std::uint64_t size_ = 0;
};

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
}
std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

struct Chunk {
    std::uint64_t dataStart = 0; // just past the 8-byte header
    std::uint32_t size = 0;
};

bool isChunkId(const std::vector<std::uint8_t>& header) {
    return std::all_of(header.begin(), header.begin() + 4,
                       [](std::uint8_t c) { return c >= 0x20 && c <= 0x7E; });
}

// Finds the chunk `id` among the chunks from `position` up to `end` (the
// parent's end, already bounded by the file). Odd-sized chunks are followed
// by a pad byte; a writer that left it out is recognised by a chunk id at the
// unpadded offset where the padded one holds none.
std::optional<Chunk> findChunk(const ByteSource& source, std::uint64_t position, std::uint64_t end,
                               const char* id) {
    while (position + 8 <= end) {
        const auto header = source.Read(position, 8);
        if (!header) return std::nullopt;
        const std::uint32_t size = le32(header->data() + 4);
        if (std::memcmp(header->data(), id, 4) == 0) return Chunk{position + 8, size};
        std::uint64_t next = position + 8 + size;
        if (size % 2 != 0) {
            const auto padded = source.Read(next + 1, 4);
            const auto unpadded = source.Read(next, 4);
            const bool paddedIsChunk = padded && isChunkId(*padded);
            if (paddedIsChunk || !unpadded || !isChunkId(*unpadded)) ++next;
        }
        position = next;
    }
    return std::nullopt;
}

constexpr std::uint64_t kFormTypeEnd = 12; // "RIFF", its size, "WAVE"

// The "data" chunk's bytes; nothing when there is no such chunk inside the
// RIFF chunk or it claims more bytes than the file holds.
std::optional<std::vector<std::uint8_t>> readData(const ByteSource& source, std::uint64_t riffEnd) {
    const auto chunk = findChunk(source, kFormTypeEnd, riffEnd, "data");
    if (!chunk) return std::nullopt;
    return source.Read(chunk->dataStart, chunk->size);
}

Loaded<TIWave> parse(const ByteSource& source) {
    const auto header = source.Read(0, 8);
    if (!header) return LoadFailure{kWaveDescendFailed};
    const bool riff = std::memcmp(header->data(), "RIFF", 4) == 0;
    std::optional<std::vector<std::uint8_t>> formType;
    if (riff) {
        // A RIFF chunk's header goes on with its form type.
        formType = source.Read(8, 4);
        if (!formType) return LoadFailure{kWaveDescendFailed};
    }
    if (!riff || std::memcmp(formType->data(), "WAVE", 4) != 0) return LoadFailure{kNotAWaveFile};
    const std::uint64_t riffEnd =
        std::min<std::uint64_t>(std::uint64_t{8} + le32(header->data() + 4), source.Size());

    const auto fmt = findChunk(source, kFormTypeEnd, riffEnd, "fmt ");
    if (!fmt) return LoadFailure{kWaveReadError};
    if (fmt->size < 16) return LoadFailure{kNotAWaveFile};
    const auto fixed = source.Read(fmt->dataStart, 16);
    if (!fixed) return LoadFailure{kWaveReadError};
    std::uint16_t extraSize = 0;
    // Only a non-PCM format carries an extra size, and only a chunk of at
    // least 18 bytes has room for it.
    if (le16(fixed->data()) != kWaveFormatPcm && fmt->size >= 18) {
        const auto extra = source.Read(fmt->dataStart + 16, 2);
        if (!extra) return LoadFailure{kWaveReadError};
        extraSize = le16(extra->data());
    }
    std::vector<std::uint8_t> extraBytes;
    if (extraSize > 0) {
        // Extra bytes past the format chunk are not part of a format.
        if (18u + extraSize > fmt->size) return LoadFailure{kNotAWaveFile};
        auto extra = source.Read(fmt->dataStart + 18, extraSize);
        if (!extra) return LoadFailure{kNotAWaveFile};
        extraBytes = std::move(*extra);
    }

    TIWave wave;
    auto data = readData(source, riffEnd);
    if (!data) return LoadedValue(std::move(wave)); // no format, no data
    wave.format = *fixed;
    wave.format.push_back(static_cast<std::uint8_t>(extraSize & 0xFF));
    wave.format.push_back(static_cast<std::uint8_t>(extraSize >> 8));
    wave.format.insert(wave.format.end(), extraBytes.begin(), extraBytes.end());
    wave.data = std::move(*data);
    return LoadedValue(std::move(wave));
}

} // namespace

Loaded<TIWave> TIWave::Read(const std::string& fileName) {
    const auto file = FileReader::Open(fileName);
    if (!file) return LoadFailure{kWaveOpenFailed};
    Loaded<TIWave> wave = parse(ByteSource(*file));
    if (wave) wave->fileName = fileName;
    return wave;
}

Loaded<TIWave> TIWave::Parse(std::span<const std::uint8_t> bytes) {
    return parse(ByteSource(bytes));
}

std::uint16_t TIWave::field16(std::size_t at) const {
    return format.size() >= at + 2 ? le16(format.data() + at) : 0;
}

std::uint32_t TIWave::field32(std::size_t at) const {
    return format.size() >= at + 4 ? le32(format.data() + at) : 0;
}

std::uint16_t TIWave::SampleTag() const {
    // The extensible record: valid bits (2), channel mask (4), then the GUID.
    constexpr std::size_t kSubFormat = 18 + 6;
    if (FormatTag() == kWaveFormatExtensible) return field16(kSubFormat);
    return FormatTag();
}
