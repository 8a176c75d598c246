// The data set's meshes: files the game can read, poses and key frames that
// blend, boxes that give the intended collision shapes.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "datakit.h"
#include "draw/pipeline.h"
#include "formats/mesh_box.h"
#include "meshes_builder.h"
#include "meshes_catalog.h"
#include "render_view.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

bool SameFace(const Face& a, const Face& b) {
    return a.v1 == b.v1 && a.v2 == b.v2 && a.v3 == b.v3 && a.texture == b.texture &&
           a.flip == b.flip && a.doubleSided == b.doubleSided && a.kind == b.kind;
}

bool SameVertices(const Mesh& a, const Mesh& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

std::int32_t Lowest(const std::vector<std::int32_t>& v) {
    return *std::min_element(v.begin(), v.end());
}
std::int32_t Highest(const std::vector<std::int32_t>& v) {
    return *std::max_element(v.begin(), v.end());
}

std::map<std::string, std::vector<std::uint8_t>> ReadTree(const std::filesystem::path& root) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), root).generic_string()] =
                ReadBytes(entry.path().string());
    return files;
}

TEST(MeshCatalog, HoldsEveryMeshTheDefinitionsAndEditorLoad) {
    std::vector<std::string> expected = {
        "hero",        "hero_walk1", "hero_walk2",   "hero_walk3",   "hero_walk4", "hero_fall",
        "hero_crouch", "hero_dead",  "hero_ladder1", "hero_ladder2", "hero_shoot", "shadow",
        "sentry",      "sky",        "podium",       "flag",         "Transi1",    "Transi2",
        "Transi3",     "ladder_x",   "ladder_z",     "life",         "lamp",       "hourglass",
        "ramp_px",     "ramp_nx",    "ramp_pz",      "ramp_nz",      "spikes",     "sensor",
        "torch",       "pillar",     "plant",        "crystal"};
    for (const auto& [stem, frames] : std::map<std::string, int>{{"lever", 4},
                                                                 {"lever_second", 4},
                                                                 {"door", 4},
                                                                 {"door_second", 4},
                                                                 {"door_ingot", 4},
                                                                 {"door_sensor", 4},
                                                                 {"ingot", 4},
                                                                 {"spring", 3},
                                                                 {"dig", 4},
                                                                 {"dig_rooted", 4},
                                                                 {"refill", 4},
                                                                 {"exit", 4}})
        for (int i = 1; i <= frames; ++i) expected.push_back(stem + "_" + std::to_string(i));
    std::set<std::string> wanted;
    for (const std::string& name : expected) wanted.insert("3DO/GAME/" + name + ".3do");
    for (const char* marker : {"select", "start", "sfx", "exit"})
        wanted.insert(std::string("3DO/EDITOR/") + marker + ".3do");

    std::set<std::string> built;
    for (const NamedMesh& entry : BuildMeshCatalog())
        EXPECT_TRUE(built.insert(entry.file).second) << "twice: " << entry.file;
    EXPECT_EQ(built, wanted);
}

