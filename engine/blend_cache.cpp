#include "engine/blend_cache.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/colour_tables.h"
#include "platform/files.h"

std::string PotFileName(const std::string& bankFile) {
    if (bankFile.size() < 4) return bankFile + ".POT";
    return bankFile.substr(0, bankFile.size() - 4) + ".POT";
}

BlendTableSource LoadOrBuildBlendTable(const std::string& potFile, const PalettePlanes& palette,
                                       BlendTable& table) {
    if (FileExists(potFile)) {
        const auto cached = ReadWholeFile(potFile);
        if (cached && cached->size() == kBlendTableBytes) {
            std::memcpy(table.data(), cached->data(), kBlendTableBytes);
            return BlendTableSource::Cache;
        }
    }
    BuildBlendTable(palette, table);
    const std::vector<std::uint8_t> bytes(table.begin(), table.end());
    return WriteWholeFile(potFile, bytes) ? BlendTableSource::Built
                                          : BlendTableSource::BuiltNotSaved;
}
