// The world: a box of cubic cells, the table of object types that the cells
// index, and the other records the simulation works on (players, sentries,
// transitions, holes, sliding blocks). One global instance of each.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/mesh.h"
#include "world/in_game_menu.h"
#include "world/level_state.h"

class TSoundBuffer;

constexpr int worldUnit = 512;   // world units per cell edge
constexpr int angleUnit = 32768; // angle units per full turn
constexpr float cellScale = 1.0f / 512.0f;

constexpr int kObjectTypeCount = 256;
constexpr int kMeshSlots = 33; // frames 0..31 from "Mesh1".."Mesh32"; slot 32 unused
constexpr int kPlayerCount = 5;
constexpr int kSentrySlots = 256; // slot 0 unused
constexpr int kWorldListSize = 257;
constexpr int kPoseCount = 11;

// The cell holding world coordinate v: truncation toward zero of v * 1/512.
// Values beyond the int range (and NaN) give a cell far outside any grid
// instead of an undefined conversion.
inline int CellOf(float v) {
    const float cell = v * cellScale;
    if (!(cell > -2147483648.0f && cell < 2147483648.0f))
        return cell > 0 ? 2147483647 : -2147483647 - 1;
    return static_cast<int>(cell);
}

// World coordinate of the centre of cell `cell` on any axis (saturated to
// the int range).
std::int32_t CellCentre(int cell);

struct WorldGrid {
    std::int32_t sizeX = 0, sizeY = 0, sizeZ = 0;
    std::vector<std::uint8_t> cells;      // object type per cell
    std::vector<std::uint8_t> brightness; // light level per cell
    std::uint8_t fogRed = 0, fogGreen = 0, fogBlue = 0;
};

// Box values of a type, indices into ObjectType::frameBox.
enum BoxValue { kXmin, kXmax, kYmin, kZmin, kZmax, kYmax1, kYmax2, kYmax3, kYmax4, kBoxValues };

struct ObjectType {
    std::uint8_t undefined = 1;
    std::string Name;
    std::array<MeshSlot, kMeshSlots> meshes{};
    std::array<std::array<std::int32_t, kMeshSlots>, kBoxValues> frameBox{};
    MeshSlot workMesh;
    float frame = 0.0f;
    float prevFrame = 0.0f;
    float Speed = 0.0f;
    std::int32_t meshCount = 0;
    std::uint8_t Cube = 0;
    std::uint8_t Collision = 1;
    std::uint8_t Death = 0;
    std::uint8_t CanPush = 0;
    std::uint8_t AnimateCollision = 0;
    std::uint8_t Morph = 0;
    std::uint8_t Ladder = 0;
    std::uint8_t Transparency = 0;
    std::uint8_t Lever = 0;
    std::int32_t LeverAnim = 0, LeverOpen = 0, LeverDoor = 0;
    std::uint8_t Spring = 0;
    std::uint8_t OneUp = 0; // key "1UP"
    std::uint8_t Light = 0;
    std::uint8_t Timer = 0;
    std::int32_t TimerDuration = 0;
    std::uint8_t Lingot = 0;
    std::int32_t LingotDoor = 0;
    std::int32_t lingotCount = 0;
    std::uint8_t Door = 0;
    std::int32_t AnimDoor = 0, DoorOpen = 0;
    std::uint8_t BlockKey = 0;
    std::int32_t BlockKeySensor = 0;
    std::uint8_t BlockSensor = 0;
    std::int32_t BlockSensorDoor = 0;
    std::uint8_t Dig = 0;
    std::uint8_t Recover = 0;
    std::int32_t DigAnim = 0, RecoverAnim = 0;
    std::int32_t Xmin = 0, Xmax = 511, Ymin = 0, Zmin = 0, Zmax = 511;
    std::int32_t Ymax1 = 511, Ymax2 = 511, Ymax3 = 511, Ymax4 = 511;
    std::array<std::uint8_t, 6> faceColor{};   // FaceAColor..FaceFColor
    std::array<std::uint8_t, 6> faceTexture{}; // FaceATexture..FaceFTexture
    TSoundBuffer* LoopSound = nullptr;
    TSoundBuffer* ActionSound = nullptr;
    std::int32_t LoopDuration = 0;
    std::int32_t LoopVolume = 0;
    std::int32_t ActionVolume = 0;
    std::uint8_t loopDue = 0;
    std::int32_t lastLoopTime = 0;
};

