// How the shipped cubes, doors, levers and soil look: directional textures
// read the same from every side of a cube, and the kinds a player must tell
// apart keep their own looks from start to end of their animations.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "draw/cube_faces.h"
#include "draw/pipeline.h"
#include "engine/render_context.h"
#include "engine/texture_bank.h"
#include "render_view.h"
#include "shipped_data.h"
#include "textures_turned.h"
#include "visuals_support.h"
#include "world/world.h"

namespace {

constexpr int kView = 128;
const char kFaces[] = "ABCDEF";

std::string section(int i) {
    return "Object " + std::to_string(i);
}

int faceTexture(const ProfileData& d, int type, int side) {
    return ProfileInt(d, section(type), std::string("Face") + kFaces[side] + "Texture", -1);
}

std::string mesh1(const ProfileData& d, int type) {
    return ProfileString(d, section(type), "Mesh1", "");
}

// The family of a key-frame mesh: "door_ingot_1.3do" -> "door_ingot".
std::string family(const std::string& mesh) {
    return mesh.substr(0, mesh.rfind('_'));
}

// Side `side` (A..D) of a cube whose sides carry `textures`, seen head-on
// from outside at the same distance whatever the side, pixel for pixel.
std::vector<std::uint8_t> SideSeenHeadOn(const std::array<int, 6>& textures, int side) {
    SetupBareView(kView, kView);
    ObjectType cube;
    for (int s = 0; s < 6; ++s) cube.faceTexture[s] = static_cast<std::uint16_t>(textures[s]);
    ApplyCubeFaces(cube, true);
    // Where the camera stands and the heading it looks along (0 is +z).
    struct Eye {
        int x, z, yaw;
    };
    constexpr int kDistance = 400;
    const Eye eyes[4] = {
        {0, -kDistance, 0}, {kDistance, 0, 24576}, {0, kDistance, 16384}, {-kDistance, 0, 8192}};
    const Eye& eye = eyes[side];
    SetCamera(eye.x, 0, eye.z, eye.yaw, 0, 0);
    SubmitMesh(&*cubeFaceMeshes[side], 0, 0, 0, 0, 0);
    DrawQueue();
    const FrameBuffer& buffer = renderContext.mainBuffer;
    return {buffer.pixels.begin(), buffer.pixels.begin() + buffer.width * buffer.height};
}

// How far apart two pictures look: the mean difference of their brightness
// over blocks of 8 x 8 pixels. A triangle and its half-turned partner round
// their texels apart by one, so pictures of the same image, drawn through
// different triangles, do not match pixel for pixel; the blocks even that out.
double Difference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    constexpr int kBlock = 8, kBlocks = kView / kBlock;
    const PalettePlanes& palette = renderContext.palette;
    double total = 0;
    for (int by = 0; by < kBlocks; ++by)
        for (int bx = 0; bx < kBlocks; ++bx) {
            long long sumA = 0, sumB = 0;
            for (int y = by * kBlock; y < (by + 1) * kBlock; ++y)
                for (int x = bx * kBlock; x < (bx + 1) * kBlock; ++x) {
                    sumA += Luma(palette, a[y * kView + x]);
                    sumB += Luma(palette, b[y * kView + x]);
                }
            total += std::abs(double(sumA - sumB)) / (kBlock * kBlock);
        }
    return total / (kBlocks * kBlocks);
}

class CubeLooks : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ScopedCurrentDir cd(GeneratedVisuals().path());
        loaded = static_cast<bool>(LoadBank("TEXTURES/KELVANE.TXT"));
        BuildCubeFaceMeshes();
    }
    static bool loaded;
};
bool CubeLooks::loaded = false;

} // namespace

