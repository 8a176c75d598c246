// The catalogue of the user's levels folder: loose levels, packs in their
// order, and every kind of damage kept with its reason; a pack's own
// definitions taken by its levels; best times kept apart by pack.
#include "formats/level_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "formats/definitions.h"
#include "formats/level_file.h"
#include "formats/pack_ini.h"
#include "formats/records_file.h"
#include "platform/message_box.h"
#include "support/data_set.h"
#include "support/test_support.h"

namespace {

std::vector<std::uint8_t> levelBytes(const std::string& description, const std::string& author) {
    LevelData level;
    level.sizeX = level.sizeY = level.sizeZ = 2;
    level.cells.assign(8, 0);
    level.brightness.assign(8, 100);
    level.state.definitionFile = EditorDefinitionFile();
    level.state.description = description;
    level.state.author = author;
    return EncodeLevel(level);
}

std::vector<std::string> namesOf(const LevelSet& set) {
    std::vector<std::string> names;
    for (const CatalogueLevel& level : set.levels)
        names.push_back(level.name + (level.problem.empty() ? "" : " (" + level.problem + ")"));
    return names;
}

class LevelCatalogue : public ::testing::Test {
  protected:
    std::string level(const std::string& relative, const std::string& description,
                      const std::string& author = "") {
        return levels.write(relative, levelBytes(description, author));
    }
    TempDir levels;
};

} // namespace

TEST(LevelDisplayName, DescriptionBeforeTheColonElseTheFileName) {
    EXPECT_EQ(LevelDisplayName("FIRST STEPS: WALK INTO THE GOLD", "LEVEL\\01.lev"), "FIRST STEPS");
    EXPECT_EQ(LevelDisplayName("  NO HINT  ", "x.lev"), "NO HINT");
    EXPECT_EQ(LevelDisplayName(": only a hint", "/a/b/07-caves.lev"), "07-caves");
    EXPECT_EQ(LevelDisplayName("", ".lev"), ".lev");
}

TEST_F(LevelCatalogue, LooseLevelsThenPacksInFolderOrder) {
    level("b.lev", "BEE: hint", "Bo");
    level("a.LEV", "");
    levels.write("notes.txt", "not a level");
    levels.write(".hidden.lev", "ignored");
    // A pack without pack.ini: every level file, in file-name order.
    level("zeta/02.lev", "SECOND");
    level("zeta/01.lev", "FIRST");
    // A pack with its order; a file the order leaves out is not played.
    level("alpha/intro.lev", "INTRO", "Anne");
    level("alpha/deeper.lev", "DEEPER", "Anne");
    level("alpha/draft.lev", "DRAFT");
    levels.write("alpha/PACK.INI",
                 "[Pack]\nname=Caves\nauthor=Anne\norder=deeper.lev, INTRO.lev\n");

    const std::vector<LevelSet> sets = ScanLevelsFolder(levels.path().string());
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].kind, kSetLoose);
    EXPECT_EQ(sets[0].title, "MY LEVELS");
    EXPECT_EQ(namesOf(sets[0]), (std::vector<std::string>{"a", "BEE"}));
    EXPECT_EQ(sets[0].levels[1].author, "Bo");
    EXPECT_EQ(sets[1].title, "Caves");
    EXPECT_EQ(sets[1].author, "Anne");
    EXPECT_EQ(namesOf(sets[1]), (std::vector<std::string>{"DEEPER", "INTRO"}));
    EXPECT_EQ(std::filesystem::path(sets[1].levels[1].path).filename(), "intro.lev");
    EXPECT_EQ(sets[2].title, "zeta");
    EXPECT_EQ(namesOf(sets[2]), (std::vector<std::string>{"FIRST", "SECOND"}));
    for (const LevelSet& set : sets) EXPECT_TRUE(set.problem.empty()) << set.title;
}

