// pack.ini: any text is read or refused with a reason, and an order never
// names anything outside its pack's folder.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/pack_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Loaded<PackInfo> info = ParsePackIni(text);
    if (!info) {
        if (info.error.empty()) std::abort();
        return 0;
    }
    if (info->name.size() > kPackMaxText || info->author.size() > kPackMaxText) std::abort();
    if (info->order.size() > kPackMaxOrder) std::abort();
    for (const std::string& entry : info->order)
        if (entry.empty() || entry.find_first_of("/\\") != std::string::npos || entry == "." ||
            entry == "..")
            std::abort();
    return 0;
}