TEST(MeshCatalog, FilesReadBackAndFacesAreDrawable) {
    TempDir dir;
    GenerateMeshes(DataKit{dir.path(), {}});
    for (const NamedMesh& entry : BuildMeshCatalog()) {
        SCOPED_TRACE(entry.file);
        const Loaded<Mesh> loaded = ReadMeshFile(dir.file(entry.file));
        ASSERT_TRUE(loaded) << loaded.error;
        EXPECT_TRUE(SameVertices(*loaded, entry.mesh));
        ASSERT_EQ(loaded->FaceCount(), entry.mesh.FaceCount());
        for (int f = 0; f < loaded->FaceCount(); ++f) {
            const Face& face = loaded->faces[f];
            EXPECT_TRUE(SameFace(face, entry.mesh.faces[f]));
            if (face.kind >= kFaceFlat) {
                // Colour 0 is the key and 255 is left out of the colour tables.
                EXPECT_TRUE(face.texture >= 1 && face.texture <= 254) << "face " << f;
            } else {
                EXPECT_TRUE(face.kind == kFaceTextured || face.kind == kFaceTexturedKeyed);
                EXPECT_TRUE(face.texture >= 1 && face.texture <= 30) << "face " << f;
            }
            // A triangle without area draws nothing and textured ones go wrong.
            const auto at = [&](int i) {
                return std::array<double, 3>{double(loaded->x[i]), double(loaded->y[i]),
                                             double(loaded->z[i])};
            };
            const auto a = at(face.v1), b = at(face.v2), c = at(face.v3);
            const double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
            const double vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
            const double area2 =
                std::hypot(uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx);
            EXPECT_GT(area2, 0.0) << "face " << f << " has no area";
            // The rasterizer maps no texture onto a triangle whose normal has
            // no component of 640 or more.
            if (face.kind < kFaceFlat) {
                EXPECT_GT(area2 / std::sqrt(3.0), 640) << "face " << f;
            }
        }
    }
}

TEST(MeshCatalog, GeneratesTheSameBytesEveryTime) {
    TempDir first, second;
    GenerateMeshes(DataKit{first.path(), {}});
    GenerateMeshes(DataKit{second.path(), {}});
    const auto a = ReadTree(first.path());
    EXPECT_EQ(a.size(), BuildMeshCatalog().size());
    EXPECT_TRUE(a == ReadTree(second.path()));
}

TEST(HeroPoses, ShareOneFaceListStandOnTheFloorAndDiffer) {
    const std::vector<Mesh> poses = HeroPoses();
    ASSERT_EQ(poses.size(), std::size_t(kHeroPoseCount));
    const Mesh& stand = poses[0];
    for (int p = 0; p < kHeroPoseCount; ++p) {
        SCOPED_TRACE("pose " + std::to_string(p));
        const Mesh& pose = poses[p];
        ASSERT_EQ(pose.VertexCount(), stand.VertexCount());
        ASSERT_EQ(pose.FaceCount(), stand.FaceCount());
        for (int f = 0; f < pose.FaceCount(); ++f)
            EXPECT_TRUE(SameFace(pose.faces[f], stand.faces[f])) << "face " << f;
        EXPECT_EQ(Lowest(pose.y), -240);
        for (int q = 0; q < p; ++q) EXPECT_FALSE(SameVertices(pose, poses[q])) << "same as " << q;
    }
    // Standing: head near the top of the 480-high body, inside its 260 width.
    EXPECT_GE(Highest(stand.y), 225);
    EXPECT_LE(Highest(stand.y), 255);
    EXPECT_LE(std::max(-Lowest(stand.x), Highest(stand.x)), 130);
    // Lying dead: low and long.
    const Mesh& dead = poses[7];
    EXPECT_LT(Highest(dead.y) - Lowest(dead.y), 160);
    EXPECT_GT(Highest(dead.z) - Lowest(dead.z), 400);
}

TEST(HeroPoses, FaceAlongMinusZ) {
    // The game turns the figure so that its -z side looks along the heading:
    // the eyes and the toes must be on that side.
    const Mesh stand = HeroPoses()[0];
    double eyeZ = 0;
    int eyeCorners = 0;
    for (const Face& face : stand.faces) {
        if (face.kind < kFaceFlat || face.texture != 9 * 16 + 2) continue;
        for (int v : {face.v1, face.v2, face.v3}) eyeZ += stand.z[v], ++eyeCorners;
    }
    ASSERT_GT(eyeCorners, 0);
    EXPECT_LT(eyeZ / eyeCorners, -30);
    EXPECT_LT(Lowest(stand.z), -Highest(stand.z));
}

