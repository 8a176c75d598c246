// Route lines of a level source: any text either gives steps, each with a
// positive time-out, or an error that names the file and a line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "route.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto route = ParseRoute(text, "fuzz.txt");
    if (!route) {
        if (route.error.rfind("fuzz.txt:", 0) != 0) std::abort();
        return 0;
    }
    for (const RouteStep& step : *route)
        if (step.timeoutMs <= 0 || step.line < 1) std::abort();
    return 0;
}
