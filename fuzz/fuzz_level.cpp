// Level parser: any bytes either parse or are refused; what parses encodes
// back to the same leading bytes (apart from string padding) and parses again
// to the same record.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "formats/level_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto level = ParseLevel(data, size);
    if (!level) return 0;
    const auto bytes = EncodeLevel(*level);
    const auto again = ParseLevel(bytes.data(), bytes.size());
    if (!again || EncodeLevel(*again) != bytes) std::abort();
    if (again->cells != level->cells || again->brightness != level->brightness) std::abort();
    return 0;
}
