#include "music_score.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace music {

namespace {
std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        const std::size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

[[noreturn]] void Fail(std::string_view what, std::string_view token) {
    throw std::invalid_argument(std::string(what) + " \"" + std::string(token) + "\"");
}

int NumberOf(std::string_view text, std::string_view token) {
    if (text.empty() || text.size() > 3) Fail("bad number in", token);
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) Fail("bad number in", token);
        value = value * 10 + (c - '0');
    }
    return value;
}

// Pitch class of a note letter with its accidental; `used` gets the characters read.
int PitchClass(std::string_view text, std::size_t& used) {
    static const int kLetters[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    if (text.empty() || text[0] < 'A' || text[0] > 'G') Fail("bad note name", text);
    int pc = kLetters[text[0] - 'A'];
    used = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pc += text[1] == '#' ? 1 : -1;
        used = 2;
    }
    return (pc + 12) % 12;
}

void CheckBar(int position, int start, std::string_view token) {
    if ((position - start) % kStepsPerBar != 0) Fail("bar line off the bar before", token);
}
} // namespace

int ParsePitch(std::string_view text) {
    std::size_t used = 0;
    const int pc = PitchClass(text, used);
    const std::string_view octave = text.substr(used);
    if (octave.size() != 1 || !std::isdigit(static_cast<unsigned char>(octave[0])))
        Fail("bad octave in", text);
    // Cb and B# belong to the neighbouring octave by name; keep them in theirs.
    int base = text[0] == 'C' && pc == 11 ? -12 : 0;
    if (text[0] == 'B' && pc == 0) base = 12;
    return 12 * (octave[0] - '0' + 1) + pc + base;
}

std::vector<Note> ParseMelody(std::string_view text, int start, int velocity) {
    std::vector<Note> notes;
    int position = start;
    for (std::string_view token : Tokens(text)) {
        if (token == "|") {
            CheckBar(position, start, token);
            continue;
        }
        const std::size_t colon = token.find(':');
        if (colon == std::string_view::npos) Fail("note without length", token);
        std::string_view length = token.substr(colon + 1);
        bool accent = false;
        if (!length.empty() && length.back() == '!') {
            accent = true;
            length.remove_suffix(1);
        }
        const int steps = NumberOf(length, token);
        if (steps <= 0) Fail("empty note", token);
        const std::string_view name = token.substr(0, colon);
        if (name != "r") {
            const int v = std::min(127, velocity + (accent ? 18 : 0));
            notes.push_back({position, steps, ParsePitch(name), v});
        }
        position += steps;
    }
    return notes;
}

bool Chord::minor() const {
    return std::find(intervals.begin(), intervals.end(), 3) != intervals.end();
}

std::vector<Chord> ParseChords(std::string_view text, int start) {
    struct Quality {
        std::string_view name;
        std::vector<int> intervals;
    };
    static const Quality kQualities[] = {
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},          {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}},   {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},   {"add9", {0, 4, 7, 14}},   {"dim", {0, 3, 6}},
        {"6", {0, 4, 7, 9}},   {"m9", {0, 3, 7, 10, 14}},
    };
    std::vector<Chord> chords;
    int position = start;
    for (std::string_view token : Tokens(text)) {
        if (token == "|") {
            CheckBar(position, start, token);
            continue;
        }
        int steps = kStepsPerBar;
        std::string_view symbol = token;
        const std::size_t colon = token.find(':');
        if (colon != std::string_view::npos) {
            steps = NumberOf(token.substr(colon + 1), token);
            symbol = token.substr(0, colon);
        }
        std::size_t used = 0;
        Chord chord;
        chord.step = position;
        chord.length = steps;
        chord.root = PitchClass(symbol, used);
        const std::string_view quality = symbol.substr(used);
        const auto found = std::find_if(std::begin(kQualities), std::end(kQualities),
                                        [&](const Quality& q) { return q.name == quality; });
        if (found == std::end(kQualities)) Fail("unknown chord", token);
        chord.intervals = found->intervals;
        chords.push_back(chord);
        position += steps;
    }
    return chords;
}

std::vector<Note> ParseDrums(std::string_view text, int start) {
    std::vector<Note> notes;
    int position = start;
    for (char c : text) {
        if (c == '|' || std::isspace(static_cast<unsigned char>(c))) continue;
        if (c != '.') notes.push_back({position, 1, static_cast<unsigned char>(c), 100});
        ++position;
    }
    return notes;
}

void Append(std::vector<Note>& target, const std::vector<Note>& notes, int steps) {
    for (Note n : notes) {
        n.step += steps;
        target.push_back(n);
    }
}

int EndStep(const std::vector<Note>& notes) {
    int end = 0;
    for (const Note& n : notes) end = std::max(end, n.step + n.length);
    return end;
}

std::string Repeat(const std::string& bar, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += bar;
    return out;
}

} // namespace music
