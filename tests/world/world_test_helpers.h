// Small worlds for the behaviour and animation tests.
#pragma once

#include <algorithm>
#include <cstdint>

#include <gtest/gtest.h>

#include "engine/mesh.h"
#include "world/animation.h"
#include "world/frame_clock.h"
#include "world/game_services.h"
#include "world/world.h"

// A type in use, with no flags of its own yet.
inline ObjectType& DefineType(int index) {
    ObjectType& type = objectTypes[index];
    type.undefined = 0;
    return type;
}

// Gives the type `count` three-vertex meshes whose first x is 10 * frame.
inline void GiveMeshes(ObjectType& type, int count) {
    for (int frame = 0; frame < count; ++frame) {
        type.meshes[frame] = MakeMesh(2, 0);
        type.meshes[frame]->x[0] = 10 * frame;
    }
    type.meshCount = count;
}

// Sounds in the event log with this volume (volumes tell the types apart).
inline int SoundsAtVolume(std::int32_t volume) {
    const auto& log = RecentWorldEvents();
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const WorldEvent& e) {
        return e.kind == WorldEventKind::Sound && e.value == volume;
    }));
}

inline int ActiveSlots() {
    return static_cast<int>(std::count_if(transitionSlots.begin(), transitionSlots.end(),
                                          [](const TransitionSlot& s) { return s.active != 0; }));
}

// An empty 6 x 4 x 6 grid, no types, an empty event log, frames of 30 ms at
// tick 1000 with the texture step just taken.
class SmallWorld : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearWorldTables();
        ASSERT_TRUE(ResizeWorldGrid(6, 4, 6));
        ClearWorldEvents();
        Now = 1000;
        frameMs = 30;
        lastTextureStep = Now;
    }
    void TearDown() override {
        ClearWorldTables();
        ClearWorldEvents();
    }
};
