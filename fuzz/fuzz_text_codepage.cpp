// Level texts typed or scripted: any bytes convert to Windows-1252 without
// reading past the input; what converts comes back unchanged through UTF-8,
// and every byte of the set survives the way there and back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text_codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Cp1252Text converted = Utf8ToCp1252(text);
    if (converted.bytes.size() > size) std::abort();
    (void)RefusedCharactersText(converted.refused);
    const Cp1252Text again = Utf8ToCp1252(Cp1252ToUtf8(converted.bytes));
    if (again.bytes != converted.bytes || !again.refused.empty()) std::abort();
    const Cp1252Text raw = Utf8ToCp1252(Cp1252ToUtf8(text));
    if (raw.bytes != text || !raw.refused.empty()) std::abort();
    if (Cp1252ToAscii(text).size() != size) std::abort();
    return 0;
}
