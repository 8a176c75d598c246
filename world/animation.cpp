#include "world/animation.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "engine/mesh.h"
#include "engine/texture_bank.h"
#include "platform/clock.h"
#include "world/behaviours.h"
#include "world/frame_clock.h"
#include "world/movement.h"
#include "world/world.h"

std::int32_t lastTextureStep = 0;

namespace {

constexpr std::int32_t kTextureStepMs = 66;
constexpr std::int32_t kBlockWidth = 341;
constexpr std::int32_t kBlockHeight = 509;
constexpr float kSettleDistance = 10.0f; // units per 90 ms below which a block stops

std::int32_t* boxValue(ObjectType& type, int value) {
    std::int32_t* fields[kBoxValues] = {&type.Xmin,  &type.Xmax,  &type.Ymin,
                                        &type.Zmin,  &type.Zmax,  &type.Ymax1,
                                        &type.Ymax2, &type.Ymax3, &type.Ymax4};
    return fields[value];
}

int meshCountOf(const ObjectType& type) {
    return std::clamp<std::int32_t>(type.meshCount, 0, kMeshSlots);
}

// A frame number as an index into `count` meshes (count > 0).
int meshIndex(float frame, int count) {
    return std::clamp(TruncToInt(frame), 0, count - 1);
}

// Moves frame on by step; prevFrame keeps the frame from before the last
// change of the integer part, which the morph blends from.
void advanceFrame(float& frame, float& prevFrame, float step) {
    if (std::floor(frame + step) != std::floor(frame)) prevFrame = frame;
    frame += step;
}

// frame brought into [0, count), however far it ran either way.
float wrapFrame(float frame, int count) {
    const float n = static_cast<float>(count);
    if (!std::isfinite(frame)) return 0.0f;
    frame = std::fmod(frame, n);
    if (frame < 0.0f) frame += n;
    return frame < n ? frame : 0.0f;
}

// destination = a copy of source, written over the mesh already there when
// it has the same counts, so that a steady animation allocates nothing.
void copyMeshInPlace(const Mesh* source, MeshSlot& destination) {
    if (source && destination && destination->lastVertex == source->lastVertex &&
        destination->lastFace == source->lastFace) {
        const std::size_t vertices =
            std::min({static_cast<std::size_t>(source->VertexCount()), source->x.size(),
                      source->y.size(), source->z.size()});
        const std::size_t faces = std::min<std::size_t>(source->FaceCount(), source->faces.size());
        Mesh& out = *destination;
        if (out.x.size() >= vertices && out.y.size() >= vertices && out.z.size() >= vertices &&
            out.faces.size() >= faces) {
            std::copy_n(source->x.begin(), vertices, out.x.begin());
            std::copy_n(source->y.begin(), vertices, out.y.begin());
            std::copy_n(source->z.begin(), vertices, out.z.begin());
            std::copy_n(source->faces.begin(), faces, out.faces.begin());
            return;
        }
    }
    CopyMesh(source, destination);
}

void markLoopSoundsDue() {
    const std::int32_t tick = GetTickCount();
    for (ObjectType& type : objectTypes) {
        type.loopDue = 0;
        if (type.LoopSound && TickDifference(type.lastLoopTime, tick) > type.LoopDuration) {
            type.lastLoopTime = tick;
            type.loopDue = 1;
        }
    }
}

void animateType(ObjectType& type) {
    const int count = meshCountOf(type);
    if (count == 0) return;
    advanceFrame(type.frame, type.prevFrame, frameScaled(type.Speed));
    type.frame = wrapFrame(type.frame, count);
    const int pf = meshIndex(wrapFrame(type.prevFrame, count), count);
    const int cf = meshIndex(type.frame, count);
    const float t = type.frame - static_cast<float>(cf);

    if (type.Morph)
        MorphMesh(MeshOrNull(type.meshes[pf]), MeshOrNull(type.meshes[cf]), type.workMesh, t);
    else
        copyMeshInPlace(MeshOrNull(type.meshes[cf]), type.workMesh);
    if (!type.AnimateCollision) return;
    for (int value = 0; value < kBoxValues; ++value) {
        const std::int64_t from = type.frameBox[value][pf];
        const std::int64_t to = type.frameBox[value][cf];
        *boxValue(type, value) =
            type.Morph ? SaturateToInt32(TruncToInt(static_cast<double>(to - from) * t) + from)
                       : static_cast<std::int32_t>(to);
    }
}

// Holes due refill. A refill removes its entry and the next one moves into
// its index; that one waits for the next frame, and no index past the end
// of the shortened list is read.
void refillDueHoles() {
    const std::int32_t last = holeCount;
    for (int i = 0; i <= last && i <= holeCount; ++i)
        if (TickDifference(holes[i].digTime, Now) > holes[i].refillDelay) refillHole(i);
}

void animateTransitions() {
    for (int i = 0; i < kWorldListSize; ++i) {
        TransitionSlot& slot = transitionSlots[i];
        if (!slot.active) continue;
        const ObjectType& anim = objectTypes[slot.animType];
        const int count = meshCountOf(anim);
        advanceFrame(slot.frame, slot.prevFrame, frameScaled(anim.Speed));
        // An animation also ends when it runs backwards out of its frames.
        if (!(slot.frame >= 0.0f && slot.frame < static_cast<float>(count))) {
            finishCellTransition(i);
            continue;
        }
        const int cf = meshIndex(slot.frame, count);
        const int pf = meshIndex(slot.prevFrame, count);
        MorphMesh(MeshOrNull(anim.meshes[pf]), MeshOrNull(anim.meshes[cf]), slot.workMesh,
                  slot.frame - static_cast<float>(cf));
    }
}

} // namespace

