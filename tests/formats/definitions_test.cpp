#include "formats/definitions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/mesh.h"
#include "engine/pictures.h"
#include "engine/render_context.h"
#include "formats/mesh_box.h"
#include "media/music_list.h"
#include "media/sound_output.h"
#include "platform/message_box.h"
#include "support/data_set.h"
#include "support/test_support.h"
#include "world/models.h"
#include "world/world.h"

namespace {

class Definitions : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetDefinitions();
        SetMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
    }
    void TearDown() override { SetMessageBoxHandler(nullptr); }

    bool load(const std::string& objects, const std::string& detail = "High") {
        WriteMiniDataSet(dir, objects);
        return static_cast<bool>(LoadDefinitions(kDefinitionFile, detail));
    }

    TempDir dir;
    ScopedCurrentDir cd{dir.path()};
    std::vector<std::string> messages;
};

std::array<std::int32_t, 9> boxOf(const ObjectType& t) {
    return {t.Xmin, t.Xmax, t.Ymin, t.Zmin, t.Zmax, t.Ymax1, t.Ymax2, t.Ymax3, t.Ymax4};
}

} // namespace

TEST_F(Definitions, LoadsOnlyWhenFileOrDetailChanges) {
    ASSERT_TRUE(load("[Object 3]\nCube=TRUE\nName=Wall\n"));
    EXPECT_EQ(objectTypes[3].Name, "Wall");
    EXPECT_TRUE(texturedFaces);

    // Same file and detail, compared without regard to case: the changed file is not read.
    WriteMiniDataSet(dir, "[Object 3]\nCube=TRUE\nName=Other\n");
    ASSERT_TRUE(LoadDefinitions("STANDARD.BNK", "high"));
    EXPECT_EQ(objectTypes[3].Name, "Wall");

    // A new detail reads it again.
    ASSERT_TRUE(LoadDefinitions(kDefinitionFile, "Low"));
    EXPECT_EQ(objectTypes[3].Name, "Other");
    EXPECT_FALSE(texturedFaces);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Definitions, FailedLoadIsNotRememberedAndCanBeRetried) {
    WriteMiniDataSet(dir, "[Object 5]\nCube=FALSE\nMesh1=none.3do\n");
    const Loaded<> failed = LoadDefinitions(kDefinitionFile, "High");
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.error, "VX3: The file 3DO/GAME/none.3do is missing");
    EXPECT_TRUE(messages.empty()); // the caller decides how to show it
    dir.write("3DO/GAME/none.3do", SimpleMeshBytes(1));
    EXPECT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
    EXPECT_EQ(objectTypes[5].meshCount, 1);
}

TEST_F(Definitions, ABankIsReadAgainOnlyWhenItWasNotLoadedWhole) {
    ASSERT_TRUE(load(""));
    // A load failing on a mesh keeps the bank: the retry does not read it
    // again (and so does not see that one of its images is gone).
    WriteMiniDataSet(dir, "[Object 5]\nCube=FALSE\nMesh1=none.3do\n");
    EXPECT_FALSE(LoadDefinitions(kDefinitionFile, "Low"));
    WriteMiniDataSet(dir);
    std::filesystem::remove(dir.path() / "TEX/B.PCX");
    EXPECT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
    // A bank that failed is read again on the next load.
    ForgetDefinitions();
    EXPECT_FALSE(LoadDefinitions(kDefinitionFile, "High"));
    WriteMiniDataSet(dir);
    EXPECT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
}

TEST_F(Definitions, AMissingDefinitionFileIsNamedInItsMessage) {
    WriteMiniDataSet(dir);
    EXPECT_EQ(LoadDefinitions("Other.bnk", "High").error, "VX3: The file Other.bnk is missing");
    EXPECT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
}

TEST_F(Definitions, EmptyMeshNameIsAMissingFileNotAFolder) {
    WriteMiniDataSet(dir);
    dir.write(kDefinitionFile, std::string("[General]\nTexture=bank.txt\nHero=\n"));
    EXPECT_EQ(LoadDefinitions(kDefinitionFile, "High").error, "VX3: The file 3DO/GAME/ is missing");
}

