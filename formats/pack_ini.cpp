#include "formats/pack_ini.h"

#include <algorithm>

#include "platform/text_case.h"

namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string lineError(std::size_t line, const std::string& what) {
    return "pack.ini line " + std::to_string(line) + ": " + what;
}

bool namesFolder(std::string_view entry) {
    return entry.find_first_of("/\\") != std::string_view::npos || entry == "." || entry == "..";
}

// The order's entries, or the reason it is refused.
Loaded<std::vector<std::string>> parseOrder(std::string_view value, std::size_t line) {
    std::vector<std::string> order;
    if (trimmed(value).empty()) return LoadedValue(order);
    while (true) {
        const std::size_t comma = value.find(',');
        const std::string entry(trimmed(value.substr(0, comma)));
        if (entry.empty()) return LoadFailure{lineError(line, "an empty entry in the order")};
        if (namesFolder(entry))
            return LoadFailure{lineError(line, "the order names a folder: " + entry)};
        const auto same = [&](const std::string& other) { return EqualNoCase(other, entry); };
        if (std::any_of(order.begin(), order.end(), same))
            return LoadFailure{lineError(line, entry + " comes twice in the order")};
        if (order.size() >= kPackMaxOrder)
            return LoadFailure{lineError(line, "the order names more than " +
                                                   std::to_string(kPackMaxOrder) + " levels")};
        order.push_back(entry);
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    return LoadedValue(order);
}

} // namespace

Loaded<PackInfo> ParsePackIni(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        return LoadFailure{"pack.ini is not a text file"};
    PackInfo info;
    bool inPack = true; // keys before any section count as the pack's
    bool orderSeen = false;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                return LoadFailure{lineError(lineNumber, "a section without ']'")};
            inPack = EqualNoCase(std::string(trimmed(line.substr(1, line.size() - 2))), "Pack");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return LoadFailure{lineError(lineNumber, "neither a key nor a section")};
        if (!inPack) continue;
        const std::string key(trimmed(line.substr(0, equals)));
        const std::string_view value = trimmed(line.substr(equals + 1));
        // The first of a key that comes twice wins, as in the other settings files.
        if (EqualNoCase(key, "name") && info.name.empty()) {
            info.name = std::string(value.substr(0, kPackMaxText));
        } else if (EqualNoCase(key, "author") && info.author.empty()) {
            info.author = std::string(value.substr(0, kPackMaxText));
        } else if (EqualNoCase(key, "order") && !orderSeen) {
            Loaded<std::vector<std::string>> order = parseOrder(value, lineNumber);
            if (!order) return LoadFailure{order.error};
            info.order = std::move(*order);
            orderSeen = true;
        }
    }
    return LoadedValue(std::move(info));
}
