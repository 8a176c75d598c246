#include "shipped_data.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "formats/definitions.h"
#include "support/test_support.h"

namespace {

struct Shipped {
    TempDir dir;
    ProfileData definitions;
    std::vector<ShippedLevel> levels;

    Shipped() {
        const DataKit kit{dir.path(), DataSources()};
        GenerateDefinitions(kit);
        GenerateLevels(kit);
        definitions = ReadProfile(dir.file(kDefinitionFile));
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "LEVEL"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            auto level = ReadLevelFile(dir.file("LEVEL/" + name));
            EXPECT_TRUE(level) << name << " does not read back";
            if (level) levels.push_back({name, std::move(*level)});
        }
    }
};

const Shipped& shipped() {
    static const Shipped data;
    return data;
}

} // namespace

std::filesystem::path DataSources() {
    return std::filesystem::path(KELVANE_TEST_FIXTURES).parent_path().parent_path() / "data";
}

const ProfileData& ShippedDefinitions() {
    return shipped().definitions;
}
const std::vector<ShippedLevel>& ShippedLevels() {
    return shipped().levels;
}
