#include "levels_source.h"

#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "formats/definitions.h"
#include "platform/text_case.h"
#include "platform/text_codepage.h"

namespace {

constexpr int kMaxSize = 255;      // cells along any axis
constexpr int kMaxHeading = 32767; // angle units below a full turn
constexpr int kMaxSeed = 32767;

struct Line {
    int number = 0;
    std::string text; // comment removed, trimmed
};

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::vector<Line> splitLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    int number = 1;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        const auto comment = line.find(';');
        if (comment != std::string::npos) line.resize(comment);
        line = trim(line);
        if (!line.empty()) lines.push_back({number, line});
        start = end + 1;
        ++number;
    }
    return lines;
}

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        const std::size_t begin = i;
        while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        if (i > begin) out.push_back(s.substr(begin, i - begin));
    }
    return out;
}

std::optional<int> parseInt(const std::string& s) {
    int value = 0;
    const char* end = s.data() + s.size();
    const auto result = std::from_chars(s.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

struct Cell {
    int x = 0, y = 0, z = 0;
};

struct Region {
    Cell from, to;
    int value = 0;
    int line = 0;
};

struct Placed {
    Cell cell;
    int value = 0; // heading or music index
    int line = 0;
};

class Compiler {
  public:
    Compiler(const std::string& name, const std::string& text)
        : name_(name), lines_(splitLines(text)) {}

    CompiledLevel run();

  private:
    [[noreturn]] void fail(int line, const std::string& message) const {
        throw LevelSourceError(name_ + ":" + std::to_string(line) + ": " + message);
    }

    std::vector<int> numbers(int line, const std::string& key, std::size_t count,
                             const std::string& value) const;
    std::vector<int> keyNumbers(const char* key, const char* shown, std::size_t count) const {
        return numbers(singleLine_.at(key), shown, count, single_.at(key));
    }
    void headerKey(const Line& line, const std::string& key, const std::string& value);
    void legendEntry(const Line& line);
    std::size_t layerBlock(std::size_t index);
    void checkInside(const Cell& c, int line, const std::string& what) const;
    std::string outputName() const;
    LevelData build() const;

    std::string name_;
    std::vector<Line> lines_;
    std::map<std::string, std::string> single_; // lower-cased key -> value
    std::map<std::string, int> singleLine_;
    int sizeX_ = 0, sizeY_ = 0, sizeZ_ = 0;
    std::vector<Placed> sentries_, music_;
    std::vector<Region> lights_;
    std::map<char, int> legend_;
    std::map<int, std::vector<std::string>> layers_; // y -> rows, first row = north
    int headerEnd_ = 0;
};

std::vector<int> Compiler::numbers(int line, const std::string& key, std::size_t count,
                                   const std::string& value) const {
    const auto parts = words(value);
    std::vector<int> out;
    for (const auto& part : parts) {
        const auto n = parseInt(part);
        if (!n) fail(line, key + ": \"" + part + "\" is not a whole number");
        out.push_back(*n);
    }
    if (out.size() != count)
        fail(line, key + " takes " + std::to_string(count) + " numbers, not " +
                       std::to_string(out.size()));
    return out;
}

void Compiler::headerKey(const Line& line, const std::string& key, const std::string& value) {
    const std::string k = LowerAscii(key);
    if (k == "sentry") {
        const auto n = numbers(line.number, key, 4, value);
        sentries_.push_back({{n[0], n[1], n[2]}, n[3], line.number});
        return;
    }
    if (k == "music") {
        const auto n = numbers(line.number, key, 4, value);
        music_.push_back({{n[0], n[1], n[2]}, n[3], line.number});
        return;
    }
    // Solution routes are read by the simulation tool; the level file has no place for them.
    if (k == "route") return;
    if (k == "light") {
        const auto n = numbers(line.number, key, 7, value);
        lights_.push_back({{n[0], n[1], n[2]}, {n[3], n[4], n[5]}, n[6], line.number});
        return;
    }
    static const std::set<std::string> kSingle = {"description", "author",  "size",       "start",
                                                  "exit",        "outside", "brightness", "seed"};
    if (!kSingle.count(k)) fail(line.number, "unknown key \"" + key + "\"");
    if (single_.count(k)) fail(line.number, "key \"" + key + "\" given twice");
    single_[k] = value;
    singleLine_[k] = line.number;
    if (k == "size") {
        const auto n = numbers(line.number, key, 3, value);
        for (int v : n)
            if (v < 1 || v > kMaxSize)
                fail(line.number, "sizes run from 1 to " + std::to_string(kMaxSize));
        sizeX_ = n[0];
        sizeY_ = n[1];
        sizeZ_ = n[2];
    }
}

void Compiler::legendEntry(const Line& line) {
    const auto equals = line.text.find('=');
    const std::string symbol = equals == std::string::npos ? "" : trim(line.text.substr(0, equals));
    if (symbol.size() != 1)
        fail(line.number, "a legend entry is one character, '=', and an object type");
    // The type may be followed by its name, for the reader.
    const auto value = words(line.text.substr(equals + 1));
    const auto type = value.empty() ? std::nullopt : parseInt(value[0]);
    if (!type || *type < 0 || *type > 255)
        fail(line.number, "legend entry '" + symbol + "' needs an object type 0..255");
    if (legend_.count(symbol[0]))
        fail(line.number, "legend character '" + symbol + "' given twice");
    legend_[symbol[0]] = *type;
}

// Reads "Layer N" or "Layer N-M" at lines_[index] and the rows that follow;
// returns the index of the first line after them.
std::size_t Compiler::layerBlock(std::size_t index) {
    const Line& head = lines_[index];
    if (sizeX_ == 0) fail(head.number, "Size must come before the first layer");
    const auto parts = words(head.text);
    const std::string range = parts.size() == 2 ? parts[1] : "";
    const auto dash = range.find('-');
    const auto first = parseInt(range.substr(0, dash));
    const auto last = dash == std::string::npos ? first : parseInt(range.substr(dash + 1));
    if (!first || !last || *first > *last)
        fail(head.number, "write \"Layer N\" or \"Layer N-M\" with N <= M");
    if (*first < 0 || *last >= sizeY_)
        fail(head.number, "layer " + range + " is outside 0.." + std::to_string(sizeY_ - 1));

    std::vector<std::string> rows;
    std::size_t i = index + 1;
    for (; i < lines_.size() && static_cast<int>(rows.size()) < sizeZ_; ++i) {
        const Line& row = lines_[i];
        const std::string keyword = LowerAscii(words(row.text)[0]);
        if (keyword == "layer" || keyword == "legend")
            fail(head.number, "layer " + range + " has " + std::to_string(rows.size()) +
                                  " rows, the level is " + std::to_string(sizeZ_) + " deep");
        if (static_cast<int>(row.text.size()) != sizeX_)
            fail(row.number, "row has " + std::to_string(row.text.size()) +
                                 " characters, the level is " + std::to_string(sizeX_) + " wide");
        for (std::size_t c = 0; c < row.text.size(); ++c) {
            if (!legend_.count(row.text[c]))
                fail(row.number, std::string("unknown legend character '") + row.text[c] +
                                     "' in column " + std::to_string(c + 1));
        }
        rows.push_back(row.text);
    }
    if (static_cast<int>(rows.size()) < sizeZ_)
        fail(head.number, "layer " + range + " has " + std::to_string(rows.size()) +
                              " rows, the level is " + std::to_string(sizeZ_) + " deep");
    for (int y = *first; y <= *last; ++y) {
        if (layers_.count(y)) fail(head.number, "layer " + std::to_string(y) + " given twice");
        layers_[y] = rows;
    }
    return i;
}

void Compiler::checkInside(const Cell& c, int line, const std::string& what) const {
    if (c.x < 0 || c.y < 0 || c.z < 0 || c.x >= sizeX_ || c.y >= sizeY_ || c.z >= sizeZ_)
        fail(line, what + " (" + std::to_string(c.x) + " " + std::to_string(c.y) + " " +
                       std::to_string(c.z) + ") is outside the level");
}

std::string Compiler::outputName() const {
    const bool numbered = name_.size() > 3 && std::isdigit(static_cast<unsigned char>(name_[0])) &&
                          std::isdigit(static_cast<unsigned char>(name_[1])) && name_[2] == '-';
    if (!numbered) fail(1, "the file name must begin with two digits and '-' (\"03-digging.txt\")");
    // A hint after a colon ("DIGGING: TAP FORWARD") is shown but not named.
    const std::string& description = single_.at("description");
    std::string title;
    bool wordStart = true;
    for (char c : description.substr(0, description.find(':'))) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            wordStart = true;
            continue;
        }
        title += static_cast<char>(wordStart ? std::toupper(static_cast<unsigned char>(c))
                                             : std::tolower(static_cast<unsigned char>(c)));
        wordStart = false;
    }
    if (title.empty()) fail(singleLine_.at("description"), "the description has no letters");
    return name_.substr(0, 2) + "-" + title + ".lev";
}

