// Answers of the number prompts: digits only, the empty text allowed.
#pragma once

#include <cstdint>
#include <string>

enum class NumberKind { Empty, NotNumber, TooLarge, Value };

struct NumberAnswer {
    NumberKind kind = NumberKind::Empty;
    std::int32_t value = 0;
};

// A number is a string of the digits 0..9 whose value fits an int32; a sign,
// a space or any other character makes it NotNumber.
NumberAnswer ParseNumberAnswer(const std::string& text);

// "The number <text> is too large.": a digit string beyond an int32.
std::string TooLargeNumberText(const std::string& text);
