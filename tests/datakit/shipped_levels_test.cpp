// The shipped levels: each reads back, starts and ends in sound cells, uses
// only defined types, and can be finished by the rules of movement.
#include <gtest/gtest.h>

#include "formats/definitions.h"
#include "level_walk.h"
#include "shipped_data.h"
#include "support/test_support.h"

namespace {

int CellOf(const LevelData& level, int x, int y, int z) {
    if (x < 0 || y < 0 || z < 0 || x >= level.sizeX || y >= level.sizeY || z >= level.sizeZ)
        return -1;
    return level.cells[x + level.sizeX * (y + level.sizeY * z)];
}

// The type every exit cell holds: the one drawn with the exit portal's frames.
int exitPortalType(const ProfileData& definitions) {
    for (int i = 1; i < 256; ++i)
        if (ProfileString(definitions, "Object " + std::to_string(i), "Mesh1", "") == "exit_1.3do")
            return i;
    return -1;
}

} // namespace

TEST(ShippedLevels, AtLeastTenNumberedLevelsNamingTheStandardDefinitions) {
    const auto& levels = ShippedLevels();
    ASSERT_GE(levels.size(), 10u);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const std::string number = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1) + "-";
        EXPECT_EQ(levels[i].fileName.substr(0, 3), number) << "levels are numbered in order";
        EXPECT_EQ(levels[i].level.state.definitionFile, kDefinitionFile);
        EXPECT_FALSE(levels[i].level.state.description.empty());
    }
}

TEST(ShippedLevels, StartOnSolidFloorAndExitPortalInsideTheGrid) {
    const WalkTypes types = ReadWalkTypes(ShippedDefinitions());
    const int portal = exitPortalType(ShippedDefinitions());
    ASSERT_GT(portal, 0);
    for (const auto& [name, level] : ShippedLevels()) {
        const LevelState& s = level.state;
        EXPECT_EQ(CellOf(level, s.startX, s.startY, s.startZ), 0) << name << ": start not empty";
        const int floor = CellOf(level, s.startX, s.startY - 1, s.startZ);
        EXPECT_TRUE(floor > 0 && types[floor].defined && types[floor].collision)
            << name << ": no solid floor under the start";
        EXPECT_EQ(CellOf(level, s.exitX, s.exitY, s.exitZ), portal)
            << name << ": the exit cell must hold the exit portal";
        EXPECT_FALSE(s.exitX == s.startX && s.exitY == s.startY && s.exitZ == s.startZ) << name;
    }
}

TEST(ShippedLevels, UseOnlyDefinedTypes) {
    const WalkTypes types = ReadWalkTypes(ShippedDefinitions());
    for (const auto& [name, level] : ShippedLevels()) {
        for (std::size_t i = 0; i < level.cells.size(); ++i) {
            const int t = level.cells[i];
            if (t != 0 && !types[t].defined) {
                ADD_FAILURE() << name << ": cell " << i << " holds undefined type " << t;
                break;
            }
        }
    }
}

TEST(ShippedLevels, SentriesStartInOpenAirAndMusicZonesPlayListedMusic) {
    const ProfileData& definitions = ShippedDefinitions();
    for (const auto& [name, level] : ShippedLevels()) {
        for (const LevelSentry& sentry : level.sentries) {
            const int x = static_cast<int>(sentry.x) / 512, y = static_cast<int>(sentry.y) / 512,
                      z = static_cast<int>(sentry.z) / 512;
            EXPECT_EQ(CellOf(level, x, y, z), 0) << name << ": sentry inside a cell";
        }
        for (const MusicZone& zone : level.state.musicZones) {
            if (zone.x == kUnusedMusicZone) continue;
            EXPECT_GE(CellOf(level, zone.x, zone.y, zone.z), 0) << name << ": zone outside";
            const std::string key = "Music" + std::to_string(zone.music);
            EXPECT_FALSE(ProfileString(definitions, "General", key, "").empty())
                << name << ": music " << zone.music << " is silent";
            // A clip stops play while it runs.
            EXPECT_TRUE(ProfileString(definitions, "General", key + "Video", "").empty())
                << name << ": music " << zone.music << " plays a video clip";
        }
    }
}

TEST(ShippedLevels, ExitCanBeReached) {
    const WalkTypes types = ReadWalkTypes(ShippedDefinitions());
    for (const auto& [name, level] : ShippedLevels()) {
        const LevelState& s = level.state;
        const WalkResult walk = WalkLevel(level, types);
        EXPECT_TRUE(walk.reached.count({s.exitX, s.exitY, s.exitZ}))
            << name << ": exit out of reach (" << walk.reached.size() << " cells reached)";
    }
}

TEST(ShippedLevels, DoorsCannotBeWalkedAround) {
    // A level with doors keeps its exit behind one: no climbing over walls
    // or around the door while it is shut.
    const WalkTypes types = ReadWalkTypes(ShippedDefinitions());
    for (const auto& [name, level] : ShippedLevels()) {
        bool hasDoor = false;
        for (std::uint8_t t : level.cells) hasDoor = hasDoor || types[t].door;
        if (!hasDoor) continue;
        const LevelState& s = level.state;
        EXPECT_FALSE(WalkLevel(level, types, false).reached.count({s.exitX, s.exitY, s.exitZ}))
            << name << ": the exit can be reached with every door shut";
    }
}

TEST(ShippedLevels, GeneratedBytesAreTheSameOnEveryRun) {
    TempDir first, second;
    GenerateLevels({first.path(), DataSources()});
    GenerateLevels({second.path(), DataSources()});
    for (const auto& [name, level] : ShippedLevels())
        EXPECT_EQ(ReadBytes(first.file("LEVEL/" + name)), ReadBytes(second.file("LEVEL/" + name)))
            << name;
}
