// The blend table's cache file: a raw dump of the 17 planes next to the bank
// ("STANDARD.BNK" -> "STANDARD.POT"), so that the costly build runs once per
// palette.
#pragma once

#include <string>

#include "engine/render_context.h"

constexpr std::size_t kBlendTableBytes = sizeof(BlendTable); // 1114112

// The bank's name with its three-letter extension replaced by ".POT"; a name
// without one just gets ".POT" appended. Empty when the bank's own extension
// is ".POT" (in any case): the cache would then overwrite the bank, so there
// is none.
std::string PotFileName(const std::string& bankFile);

enum class BlendTableSource {
    Cache,        // read from the cache file as it was
    Built,        // built and written to the cache file
    BuiltNotSaved // built in memory only
};

// Reads `table` from `potFile` when that holds exactly one table. Nothing
// compares a cache with the palette: one left from another palette is used
// unchanged. Otherwise the table is built from `palette`; it is written to
// `potFile` only when nothing is there yet. A file of another size, a folder
// or an unreadable file under that name is not replaced, and neither an
// empty name nor a failed write (a read-only folder) stops the load: the
// table is then kept in memory only.
BlendTableSource LoadOrBuildBlendTable(const std::string& potFile, const PalettePlanes& palette,
                                       BlendTable& table);
