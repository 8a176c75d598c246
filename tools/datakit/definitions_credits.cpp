#include "definitions_credits.h"

#include <stdexcept>

#include "platform/scramble_text.h"

namespace {

constexpr std::size_t kMaxLines = 1000; // the game keeps 1001 lines and drops the last

// Bytes a line reader would take as the end of a line or of the file.
bool breaksLine(unsigned char c) {
    return c == '\n' || c == '\r' || c == 0 || c == 0x1a;
}

} // namespace

std::string EncodeCredits(const std::string& source) {
    std::string out;
    std::size_t count = 0;
    std::size_t start = 0;
    int number = 0;
    auto emit = [&](const std::string& line) {
        const std::string scrambled = ScrambleText(line);
        for (unsigned char c : scrambled) {
            if (breaksLine(c))
                throw std::runtime_error("credits.txt:" + std::to_string(number) +
                                         ": line too long to store safely (shorten it)");
        }
        out += scrambled;
        out += '\n';
        ++count;
    };
    while (start < source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        std::string line = source.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == ';') continue;
        for (unsigned char c : line) {
            if (c < 32 || c > 126)
                throw std::runtime_error("credits.txt:" + std::to_string(number) +
                                         ": only printable ASCII characters have glyphs");
        }
        emit(!line.empty() && line[0] == '&' ? line : " " + line);
        if (count > kMaxLines)
            throw std::runtime_error("credits.txt: more than " + std::to_string(kMaxLines) +
                                     " lines");
    }
    emit(" ");
    return out;
}
