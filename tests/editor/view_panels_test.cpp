// The editor's view and panels without the window: which objects the list
// offers and in which group, the overview's cells and clicks, the picture's
// shape, the view distance and its setting.
#include <cstdlib>
#include <fstream>

#include "editor/editor_state.h"
#include "editor/editor_view.h"
#include "editor/level_commands.h"
#include "editor/object_groups.h"
#include "editor/overview_map.h"
#include "editor/view_dump.h"
#include "editor/view_settings.h"
#include "editor_test_support.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

using ViewPanelsTest = EditorTest;

ObjectType& define(ObjectTable& t, int i, const char* name) {
    t[static_cast<std::size_t>(i)].undefined = 0;
    t[static_cast<std::size_t>(i)].Name = name;
    return t[static_cast<std::size_t>(i)];
}

std::vector<std::string> names(const std::vector<PlaceableObject>& list) {
    std::vector<std::string> out;
    for (const PlaceableObject& o : list) out.push_back(o.name);
    return out;
}

TEST(ObjectGroups, AnimationStatesAreLeftOutAndTheRestGrouped) {
    auto table = std::make_unique<ObjectTable>();
    ObjectTable& t = *table;
    define(t, 1, "Stone").Cube = 1;
    ObjectType& soil = define(t, 10, "Soil");
    soil.Cube = 1;
    soil.Dig = soil.Recover = 1;
    soil.DigAnim = 11;
    soil.RecoverAnim = 12;
    define(t, 11, "Soil crumbling");
    define(t, 12, "Soil refilling");
    ObjectType& lever = define(t, 30, "Lever");
    lever.Lever = 1;
    lever.LeverAnim = 31;
    lever.LeverOpen = 32;
    define(t, 31, "Lever turning");
    define(t, 32, "Lever (pulled)");
    ObjectType& door = define(t, 33, "Door");
    door.Door = 1;
    door.AnimDoor = 36;
    door.DoorOpen = 37;
    define(t, 36, "Door opening");
    define(t, 37, "Open door").Collision = 0;
    // A door without an animation of its own names itself: still listed.
    ObjectType& plain = define(t, 39, "Plain door");
    plain.Door = 1;
    plain.AnimDoor = plain.DoorOpen = 39;
    // Names out of the table or of undefined types mark nothing.
    ObjectType& odd = define(t, 40, "Odd lever");
    odd.Lever = 1;
    odd.LeverAnim = 4000;
    odd.LeverOpen = -3;
    ObjectType& dust = define(t, 41, "Dust");
    dust.Dig = 1;
    dust.DigAnim = 99; // undefined
    // Dig and refill animations count only for a type that digs or refills.
    ObjectType& stray = define(t, 42, "Stray");
    stray.Cube = 1;
    stray.DigAnim = 1;
    define(t, 20, "Gold").Lingot = 1;
    define(t, 51, "Lava").Death = 1;
    define(t, 45, "Ramp").Ymax2 = 100;
    define(t, 46, "Ladder").Ladder = 1;
    define(t, 60, "Torch").Collision = 0;
    define(t, 61, "Pillar");
    define(t, 14, "Crate").CanPush = 1;
    define(t, 70, ""); // unnamed: never listed

    const std::vector<PlaceableObject> all = PlaceableObjects(t);
    EXPECT_EQ(names(all),
              (std::vector<std::string>{"Stone", "Stray",                               // floors
                                        "Soil", "Crate", "Dust",                        // soil
                                        "Ramp", "Ladder",                               // ladders
                                        "Lever", "Lever (pulled)", "Door", "Open door", // circuits
                                        "Plain door", "Odd lever",                      //
                                        "Gold",                                         // items
                                        "Lava",                                         // hazards
                                        "Torch", "Pillar"})); // decoration
    EXPECT_EQ(GroupOfObject(t, 37), ObjectGroup::DoorsAndLevers);
    EXPECT_EQ(GroupOfObject(t, 1), ObjectGroup::FloorsAndWalls);

    // The search ignores case and looks inside names; the group narrows it.
    EXPECT_EQ(names(FilterObjects(all, true, {}, "DOOR")),
              (std::vector<std::string>{"Door", "Open door", "Plain door"}));
    EXPECT_EQ(names(FilterObjects(all, false, ObjectGroup::Soil, "")),
              (std::vector<std::string>{"Soil", "Crate", "Dust"}));
    EXPECT_TRUE(FilterObjects(all, false, ObjectGroup::Items, "lava").empty());
}

