#include "music_mod.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "platform/byte_io.h"

namespace music {

namespace {
// Periods of C-1 .. B-3, the range every ProTracker player accepts.
constexpr int kPeriods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                              428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                              214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

void Fail(const std::string& what) {
    throw std::invalid_argument("module: " + what);
}

// A text field of `width` bytes, padded with zeros.
void PutText(ByteWriter& out, const std::string& text, std::size_t width) {
    const std::string_view kept = std::string_view(text).substr(0, width);
    out.Text(kept);
    out.Zeros(width - kept.size());
}
} // namespace

int ModPeriod(int note) {
    if (note < 0 || note >= 36) Fail("note out of range");
    return kPeriods[note];
}

double ModRate(int period) {
    return 7093789.2 / (2.0 * period);
}

std::vector<std::uint8_t> EncodeMod(const ModSong& song) {
    if (song.samples.size() > kModSamples) Fail("more than 31 samples");
    if (song.order.empty() || song.order.size() > 128) Fail("order table needs 1..128 entries");
    if (song.title.size() > 20) Fail("title longer than 20 characters");
    for (int p : song.order)
        if (p < 0 || p >= static_cast<int>(song.patterns.size()) || p > 127)
            Fail("order names a missing pattern");

    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    PutText(out, song.title, 20);
    std::vector<std::vector<std::int8_t>> bodies;
    for (int i = 0; i < kModSamples; ++i) {
        ModSample sample;
        if (i < static_cast<int>(song.samples.size())) sample = song.samples[i];
        if (sample.name.size() > 22) Fail("sample name longer than 22 characters");
        if (sample.data.size() % 2 != 0) sample.data.push_back(0);
        if (sample.data.size() > 131070) Fail("sample longer than 128 KiB");
        if (sample.volume < 0 || sample.volume > 64) Fail("sample volume out of range");
        if (sample.finetune < -8 || sample.finetune > 7) Fail("finetune out of range");
        const bool loops = sample.loopLength > 0;
        if (loops && (sample.loopStart % 2 != 0 || sample.loopLength % 2 != 0 ||
                      sample.loopStart + sample.loopLength > sample.data.size()))
            Fail("loop of sample " + std::to_string(i + 1) + " outside its data or odd");
        PutText(out, sample.name, 22);
        // Lengths and loops count 16-bit words, stored big-endian.
        out.U16Big(static_cast<std::uint16_t>(sample.data.size() / 2));
        out.U8(static_cast<std::uint8_t>(sample.finetune & 0x0F));
        out.U8(static_cast<std::uint8_t>(sample.volume));
        out.U16Big(static_cast<std::uint16_t>(loops ? sample.loopStart / 2 : 0));
        out.U16Big(static_cast<std::uint16_t>(loops ? sample.loopLength / 2 : 1)); // plays once
        bodies.push_back(std::move(sample.data));
    }
    out.U8(static_cast<std::uint8_t>(song.order.size()));
    out.U8(127); // restart byte as ProTracker writes it
    int highest = 0;
    for (int i = 0; i < 128; ++i) {
        const int p = i < static_cast<int>(song.order.size()) ? song.order[i] : 0;
        highest = std::max(highest, p);
        out.U8(static_cast<std::uint8_t>(p));
    }
    out.Text("M.K.");
    // Players take the pattern count from the highest order entry, so only
    // those patterns are stored.
    for (int p = 0; p <= highest; ++p) {
        for (const ModRow& row : song.patterns[p]) {
            for (const ModCell& cell : row) {
                if (cell.sample < 0 || cell.sample > kModSamples || cell.effect < 0 ||
                    cell.effect > 15 || cell.param < 0 || cell.param > 255)
                    Fail("cell out of range");
                const int period = cell.note < 0 ? 0 : ModPeriod(cell.note);
                out.U8(static_cast<std::uint8_t>((cell.sample & 0xF0) | (period >> 8)));
                out.U8(static_cast<std::uint8_t>(period & 0xFF));
                out.U8(static_cast<std::uint8_t>(((cell.sample & 0x0F) << 4) | cell.effect));
                out.U8(static_cast<std::uint8_t>(cell.param));
            }
        }
    }
    for (const auto& body : bodies)
        for (std::int8_t v : body) out.U8(static_cast<std::uint8_t>(v));
    return bytes;
}

void PlaceNotes(std::vector<ModRow>& rows, int channel, const std::vector<Note>& notes,
                const ModInstrument& instrument) {
    if (channel < 0 || channel >= kModChannels) Fail("no such channel");
    const auto grow = [&](int row) {
        if (static_cast<int>(rows.size()) <= row) rows.resize(static_cast<std::size_t>(row) + 1);
        return &rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(channel)];
    };
    for (const Note& n : notes) {
        const int index = n.pitch - instrument.lowestPitch;
        if (index < 0 || index >= 36)
            Fail("pitch " + std::to_string(n.pitch) + " outside sample " +
                 std::to_string(instrument.sample) + "'s range");
        ModCell* cell = grow(n.step);
        if (cell->note >= 0) Fail("two notes on one cell at row " + std::to_string(n.step));
        cell->note = index;
        cell->sample = instrument.sample;
        cell->effect = 0xC;
        cell->param =
            std::clamp(static_cast<int>(n.velocity * 64 * instrument.gain / 127 + 0.5), 0, 64);
    }
    // Effects go only into cells that are still free.
    const auto effect = [&](int row, int kind, int param) {
        ModCell* cell = grow(row);
        if (cell->note < 0 && cell->effect == 0 && cell->param == 0) {
            cell->effect = kind;
            cell->param = param;
        }
    };
    for (const Note& n : notes) {
        if (instrument.decay > 0 && n.length > 1) effect(n.step + 1, 0xA, instrument.decay);
        if (instrument.vibrato > 0 && n.length >= 6)
            for (int r = n.step + 3; r < n.step + n.length; ++r) effect(r, 0x4, instrument.vibrato);
        int row = n.step + n.length;
        for (int speed : instrument.release) {
            if (row < static_cast<int>(rows.size()) &&
                rows[static_cast<std::size_t>(row)][channel].note >= 0)
                break;
            bool taken = false;
            for (const Note& other : notes) taken |= other.step == row;
            if (taken) break;
            effect(row++, 0xA, speed);
        }
    }
}

void SetPatterns(ModSong& song, const std::vector<ModRow>& rows) {
    if (rows.empty() || rows.size() % kModRows != 0) Fail("rows are not whole patterns");
    song.patterns.clear();
    song.order.clear();
    const auto same = [](const ModCell& a, const ModCell& b) {
        return a.note == b.note && a.sample == b.sample && a.effect == b.effect &&
               a.param == b.param;
    };
    for (std::size_t start = 0; start < rows.size(); start += kModRows) {
        ModPattern pattern;
        std::copy(rows.begin() + static_cast<std::ptrdiff_t>(start),
                  rows.begin() + static_cast<std::ptrdiff_t>(start + kModRows), pattern.begin());
        int found = -1;
        for (std::size_t p = 0; p < song.patterns.size() && found < 0; ++p) {
            bool equal = true;
            for (int r = 0; r < kModRows && equal; ++r)
                for (int c = 0; c < kModChannels && equal; ++c)
                    equal = same(song.patterns[p][r][c], pattern[r][c]);
            if (equal) found = static_cast<int>(p);
        }
        if (found < 0) {
            found = static_cast<int>(song.patterns.size());
            song.patterns.push_back(pattern);
        }
        song.order.push_back(found);
    }
}

} // namespace music
