#include "engine/bank_file.h"

#include <optional>

#include "platform/text_case.h"

namespace {

constexpr std::int32_t kHighestIndex = 32767;

// A decimal number 0..32767 made only of digits.
std::optional<std::int32_t> parseIndex(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kHighestIndex) return std::nullopt;
    }
    return value;
}

enum class Section { Preamble, Images, Textures };

void parseImageLine(std::string_view line, BankListing& out) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const auto index = parseIndex(line.substr(0, equals));
    const std::string_view file = line.substr(equals + 1);
    if (!index || file.empty()) return;
    out.images.push_back({*index, std::string(file)});
}

void parseTextureLine(std::string_view line, BankListing& out) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view range = line.substr(equals + 1);
    const auto dash = range.find('-');
    if (dash == std::string_view::npos) return;
    const auto index = parseIndex(line.substr(0, equals));
    const auto first = parseIndex(range.substr(0, dash));
    const auto last = parseIndex(range.substr(dash + 1));
    if (!index || !first || !last) return;
    out.textures.push_back({*index, *first, *last});
}

} // namespace

std::string NormaliseBankLine(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c == '\t' || c == '\r' || c == ' ') continue;
        out += UpperAscii(c);
    }
    return out;
}

BankListing ParseBankText(std::string_view text) {
    BankListing out;
    Section section = Section::Preamble;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string line = NormaliseBankLine(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        if (line.empty()) continue;
        switch (section) {
        case Section::Preamble:
            if (line == "#IMAGES") section = Section::Images;
            break;
        case Section::Images:
            if (line == "#TEXTURES")
                section = Section::Textures;
            else
                parseImageLine(line, out);
            break;
        case Section::Textures:
            parseTextureLine(line, out);
            break;
        }
    }
    return out;
}