TEST_F(Definitions, NamesLeavingTheDataFolderReadAsMissing) {
    // A level names its definition file, which names the bank and the
    // meshes: none of them may reach a file outside the data folder.
    TempDir elsewhere;
    const std::string notes = elsewhere.write("notes.txt", "any file at all");
    elsewhere.write("x.3do", SimpleMeshBytes(1));
    WriteMiniDataSet(dir);
    const auto definitions = ReadBytes(dir.file(kDefinitionFile));
    dir.write("Abs.bnk", "[General]\nTexture=" + notes + "\n");
    EXPECT_EQ(LoadDefinitions("Abs.bnk", "High").error, "VX3: The file " + notes + " is missing");
    EXPECT_FALSE(std::filesystem::exists(elsewhere.file("notes.POT")));

    const std::string relative =
        std::filesystem::relative(elsewhere.path(), dir.path() / "3DO/GAME").string();
    dir.write("Climb.bnk", std::string(definitions.begin(), definitions.end()) +
                               "[Object 5]\nCube=FALSE\nMesh1=" + relative + "/x.3do\n");
    EXPECT_EQ(LoadDefinitions("Climb.bnk", "High").error,
              "VX3: The file 3DO/GAME/" + relative + "/x.3do is missing");

    // An absolute definition file reads as a missing one, as it would from a level.
    EXPECT_FALSE(LoadDefinitions(dir.file(kDefinitionFile), "High"));
    EXPECT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
}

TEST_F(Definitions, SectionExistsOnlyThroughItsCubeKey) {
    ASSERT_TRUE(load("[Object 1]\nCube=TRUE\n[Object 2]\nName=NoCube\n[Object 4]\nCube=yes\n"));
    EXPECT_FALSE(objectTypes[1].undefined);
    EXPECT_TRUE(objectTypes[1].Cube);
    EXPECT_EQ(boxOf(objectTypes[1]),
              (std::array<std::int32_t, 9>{0, 511, 0, 0, 511, 511, 511, 511, 511}));
    EXPECT_TRUE(objectTypes[2].undefined);
    EXPECT_TRUE(objectTypes[0].undefined);
    // "yes" is not TRUE: a defined mesh type without meshes.
    EXPECT_FALSE(objectTypes[4].undefined);
    EXPECT_FALSE(objectTypes[4].Cube);
    EXPECT_EQ(boxOf(objectTypes[4]),
              (std::array<std::int32_t, 9>{768, 256, 768, 768, 256, -256, -256, -256, -256}));
    EXPECT_FALSE(pointInShape(256, 256, 256 + 512 * 0));
}

TEST_F(Definitions, BoxKeysAreCentredAndSingleCornersWinOverYmax) {
    dir.write("3DO/GAME/ramp.3do", SimpleMeshBytes(2));
    ASSERT_TRUE(load("[Object 6]\nCube=FALSE\nMesh1=ramp.3do\nMesh2=ramp.3do\nYmax=100\nYmax3=0\n"
                     "Xmin=-256\nSpeed=100\n"));
    const ObjectType& t = objectTypes[6];
    EXPECT_EQ(t.meshCount, 2);
    EXPECT_EQ(t.Ymax1, 356);
    EXPECT_EQ(t.Ymax2, 356);
    EXPECT_EQ(t.Ymax3, 256);
    EXPECT_EQ(t.Ymax4, 356);
    EXPECT_EQ(t.Xmin, 0);
    // The keys reach every frame's box, one past the last frame included.
    for (int frame = 0; frame <= 2; ++frame) {
        EXPECT_EQ(t.frameBox[kYmax3][frame], 256);
        EXPECT_EQ(t.frameBox[kXmin][frame], 0);
    }
    // 100 frames per 10 s: one frame per 100 ms, that is 0.9 per 90 ms.
    EXPECT_FLOAT_EQ(t.Speed, 0.9f);
    ASSERT_TRUE(t.workMesh);
    EXPECT_EQ(t.loopDue, 1);
}

TEST_F(Definitions, BoxKeysAndDoubledTransitionsStopAtTheIntRange) {
    dir.write("3DO/GAME/ramp.3do", SimpleMeshBytes(2));
    ASSERT_TRUE(load("[Object 6]\nCube=FALSE\nMesh1=ramp.3do\nXmin=2147483647\n"
                     "Xmax=-2147483648\nYmax=2147483600\n"));
    const ObjectType& t = objectTypes[6];
    EXPECT_EQ(t.Xmin, INT32_MAX);
    EXPECT_EQ(t.Xmax, INT32_MIN + 256);
    EXPECT_EQ(t.Ymax4, INT32_MAX);
    EXPECT_EQ(t.frameBox[kYmax1][1], INT32_MAX);

    Mesh far;
    far.x = {INT32_MAX, 1, 0};
    far.y = {INT32_MIN, 2, 0};
    far.z = {-1073741825, 1073741823, 0};
    far.lastVertex = 2;
    far.faces = {Face{0, 1, 2, 10, 0, 0, 3}};
    dir.write("3DO/GAME/Transi2.3do", EncodeMesh(far));
    ForgetDefinitions();
    ASSERT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
    const Mesh& doubled = *transitionMeshes[1];
    EXPECT_EQ(doubled.x[0], INT32_MAX);
    EXPECT_EQ(doubled.y[0], INT32_MIN);
    EXPECT_EQ(doubled.z[0], INT32_MIN);
    EXPECT_EQ(doubled.z[1], INT32_MAX - 1);
    EXPECT_EQ(doubled.x[1], 2);
}

