// The default data set's definitions and levels, generated once per test
// program into a temporary folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "datakit.h"
#include "formats/level_file.h"
#include "platform/profile.h"

// data/ of the source tree.
std::filesystem::path DataSources();

struct ShippedLevel {
    std::string fileName;
    LevelData level;
};

// Standard.bnk as generated, parsed.
const ProfileData& ShippedDefinitions();
// LEVEL/*.lev as generated and read back, in name order; a file that does not
// read back is a test failure.
const std::vector<ShippedLevel>& ShippedLevels();
