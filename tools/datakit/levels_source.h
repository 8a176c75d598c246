// Level sources: the readable text form of a level kept in data/levels/, and
// its compilation into the record the level writer stores.
//
// A source is a header of "Key = value" lines, a legend and the map layer by
// layer (see data/levels/README.txt). ';' starts a comment anywhere.
#pragma once

#include <stdexcept>
#include <string>

#include "formats/level_file.h"

// A source that cannot be compiled; what() begins with "file:line:".
struct LevelSourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CompiledLevel {
    std::string fileName; // "NN-Description.lev"
    LevelData level;
};

// Compiles `text`, read from the file `sourceName` (a name such as
// "03-digging.txt": its two leading digits give the level's number NN).
// Throws LevelSourceError for anything it cannot place exactly.
CompiledLevel CompileLevelSource(const std::string& sourceName, const std::string& text);