CompiledLevel Compiler::run() {
    enum { kHeader, kLegend, kLayers } mode = kHeader;
    std::size_t i = 0;
    while (i < lines_.size()) {
        const Line& line = lines_[i];
        const std::string keyword = LowerAscii(words(line.text)[0]);
        if (keyword == "legend" && line.text.find('=') == std::string::npos) {
            if (mode == kHeader) headerEnd_ = line.number;
            if (!legend_.empty()) fail(line.number, "the legend is given twice");
            mode = kLegend;
            ++i;
            continue;
        }
        if (keyword == "layer") {
            if (mode == kHeader) fail(line.number, "the legend must come before the layers");
            i = layerBlock(i);
            mode = kLayers;
            continue;
        }
        if (mode == kLayers)
            fail(line.number,
                 "expected \"Layer N\": a layer has exactly " + std::to_string(sizeZ_) + " rows");
        if (mode == kLegend) {
            legendEntry(line);
        } else {
            const auto equals = line.text.find('=');
            if (equals == std::string::npos) fail(line.number, "expected \"Key = value\"");
            headerKey(line, trim(line.text.substr(0, equals)), trim(line.text.substr(equals + 1)));
        }
        ++i;
    }
    if (headerEnd_ == 0) headerEnd_ = lines_.empty() ? 1 : lines_.back().number;
    for (const char* key : {"description", "author", "size", "start", "exit", "seed"}) {
        if (!single_.count(key)) {
            std::string shown = key;
            shown[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(shown[0])));
            fail(headerEnd_, "missing key \"" + shown + "\" (the header ends here)");
        }
    }
    if (layers_.empty()) fail(headerEnd_, "the level has no layers");
    return {outputName(), build()};
}