TEST(TurnedImages, QuarterAndHalfTurnsMoveEveryPixelWhereTheSidesNeedIt) {
    std::vector<std::uint8_t> image(128 * 128);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 128);
    const std::vector<std::uint8_t> quarter = QuarterTurned(image), half = HalfTurned(image);
    for (int r = 0; r < 128; ++r)
        for (int c = 0; c < 128; ++c) {
            ASSERT_EQ(quarter[r * 128 + c], image[(127 - c) * 128 + r]) << r << "," << c;
            ASSERT_EQ(half[r * 128 + c], image[(127 - r) * 128 + 127 - c]) << r << "," << c;
        }
    // Four quarter turns and two half turns come back to the start.
    EXPECT_EQ(QuarterTurned(QuarterTurned(QuarterTurned(quarter))), image);
    EXPECT_EQ(HalfTurned(half), image);
    // An image of the wrong size is left as it is.
    EXPECT_EQ(QuarterTurned({1, 2, 3}), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(CubeLooks, DirectionalTexturesReadTheSameFromEverySide) {
    ASSERT_TRUE(loaded);
    for (const int n : DirectionalTextures()) {
        SCOPED_TRACE("texture " + std::to_string(n));
        const int quarter = kQuarterTurnedOffset + n, half = kHalfTurnedOffset + n;
        const std::vector<std::uint8_t> south = SideSeenHeadOn({n, n, n, n, n, n}, 0);
        ASSERT_EQ(UncoveredPixels(), 0) << "the side fills the view";
        for (int side = 1; side < 4; ++side) {
            const std::array<int, 6> turned = {n, quarter, quarter, half, n, n};
            // The same image unturned on that side, for the scale of a fault.
            const double asIs = Difference(south, SideSeenHeadOn({n, n, n, n, n, n}, side));
            const double turnedBack = Difference(south, SideSeenHeadOn(turned, side));
            EXPECT_LT(turnedBack * 3, asIs) << "side " << kFaces[side];
        }
    }
}

TEST(ShippedDefinitions, CubeSidesTakeTheTurnedCopiesOfDirectionalTextures) {
    const ProfileData& d = ShippedDefinitions();
    const std::set<int> directional(DirectionalTextures().begin(), DirectionalTextures().end());
    int turnedCubes = 0;
    for (int type = 1; type < 256; ++type) {
        if (!ProfileFlag(d, section(type), "Cube", "FALSE")) continue;
        SCOPED_TRACE("type " + std::to_string(type));
        const int south = faceTexture(d, type, 0);
        const bool turned = directional.count(south) > 0;
        turnedCubes += turned;
        EXPECT_EQ(faceTexture(d, type, 1), turned ? kQuarterTurnedOffset + south : south);
        EXPECT_EQ(faceTexture(d, type, 2), turned ? kQuarterTurnedOffset + south : south);
        EXPECT_EQ(faceTexture(d, type, 3), turned ? kHalfTurnedOffset + south : south);
        // Tops and bottoms lie flat: nothing to turn.
        for (int side = 4; side < 6; ++side)
            EXPECT_LT(faceTexture(d, type, side), kQuarterTurnedOffset) << kFaces[side];
    }
    EXPECT_GE(turnedCubes, 10);
}

TEST(ShippedDefinitions, EveryDoorKindAndCircuitKeepsItsOwnLookWhileItOpens) {
    const ProfileData& d = ShippedDefinitions();
    auto number = [&](int type, const char* key) { return ProfileInt(d, section(type), key, 0); };
    std::set<std::string> doorLooks;
    int doors = 0;
    for (int type = 1; type < 256; ++type) {
        if (!ProfileFlag(d, section(type), "Door", "FALSE")) continue;
        SCOPED_TRACE("door " + std::to_string(type));
        ++doors;
        const std::string look = family(mesh1(d, type));
        EXPECT_TRUE(doorLooks.insert(look).second) << look << " is shared by two door kinds";
        EXPECT_EQ(family(mesh1(d, number(type, "AnimDoor"))), look);
        EXPECT_EQ(family(mesh1(d, number(type, "DoorOpen"))), look);
    }
    EXPECT_EQ(doors, 4);
    std::set<std::string> leverLooks;
    for (int type = 1; type < 256; ++type) {
        if (!ProfileFlag(d, section(type), "Lever", "FALSE")) continue;
        SCOPED_TRACE("lever " + std::to_string(type));
        const std::string look = family(mesh1(d, type));
        EXPECT_TRUE(leverLooks.insert(look).second) << look << " is shared by two circuits";
        EXPECT_EQ(family(mesh1(d, number(type, "LeverAnim"))), look);
        EXPECT_EQ(family(mesh1(d, number(type, "LeverOpen"))), look);
    }
    EXPECT_EQ(leverLooks.size(), 2u);
}

TEST(ShippedDefinitions, RefillingSoilLooksUnlikeSoilThatStaysOpen) {
    const ProfileData& d = ShippedDefinitions();
    std::set<int> refilling, staying;
    for (int type = 1; type < 256; ++type) {
        if (!ProfileFlag(d, section(type), "Dig", "FALSE")) continue;
        const bool refills = ProfileFlag(d, section(type), "Recover", "FALSE");
        std::set<int>& looks = refills ? refilling : staying;
        for (int side = 0; side < 6; ++side) looks.insert(faceTexture(d, type, side));
        // Its crumbling keeps its look.
        const int dig = ProfileInt(d, section(type), "DigAnim", 0);
        EXPECT_EQ(family(mesh1(d, dig)), refills ? "dig_rooted" : "dig") << type;
    }
    ASSERT_FALSE(refilling.empty());
    ASSERT_FALSE(staying.empty());
    for (const int texture : refilling) EXPECT_EQ(staying.count(texture), 0u) << texture;
}
