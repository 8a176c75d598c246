// The whole data kit run into one folder: the colour cache, and the
// definitions loading from the generated files as the game loads them.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>

#include "engine/bank_file.h"
#include "engine/blend_cache.h"
#include "engine/mesh.h"
#include "engine/pcx.h"
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
        GenerateDataSet(DataKit{dir.path(), DataSources()});
        return true;
    }();
    (void)generated;
    return dir;
}

std::string upperExtension(const fs::path& file) {
    std::string extension = file.extension().string();
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension;
}

bool startsWith(const std::vector<std::uint8_t>& bytes, std::size_t offset, const char* text) {
    const std::size_t length = std::strlen(text);
    return bytes.size() >= offset + length &&
           std::equal(text, text + length, bytes.begin() + static_cast<std::ptrdiff_t>(offset));
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

    const ScopedCurrentDir inside(dir.path());
    const MessageLog messages;
    ForgetDefinitions();
    EXPECT_TRUE(LoadDefinitions(kDefinitionFile, "High"));
    EXPECT_EQ(messages.text(), "");
    ForgetDefinitions();
}

TEST(ShippedDataSet, EveryNamedSoundAndMusicFileIsGenerated) {
    const TempDir& dir = wholeKit();

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
        // CD track n plays the file CDAUDIO/TRACKnn.WAV.
        if (music.rfind("CDAUDIO_", 0) == 0)
            files.push_back("CDAUDIO/TRACK" + music.substr(8) + ".WAV");
        else if (!music.empty())
            files.push_back(music);
        const std::string clip =
            ProfileString(d, "General", "Music" + std::to_string(i) + "Video", "");
        if (!clip.empty()) files.push_back(clip);
    }
    for (const std::string& file : files) EXPECT_TRUE(fs::exists(dir.path() / file)) << file;
}

TEST(ShippedDataSet, EveryFileIsReadByTheReaderOfItsKind) {
    const TempDir& dir = wholeKit();
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const fs::path& path = entry.path();
        const std::string name = fs::relative(path, dir.path()).string();
        const std::string extension = upperExtension(path);
        const std::vector<std::uint8_t> bytes = ReadBytes(path.string());
        std::string error;
        if (extension == ".3DO") {
            const Loaded<Mesh> mesh = ParseMeshBytes(bytes);
            EXPECT_TRUE(mesh) << name << ": " << mesh.error;
        } else if (extension == ".PCX") {
            PcxImage image;
            EXPECT_TRUE(DecodePcx(bytes, image, &error)) << name << ": " << error;
        } else if (extension == ".LEV") {
            EXPECT_TRUE(ParseLevel(bytes.data(), bytes.size())) << name;
        } else if (extension == ".WAV") {
            EXPECT_TRUE(startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "WAVE")) << name;
        } else if (extension == ".MID") {
            EXPECT_TRUE(startsWith(bytes, 0, "MThd")) << name;
        } else if (extension == ".MOD") {
            EXPECT_TRUE(startsWith(bytes, 1080, "M.K.")) << name;
        } else if (extension == ".AVI") {
            EXPECT_TRUE(startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "AVI ")) << name;
        } else if (extension == ".POT") {
            EXPECT_EQ(bytes.size(), kBlendTableBytes) << name;
        } else if (extension == ".TXT") {
            const std::string text(bytes.begin(), bytes.end());
            EXPECT_FALSE(ParseBankText(text).images.empty()) << name;
        } else if (name == kDefinitionFile || name == "game.dat") {
            EXPECT_FALSE(bytes.empty()) << name;
        } else {
            ADD_FAILURE() << "a file of no known kind: " << name;
        }
    }
    EXPECT_GT(files, 150);
}