TEST(Animations, KeyFramesBlendIntoEachOther) {
    const std::map<std::string, std::vector<Mesh>> families = {
        {"lever", LeverFrames(kFirstCircuit)},
        {"lever_second", LeverFrames(kSecondCircuit)},
        {"door", DoorFrames(kTexDoor)},
        {"door_ingot", DoorFrames(kTexIngotDoor)},
        {"ingot", IngotFrames()},
        {"spring", SpringFrames()},
        {"dig", DigFrames(kTexEarth)},
        {"refill", RefillFrames()},
        {"exit", ExitFrames()}};
    for (const auto& [name, frames] : families) {
        SCOPED_TRACE(name);
        for (std::size_t k = 1; k < frames.size(); ++k) {
            ASSERT_EQ(frames[k].VertexCount(), frames[0].VertexCount());
            ASSERT_EQ(frames[k].FaceCount(), frames[0].FaceCount());
            EXPECT_FALSE(SameVertices(frames[k], frames[k - 1])) << "frame " << k;
            int differing = 0;
            for (int f = 0; f < frames[0].FaceCount(); ++f)
                differing += !SameFace(frames[k].faces[f], frames[0].faces[f]);
            // Only the lever's lamp turns green in its last frame.
            const bool lamp = name.rfind("lever", 0) == 0 && k + 1 == frames.size();
            EXPECT_EQ(differing > 0, lamp) << "frame " << k;
        }
    }
    const std::vector<Mesh> dig = DigFrames(kTexRootedSoil), refill = RefillFrames();
    EXPECT_TRUE(SameVertices(refill.front(), dig.back()));
    EXPECT_TRUE(SameVertices(refill.back(), dig.front()));
}

TEST(Animations, DoorFillsItsCellClosedAndSinksOpen) {
    const std::vector<Mesh> door = DoorFrames(kTexSensorDoor);
    const auto closed = computeMeshBox(&door.front());
    EXPECT_EQ(closed[kXmin], 0);
    EXPECT_EQ(closed[kXmax], 511);
    EXPECT_EQ(closed[kZmin], 0);
    EXPECT_EQ(closed[kZmax], 511);
    for (int corner = kYmax1; corner <= kYmax4; ++corner) EXPECT_EQ(closed[corner], 511);
    const auto open = computeMeshBox(&door.back());
    for (int corner = kYmax1; corner <= kYmax4; ++corner) EXPECT_LE(open[corner], 32);
}

TEST(Ramps, CornerHeightsMakeWalkableSlopes) {
    struct Case {
        RampDirection direction;
        std::array<std::int32_t, 4> corners; // Ymax1..Ymax4
    };
    const Case cases[] = {{kRampPlusX, {0, 511, 511, 0}},
                          {kRampMinusX, {511, 0, 0, 511}},
                          {kRampPlusZ, {0, 0, 511, 511}},
                          {kRampMinusZ, {511, 511, 0, 0}}};
    ObjectType& type = objectTypes[200];
    const ObjectType saved = type;
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.direction));
        const Mesh ramp = RampMesh(c.direction);
        const auto box = computeMeshBox(&ramp);
        EXPECT_EQ(box[kXmin], 0);
        EXPECT_EQ(box[kXmax], 511);
        EXPECT_EQ(box[kYmin], 0);
        EXPECT_EQ(box[kZmin], 0);
        EXPECT_EQ(box[kZmax], 511);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(box[kYmax1 + i], c.corners[i]) << "corner " << i;

        // Walking up the slope the surface rises evenly; across it, it stays level.
        type.Xmin = box[kXmin], type.Xmax = box[kXmax], type.Ymin = box[kYmin];
        type.Zmin = box[kZmin], type.Zmax = box[kZmax];
        type.Ymax1 = box[kYmax1], type.Ymax2 = box[kYmax2];
        type.Ymax3 = box[kYmax3], type.Ymax4 = box[kYmax4];
        const bool alongX = c.direction == kRampPlusX || c.direction == kRampMinusX;
        const bool rising = c.direction == kRampPlusX || c.direction == kRampPlusZ;
        for (int along = 0; along <= 511; along += 73) {
            for (int across : {0, 255, 511}) {
                const int lx = alongX ? along : across, lz = alongX ? across : along;
                const int expected = rising ? along : 511 - along;
                EXPECT_NEAR(topHeight(200, lx, lz), expected, 1) << along << ", " << across;
            }
        }
    }
    type = saved;
}

