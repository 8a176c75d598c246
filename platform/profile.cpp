#include "platform/profile.h"

#include <algorithm>
#include <vector>

#include "platform/files.h"
#include "platform/text_case.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

enum class LineKind { Ignored, Section, Key };

struct ProfileLine {
    LineKind kind = LineKind::Ignored;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed
};

ProfileLine classify(std::string_view raw) {
    ProfileLine line;
    const std::string_view text = trim(raw);
    if (text.empty() || text.front() == ';') return line;
    if (text.front() == '[') {
        // The name runs to the last ']'; a header without one is ignored.
        const auto close = text.rfind(']');
        if (close == std::string_view::npos) return line;
        line.kind = LineKind::Section;
        line.name = trim(text.substr(1, close - 1));
        return line;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return line; // a key without a value reads as missing
    line.name = trim(text.substr(0, equals));
    if (line.name.empty()) return line;
    line.kind = LineKind::Key;
    line.value = trim(text.substr(equals + 1));
    return line;
}

// Splits into lines on '\n' (a '\r' before it is trimmed with the blanks).
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view skipByteOrderMark(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string cutToBuffer(std::string_view value, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(value.substr(0, bufferSize - 1));
}

const std::string* findValue(const ProfileData& profile, std::string_view section,
                             std::string_view key) {
    const auto s = profile.sections.find(LowerAscii(trim(section)));
    if (s == profile.sections.end()) return nullptr;
    const auto k = s->second.find(LowerAscii(trim(key)));
    return k == s->second.end() ? nullptr : &k->second;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

ProfileData ParseProfile(std::string_view text) {
    ProfileData profile;
    std::unordered_map<std::string, std::string>* current = nullptr;
    for (std::string_view raw : splitLines(skipByteOrderMark(text))) {
        const ProfileLine line = classify(raw);
        if (line.kind == LineKind::Section) {
            // A repeated section is never consulted: lookups stop at the first.
            auto [it, inserted] = profile.sections.try_emplace(LowerAscii(line.name));
            current = inserted ? &it->second : nullptr;
        } else if (line.kind == LineKind::Key && current) {
            current->try_emplace(LowerAscii(line.name), std::string(unquote(line.value)));
        }
    }
    return profile;
}

Loaded<ProfileData> ReadProfileFile(const std::string& file) {
    const SmallFile text = ReadSmallFile(file);
    if (text.status == SmallFileStatus::TooLarge)
        return LoadFailure{TooLargeText("The file " + file) + "."};
    return LoadedValue(ParseProfile(
        std::string_view(reinterpret_cast<const char*>(text.bytes.data()), text.bytes.size())));
}

ProfileData ReadProfile(const std::string& file) {
    Loaded<ProfileData> profile = ReadProfileFile(file);
    return profile ? std::move(*profile) : ProfileData{};
}

std::string ProfileString(const ProfileData& profile, std::string_view section,
                          std::string_view key, std::string_view fallback, std::size_t bufferSize) {
    if (const std::string* value = findValue(profile, section, key)) {
        return cutToBuffer(*value, bufferSize);
    }
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    return cutToBuffer(fallback, bufferSize);
}

std::optional<std::int32_t> ParseProfileInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t value = 0;
        for (char c : text.substr(2)) {
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return std::nullopt;
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFull) return std::nullopt;
        }
        // Eight hex digits cover the whole 32-bit pattern, negative values included.
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t ProfileInt(const ProfileData& profile, std::string_view section, std::string_view key,
                        std::int32_t fallback) {
    const std::string* value = findValue(profile, section, key);
    if (!value) return fallback;
    return ParseProfileInteger(*value).value_or(fallback);
}

bool ProfileFlag(const ProfileData& profile, std::string_view section, std::string_view key,
                 std::string_view fallback) {
    return UpperAscii(ProfileString(profile, section, key, fallback)) == "TRUE";
}

std::string GetProfileString(const std::string& file, std::string_view section,
                             std::string_view key, std::string_view fallback,
                             std::size_t bufferSize) {
    return ProfileString(ReadProfile(file), section, key, fallback, bufferSize);
}

std::int32_t GetProfileInt(const std::string& file, std::string_view section, std::string_view key,
                           std::int32_t fallback) {
    return ProfileInt(ReadProfile(file), section, key, fallback);
}

std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (section.empty() || key.empty() || hasLineBreak(section) || hasLineBreak(key) ||
        hasLineBreak(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '[') {
        return std::nullopt;
    }
    // A byte order mark stays in front and is not part of the first line.
    const std::string_view rest = skipByteOrderMark(text);
    std::string result(text.substr(0, text.size() - rest.size()));
    text = rest;
    const std::string newline = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    const std::string sectionName = LowerAscii(section);
    const std::string keyName = LowerAscii(key);

    const std::vector<std::string_view> lines = splitLines(text);
    std::optional<std::size_t> header;   // line of the first matching section
    std::optional<std::size_t> lastKey;  // last key line inside it
    std::optional<std::size_t> existing; // the first line of that key
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ProfileLine line = classify(lines[i]);
        if (line.kind == LineKind::Section) {
            if (header) break;
            if (LowerAscii(line.name) == sectionName) header = i;
        } else if (line.kind == LineKind::Key && header) {
            lastKey = i;
            if (LowerAscii(line.name) == keyName) {
                existing = i;
                break;
            }
        }
    }

    auto appendLine = [&](std::string_view line) {
        result += line;
        result += newline;
    };
    const auto keyLine = [&](std::string_view name) {
        return std::string(name) + "=" + std::string(value);
    };
    if (!header) {
        result += text;
        if (!text.empty() && text.back() != '\n') result += newline;
        if (!text.empty()) result += newline;
        appendLine("[" + std::string(section) + "]");
        appendLine(keyLine(key));
        return result;
    }
    const std::size_t insertAfter = lastKey.value_or(*header);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (existing && i == *existing) {
            // Keeps the spelling of the name already in the file.
            appendLine(keyLine(classify(lines[i]).name));
            continue;
        }
        // The last line of the text keeps its (possibly missing) line end.
        const bool last = i + 1 == lines.size() && text.back() != '\n';
        if (last) {
            result += lines[i];
        } else {
            result += lines[i];
            result += "\n";
        }
        if (!existing && i == insertAfter) {
            if (last) result += newline;
            appendLine(keyLine(key));
        }
    }
    return result;
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    return WriteProfileStrings(file,
                               {{std::string(section), std::string(key), std::string(value)}});
}

bool WriteProfileStrings(const std::string& file, const std::vector<ProfileEntry>& entries) {
    std::string text;
    if (FileExists(file)) {
        const SmallFile old = ReadSmallFile(file);
        // Never replace a file that could not be read whole.
        if (old.status != SmallFileStatus::Read) return false;
        text.assign(old.bytes.begin(), old.bytes.end());
    }
    for (const ProfileEntry& entry : entries) {
        auto updated = SetProfileValue(text, entry.section, entry.key, entry.value);
        if (!updated) return false;
        text = std::move(*updated);
    }
    return WriteWholeFile(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}
