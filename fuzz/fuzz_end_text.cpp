// The end screen's text ("game.dat"): any bytes give at most 1001 lines
// without line breaks, one more than the count shown, and a layout whose
// lines move down the picture.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "shell/end_screen.h"
#include "shell/end_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const EndTextRecord text = ParseEndText(std::span<const std::uint8_t>(data, size));
    if (text.lines.size() > static_cast<std::size_t>(kEndTextLines)) std::abort();
    if (text.count != (text.lines.empty() ? 0 : static_cast<int>(text.lines.size()) - 1))
        std::abort();
    for (const std::string& line : text.lines)
        if (line.find_first_of("\r\n") != std::string::npos) std::abort();
    double previous = -1e9;
    for (const EndTextLine& line : EndTextLayout(text, 1.0)) {
        if (!(line.top > previous)) std::abort();
        previous = line.top;
    }
    return 0;
}
