// Texture bank text: the line normaliser and the section and line parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/bank_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const BankListing bank = ParseBankText(text);
    // Whatever the text, every index fits the tables and every name is
    // non-empty and normalised.
    for (const BankImageLine& line : bank.images) {
        if (line.index < 0 || line.index > 32767 || line.file.empty()) std::abort();
        if (NormaliseBankLine(line.file) != line.file) std::abort();
    }
    for (const BankTextureLine& line : bank.textures) {
        if (line.index < 0 || line.index > 32767 || line.first < 0 || line.first > 32767 ||
            line.last < 0 || line.last > 32767)
            std::abort();
    }
    return 0;
}