TEST(Ladders, ThinAndClimbableFromEitherSide) {
    for (bool wideInX : {true, false}) {
        SCOPED_TRACE(wideInX ? "ladder_x" : "ladder_z");
        const Mesh ladder = LadderMesh(wideInX);
        const auto box = computeMeshBox(&ladder);
        const int width = box[kXmax] - box[kXmin], depth = box[kZmax] - box[kZmin];
        EXPECT_EQ(width > depth, wideInX);
        // A climber (260 wide) takes hold standing in the ladder's own cell,
        // half a body in front of or behind the thin side.
        const int low = wideInX ? box[kZmin] : box[kXmin];
        const int high = wideInX ? box[kZmax] : box[kXmax];
        EXPECT_GT(high, low);
        EXPECT_GE(low, 130);
        EXPECT_LE(high, 511 - 130);
        const bool rungs = std::any_of(ladder.faces.begin(), ladder.faces.end(), [](const Face& f) {
            return f.texture == 10 && f.kind == kFaceTexturedKeyed && f.doubleSided;
        });
        EXPECT_TRUE(rungs);
        EXPECT_EQ(Lowest(ladder.y), -256);
        EXPECT_EQ(Highest(ladder.y), 255);
    }
}

TEST(CellObjects, StayInsideTheirCell) {
    for (const NamedMesh& entry : BuildMeshCatalog()) {
        const std::string name = std::filesystem::path(entry.file).stem().string();
        const bool screenOrFigure =
            entry.file.rfind("3DO/EDITOR/", 0) == 0 || name.rfind("hero", 0) == 0 ||
            name.rfind("Transi", 0) == 0 ||
            std::set<std::string>{"sky", "podium", "flag", "sentry", "shadow"}.count(name) > 0;
        if (screenOrFigure) continue;
        SCOPED_TRACE(entry.file);
        for (const auto* axis : {&entry.mesh.x, &entry.mesh.y, &entry.mesh.z}) {
            EXPECT_GE(Lowest(*axis), -256);
            EXPECT_LE(Highest(*axis), 255);
        }
    }
}

TEST(Sky, FillsTheViewAboveTheHorizonInEveryDirection) {
    // Drawn as the game draws it: around a camera at the origin, unturned.
    const Mesh sky = SkyMesh();
    for (const Face& face : sky.faces) {
        std::int64_t key = 0;
        for (int v : {face.v1, face.v2, face.v3})
            key += std::int64_t{sky.x[v]} * sky.x[v] + std::int64_t{sky.y[v]} * sky.y[v] +
                   std::int64_t{sky.z[v]} * sky.z[v];
        EXPECT_LT(key, std::int64_t{1} << 31) << "the sort key is a 32-bit sum";
    }
    constexpr std::uint8_t kImage = 77;
    for (int pitch : {3400, 5000, 7000, 8192}) {
        for (int yaw : {0, 1000, 5461, 12000, 20000, 30000}) {
            SetupBareView(320, 240, 26, kImage);
            SetCamera(0, 0, 0, yaw, pitch, 0);
            AddLight(0, 0, 0, 1000000);
            SubmitMesh(&sky, 0, 0, 0, 0, 0, 0, 0, 0);
            DrawQueue();
            EXPECT_EQ(UncoveredPixels(), 0) << "pitch " << pitch << " yaw " << yaw;
            if (pitch < 5000) {
                EXPECT_GT(PixelsOf(kImage), 319 * 239 / 2);
            }
        }
    }
}

} // namespace
