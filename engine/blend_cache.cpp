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
    // A cache of any other size is rebuilt without being read.
    const auto file = FileReader::Open(potFile);
    const auto cached =
        file && file->Size() == kBlendTableBytes ? file->Read(0, kBlendTableBytes) : std::nullopt;
    if (cached) {
        std::memcpy(table.data(), cached->data(), kBlendTableBytes);
        return BlendTableSource::Cache;
    }
    BuildBlendTable(palette, table);
    const std::vector<std::uint8_t> bytes(table.begin(), table.end());
    return WriteWholeFile(potFile, bytes) ? BlendTableSource::Built
                                          : BlendTableSource::BuiltNotSaved;
}