struct TransitionSlot {
    float x = 0, y = 0, z = 0;
    std::uint8_t animType = 0;
    std::uint8_t finalType = 0;
    std::int32_t startTime = 0, lastTime = 0;
    MeshSlot workMesh;
    float frame = 0.0f;
    float prevFrame = 0.0f;
    std::uint8_t active = 0;
};

struct HoleRecord {
    float x = 0, y = 0, z = 0;
    std::uint8_t dugType = 0;
    std::int32_t digTime = 0;
    std::int32_t refillDelay = 0;
};

struct SlidingBlock {
    float x = 0, y = 0, z = 0;
    float vx = 0, vy = 0, vz = 0;
    std::uint8_t type = 0;
    std::int32_t startTime = 0, lastTime = 0;
};

struct SentryRecord {
    float x = 0, y = 0, z = 0;
    float heading = 0;
    float pitch = 0;
    float targetX = 0, targetY = 0, targetZ = 0;
    float headingTarget = 0, pitchTarget = 0;
    std::int32_t cellX = 0, cellY = 0, cellZ = 0;
    std::int32_t width = 130;
    std::int32_t halfHeight = 240;
    std::int32_t state = 0; // 0 chase, 1 lost, 2 look around, 3 roam
    std::int32_t speed = 40;
    std::int32_t soundState = 0;
    std::int32_t lastSoundTime = 0;
    std::int32_t targetPlayer = 0;
    std::uint8_t stuck = 0;
};

// Control flags of a player, in their order.
enum Control {
    kForward,
    kBack,
    kTurnLeft,
    kTurnRight,
    kJump,
    kLook,
    kAction,
    kMenu,
    kControlCount
};

// Poses of the hero.
enum Pose {
    kPoseStand = 0,
    kPoseWalk1 = 1,
    kPoseFall = 5,
    kPoseCrouch = 6,
    kPoseDead = 7,
    kPoseLadder1 = 8,
    kPoseLadder2 = 9,
    kPoseAction = 10,
};

struct PlayerRecord {
    MeshSlot workMesh;
    MeshSlot shadowMesh;
    std::array<MeshSlot, kPoseCount> poses{};
    float x = 0, y = 0, z = 0;
    float heading = 0;
    float pitch = 0, roll = 0;
    float vx = 0, vy = 0, vz = 0;
    float turnRate = 0;
    float pitchTarget = 0, rollTarget = 0;
    std::int32_t levelIndex = 0;
    std::int32_t lives = 0;
    std::int32_t blendFromPose = 0;
    std::int32_t pose = 0;
    std::int32_t poseBlendMs = 0;
    std::int32_t blendStart = 0;
    std::int32_t lastPose = 0;
    float walkPhase = 0;
    std::int32_t width = 260;
    std::int32_t height = 480;
    std::int32_t stepHeight = 256;
    std::array<std::uint8_t, kControlCount> controls{};
    std::array<std::uint8_t, kControlCount> previousControls{};
    // The keypad plus and minus keys (camera closer, farther), now and in the
    // previous frame, kept apart from the control flags the game sends.
    std::uint8_t cameraCloser = 0, cameraFarther = 0;
    std::uint8_t previousCameraCloser = 0, previousCameraFarther = 0;
    float fallSpeed = 0;
    std::uint8_t onGround = 0;
    std::int32_t busyMs = 0;
    float cameraX = 0, cameraY = 0, cameraZ = 0; // the eye the picture is seen from
    float cameraYaw = 0, cameraPitch = 0, cameraRoll = 0;
    float cameraDistance = 0;
    // The follow camera's point behind the hero; how far the eye stands in
    // from it towards his head (a wall in the way); how far the view has
    // faded into his own (0 follow, 1 his eyes).
    float followX = 0, followY = 0, followZ = 0;
    float cameraPull = 0;
    float cameraFade = 0;
    float savedCameraDistance = 0;
    float cameraOrbit = 0; // the end screen's camera angle around the podium
    float light = 5000, lightTarget = 5000;
    std::uint8_t dead = 0;
    std::int32_t walkSpeed = 50;
    std::int32_t turnSpeed = 900;
    TSoundBuffer* stepSound = nullptr;
    TSoundBuffer* hurtSound = nullptr;
    TSoundBuffer* deathSound = nullptr;
    std::array<std::int32_t, 3> actionCell{};
    std::uint8_t onLadder = 0;
    float ladderOffsetX = 0, ladderOffsetZ = 0;
    std::int32_t ladderHeading = 0;
    std::int32_t PlayerId = 0;
    std::int32_t PingStart = 0;
    std::uint8_t PingAnswered = 0;
};