LevelData Compiler::build() const {
    LevelData level;
    LevelState& s = level.state;
    s.definitionFile = kDefinitionFile;
    // The source is UTF-8; the level file holds one byte a character.
    const Cp1252Text description = Utf8ToCp1252(single_.at("description"));
    const Cp1252Text author = Utf8ToCp1252(single_.at("author"));
    if (!description.refused.empty() || !author.refused.empty())
        fail(singleLine_.at("description"),
             "the level file cannot hold " +
                 RefusedCharactersText(description.refused + author.refused));
    s.description = description.bytes;
    s.author = author.bytes;
    if (s.description.size() > 255 || s.author.size() > 255)
        fail(singleLine_.at("description"), "description and author hold 255 characters");
    level.sizeX = sizeX_;
    level.sizeY = sizeY_;
    level.sizeZ = sizeZ_;

    auto lineOf = [this](const char* key) { return singleLine_.at(key); };

    const auto start = keyNumbers("start", "Start", 4);
    checkInside({start[0], start[1], start[2]}, lineOf("start"), "the start cell");
    if (start[3] < 0 || start[3] > kMaxHeading)
        fail(lineOf("start"), "the heading runs from 0 to " + std::to_string(kMaxHeading));
    s.startX = start[0];
    s.startY = start[1];
    s.startZ = start[2];
    s.startHeading = start[3];

    const auto exit = keyNumbers("exit", "Exit", 3);
    checkInside({exit[0], exit[1], exit[2]}, lineOf("exit"), "the exit cell");
    s.exitX = exit[0];
    s.exitY = exit[1];
    s.exitZ = exit[2];

    const int seed = keyNumbers("seed", "Seed", 1)[0];
    if (seed < 0 || seed > kMaxSeed)
        fail(lineOf("seed"), "the seed runs from 0 to " + std::to_string(kMaxSeed));
    s.randomSeed = seed;

    if (single_.count("outside")) {
        const int outside = keyNumbers("outside", "Outside", 1)[0];
        if (outside != 0 && outside != 1) fail(lineOf("outside"), "Outside is 0 or 1");
        s.outside = static_cast<std::uint8_t>(outside);
    }
    int brightness = 128;
    if (single_.count("brightness")) {
        brightness = keyNumbers("brightness", "Brightness", 1)[0];
        if (brightness < 0 || brightness > 255)
            fail(lineOf("brightness"), "brightness runs from 0 to 255");
    }

    const std::size_t n = static_cast<std::size_t>(sizeX_) * sizeY_ * sizeZ_;
    level.cells.assign(n, 0);
    level.brightness.assign(n, static_cast<std::uint8_t>(brightness));
    auto index = [this](int x, int y, int z) {
        return static_cast<std::size_t>(x) +
               sizeX_ * (static_cast<std::size_t>(y) + sizeY_ * static_cast<std::size_t>(z));
    };
    for (const auto& [y, rows] : layers_) {
        for (int r = 0; r < sizeZ_; ++r) {
            const int z = sizeZ_ - 1 - r; // the first row is the north edge
            for (int x = 0; x < sizeX_; ++x)
                level.cells[index(x, y, z)] = static_cast<std::uint8_t>(legend_.at(rows[r][x]));
        }
    }
    for (const Region& region : lights_) {
        checkInside(region.from, region.line, "the light's first corner");
        checkInside(region.to, region.line, "the light's second corner");
        if (region.value < 0 || region.value > 255)
            fail(region.line, "brightness runs from 0 to 255");
        for (int z = std::min(region.from.z, region.to.z);
             z <= std::max(region.from.z, region.to.z); ++z)
            for (int y = std::min(region.from.y, region.to.y);
                 y <= std::max(region.from.y, region.to.y); ++y)
                for (int x = std::min(region.from.x, region.to.x);
                     x <= std::max(region.from.x, region.to.x); ++x)
                    level.brightness[index(x, y, z)] = static_cast<std::uint8_t>(region.value);
    }

    if (sentries_.size() > static_cast<std::size_t>(kMaxLevelSentries))
        fail(sentries_.back().line, "a level holds at most 255 sentries");
    for (const Placed& sentry : sentries_) {
        checkInside(sentry.cell, sentry.line, "the sentry");
        if (sentry.value < 0 || sentry.value > kMaxHeading)
            fail(sentry.line, "the heading runs from 0 to " + std::to_string(kMaxHeading));
        // A sentry keeps its heading with the opposite sign of the way it
        // looks, as the editor stores it.
        level.sentries.push_back({static_cast<float>(sentry.cell.x * 512 + 256),
                                  static_cast<float>(sentry.cell.y * 512 + 256),
                                  static_cast<float>(sentry.cell.z * 512 + 256),
                                  static_cast<float>(-sentry.value)});
    }

    if (music_.size() > static_cast<std::size_t>(kMusicZoneCount))
        fail(music_.back().line, "a level holds at most 256 music zones");
    for (std::size_t k = 0; k < music_.size(); ++k) {
        const Placed& zone = music_[k];
        checkInside(zone.cell, zone.line, "the music zone");
        if (zone.value < 0 || zone.value > 255)
            fail(zone.line, "the music list has entries 0 to 255");
        s.musicZones[k] = {zone.cell.x, zone.cell.y, zone.cell.z, zone.value};
    }
    return level;
}

} // namespace

CompiledLevel CompileLevelSource(const std::string& sourceName, const std::string& text) {
    return Compiler(sourceName, text).run();
}