TEST_F(ViewPanelsTest, TheOverviewShowsTheSelectorsLayerAndClicksFindItsCells) {
    MakeNewLevel(6, 3, 4);
    objectTypes[1].Cube = 1;
    objectTypes[20].Lingot = 1;
    objectTypes[51].Death = 1;
    setCell(2, 1, 3, 20);
    setCell(5, 1, 0, 51);
    setCell(1, 2, 1, 20); // another layer
    sentryCount = 2;
    sentries[1].x = 4 * 512 + 256; // on the layer
    sentries[1].y = 768;
    sentries[1].z = 2 * 512 + 256;
    sentries[2] = SentryRecord{}; // never placed
    PlaceSelectorAt({1, 1, 2});

    const OverviewMap map = BuildOverview();
    EXPECT_EQ(map.layer, 1);
    EXPECT_EQ(map.MarkAt(2, 3), static_cast<std::int8_t>(ObjectGroup::Items));
    EXPECT_EQ(map.MarkAt(5, 0), static_cast<std::int8_t>(ObjectGroup::Hazards));
    EXPECT_EQ(map.MarkAt(1, 1), kOverviewEmpty);
    EXPECT_EQ(map.MarkAt(6, 0), kOverviewEmpty); // outside
    ASSERT_EQ(map.sentries.size(), 1u);
    EXPECT_EQ(map.sentries[0], (CellPosition{4, 1, 2}));
    EXPECT_EQ(map.selector, (CellPosition{1, 1, 2}));
    EXPECT_EQ(BuildOverview(0).MarkAt(1, 1), static_cast<std::int8_t>(ObjectGroup::FloorsAndWalls));
    EXPECT_EQ(BuildOverview(99).layer, 2); // clamped into the grid

    // 10-pixel cells, centred; north (high z) at the top.
    const OverviewFit fit = FitOverview(map, 65, 45);
    EXPECT_EQ(fit.scale, 10);
    EXPECT_EQ(fit.left, 2);
    EXPECT_EQ(fit.top, 2);
    EXPECT_EQ(OverviewCellAt(map, fit, 2, 2), (CellPosition{0, 1, 3}));
    EXPECT_EQ(OverviewCellAt(map, fit, 61, 41), (CellPosition{5, 1, 0}));
    EXPECT_FALSE(OverviewCellAt(map, fit, 1, 20));
    EXPECT_FALSE(OverviewCellAt(map, fit, 62, 20));
    EXPECT_FALSE(OverviewCellAt(map, fit, 30, 42));

    // A map larger than its area: cells below a pixel, the last pixel still
    // inside the grid.
    MakeNewLevel(300, 2, 200);
    const OverviewMap big = BuildOverview(0);
    const OverviewFit small = FitOverview(big, 100, 100);
    EXPECT_LT(small.scale, 1);
    EXPECT_EQ(small.width, 100);
    const auto last =
        OverviewCellAt(big, small, small.left + small.width - 1, small.top + small.height - 1);
    ASSERT_TRUE(last);
    EXPECT_GE(last->x, 296);
    EXPECT_LT(last->x, 300);
    EXPECT_GE(last->z, 0);
    EXPECT_LE(last->z, 3);
    EXPECT_FALSE(OverviewCellAt(big, FitOverview(big, 0, 0), 0, 0));
}

TEST(PictureShape, FitsFourByThreeWithBarsAcrossOrAlong) {
    const PictureArea wide = FitPicture(500, 300);
    EXPECT_EQ(wide.width, 400);
    EXPECT_EQ(wide.height, 300);
    EXPECT_EQ(wide.x, 50);
    EXPECT_EQ(wide.y, 0);
    const PictureArea tall = FitPicture(413, 450);
    EXPECT_EQ(tall.width, 413);
    EXPECT_EQ(tall.height, 309);
    EXPECT_EQ(tall.y, 70);
    const PictureArea none = FitPicture(-4, 10);
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
}

TEST_F(ViewPanelsTest, TheViewDistanceReachesTheWholeLevelAndIsKept) {
    MakeNewLevel(120, 40, 90);
    PlaceSelectorAt({50, 1, 50});
    ViewBox box = EditorViewBox();
    EXPECT_EQ(box.reach, 8);
    EXPECT_GT(box.loX + box.loZ, 0);
    editor.viewDistance = 0;
    box = EditorViewBox();
    EXPECT_EQ((std::array{box.loX, box.loY, box.loZ}), (std::array{0, 0, 0}));
    EXPECT_GE(box.hiX, 119);
    EXPECT_GE(box.hiY, 39);
    EXPECT_GE(box.hiZ, 89);
    EXPECT_NE(DescribeViewState({}).find("viewDistance=whole\n"), std::string::npos);

    TempDir config;
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string before = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    EXPECT_EQ(ReadViewDistanceSetting(), 8); // nothing stored yet
    EXPECT_TRUE(StoreViewDistanceSetting(32));
    EXPECT_EQ(ReadViewDistanceSetting(), 32);
    EXPECT_TRUE(StoreViewDistanceSetting(0));
    EXPECT_EQ(ReadViewDistanceSetting(), 0);
    EXPECT_FALSE(StoreViewDistanceSetting(12)); // not offered
    EXPECT_EQ(ReadViewDistanceSetting(), 0);
    // A value edited by hand that is not offered reads as the first one.
    { std::ofstream(EditorSettingsFile()) << "[View]\nDistance=-7\n"; }
    EXPECT_EQ(ReadViewDistanceSetting(), 8);
    if (saved)
        setenv("XDG_CONFIG_HOME", before.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

} // namespace
