#include "editor/object_groups.h"

#include <algorithm>
#include <cctype>

namespace {

bool defined(const ObjectTable& types, std::int64_t index) {
    return index > 0 && index < kObjectTypeCount && !types[index].undefined;
}

// Types another type turns into and that then stay: a pulled lever, an open
// door. They are placeable, and belong with their circuit.
std::array<bool, kObjectTypeCount> circuitEndStates(const ObjectTable& types) {
    std::array<bool, kObjectTypeCount> out{};
    for (const ObjectType& t : types) {
        if (t.undefined) continue;
        if (t.Lever && defined(types, t.LeverOpen)) out[t.LeverOpen] = true;
        if (t.Door && defined(types, t.DoorOpen)) out[t.DoorOpen] = true;
    }
    return out;
}

bool sloped(const ObjectType& t) {
    return t.Ymax1 != t.Ymax2 || t.Ymax2 != t.Ymax3 || t.Ymax3 != t.Ymax4;
}

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool holds(std::string_view text, std::string_view part) {
    if (part.empty()) return true;
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                   [](char a, char b) { return lower(a) == lower(b); });
    return found != text.end();
}

} // namespace

const char* ObjectGroupName(ObjectGroup group) {
    switch (group) {
    case ObjectGroup::FloorsAndWalls:
        return "Floors and walls";
    case ObjectGroup::Soil:
        return "Soil and crates";
    case ObjectGroup::LaddersAndStairs:
        return "Ladders and stairs";
    case ObjectGroup::DoorsAndLevers:
        return "Doors and levers";
    case ObjectGroup::Items:
        return "Items";
    case ObjectGroup::Hazards:
        return "Hazards";
    case ObjectGroup::Decoration:
        return "Decoration";
    }
    return "";
}

std::array<bool, kObjectTypeCount> AnimationStates(const ObjectTable& types) {
    std::array<bool, kObjectTypeCount> out{};
    for (int i = 0; i < kObjectTypeCount; ++i) {
        const ObjectType& t = types[i];
        if (t.undefined) continue;
        const auto mark = [&](std::int64_t played) {
            if (played != i && defined(types, played)) out[played] = true;
        };
        if (t.Dig) mark(t.DigAnim);
        if (t.Recover) mark(t.RecoverAnim);
        if (t.Lever) mark(t.LeverAnim);
        if (t.Door) mark(t.AnimDoor);
    }
    return out;
}

ObjectGroup GroupOfObject(const ObjectTable& types, int index) {
    const ObjectType& t = types[static_cast<std::size_t>(index)];
    if (t.Lever || t.Door || t.BlockSensor || circuitEndStates(types)[index])
        return ObjectGroup::DoorsAndLevers;
    if (t.Death) return ObjectGroup::Hazards;
    if (t.Lingot || t.OneUp || t.Light || t.Timer || t.Spring) return ObjectGroup::Items;
    if (t.Dig || t.Recover || t.CanPush || t.BlockKey) return ObjectGroup::Soil;
    if (t.Ladder || (!t.Cube && t.Collision && sloped(t))) return ObjectGroup::LaddersAndStairs;
    if (t.Cube) return ObjectGroup::FloorsAndWalls;
    return ObjectGroup::Decoration;
}

std::vector<PlaceableObject> PlaceableObjects(const ObjectTable& types) {
    const std::array<bool, kObjectTypeCount> animation = AnimationStates(types);
    std::vector<PlaceableObject> out;
    for (int i = 0; i < kObjectTypeCount; ++i) {
        const ObjectType& t = types[i];
        if (t.undefined || t.Name.empty() || animation[i]) continue;
        out.push_back({static_cast<std::uint8_t>(i), GroupOfObject(types, i), t.Name});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const PlaceableObject& a, const PlaceableObject& b) {
                         return static_cast<int>(a.group) < static_cast<int>(b.group);
                     });
    return out;
}

std::vector<PlaceableObject> FilterObjects(const std::vector<PlaceableObject>& all, bool anyGroup,
                                           ObjectGroup group, std::string_view search) {
    std::vector<PlaceableObject> out;
    for (const PlaceableObject& o : all)
        if ((anyGroup || o.group == group) && holds(o.name, search)) out.push_back(o);
    return out;
}
