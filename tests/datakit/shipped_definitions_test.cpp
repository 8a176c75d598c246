// Standard.bnk and game.dat as shipped: every cross-reference between types
// lands on a type that can play its part, and the credits survive the trip
// through the scrambled file.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "definitions_credits.h"
#include "formats/definitions.h"
#include "platform/scramble_text.h"
#include "shipped_data.h"
#include "support/test_support.h"

namespace {

std::string section(int i) {
    return "Object " + std::to_string(i);
}

bool defined(const ProfileData& d, int i) {
    return i > 0 && i < 256 && !ProfileString(d, section(i), "Cube", "").empty();
}

bool flag(const ProfileData& d, int i, const char* key) {
    return ProfileFlag(d, section(i), key, "FALSE");
}

int number(const ProfileData& d, int i, const char* key) {
    return ProfileInt(d, section(i), key, 0);
}

bool hasMeshes(const ProfileData& d, int i) {
    return !ProfileString(d, section(i), "Mesh1", "").empty();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

} // namespace

TEST(ShippedDefinitions, NoSectionOrKeyIsGivenTwice) {
    // The reader silently keeps the first of two equal keys, so a repeated
    // key is always a mistake in the file.
    const std::string text = ReadSourceFile({{}, DataSources()}, kDefinitionFile);
    std::set<std::string> sections, keys;
    std::string current;
    for (std::string line : lines(text)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            current = line;
            EXPECT_TRUE(sections.insert(current).second) << current << " twice";
            continue;
        }
        const std::string key = current + " " + line.substr(0, line.find('='));
        EXPECT_TRUE(keys.insert(key).second) << key << " twice";
    }
}

TEST(ShippedDefinitions, TypeReferencesLandOnTypesThatPlayThePart) {
    const ProfileData& d = ShippedDefinitions();
    ASSERT_TRUE(defined(d, 1) && flag(d, 1, "Cube")) << "type 1 is the floor cube";
    ASSERT_TRUE(defined(d, 20) && flag(d, 20, "Lingot")) << "type 20 is the ingot";
    int levers = 0, doors = 0, diggers = 0, keys = 0;
    for (int i = 1; i < 256; ++i) {
        if (!defined(d, i)) continue;
        if (flag(d, i, "Lever")) {
            ++levers;
            EXPECT_TRUE(defined(d, number(d, i, "LeverAnim")) &&
                        hasMeshes(d, number(d, i, "LeverAnim")))
                << i;
            EXPECT_TRUE(defined(d, number(d, i, "LeverOpen"))) << i;
            EXPECT_FALSE(flag(d, number(d, i, "LeverOpen"), "Lever")) << i << " would turn again";
            EXPECT_TRUE(flag(d, number(d, i, "LeverDoor"), "Door")) << i;
        }
        if (flag(d, i, "Door")) {
            ++doors;
            EXPECT_TRUE(hasMeshes(d, ProfileInt(d, section(i), "AnimDoor", i))) << i;
            const int open = ProfileInt(d, section(i), "DoorOpen", i);
            const bool passable =
                open == 0 ||
                (defined(d, open) && !ProfileFlag(d, section(open), "Collision", "TRUE"));
            EXPECT_TRUE(passable) << i << ": an open door must let the hero through";
        }
        if (flag(d, i, "Lingot")) {
            EXPECT_TRUE(flag(d, number(d, i, "LingotDoor"), "Door")) << i;
        }
        if (flag(d, i, "Dig")) {
            ++diggers;
            EXPECT_TRUE(hasMeshes(d, number(d, i, "DigAnim"))) << i;
            if (flag(d, i, "Recover")) {
                EXPECT_TRUE(hasMeshes(d, number(d, i, "RecoverAnim"))) << i;
            }
        }
        if (flag(d, i, "BlockKey")) {
            ++keys;
            EXPECT_TRUE(flag(d, i, "CanPush")) << i;
            const int sensor = number(d, i, "BlockKeySensor");
            ASSERT_TRUE(defined(d, sensor)) << i;
            EXPECT_TRUE(ProfileFlag(d, section(sensor), "Collision", "TRUE"))
                << "the key block rests on its sensor";
            EXPECT_TRUE(flag(d, number(d, sensor, "BlockSensorDoor"), "Door")) << sensor;
        }
    }
    EXPECT_GE(levers, 1);
    EXPECT_GE(doors, 3);
    EXPECT_GE(diggers, 2);
    EXPECT_GE(keys, 1);
}

