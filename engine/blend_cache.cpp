#include "engine/blend_cache.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <vector>

#include "engine/colour_tables.h"
#include "platform/files.h"

namespace {

constexpr const char* kCacheExtension = ".POT";

bool IsCacheExtension(const std::string& extension) {
    return std::equal(
        extension.begin(), extension.end(), kCacheExtension,
        kCacheExtension + std::strlen(kCacheExtension),
        [](unsigned char a, unsigned char b) { return std::toupper(a) == std::toupper(b); });
}

// Whether anything (a file, a folder, a link) is found under `name`, matched
// as the data files are.
bool AnythingAt(const std::string& name) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(ResolvePath(name), error));
}

} // namespace

std::string PotFileName(const std::string& bankFile) {
    const std::string base = BaseName(bankFile);
    const bool threeLetterExtension = base.size() > 4 && base[base.size() - 4] == '.';
    if (!threeLetterExtension) return bankFile + kCacheExtension;
    // The cache would be the bank itself (paths match without regard to case).
    if (IsCacheExtension(base.substr(base.size() - 4))) return "";
    return bankFile.substr(0, bankFile.size() - 4) + kCacheExtension;
}

BlendTableSource LoadOrBuildBlendTable(const std::string& potFile, const PalettePlanes& palette,
                                       BlendTable& table) {
    const bool taken = !potFile.empty() && AnythingAt(potFile);
    if (taken) {
        // A cache of any other size is not read.
        const auto file = FileReader::Open(potFile);
        const auto cached = file && file->Size() == kBlendTableBytes
                                ? file->Read(0, kBlendTableBytes)
                                : std::nullopt;
        if (cached) {
            std::memcpy(table.data(), cached->data(), kBlendTableBytes);
            return BlendTableSource::Cache;
        }
    }
    BuildBlendTable(palette, table);
    // Only a new file is written: whatever else holds the name is not a cache
    // of ours (ours are written whole, through a rename) and is kept.
    if (potFile.empty() || taken) return BlendTableSource::BuiltNotSaved;
    const std::vector<std::uint8_t> bytes(table.begin(), table.end());
    return WriteWholeFile(potFile, bytes) ? BlendTableSource::Built
                                          : BlendTableSource::BuiltNotSaved;
}
