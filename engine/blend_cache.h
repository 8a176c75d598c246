// The blend table's cache file: a raw dump of the 17 planes next to the bank
// ("STANDARD.BNK" -> "STANDARD.POT"), so that the costly build runs once per
// palette.
#pragma once

#include <string>

#include "engine/render_context.h"

constexpr std::size_t kBlendTableBytes = sizeof(BlendTable); // 1114112

// The bank's name with its last four characters (the extension and its dot)
// replaced by ".POT"; a name shorter than that just gets ".POT" appended.
std::string PotFileName(const std::string& bankFile);

enum class BlendTableSource {
    Cache,        // read from the cache file as it was
    Built,        // built and written to the cache file
    BuiltNotSaved // built, but the cache file could not be written
};

// Reads `table` from `potFile` when that holds exactly one table. Nothing
// compares a cache with the palette: one left from another palette is used
// unchanged. A missing, unreadable or wrongly sized cache is rebuilt from
// `palette` and written back; when that write fails (a read-only folder)
// the table is kept in memory only.
BlendTableSource LoadOrBuildBlendTable(const std::string& potFile, const PalettePlanes& palette,
                                       BlendTable& table);