void updateObjectAnimation() {
    if (TickDifference(lastTextureStep, Now) > kTextureStepMs) {
        AnimateTextures();
        lastTextureStep = Now;
    }
    markLoopSoundsDue();
    for (ObjectType& type : objectTypes) animateType(type);
    MoveSlidingBlocks();
    refillDueHoles();
    animateTransitions();
}

void MoveSlidingBlocks() {
    MoveSlidingBlocksWith(moveBody);
}

void MoveSlidingBlocksWith(BodyMover move) {
    // Nothing moves in a frame that took no time.
    if (frameMs <= 0) return;
    // The distance below which a block has stopped scales with the frame, so
    // short frames do not settle a block that is still sliding.
    const float settleDistance =
        kSettleDistance * std::min(1.0f, static_cast<float>(frameMs) / 90.0f);

    const std::int32_t last = slidingBlockCount;
    for (int i = 0; i <= last && i <= slidingBlockCount; ++i) {
        SlidingBlock& b = slidingBlocks[i];
        const float oldX = b.x, oldY = b.y, oldZ = b.z;
        const float sx = frameScaled(b.vx), sy = frameScaled(b.vy), sz = frameScaled(b.vz);
        move(b.x, b.y, b.z, sx, sy, sz, kBlockWidth, kBlockHeight, 0);
        // An axis whose move fell short was blocked.
        if (TruncToInt(b.x) != TruncToInt(oldX + sx)) b.vx = 0.0f;
        if (TruncToInt(b.y) != TruncToInt(oldY + sy)) b.vy = 0.0f;
        if (TruncToInt(b.z) != TruncToInt(oldZ + sz)) b.vz = 0.0f;

        const float moved = std::fabs(b.x - oldX) + std::fabs(b.y - oldY) + std::fabs(b.z - oldZ);
        if (!(moved >= settleDistance)) {
            // The next block moves into index i and waits for the next frame.
            settleBlock(i);
            continue;
        }
        b.vx += RelaxStep(b.vx, 0.0f, 1.0f / 7.0f);
        b.vy -= frameScaled(28.0f);
        b.vz += RelaxStep(b.vz, 0.0f, 1.0f / 7.0f);
    }
}
