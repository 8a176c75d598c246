// INI parser and editor: any text parses; a value set through the editor reads
// back as written (after trimming) and leaves the other sections readable.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ProfileData profile = ParseProfile(text);
    ProfileString(profile, "General", "Texture", "", 16);
    ProfileInt(profile, "General", "Width", 320);

    const auto updated = SetProfileValue(text, "Fuzz Section", "FuzzKey", "value 42");
    if (!updated) std::abort();
    const ProfileData after = ParseProfile(*updated);
    if (ProfileString(after, "fuzz section", "fuzzkey", "") != "value 42") std::abort();
    for (const auto& [section, keys] : profile.sections) {
        if (section == "fuzz section") continue;
        for (const auto& [key, value] : keys) {
            if (ProfileString(after, section, key, "<gone>", 1u << 20) != value) std::abort();
        }
    }
    return 0;
}
