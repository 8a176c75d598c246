// The objects an author can paint, sorted into groups for the object list:
// every defined, named type but the ones that only play while a cell changes
// (a dig, a refill, a lever turning, a door opening), which the definitions
// name as another type's animation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "world/world.h"

enum class ObjectGroup {
    FloorsAndWalls,
    Soil,
    LaddersAndStairs,
    DoorsAndLevers,
    Items,
    Hazards,
    Decoration,
};
inline constexpr int kObjectGroupCount = 7;

// "Floors and walls", "Soil and crates", ...
const char* ObjectGroupName(ObjectGroup group);

using ObjectTable = std::array<ObjectType, kObjectTypeCount>;

// Per type: true when another defined type plays it as its dig, refill,
// lever or door animation.
std::array<bool, kObjectTypeCount> AnimationStates(const ObjectTable& types);

// The group of a defined type, from what it does: circuits first (levers,
// doors, sensor plates and the states they end in), then deadly cells,
// pick-ups and the spring, soil and movable blocks, ladders and sloped
// cells, other cubes, and everything else as decoration.
ObjectGroup GroupOfObject(const ObjectTable& types, int index);

struct PlaceableObject {
    std::uint8_t type = 0;
    ObjectGroup group = ObjectGroup::Decoration;
    std::string name;
};

// The placeable objects, group by group, each group in type order.
std::vector<PlaceableObject> PlaceableObjects(const ObjectTable& types);

// Those of `all` in `group` (every group when `anyGroup`) whose name holds
// `search` without regard to case (every name for an empty search).
std::vector<PlaceableObject> FilterObjects(const std::vector<PlaceableObject>& all, bool anyGroup,
                                           ObjectGroup group, std::string_view search);
