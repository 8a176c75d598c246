// The whole data kit run into one folder: the colour cache, and the
// definitions loading from the generated files as the game loads them.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/blend_cache.h"
#include "formats/definitions.h"
#include "platform/message_box.h"
#include "shipped_data.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

void generateAll(const DataKit& kit) {
    GenerateTextures(kit);
    GenerateInterface(kit);
    GenerateMeshes(kit);
    GenerateSounds(kit);
    GenerateMusic(kit);
    GenerateDefinitions(kit);
    GenerateLevels(kit);
    GenerateColourCache(kit);
}

class MessageLog {
  public:
    MessageLog() {
        SetMessageBoxHandler([this](const std::string& text) { text_ += text + "\n"; });
    }
    ~MessageLog() { SetMessageBoxHandler(nullptr); }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

} // namespace

TEST(ShippedDataSet, ColourCacheIsRebuiltForTheGeneratedPalette) {
    TempDir dir;
    const DataKit kit{dir.path(), DataSources()};
    // Without a bank there is nothing to cache, and no error.
    EXPECT_NO_THROW(GenerateColourCache(kit));
    EXPECT_FALSE(fs::exists(dir.path() / "TEXTURES/KELVANE.POT"));

    GenerateTextures(kit);
    if (!fs::exists(dir.path() / "TEXTURES/KELVANE.TXT")) GTEST_SKIP() << "no textures yet";
    GenerateColourCache(kit);
    const auto fresh = ReadBytes(dir.file("TEXTURES/KELVANE.POT"));
    ASSERT_EQ(fresh.size(), kBlendTableBytes);

    // A cache of the right size left from another palette would be taken as
    // it is: the kit replaces it.
    dir.write("TEXTURES/KELVANE.POT", std::vector<std::uint8_t>(kBlendTableBytes, 7));
    GenerateColourCache(kit);
    EXPECT_EQ(ReadBytes(dir.file("TEXTURES/KELVANE.POT")), fresh);
}

TEST(ShippedDataSet, DefinitionsLoadFromTheGeneratedFiles) {
    TempDir dir;
    generateAll({dir.path(), DataSources()});
    if (!fs::exists(dir.path() / "3DO/GAME/hero.3do") ||
        !fs::exists(dir.path() / "TEXTURES/KELVANE.TXT"))
        GTEST_SKIP() << "meshes or textures not generated yet";

    const ScopedCurrentDir inside(dir.path());
    const MessageLog messages;
    ForgetDefinitions();
    EXPECT_TRUE(LoadDefinitions("Standard.bnk", "High"));
    EXPECT_EQ(messages.text(), "");
    ForgetDefinitions();
}

TEST(ShippedDataSet, EveryNamedSoundAndMusicFileIsGenerated) {
    TempDir dir;
    generateAll({dir.path(), DataSources()});
    if (!fs::exists(dir.path() / "SOUNDS") || !fs::exists(dir.path() / "MUSIC"))
        GTEST_SKIP() << "sounds or music not generated yet";

    const ProfileData& d = ShippedDefinitions();
    std::vector<std::string> files;
    for (const char* key :
         {"StepSound", "HurtSound", "DeathSound", "Ennemy_SeenSound", "Ennemy_LostSound"})
        files.push_back(ProfileString(d, "General", key, ""));
    for (int i = 0; i < 256; ++i) {
        const std::string section = "Object " + std::to_string(i);
        for (const char* key : {"ActionSound", "LoopSound"}) {
            const std::string file = ProfileString(d, section, key, "");
            if (!file.empty()) files.push_back(file);
        }
        const std::string music = ProfileString(d, "General", "Music" + std::to_string(i), "");
        if (!music.empty() && music.rfind("CDAUDIO_", 0) != 0) files.push_back(music);
        const std::string clip =
            ProfileString(d, "General", "Music" + std::to_string(i) + "Video", "");
        if (!clip.empty()) files.push_back(clip);
    }
    for (const std::string& file : files) EXPECT_TRUE(fs::exists(dir.path() / file)) << file;
}
