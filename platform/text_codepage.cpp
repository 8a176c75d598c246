#include "platform/text_codepage.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The characters of the bytes 0x80..0x9F; the unassigned five stand for the
// control characters of the same number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// ASCII stand-ins of the bytes 0x80..0xFF, sixteen a row.
constexpr std::string_view kAsciiOfHigh = "E?,f\".++^%S<O?Z?"
                                          "?''\"\"*--~Ts>o?zY"
                                          " !cL?Y|S\"Ca<--R-"
                                          "o+23'uP.,1o>????"
                                          "AAAAAAACEEEEIIII"
                                          "DNOOOOOxOUUUUYPs"
                                          "aaaaaaaceeeeiiii"
                                          "dnooooo/ouuuuypy";

char32_t characterOfByte(std::uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

// The byte of a character, or -1 when the set lacks it.
int byteOfCharacter(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character starting at `at`, moving `at` past it; a malformed sequence
// (overlong, surrogate, beyond U+10FFFF, cut short) is U+FFFD for its first byte.
char32_t nextCharacter(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    int length = 0;
    char32_t c = 0, lowest = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, lowest = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    if (text.size() - at < static_cast<std::size_t>(length)) {
        ++at;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const std::uint8_t next = byte(at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += static_cast<std::size_t>(length);
    return c;
}

} // namespace

Cp1252Text Utf8ToCp1252(std::string_view utf8) {
    Cp1252Text result;
    std::u32string refused;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = nextCharacter(utf8, at);
        const int byte = c == kReplacement ? -1 : byteOfCharacter(c);
        if (byte >= 0) {
            result.bytes += static_cast<char>(byte);
        } else if (refused.find(c) == std::u32string::npos) {
            refused += c;
            appendUtf8(result.refused, c);
        }
    }
    return result;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) appendUtf8(out, characterOfByte(static_cast<std::uint8_t>(b)));
    return out;
}

std::string RefusedCharactersText(const std::string& refused) {
    std::string out;
    for (std::size_t at = 0; at < refused.size();) {
        const std::size_t from = at;
        const char32_t c = nextCharacter(refused, at);
        if (!out.empty()) out += ' ';
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == kReplacement) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            out += code;
        } else {
            out += '"';
            out.append(refused, from, at - from);
            out += '"';
        }
    }
    return out;
}

std::string Cp1252ToAscii(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte == 0x7F) c = '?';
        if (byte >= 0x80) c = kAsciiOfHigh[byte - 0x80];
    }
    return out;
}
