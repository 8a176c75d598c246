#include "editor/number_answer.h"

#include <limits>

NumberAnswer ParseNumberAnswer(const std::string& text) {
    if (text.empty()) return {NumberKind::Empty, 0};
    std::int64_t value = 0;
    bool tooLarge = false;
    for (const char c : text) {
        if (c < '0' || c > '9') return {NumberKind::NotNumber, 0};
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            tooLarge = true;
            value = 0; // keep scanning for non-digits without overflowing
        }
    }
    if (tooLarge) return {NumberKind::TooLarge, 0};
    return {NumberKind::Value, static_cast<std::int32_t>(value)};
}

std::string TooLargeNumberText(const std::string& text) {
    return "The number " + text + " is too large.";
}