// Every record the simulation works on, in one place, so that code which
// only reads the world (drawing) can take it as const.
struct World {
    WorldGrid grid;
    std::array<ObjectType, kObjectTypeCount> types;
    std::array<PlayerRecord, kPlayerCount> players;
    std::int32_t localPlayer = 0;
    std::int32_t lastPlayer = 0;
    std::array<SentryRecord, kSentrySlots> sentries;
    std::int32_t sentryCount = 0;
    std::array<TransitionSlot, kWorldListSize> transitionSlots;
    std::array<HoleRecord, kWorldListSize> holes;
    std::int32_t holeCount = -1; // index of the last used entry, -1 when empty
    std::array<SlidingBlock, kWorldListSize> slidingBlocks;
    std::int32_t slidingBlockCount = -1; // index of the last used entry, -1 when empty
    LevelState level;
    InGameMenu menu;
    std::int64_t frame = 0;               // play frames run so far (RunPlayFrame counts them)
    std::int32_t deaths = 0;              // deaths of the local player so far
    std::int64_t wonFrame = -1;           // frame in which the level was completed, -1 before
    std::vector<std::uint8_t> startCells; // the grid as the level was loaded
};

// The one world of the program, and its records by their own names.
extern World world;
inline WorldGrid& worldGrid = world.grid;
inline std::array<ObjectType, kObjectTypeCount>& objectTypes = world.types;
inline std::array<PlayerRecord, kPlayerCount>& players = world.players;
inline std::int32_t& localPlayer = world.localPlayer;
inline std::int32_t& lastPlayer = world.lastPlayer;
inline std::array<SentryRecord, kSentrySlots>& sentries = world.sentries;
inline std::int32_t& sentryCount = world.sentryCount;
inline std::array<TransitionSlot, kWorldListSize>& transitionSlots = world.transitionSlots;
inline std::array<HoleRecord, kWorldListSize>& holes = world.holes;
inline std::int32_t& holeCount = world.holeCount;
inline std::array<SlidingBlock, kWorldListSize>& slidingBlocks = world.slidingBlocks;
inline std::int32_t& slidingBlockCount = world.slidingBlockCount;
inline LevelState& levelState = world.level;
inline InGameMenu& inGameMenu = world.menu;

// Clears the object-type table, the world lists, the five player records, the
// sentries, the menu and the frame and death counts. The object types are
// gone afterwards: the next definition load must read its file again.
void ClearWorldTables();

// Replaces the grid with sizeX * sizeY * sizeZ zero cells. Returns false, and
// leaves the grid as it was, when the sizes are not positive or the layers
// cannot be allocated.
bool ResizeWorldGrid(std::int32_t sizeX, std::int32_t sizeY, std::int32_t sizeZ);

bool InsideGrid(int x, int y, int z);
std::uint8_t cellAt(int x, int y, int z);
std::uint8_t brightnessAt(int x, int y, int z);
void setCell(int x, int y, int z, int type);
// The same reads on a given grid; cells outside it read as 0.
bool InsideGrid(const WorldGrid& grid, int x, int y, int z);
std::uint8_t cellAt(const WorldGrid& grid, int x, int y, int z);
std::uint8_t brightnessAt(const WorldGrid& grid, int x, int y, int z);

// Height of the type's top surface at cell-local (lx, lz), from its four
// corner heights.
std::int32_t topHeight(int type, int lx, int lz);
std::int32_t topHeight(const ObjectType& type, int lx, int lz);

bool pointInShape(float x, float y, float z);
bool pointInSolid(float x, float y, float z);
bool pointInSolidRaised(float offset, float x, float y, float z);
