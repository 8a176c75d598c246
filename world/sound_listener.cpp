#include "world/sound_listener.h"

#include <algorithm>
#include <vector>

#include "engine/angles.h"
#include "media/sound_output.h"
#include "world/game_services.h"
#include "world/view_box.h"
#include "world/world.h"

SoundCamera soundListener{0, 0, 0, {1, 0, 0, 0, 1, 0, 0, 0, 1}, kDefaultHearingRange};

namespace {

// The voices started this frame, by sound and cell: a second request for the
// same sound in the same cell joins the first one's voice instead of doubling
// it (a dig asks for its sound twice in one frame).
struct FrameRequest {
    const TSoundBuffer* sound = nullptr;
    int cellX = 0, cellY = 0, cellZ = 0;
    int voice = -1;
};
std::vector<FrameRequest> frameRequests;

// A cell whose ambient loop is due this frame.
struct DueLoop {
    int x = 0, y = 0, z = 0;
    const ObjectType* type = nullptr;
    int group = -1;
};

// Gives every due loop of `box` the number of its group: loops of one sound
// in cells that touch (sides, edges or corners), directly or through others,
// share a group. Groups are numbered in the grid order of their first cell.
int groupNeighbours(const ViewBox& box, std::vector<DueLoop>& loops) {
    const int sizeX = box.hiX - box.loX + 1, sizeY = box.hiY - box.loY + 1,
              sizeZ = box.hiZ - box.loZ + 1;
    const auto slot = [&](int x, int y, int z) {
        return (static_cast<std::size_t>(x - box.loX) * static_cast<std::size_t>(sizeY) +
                static_cast<std::size_t>(y - box.loY)) *
                   static_cast<std::size_t>(sizeZ) +
               static_cast<std::size_t>(z - box.loZ);
    };
    // Which loop each cell of the box holds, if any.
    std::vector<int> loopAt(static_cast<std::size_t>(sizeX) * static_cast<std::size_t>(sizeY) *
                                static_cast<std::size_t>(sizeZ),
                            -1);
    for (std::size_t i = 0; i < loops.size(); ++i)
        loopAt[slot(loops[i].x, loops[i].y, loops[i].z)] = static_cast<int>(i);
    int groups = 0;
    std::vector<std::size_t> pending;
    for (std::size_t first = 0; first < loops.size(); ++first) {
        if (loops[first].group >= 0) continue;
        loops[first].group = groups;
        pending.assign(1, first);
        while (!pending.empty()) {
            const DueLoop at = loops[pending.back()];
            pending.pop_back();
            for (int x = std::max(at.x - 1, box.loX); x <= std::min(at.x + 1, box.hiX); ++x)
                for (int y = std::max(at.y - 1, box.loY); y <= std::min(at.y + 1, box.hiY); ++y)
                    for (int z = std::max(at.z - 1, box.loZ); z <= std::min(at.z + 1, box.hiZ);
                         ++z) {
                        const int i = loopAt[slot(x, y, z)];
                        if (i < 0) continue;
                        DueLoop& other = loops[static_cast<std::size_t>(i)];
                        if (other.group >= 0 || other.type->LoopSound != at.type->LoopSound)
                            continue;
                        other.group = groups;
                        pending.push_back(static_cast<std::size_t>(i));
                    }
        }
        ++groups;
    }
    return groups;
}

std::int32_t heardVolume(const DueLoop& loop) {
    return PositionalVolumePan(soundListener, CellCentre(loop.x), CellCentre(loop.y),
                               CellCentre(loop.z), loop.type->LoopVolume)
        .volume;
}

} // namespace

void SetHearingRange(std::int32_t range) {
    soundListener.hearingRange = range;
}

void PlaceSoundListener(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw,
                        std::int32_t pitch, std::int32_t roll) {
    soundListener.x = x;
    soundListener.y = y;
    soundListener.z = z;
    soundListener.rows = RotationMatrix(static_cast<float>(yaw), static_cast<float>(pitch),
                                        static_cast<float>(roll));
}

void PlaySoundAtListener(std::int32_t x, std::int32_t y, std::int32_t z, TSoundBuffer* sound,
                         std::int32_t volume) {
    const int cellX = CellOf(static_cast<float>(x)), cellY = CellOf(static_cast<float>(y)),
              cellZ = CellOf(static_cast<float>(z));
    for (const FrameRequest& r : frameRequests)
        if (r.sound == sound && r.cellX == cellX && r.cellY == cellY && r.cellZ == cellZ &&
            MergeIntoVoice(r.voice, sound, volume, soundListener))
            return;
    const int voice = TriggerEffect(x, y, z, soundListener, sound, volume);
    if (voice < 0) return;
    // With every voice busy the new effect takes one over: what was heard
    // there before is no longer this frame's.
    std::erase_if(frameRequests, [voice](const FrameRequest& r) { return r.voice == voice; });
    frameRequests.push_back({sound, cellX, cellY, cellZ, voice});
}

void VoicesFollowListener() {
    frameRequests.clear();
    UpdateVoices(soundListener);
}

void StartDueLoopSounds(const ViewBox& box) {
    std::vector<DueLoop> loops;
    for (int x = box.loX; x <= box.hiX; ++x) {
        for (int y = box.loY; y <= box.hiY; ++y) {
            for (int z = box.loZ; z <= box.hiZ; ++z) {
                const ObjectType& type = objectTypes[cellAt(x, y, z)];
                if (type.loopDue && type.LoopSound) loops.push_back({x, y, z, &type});
            }
        }
    }
    if (loops.empty()) return;
    const int groups = groupNeighbours(box, loops);
    // Each group sounds once, from its cell the listener hears loudest (the
    // first in grid order among equals).
    std::vector<const DueLoop*> loudest(static_cast<std::size_t>(groups), nullptr);
    std::vector<std::int32_t> volumes(static_cast<std::size_t>(groups), 0);
    for (const DueLoop& loop : loops) {
        const auto g = static_cast<std::size_t>(loop.group);
        const std::int32_t volume = heardVolume(loop);
        if (!loudest[g] || volume > volumes[g]) {
            loudest[g] = &loop;
            volumes[g] = volume;
        }
    }
    for (const DueLoop* loop : loudest)
        TriggerSound(CellCentre(loop->x), CellCentre(loop->y), CellCentre(loop->z),
                     loop->type->LoopSound, loop->type->LoopVolume);
}