TEST_F(Definitions, MeshListEndsAtTheFirstGap) {
    dir.write("3DO/GAME/a.3do", SimpleMeshBytes(1));
    ASSERT_TRUE(load("[Object 8]\nCube=FALSE\nMesh1=a.3do\nMesh3=a.3do\n"));
    EXPECT_EQ(objectTypes[8].meshCount, 1);
    EXPECT_FALSE(objectTypes[8].meshes[1]);
}

TEST_F(Definitions, KeysThatDependOnTheirFlag) {
    ASSERT_TRUE(load("[Object 7]\nCube=TRUE\nDoor=TRUE\n[Object 9]\nCube=TRUE\nTimer=TRUE\n"
                     "LeverAnim=4\n[Object 10]\nCube=TRUE\nCollision=false\nFaceBColor=12\n"
                     "FaceETexture=3\nTransparency=50\n"));
    EXPECT_EQ(objectTypes[7].AnimDoor, 7);
    EXPECT_EQ(objectTypes[7].DoorOpen, 7);
    EXPECT_EQ(objectTypes[9].TimerDuration, 10000);
    EXPECT_EQ(objectTypes[9].LeverAnim, 0); // read only for levers
    EXPECT_EQ(objectTypes[9].LoopDuration, 999000);
    EXPECT_EQ(objectTypes[9].ActionVolume, 255);
    EXPECT_EQ(objectTypes[10].Collision, 0);
    EXPECT_EQ(objectTypes[10].faceColor[1], 12);
    EXPECT_EQ(objectTypes[10].faceColor[0], 66);
    EXPECT_EQ(objectTypes[10].faceTexture[4], 3);
    EXPECT_EQ(objectTypes[10].Transparency, 50);
}

