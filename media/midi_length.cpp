#include "media/midi_length.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

constexpr std::int64_t kDefaultTempo = 500000; // microseconds per quarter note
constexpr long double kLongestMs = 1e15;

// A big-endian walk over a span that fails instead of reading past its end.
class BigEndianReader {
  public:
    explicit BigEndianReader(std::span<const std::uint8_t> data) : data_(data) {}
    bool Ok() const { return ok_; }
    bool AtEnd() const { return position_ >= data_.size(); }
    std::size_t Remaining() const { return data_.size() - position_; }
    std::uint32_t Number(int bytes) {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) value = value << 8 | Byte();
        return value;
    }
    std::uint8_t Byte() {
        if (position_ >= data_.size()) {
            ok_ = false;
            return 0;
        }
        return data_[position_++];
    }
    std::uint8_t Peek() const { return position_ < data_.size() ? data_[position_] : 0; }
    // A variable-length quantity: at most four bytes of seven bits.
    std::uint32_t VariableLength() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = Byte();
            value = value << 7 | (b & 0x7F);
            if (!(b & 0x80)) return value;
        }
        ok_ = false;
        return 0;
    }
    std::span<const std::uint8_t> Bytes(std::uint64_t count) {
        if (count > Remaining()) {
            ok_ = false;
            position_ = data_.size();
            return {};
        }
        const auto bytes = data_.subspan(position_, static_cast<std::size_t>(count));
        position_ += static_cast<std::size_t>(count);
        return bytes;
    }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

bool isChunk(std::span<const std::uint8_t> id, const char* name) {
    return id.size() == 4 && std::memcmp(id.data(), name, 4) == 0;
}

// Walks one track's events: its tempo changes go into `tempos` (tick ->
// microseconds per quarter note); returns the tick of its last event.
std::optional<std::int64_t> readTrack(std::span<const std::uint8_t> track,
                                      std::map<std::int64_t, std::int64_t>& tempos) {
    BigEndianReader in(track);
    std::int64_t tick = 0;
    std::uint8_t running = 0;
    while (!in.AtEnd()) {
        tick += in.VariableLength();
        std::uint8_t status = in.Peek();
        if (status & 0x80) {
            in.Byte();
        } else if (running) {
            status = running;
        } else {
            return std::nullopt; // data bytes with no status before them
        }
        if (status == 0xFF) {
            const std::uint8_t type = in.Byte();
            const auto data = in.Bytes(in.VariableLength());
            if (!in.Ok()) return std::nullopt;
            if (type == 0x51 && data.size() >= 3)
                tempos[tick] = data[0] << 16 | data[1] << 8 | data[2];
            if (type == 0x2F) break; // end of track
        } else if (status == 0xF0 || status == 0xF7) {
            in.Bytes(in.VariableLength());
        } else if (status >= 0x80 && status < 0xF0) {
            running = status;
            const std::uint8_t kind = status & 0xF0;
            in.Bytes(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
        } else {
            return std::nullopt; // system common or real-time bytes have no place in a file
        }
        if (!in.Ok()) return std::nullopt;
    }
    return tick;
}

} // namespace

std::optional<std::int64_t> MidiLengthMs(std::span<const std::uint8_t> file) {
    BigEndianReader in(file);
    if (!isChunk(in.Bytes(4), "MThd")) return std::nullopt;
    const std::uint32_t headerSize = in.Number(4);
    if (!in.Ok() || headerSize < 6) return std::nullopt;
    auto header = BigEndianReader(in.Bytes(headerSize));
    header.Number(2); // format: every format's tracks are measured alike
    const std::uint32_t trackCount = header.Number(2);
    const std::uint32_t division = header.Number(2);
    if (!in.Ok() || !header.Ok() || division == 0) return std::nullopt;

    std::map<std::int64_t, std::int64_t> tempos;
    std::int64_t lastTick = 0;
    std::uint32_t tracksRead = 0;
    while (tracksRead < trackCount && !in.AtEnd()) {
        const auto id = in.Bytes(4);
        const auto body = in.Bytes(in.Number(4));
        if (!in.Ok()) return std::nullopt;
        if (!isChunk(id, "MTrk")) continue; // unknown chunks are skipped
        const auto end = readTrack(body, tempos);
        if (!end) return std::nullopt;
        lastTick = std::max(lastTick, *end);
        ++tracksRead;
    }

    // Time-code division: ticks per frame times frames per second.
    if (division & 0x8000) {
        const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
        const int ticksPerFrame = division & 0xFF;
        const std::int64_t ticksPerSecond = std::int64_t{framesPerSecond} * ticksPerFrame;
        if (ticksPerSecond <= 0) return std::nullopt;
        return lastTick * 1000 / ticksPerSecond;
    }
    // Quarter-note division: sum each stretch at its tempo, in microseconds.
    long double micros = 0;
    std::int64_t tick = 0, tempo = kDefaultTempo;
    for (const auto& [at, next] : tempos) {
        if (at >= lastTick) break;
        micros += static_cast<long double>(at - tick) * tempo / division;
        tick = at;
        tempo = next;
    }
    micros += static_cast<long double>(lastTick - tick) * tempo / division;
    // A far-fetched tempo map cannot overflow the answer.
    return static_cast<std::int64_t>(std::min<long double>(micros / 1000, kLongestMs));
}