TEST(ShippedDefinitions, CollidingMeshTypesHaveBoxesThatCanBeStoodOn) {
    // A colliding box with no width along x or z divides by zero when its
    // top is looked up; a box left to the mesh would depend on how it is drawn.
    const ProfileData& d = ShippedDefinitions();
    for (int i = 1; i < 256; ++i) {
        if (!defined(d, i) || flag(d, i, "Cube")) continue;
        if (!ProfileFlag(d, section(i), "Collision", "TRUE") && !flag(d, i, "Death") &&
            !flag(d, i, "Ladder"))
            continue;
        const int xmin = ProfileInt(d, section(i), "Xmin", 999);
        const int xmax = ProfileInt(d, section(i), "Xmax", 999);
        const int zmin = ProfileInt(d, section(i), "Zmin", 999);
        const int zmax = ProfileInt(d, section(i), "Zmax", 999);
        const int ymin = ProfileInt(d, section(i), "Ymin", 999);
        ASSERT_NE(xmin, 999) << i;
        ASSERT_NE(xmax, 999) << i;
        ASSERT_NE(zmin, 999) << i;
        ASSERT_NE(zmax, 999) << i;
        ASSERT_NE(ymin, 999) << i;
        EXPECT_LT(xmin, xmax) << i;
        EXPECT_LT(zmin, zmax) << i;
        EXPECT_GE(xmin, -256) << i;
        EXPECT_LE(xmax, 255) << i;
        EXPECT_GE(zmin, -256) << i;
        EXPECT_LE(zmax, 255) << i;
    }
}

TEST(Credits, LinesCarryTheirFontMarkerScrambledWithATrailingSpareLine) {
    const std::string encoded = EncodeCredits("&BIG\nsmall\n; a comment\n\n");
    const auto out = lines(encoded);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(ScrambleText(out[0]), "&BIG");
    EXPECT_EQ(ScrambleText(out[1]), " small");
    EXPECT_EQ(ScrambleText(out[2]), " ");
    EXPECT_EQ(ScrambleText(out[3]), " ");
    EXPECT_EQ(out[0], "'@JC");
    EXPECT_EQ(encoded.back(), '\n');
}

TEST(Credits, RefusesWhatTheGameCouldNotShow) {
    EXPECT_THROW(EncodeCredits("ok\nTAB\there\n"), std::runtime_error);
    // Byte 42 of a line is exclusive-or 42: a space there becomes a line break.
    EXPECT_THROW(EncodeCredits(std::string(40, 'A') + " B\n"), std::runtime_error);
    // Byte 256 is exclusive-or 0 and byte 257 exclusive-or 1.
    EXPECT_EQ(ScrambleText(std::string(257, 'A')).substr(255), "A@");
}

TEST(Credits, ShippedCreditsRoundTrip) {
    const std::string source = ReadSourceFile({{}, DataSources()}, "credits.txt");
    const auto out = lines(EncodeCredits(source));
    ASSERT_GT(out.size(), 10u);
    int big = 0;
    for (const std::string& line : out) {
        const std::string plain = ScrambleText(line);
        ASSERT_FALSE(plain.empty());
        EXPECT_TRUE(plain[0] == '&' || plain[0] == ' ') << plain;
        if (plain[0] == '&') ++big;
    }
    EXPECT_GE(big, 5);
}
