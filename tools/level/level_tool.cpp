#include "level_tool.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <sstream>

#include "formats/level_file.h"
#include "levels_source.h"
#include "platform/files.h"
#include "platform/text_codepage.h"

namespace {

const char* const kUsage = "usage: kelvane-level info FILE\n"
                           "       kelvane-level resave IN OUT\n"
                           "       kelvane-level compile NN-name.txt OUT\n";

// Shortest text that reads back as the same float.
std::string real(float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// Keeps one line per key: control characters and '\' are escaped.
std::string escaped(const std::string& text) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

int info(const std::string& path, std::ostream& out, std::ostream& err) {
    const auto level = ReadLevelFile(path);
    if (!level) {
        err << LevelErrorText(path) << '\n';
        return 1;
    }
    out << DescribeLevel(*level);
    return 0;
}

int resave(const std::string& in, const std::string& outPath, std::ostream& err) {
    const auto level = ReadLevelFile(in);
    if (!level || !ApplyLevel(*level)) {
        err << LevelErrorText(in) << '\n';
        return 1;
    }
    if (!SaveLevel(outPath)) {
        err << "Cannot write the file " << outPath << ".\n";
        return 1;
    }
    return 0;
}

// A level source (data/levels/README.md) into a level file, as the data kit
// builds the shipped ones: for tests that need a level of their own.
int compile(const std::string& sourcePath, const std::string& outPath, std::ostream& err) {
    const SmallFile source = ReadSmallFile(sourcePath);
    if (source.status != SmallFileStatus::Read) {
        err << "Cannot read the file " << sourcePath << ".\n";
        return 1;
    }
    try {
        const CompiledLevel compiled =
            CompileLevelSource(std::filesystem::path(sourcePath).filename().string(),
                               std::string(source.bytes.begin(), source.bytes.end()));
        if (!WriteWholeFile(outPath, EncodeLevel(compiled.level))) {
            err << "Cannot write the file " << outPath << ".\n";
            return 1;
        }
    } catch (const LevelSourceError& error) {
        err << error.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

std::string DescribeLevel(const LevelData& level) {
    const LevelState& s = level.state;
    std::ostringstream out;
    out << "definition=" << escaped(s.definitionFile) << '\n';
    out << "sizeX=" << level.sizeX << "\nsizeY=" << level.sizeY << "\nsizeZ=" << level.sizeZ
        << '\n';
    out << "start=" << s.startX << ',' << s.startY << ',' << s.startZ << '\n';
    out << "startHeading=" << s.startHeading << '\n';
    out << "exit=" << s.exitX << ',' << s.exitY << ',' << s.exitZ << '\n';
    out << "description=" << escaped(Cp1252ToUtf8(s.description)) << '\n';
    out << "author=" << escaped(Cp1252ToUtf8(s.author)) << '\n';
    out << "outside=" << static_cast<int>(s.outside) << '\n';
    out << "sentries=" << level.sentries.size() << '\n';
    out << "seed=" << s.randomSeed << '\n';
    for (std::size_t k = 0; k < level.sentries.size(); ++k) {
        const LevelSentry& e = level.sentries[k];
        out << "sentry" << k + 1 << '=' << real(e.x) << ',' << real(e.y) << ',' << real(e.z) << ','
            << real(e.heading) << '\n';
    }
    for (int i = 0; i < kMusicZoneCount; ++i) {
        const MusicZone& zone = s.musicZones[i];
        if (zone.x == kUnusedMusicZone) continue;
        out << "musicZone" << i << '=' << zone.x << ',' << zone.y << ',' << zone.z << ','
            << zone.music << '\n';
    }
    std::array<std::int64_t, 256> counts{};
    for (std::uint8_t cell : level.cells) ++counts[cell];
    for (int t = 0; t < 256; ++t) {
        if (counts[t] > 0) out << "cellsOfType" << t << '=' << counts[t] << '\n';
    }
    return out.str();
}

int RunLevelTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "info") return info(args[1], out, err);
    if (args.size() == 3 && args[0] == "resave") return resave(args[1], args[2], err);
    if (args.size() == 3 && args[0] == "compile") return compile(args[1], args[2], err);
    err << kUsage;
    return 2;
}