TEST_F(LevelCatalogue, DamageIsKeptWithItsReason) {
    level("broken/01.lev", "FINE");
    levels.write("broken/pack.ini", "name=Broken\njust words\n");
    levels.write("empty/readme.txt", "no levels here");
    level("mixed/01.lev", "GOOD");
    levels.write("mixed/02.lev", std::vector<std::uint8_t>(10, 1));
    level("ordered/01.lev", "ONE");
    levels.write("ordered/pack.ini", "order=01.lev,gone.lev\n");
    level("nobank/01.lev", "ONE");
    levels.write("nobank/standard.BNK", "[General]\nFogRed=1\n");
    level("badbank/01.lev", "ONE");
    levels.write("badbank/Standard.bnk", "[General]\nTexture=/etc/passwd\n");

    const std::vector<LevelSet> sets = ScanLevelsFolder(levels.path().string());
    ASSERT_EQ(sets.size(), 6u);
    const auto problem = [&](std::size_t i) { return sets[i].title + ": " + sets[i].problem; };
    EXPECT_EQ(problem(0), "badbank: damaged definitions: the texture bank /etc/passwd is missing");
    EXPECT_EQ(problem(1), "broken: damaged pack.ini line 2: neither a key nor a section");
    EXPECT_TRUE(sets[1].levels.empty());
    EXPECT_EQ(problem(2), "empty: no levels in the pack");
    EXPECT_EQ(problem(4), "nobank: damaged definitions: Standard.bnk names no texture bank");
    EXPECT_EQ(NextPlayableLevel(sets[4], 0), -1);

    EXPECT_EQ(problem(3), "mixed: ");
    EXPECT_EQ(namesOf(sets[3]), (std::vector<std::string>{"GOOD", "02 (damaged level file)"}));
    EXPECT_EQ(namesOf(sets[5]),
              (std::vector<std::string>{"ONE", "gone (missing level file: gone.lev)"}));
    EXPECT_EQ(NextPlayableLevel(sets[5], 1), -1);
    EXPECT_EQ(NextPlayableLevel(sets[3], 0), 0);
}

TEST_F(LevelCatalogue, AMissingOrOversizedFolderOrPackIniIsHandled) {
    EXPECT_TRUE(ScanLevelsFolder(levels.file("nowhere")).empty());
    EXPECT_TRUE(ScanLevelsFolder("").empty());
    level("big/01.lev", "ONE");
    levels.write("big/pack.ini", std::string(kPackIniLimit + 1, ';'));
    const std::vector<LevelSet> sets = ScanLevelsFolder(levels.path().string());
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].problem, "damaged pack.ini: larger than 64 KiB");
}

TEST_F(LevelCatalogue, APacksOwnDefinitionsAreLoadedForItsLevels) {
    TempDir data;
    WriteMiniDataSet(data);
    ScopedCurrentDir inData(data.path());
    ForgetDefinitions();
    // The pack's definitions use the data folder's bank and meshes.
    const std::string own = levels.write(
        "pack/STANDARD.BNK",
        std::string(reinterpret_cast<const char*>(ReadBytes(data.file(kDefinitionFile)).data()),
                    ReadBytes(data.file(kDefinitionFile)).size()));
    const std::string inPack = level("pack/01.lev", "ONE");
    const std::string loose = level("02.lev", "TWO");
    EXPECT_EQ(OwnDefinitionFile(inPack), own);
    EXPECT_EQ(OwnDefinitionFile(loose), "");
    EXPECT_EQ(OwnDefinitionFile("LEVEL\\01.lev"), "");

    LevelLoad load = LoadLevel(inPack, "Low");
    EXPECT_EQ(load.result, kLevelLoaded) << load.error;
    EXPECT_TRUE(load.ownDefinitions);
    EXPECT_EQ(LoadedDefinitionFile(), own);
    load = LoadLevel(loose, "Low");
    EXPECT_EQ(load.result, kLevelLoaded) << load.error;
    EXPECT_FALSE(load.ownDefinitions);
    EXPECT_EQ(LoadedDefinitionFile(), EditorDefinitionFile());

    // Own definitions that fail say so, and the caller can tell them apart.
    levels.write("pack/STANDARD.BNK", "[General]\nTexture=nothere.txt\n");
    SetMessageBoxHandler([](const std::string&) {});
    load = LoadLevel(inPack, "Low");
    SetMessageBoxHandler(nullptr);
    EXPECT_EQ(load.result, kLevelDefinitionsFailed);
    EXPECT_TRUE(load.ownDefinitions);
    ForgetDefinitions();
}

TEST(LevelRecordName, PacksKeepApartAndTheCampaignKeepsItsNames) {
    EXPECT_EQ(LevelRecordName("LEVEL\\01-First.lev"), "01-first");
    EXPECT_EQ(LevelRecordName("/home/a/levels/caves/01.lev"), "caves--01");
    EXPECT_EQ(LevelRecordName("/home/a/levels/Pit.v2/01.lev"), "pit_v2--01");
    EXPECT_NE(LevelRecordName("/home/a/levels/one/01.lev"),
              LevelRecordName("/home/a/levels/two/01.lev"));
    EXPECT_EQ(LevelRecordName("/01.lev"), "01");
    // Whatever the folders, the name stays safe as a file name and a key.
    const std::string odd = LevelRecordName("/x/../a b/..lev");
    EXPECT_EQ(odd.find_first_of("/\\. "), std::string::npos) << odd;
    EXPECT_EQ(RecordName(odd), odd);
}
