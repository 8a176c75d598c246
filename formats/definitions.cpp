#include "formats/definitions.h"

#include <algorithm>

#include "engine/angles.h"
#include "engine/colour_tables.h"
#include "engine/mesh.h"
#include "engine/pictures.h"
#include "engine/texture_bank.h"
#include "formats/mesh_box.h"
#include "media/music_list.h"
#include "media/sound_output.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text_case.h"
#include "world/frame_clock.h"
#include "world/models.h"
#include "world/world.h"

namespace {

std::string lastFile;   // upper-cased name of the previous load
std::string lastDetail; // upper-cased detail of the previous load
std::string loadedFile; // the name, as given, of the last load that succeeded
std::string lastBank;   // the bank loaded whole last (pictures too), as the file spelled it
int bankFog[3] = {0, 0, 0};

const char* const kGeneral = "General";
const char* const kMeshFolder = "3DO/GAME/";

std::string meshPath(const std::string& name) {
    std::string path = kMeshFolder + name;
    if (path.size() > 255) path.resize(255);
    return path;
}

// Loads one mesh into its slot; a failure empties the slot and keeps the
// loader's text in `error`. A name that leaves the data folder reads as a
// missing file.
bool loadMesh(const std::string& path, MeshSlot& mesh, std::string& error) {
    Loaded<Mesh> loaded = IsDataFileName(path)
                              ? ReadMeshFile(path)
                              : LoadFailure{"VX3: The file " + path + " is missing"};
    if (!loaded) {
        mesh.reset();
        error = loaded.error;
        return false;
    }
    mesh = std::move(*loaded);
    return true;
}

bool loadNamedMesh(const ProfileData& file, const char* key, MeshSlot& mesh, std::string& error) {
    return loadMesh(meshPath(ProfileString(file, kGeneral, key, "")), mesh, error);
}

// A malformed wave header abandons the load with the wave reader's text.
bool loadNamedSound(const ProfileData& file, const std::string& section, const char* key,
                    TSoundBuffer*& sound, std::string& error) {
    const Loaded<> loaded = LoadSound(ProfileString(file, section, key, ""), sound);
    if (!loaded) error = loaded.error;
    return static_cast<bool>(loaded);
}

void buildMarkerMesh() {
    markerMesh = MakeMesh(2, 0);
    if (!markerMesh) return;
    markerMesh->x = {0, -5, 5};
    markerMesh->y = {-5, 5, 5};
    markerMesh->z = {0, 0, 0};
    markerMesh->faces[0] = Face{0, 1, 2, 0, 1, 1, 3};
}

bool loadFixedMeshes(std::string& error) {
    static const char* const kTransitions[3] = {"3do\\Game\\Transi1.3do", "3do\\Game\\Transi2.3do",
                                                "3do\\Game\\Transi3.3do"};
    for (int i = 0; i < 3; ++i)
        if (!loadMesh(kTransitions[i], transitionMeshes[i], error)) return false;
    if (!loadMesh(meshPath("podium.3do"), podiumMesh, error)) return false;
    if (!loadMesh(meshPath("flag.3do"), flagMesh, error)) return false;
    buildMarkerMesh();
    // The transition meshes are modelled at half size; a coordinate that would
    // double past the int32 range stops at it.
    for (MeshSlot& mesh : transitionMeshes) {
        for (int i = 0; i < mesh->VertexCount(); ++i) {
            mesh->x[i] = SaturateToInt32(std::int64_t{mesh->x[i]} * 2);
            mesh->y[i] = SaturateToInt32(std::int64_t{mesh->y[i]} * 2);
            mesh->z[i] = SaturateToInt32(std::int64_t{mesh->z[i]} * 2);
        }
    }
    return true;
}

bool loadPlayers(const ProfileData& file, std::string& error) {
    static const char* const kPoses[kPoseCount] = {
        "Hero",        "Hero_Walk1", "Hero_Walk2",   "Hero_Walk3",   "Hero_Walk4", "Hero_Fall",
        "Hero_Crouch", "Hero_Dead",  "Hero_Ladder1", "Hero_Ladder2", "Hero_Shoot"};
    for (PlayerRecord& player : players) {
        if (!loadNamedMesh(file, "Hero", player.poses[0], error)) return false;
        player.workMesh = player.poses[0];
        for (int pose = 1; pose < kPoseCount; ++pose)
            if (!loadNamedMesh(file, kPoses[pose], player.poses[pose], error)) return false;
        if (!loadNamedSound(file, kGeneral, "StepSound", player.stepSound, error) ||
            !loadNamedSound(file, kGeneral, "HurtSound", player.hurtSound, error) ||
            !loadNamedSound(file, kGeneral, "DeathSound", player.deathSound, error))
            return false;
        if (!loadNamedMesh(file, "Shadow", player.shadowMesh, error)) return false;
    }
    return true;
}

bool loadSentryAndSky(const ProfileData& file, std::string& error) {
    if (!loadNamedMesh(file, "Ennemy_Mesh", enemyMesh, error)) return false;
    if (!loadNamedSound(file, kGeneral, "Ennemy_SeenSound", enemySeenSound, error) ||
        !loadNamedSound(file, kGeneral, "Ennemy_LostSound", enemyLostSound, error))
        return false;
    // A file without a sky (or with an empty `Sky`) keeps the sky it finds,
    // so a definition file may reuse the one the previous load left. The slot
    // holds its mesh by value and a failed load empties it, so nothing keeps
    // pointing at a mesh that is gone.
    const std::string sky = ProfileString(file, kGeneral, "Sky", "");
    return sky.empty() || loadMesh(meshPath(sky), skyMesh, error);
}

void loadMusicList(const ProfileData& file) {
    for (int n = 0; n < kMusicListSize; ++n) {
        const std::string key = "Music" + std::to_string(n);
        MusicEntry& entry = musicList[n];
        entry.file = ProfileString(file, kGeneral, key, "");
        entry.name = ProfileString(file, kGeneral, key + "Name", "");
        const std::string clip = ProfileString(file, kGeneral, key + "Video", "");
        if (!clip.empty()) entry.clip = clip;
        entry.loop = ProfileFlag(file, kGeneral, key + "Loop", "FALSE") ? 1 : 0;
    }
    // A piece already playing is no longer restarted when it ends.
    currentMusicLoops = 0;
}

bool readCommonKeys(const ProfileData& file, const std::string& section, int index,
                    ObjectType& type, std::string& error) {
    auto flag = [&](const char* key, const char* fallback = "FALSE") -> std::uint8_t {
        return ProfileFlag(file, section, key, fallback) ? 1 : 0;
    };
    auto integer = [&](const char* key, std::int32_t fallback) {
        return ProfileInt(file, section, key, fallback);
    };
    type.Name = ProfileString(file, section, "Name", "");
    type.Transparency = static_cast<std::uint8_t>(integer("Transparency", 0));
    type.Lever = flag("Lever");
    if (type.Lever) {
        type.LeverAnim = integer("LeverAnim", 0);
        type.LeverOpen = integer("LeverOpen", 0);
        type.LeverDoor = integer("LeverDoor", 0);
    }
    type.Light = flag("Light");
    type.Spring = flag("Spring");
    type.OneUp = flag("1UP");
    type.Timer = flag("Timer");
    if (type.Timer) type.TimerDuration = integer("TimerDuration", 10000);
    type.Lingot = flag("Lingot");
    if (type.Lingot) type.LingotDoor = integer("LingotDoor", 0);
    type.Dig = flag("Dig");
    type.Recover = flag("Recover");
    type.DigAnim = integer("DigAnim", 0);
    type.RecoverAnim = integer("RecoverAnim", 0);
    type.Ladder = flag("Ladder");
    type.BlockKey = flag("BlockKey");
    type.BlockKeySensor = integer("BlockKeySensor", 0);
    type.BlockSensor = flag("BlockSensor");
    type.BlockSensorDoor = integer("BlockSensorDoor", 0);
    type.Door = flag("Door");
    if (type.Door) {
        type.AnimDoor = integer("AnimDoor", index);
        type.DoorOpen = integer("DoorOpen", index);
    }
    type.Death = flag("Death");
    type.Collision = flag("Collision", "TRUE");
    type.CanPush = flag("CanPush");
    type.Morph = flag("Morph");
    type.AnimateCollision = flag("AnimateCollision");
    type.ActionVolume = integer("ActionVolume", 255);
    type.LoopDuration = integer("LoopDuration", 999000);
    type.LoopVolume = integer("LoopVolume", 255);
    if (!ProfileString(file, section, "LoopSound", "").empty() &&
        !loadNamedSound(file, section, "LoopSound", type.LoopSound, error))
        return false;
    return ProfileString(file, section, "ActionSound", "").empty() ||
           loadNamedSound(file, section, "ActionSound", type.ActionSound, error);
}

void setCurrentBox(ObjectType& type, const std::array<std::int32_t, kBoxValues>& box) {
    type.Xmin = box[kXmin];
    type.Xmax = box[kXmax];
    type.Ymin = box[kYmin];
    type.Zmin = box[kZmin];
    type.Zmax = box[kZmax];
    type.Ymax1 = box[kYmax1];
    type.Ymax2 = box[kYmax2];
    type.Ymax3 = box[kYmax3];
    type.Ymax4 = box[kYmax4];
}

std::int32_t* boxField(ObjectType& type, int value) {
    std::int32_t* fields[kBoxValues] = {&type.Xmin,  &type.Xmax,  &type.Ymin,
                                        &type.Zmin,  &type.Zmax,  &type.Ymax1,
                                        &type.Ymax2, &type.Ymax3, &type.Ymax4};
    return fields[value];
}

void readCubeKeys(const ProfileData& file, const std::string& section, ObjectType& type) {
    static const char* const kColour[6] = {"FaceAColor", "FaceBColor", "FaceCColor",
                                           "FaceDColor", "FaceEColor", "FaceFColor"};
    static const char* const kTexture[6] = {"FaceATexture", "FaceBTexture", "FaceCTexture",
                                            "FaceDTexture", "FaceETexture", "FaceFTexture"};
    for (int face = 0; face < 6; ++face) {
        type.faceColor[face] =
            static_cast<std::uint8_t>(ProfileInt(file, section, kColour[face], 66));
        type.faceTexture[face] =
            static_cast<std::uint8_t>(ProfileInt(file, section, kTexture[face], 0));
    }
    setCurrentBox(type, {0, 511, 0, 0, 511, 511, 511, 511, 511});
}

bool readMeshKeys(const ProfileData& file, const std::string& section, ObjectType& type,
                  std::string& error) {
    type.meshCount = 0;
    for (int n = 1; n < kMeshSlots; ++n) {
        const std::string name = ProfileString(file, section, "Mesh" + std::to_string(n), "");
        if (name.empty()) break;
        if (!loadMesh(meshPath(name), type.meshes[n - 1], error)) return false;
        const auto box = computeMeshBox(MeshOrNull(type.meshes[n - 1]));
        for (int value = 0; value < kBoxValues; ++value) type.frameBox[value][n - 1] = box[value];
        if (n == 1) type.workMesh = type.meshes[0];
        ++type.meshCount;
    }
    setCurrentBox(type, computeMeshBox(MeshOrNull(type.meshes[0])));

    // Box keys, relative to the cell centre; 999 means not given. "Ymax" sets
    // all four corners and the single corners read after it win.
    struct BoxKey {
        const char* key;
        int first, last;
    };
    static const BoxKey kKeys[] = {{"Xmin", kXmin, kXmin},    {"Xmax", kXmax, kXmax},
                                   {"Ymin", kYmin, kYmin},    {"Ymax", kYmax1, kYmax4},
                                   {"Ymax1", kYmax1, kYmax1}, {"Ymax2", kYmax2, kYmax2},
                                   {"Ymax3", kYmax3, kYmax3}, {"Ymax4", kYmax4, kYmax4},
                                   {"Zmin", kZmin, kZmin},    {"Zmax", kZmax, kZmax}};
    for (const BoxKey& key : kKeys) {
        const std::int32_t value = ProfileInt(file, section, key.key, 999);
        if (value == 999) continue;
        const std::int32_t fromCorner = SaturateToInt32(std::int64_t{value} + 256);
        for (int field = key.first; field <= key.last; ++field) {
            *boxField(type, field) = fromCorner;
            for (int frame = 0; frame <= type.meshCount; ++frame)
                type.frameBox[field][frame] = fromCorner;
        }
    }
    // Worked out in double and rounded once, so the stored rate is the float
    // nearest to value x 90 x 0.0001 (in float 158 would give 1.42199993).
    type.Speed = static_cast<float>(ProfileInt(file, section, "Speed", 0) * 90.0 * 0.0001);
    if (!(type.frame >= 0.0f && type.frame < static_cast<float>(type.meshCount))) type.frame = 0.0f;
    type.loopDue = 1;
    type.lastLoopTime = Now;
    return true;
}

void freeTypeMeshes(ObjectType& type) {
    for (MeshSlot& mesh : type.meshes) mesh.reset();
    type.workMesh.reset();
    type.meshCount = 0;
}

bool loadObjectTypes(const ProfileData& file, std::string& error) {
    for (int index = 0; index < kObjectTypeCount; ++index) {
        ObjectType& type = objectTypes[index];
        type.undefined = 1;
        type.prevFrame = 0.0f;
        type.Speed = 0.0f;
        freeTypeMeshes(type);
        const std::string section = "Object " + std::to_string(index);
        const std::string cube = ProfileString(file, section, "Cube", "");
        if (cube.empty()) continue;
        type.undefined = 0;
        type.Cube = UpperAscii(cube) == "TRUE" ? 1 : 0;
        if (!readCommonKeys(file, section, index, type, error)) return false;
        if (type.Cube) {
            readCubeKeys(file, section, type);
        } else if (!readMeshKeys(file, section, type, error)) {
            return false;
        }
    }
    return true;
}

bool loadInterfacePictures(std::string& error) {
    auto load = [&](int slot, const char* file) {
        Loaded<> loaded = LoadPicture(slot, file);
        if (!loaded) error = loaded.error;
        return static_cast<bool>(loaded);
    };
    static const struct {
        int slot;
        const char* file;
    } kPictures[] = {{1, "INTERF/TKELV.PCX"},    {2, "INTERF/TITLE.PCX"},
                     {4, "INTERF/OPTION.PCX"},   {5, "INTERF/SELECT.PCX"},
                     {6, "INTERF/BARRE.PCX"},    {10, "INTERF/RADAR.PCX"},
                     {11, "INTERF/RADARP1.PCX"}, {12, "INTERF/RADARP2.PCX"}};
    for (const auto& picture : kPictures)
        if (!load(picture.slot, picture.file)) return false;
    // The fonts: one sheet each, cut into 100 glyphs for codes 32..131.
    if (!load(0, "INTERF/SMALFONT.PCX")) return false;
    for (int i = 0; i < 100; ++i) CutPicture(0, 4 * i, 0, 50 + i, 7, 3);
    if (!load(0, "INTERF/BIGFONT.PCX")) return false;
    for (int i = 0; i < 100; ++i) CutPicture(0, 9 * i, 0, 150 + i, 15, 8);
    return true;
}

} // namespace