TEST_F(Definitions, AMalformedWaveAbandonsTheLoadWithItsText) {
    CreateSoundOutput(SoundOutputKind::Capture);
    const std::vector<std::uint8_t> riff{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    dir.write("SOUNDS/ODD.WAV", std::vector<std::uint8_t>{'R', 'I', 'F', 'X', 4, 0, 0, 0});
    dir.write("SOUNDS/EMPTY.WAV", riff); // no format: the load fails too
    EXPECT_FALSE(load("[Object 3]\nCube=TRUE\nActionSound=SOUNDS/ODD.WAV\n"));
    WriteMiniDataSet(dir, "[Object 3]\nCube=TRUE\nLoopSound=SOUNDS\\EMPTY.WAV\n");
    ForgetDefinitions();
    EXPECT_EQ(LoadDefinitions(kDefinitionFile, "High").error, "Error reading wave file");
    // A missing file is a silent sound, not a failure.
    ForgetDefinitions();
    EXPECT_TRUE(load("[Object 3]\nCube=TRUE\nActionSound=SOUNDS/NONE.WAV\n"));
    EXPECT_NE(objectTypes[3].ActionSound, nullptr);
    CloseSoundOutput();
}

TEST_F(Definitions, FillsPlayersMeshesPicturesMusicAndFog) {
    ASSERT_TRUE(load(""));
    for (const PlayerRecord& p : players) {
        for (const MeshSlot& pose : p.poses) EXPECT_TRUE(pose);
        EXPECT_TRUE(p.workMesh);
        EXPECT_TRUE(p.shadowMesh);
    }
    EXPECT_TRUE(enemyMesh);
    EXPECT_TRUE(skyMesh);
    ASSERT_TRUE(markerMesh);
    EXPECT_EQ(markerMesh->faces[0].kind, 3);
    // Transition meshes are doubled: the fixture's first vertex is (-100, -100, -100).
    EXPECT_EQ(transitionMeshes[0]->x[0], -200);
    EXPECT_EQ(pictureSlots[1].width, 64);
    EXPECT_EQ(pictureSlots[50].width, 3);
    EXPECT_EQ(pictureSlots[50].height, 7);
    EXPECT_EQ(pictureSlots[249].width, 8);
    EXPECT_EQ(pictureSlots[249].height, 15);
    EXPECT_EQ(musicList[0].file, "title.mid");
    EXPECT_EQ(musicList[0].name, "Title");
    EXPECT_EQ(musicList[1].loop, 1);
    EXPECT_EQ(musicList[1].clip, "end.avi");
    EXPECT_EQ(worldGrid.fogBlue, 30);
    // Shade level 0 is the fog colour (grey ramp: the nearest grey to (10, 20, 30) is 20).
    EXPECT_EQ((*renderContext.shadeTable)[0 * 256 + 200], 20);
    EXPECT_EQ((*renderContext.shadeTable)[0], 0);
}

TEST_F(Definitions, SpeedIsTheNearestFloatToItsRate) {
    // Worked out in float these would be 1.42199993, 0.0899999961 and -0.539999962.
    ASSERT_TRUE(load("[Object 6]\nCube=FALSE\nMesh1=sky.3do\nSpeed=158\n"
                     "[Object 7]\nCube=FALSE\nMesh1=sky.3do\nSpeed=10\n"
                     "[Object 8]\nCube=FALSE\nMesh1=sky.3do\nSpeed=-60\n"));
    EXPECT_EQ(objectTypes[6].Speed, 1.422f);
    EXPECT_EQ(objectTypes[7].Speed, 0.09f);
    EXPECT_EQ(objectTypes[8].Speed, -0.54f);
}

TEST_F(Definitions, AFileWithoutSkyKeepsTheSkyOfTheLoadBefore) {
    dir.write("3DO/GAME/big.3do", SimpleMeshBytes(5));
    auto withSky = [&](const std::string& line) {
        WriteMiniDataSet(dir);
        const auto bytes = ReadBytes((dir.path() / kDefinitionFile).string());
        std::string ini(bytes.begin(), bytes.end());
        ini.replace(ini.find("Sky=sky.3do\n"), 12, line);
        dir.write(kDefinitionFile, ini);
    };
    withSky("Sky=big.3do\n");
    ASSERT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
    ASSERT_TRUE(skyMesh);
    const int faces = skyMesh->FaceCount();
    for (const std::string& line : {std::string(""), std::string("Sky=\n")}) {
        withSky(line);
        ForgetDefinitions();
        ASSERT_TRUE(LoadDefinitions(kDefinitionFile, "High")) << line;
        ASSERT_TRUE(skyMesh) << line;
        EXPECT_EQ(skyMesh->FaceCount(), faces) << line;
    }
    // A sky that fails to load leaves no sky behind, not the old one.
    withSky("Sky=gone.3do\n");
    ForgetDefinitions();
    EXPECT_FALSE(LoadDefinitions(kDefinitionFile, "High"));
    EXPECT_FALSE(skyMesh);
}

TEST(MeshBox, QuartersTakeTheHighestVertexAndEmptyMeshHasNoInside) {
    MeshSlot mesh = MakeMesh(3, 0);
    ASSERT_TRUE(mesh);
    mesh->x = {-200, 200, 200, -200};
    mesh->z = {-200, -200, 200, 200};
    mesh->y = {-256, 0, 100, 255};
    const auto box = computeMeshBox(MeshOrNull(mesh));
    EXPECT_EQ(box, (std::array<std::int32_t, 9>{56, 456, 0, 56, 456, 0, 256, 356, 511}));
    EXPECT_EQ(computeMeshBox(nullptr),
              (std::array<std::int32_t, 9>{768, 256, 768, 768, 256, -256, -256, -256, -256}));
}

TEST(MeshBox, CoordinatesAtTheIntLimitsGiveABoxAtTheLimits) {
    MeshSlot mesh = MakeMesh(1, 0);
    ASSERT_TRUE(mesh);
    mesh->x = {INT32_MIN, INT32_MAX};
    mesh->z = {INT32_MAX, INT32_MAX};
    mesh->y = {INT32_MAX, INT32_MIN};
    // Both vertices lie in the high-z half (the midpoint in z is half way
    // from 512 to INT32_MAX), on either side of x = 0.
    EXPECT_EQ(computeMeshBox(MeshOrNull(mesh)),
              (std::array<std::int32_t, 9>{INT32_MIN + 256, INT32_MAX, INT32_MIN + 256, 768,
                                           INT32_MAX, -256, -256, -256, INT32_MAX}));
}
