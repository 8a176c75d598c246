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

// The whole kit, generated once for the tests that need all of it.
const TempDir& wholeKit() {
    static const TempDir dir;
    static const bool generated = [] {
        const DataKit kit{dir.path(), DataSources()};
        GenerateTextures(kit);
        GenerateInterface(kit);
        GenerateMeshes(kit);
        GenerateSounds(kit);
        GenerateMusic(kit);
        GenerateDefinitions(kit);
        GenerateLevels(kit);
        GenerateColourCache(kit);
        return true;
    }();
    (void)generated;
    return dir;
}

bool hasFileEndingIn(const fs::path& folder, const std::string& ending) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() >= ending.size() &&
            name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    }
    return false;
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
    const TempDir& dir = wholeKit();
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
    const TempDir& dir = wholeKit();
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
        // The game skips a missing clip; clips are checked once any is made.
        const std::string clip =
            ProfileString(d, "General", "Music" + std::to_string(i) + "Video", "");
        if (!clip.empty() && hasFileEndingIn(dir.path() / "MUSIC", ".AVI")) files.push_back(clip);
    }
    for (const std::string& file : files) EXPECT_TRUE(fs::exists(dir.path() / file)) << file;
}