void ForgetDefinitions() {
    loadedFile.clear();
    lastFile.clear();
    lastDetail.clear();
    lastBank.clear();
}

namespace {

bool loadAll(const std::string& fileName, const std::string& detail, bool ownFile,
             std::string& error) {
    lastFile = UpperAscii(fileName);
    lastDetail = UpperAscii(detail);
    texturedFaces = lastDetail == "HIGH";

    // The name comes from a level file: outside the data folder it reads as
    // missing. A missing file is said so by name, rather than as the missing
    // bank its empty keys would lead to.
    if ((!ownFile && !IsDataFileName(fileName)) || !FileExists(fileName)) {
        error = "VX3: The file " + fileName + " is missing";
        return false;
    }
    const Loaded<ProfileData> read = ReadProfileFile(fileName);
    if (!read) {
        error = read.error;
        return false;
    }
    const ProfileData& file = *read;

    const std::string bank = ProfileString(file, kGeneral, "Texture", "");
    const int fog[3] = {ProfileInt(file, kGeneral, "FogRed", 0),
                        ProfileInt(file, kGeneral, "FogGreen", 0),
                        ProfileInt(file, kGeneral, "FogBlue", 0)};
    worldGrid.fogRed = static_cast<std::uint8_t>(fog[0]);
    worldGrid.fogGreen = static_cast<std::uint8_t>(fog[1]);
    worldGrid.fogBlue = static_cast<std::uint8_t>(fog[2]);
    const bool newBank = bank != lastBank;
    if (newBank) {
        lastBank.clear(); // it counts once its interface pictures are in too
        if (Loaded<> loaded = LoadBank(bank); !loaded) {
            error = loaded.error;
            return false;
        }
        // The fog goes with the bank: it is taken only when the bank changes.
        std::copy(fog, fog + 3, bankFog);
    }

    if (!loadFixedMeshes(error)) return false;
    if (!loadPlayers(file, error)) return false;
    if (!loadSentryAndSky(file, error)) return false;
    loadMusicList(file);
    if (!loadObjectTypes(file, error)) return false;
    if (newBank) {
        if (!loadInterfacePictures(error)) return false;
        lastBank = bank;
    }

    BuildShadeTable(bankFog[0], bankFog[1], bankFog[2]);
    ResetFrameClock();
    return true;
}

Loaded<> loadDefinitions(const std::string& fileName, const std::string& detail, bool ownFile) {
    if (UpperAscii(fileName) == lastFile && UpperAscii(detail) == lastDetail) return LoadedDone();
    std::string error;
    loadedFile.clear();
    if (loadAll(fileName, detail, ownFile, error)) {
        loadedFile = fileName;
        return LoadedDone();
    }
    // A failed load is not remembered, so that nothing half-loaded counts as
    // done; a bank loaded whole stays, and is not read again for the retry.
    lastFile.clear();
    lastDetail.clear();
    return LoadFailure{error};
}

} // namespace

Loaded<> LoadDefinitions(const std::string& fileName, const std::string& detail) {
    return loadDefinitions(fileName, detail, false);
}

Loaded<> LoadOwnDefinitions(const std::string& path, const std::string& detail) {
    return loadDefinitions(path, detail, true);
}

const std::string& LoadedDefinitionFile() {
    return loadedFile;
}
