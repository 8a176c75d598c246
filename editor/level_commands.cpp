#include "editor/level_commands.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "editor/autosave.h"
#include "editor/cell_commands.h"
#include "editor/edit_history.h"
#include "editor/editor_state.h"
#include "editor/level_check.h"
#include "editor/level_files.h"
#include "editor/number_answer.h"
#include "editor/recent_files.h"
#include "editor/region_select.h"
#include "formats/definitions.h"
#include "formats/level_file.h"
#include "platform/files.h"
#include "platform/text_case.h"
#include "platform/text_codepage.h"
#include "world/level_start.h"
#include "world/random.h"
#include "world/sentry_init.h"
#include "world/world.h"

namespace {

constexpr std::size_t kMaxText = 255;

bool allocateNewGrid(std::int32_t x, std::int32_t y, std::int32_t z) {
    if (std::int64_t{x} * y * z > kMaxEditorCells) return false;
    return ResizeWorldGrid(x, y, z);
}

// Asks until the answer is a number or empty. Nothing for Cancel, an empty
// answer or a number too large (which is said).
std::optional<std::int32_t> askNumber(const std::string& caption, const std::string& prompt,
                                      const std::string& initial, const std::string& notNumber) {
    for (;;) {
        const std::optional<std::string> answer = AskText(caption, prompt, initial);
        if (!answer) return std::nullopt;
        const NumberAnswer number = ParseNumberAnswer(*answer);
        switch (number.kind) {
        case NumberKind::Empty:
            return std::nullopt;
        case NumberKind::NotNumber:
            ShowEditorMessage(notNumber);
            continue;
        case NumberKind::TooLarge:
            ShowEditorMessage(TooLargeNumberText(*answer));
            return std::nullopt;
        case NumberKind::Value:
            return number.value;
        }
    }
}

void waitForNoKeys() {
    if (editorServices.waitForNoKeys) editorServices.waitForNoKeys();
}

// A fresh start for the history and the modified flag; the autosave of the
// level that was replaced is not wanted any more.
void levelReplaced() {
    ClearHistory(editor.history);
    ClearSelection();
    editor.modified = false;
    RemoveAutosave();
}

// The level file holds its texts one byte a character (Windows-1252): the
// field is shown in UTF-8 and the answer converted back, cut to 255
// characters. An answer with characters the file cannot hold is refused with
// their names, and the prompt returns with it.
void editText(std::string& field, const std::string& caption, const std::string& prompt) {
    std::string shown = Cp1252ToUtf8(field);
    Cp1252Text text;
    for (;;) {
        const std::optional<std::string> answer = AskText(caption, prompt, shown);
        if (!answer) return;
        text = Utf8ToCp1252(*answer);
        if (text.refused.empty()) break;
        ShowEditorMessage("The level file cannot hold these characters: " +
                          RefusedCharactersText(text.refused));
        shown = *answer;
    }
    EditStep step;
    step.metaBefore = CaptureLevelMeta();
    field = text.bytes.substr(0, kMaxText);
    step.metaAfter = CaptureLevelMeta();
    RecordStep(editor.history, std::move(step), false);
    editor.modified = !HistoryAtSavedState(editor.history);
    waitForNoKeys();
}

void editNumber(const std::string& caption, const std::string& prompt, std::int32_t current,
                void (*apply)(std::int32_t)) {
    const std::optional<std::int32_t> value =
        askNumber(caption, prompt, std::to_string(current), "You must enter a positive number.");
    if (!value) return;
    EditStep step;
    step.metaBefore = CaptureLevelMeta();
    apply(*value);
    InitSentries();
    step.metaAfter = CaptureLevelMeta();
    RecordStep(editor.history, std::move(step), false);
    editor.modified = !HistoryAtSavedState(editor.history);
    waitForNoKeys();
}

// The definitions a level names, loaded for the editor with the texturing
// the author chose; on failure the previous ones are loaded again and false
// is returned.
bool loadLevelDefinitions(const std::string& name) {
    const std::string previous = LoadedDefinitionFile();
    if (!previous.empty() && EqualNoCase(previous, name)) return true;
    if (LoadDefinitions(name, editor.detail)) return true;
    ForgetDefinitions();
    if (!previous.empty()) (void)LoadDefinitions(previous, editor.detail);
    return false;
}

} // namespace

std::int32_t DrawNewLevelSeed() {
    const std::uint32_t sentrySequence = RandomSeedValue();
    SeedRandom(editor.newLevelSeeds);
    const std::int32_t seed = RandomInt(32767);
    editor.newLevelSeeds = RandomSeedValue();
    SeedRandom(sentrySequence);
    return seed;
}

void MakeNewLevel(std::int32_t sizeX, std::int32_t sizeY, std::int32_t sizeZ) {
    sizeX = std::max(sizeX, 1);
    sizeY = std::max(sizeY, 1);
    sizeZ = std::max(sizeZ, 1);
    if (!allocateNewGrid(sizeX, sizeY, sizeZ)) {
        ShowEditorMessage("Not enough memory.");
        sizeX = sizeY = sizeZ = 20;
        (void)ResizeWorldGrid(sizeX, sizeY, sizeZ);
    }
    std::fill(worldGrid.cells.begin(), worldGrid.cells.end(), 0);
    std::fill(worldGrid.brightness.begin(), worldGrid.brightness.end(), 128);
    for (int z = 0; z < sizeZ; ++z)
        for (int x = 0; x < sizeX; ++x)
            worldGrid.cells[static_cast<std::size_t>(x + std::int64_t{sizeX} * sizeY * z)] = 1;
    RecountIngots();
    ClearWorldLists();
    for (MusicZone& zone : levelState.musicZones) zone = MusicZone{};
    levelState.definitionFile = EditorDefinitionFile();
    levelState.startX = sizeX / 2;
    levelState.startY = 1;
    levelState.startZ = sizeZ / 2;
    levelState.startHeading = 0;
    levelState.exitX = -(sizeX / 2);
    levelState.exitY = 1;
    levelState.exitZ = -(sizeZ / 2);
    levelState.randomSeed = DrawNewLevelSeed();
    PlaceSelectorAt({sizeX / 2, 1, sizeZ / 2});
}

void StartEditorLevel() {
    MakeNewLevel(100, 100, 100);
    for (MusicZone& zone : levelState.musicZones) zone = MusicZone{};
    sentryCount = 0;
    levelState.randomSeed = 0;
    InitSentries();
    editor.target.heading = editor.shown.heading = 0;
    levelState.startX = 50;
    levelState.startY = 1;
    levelState.startZ = 50;
    levelState.exitX = -50;
    levelState.exitY = 1;
    levelState.exitZ = -50;
    levelState.outside = 1;
    editor.fileName.clear();
    levelReplaced();
}

bool ConfirmDiscardChanges() {
    if (!editor.modified) return true;
    const std::string name = editor.fileName.empty() ? "Untitled" : editor.fileName;
    switch (AskSaveChanges("Save changes to " + name + "?")) {
    case SaveAnswer::Yes:
        return SaveCommand();
    case SaveAnswer::No:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool NewLevelCommand() {
    if (!ConfirmDiscardChanges()) return false;
    static const char* const kPrompts[3] = {
        "Please enter the width (X) in cells of the new map",
        "Please enter the Height (Y) in cells of the new map",
        "Please enter the Depth (Z) in cells of the new map",
    };
    std::int32_t sizes[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<std::int32_t> value =
            askNumber("Level dimensions", kPrompts[i], "", "You must enter a number.");
        if (!value) return false;
        sizes[i] = *value;
    }
    // A level loaded before may have brought other definitions.
    const std::string& loaded = LoadedDefinitionFile();
    if (!loaded.empty() && !loadLevelDefinitions(EditorDefinitionFile())) {
        ShowEditorMessage("The file " + EditorDefinitionFile() + " is missing or invalid.");
        return false;
    }
    MakeNewLevel(sizes[0], sizes[1], sizes[2]);
    InitSentries();
    levelReplaced();
    waitForNoKeys();
    return true;
}

namespace {

bool loadLevelFile(const std::string& path) {
    const Loaded<LevelData> level = ReadLevelFile(path);
    if (!level) {
        ShowEditorMessage(level.error);
        return false;
    }
    if (!IsDataFileName(level->state.definitionFile) ||
        !loadLevelDefinitions(level->state.definitionFile) || !ApplyLevel(*level)) {
        ShowEditorMessage(LevelErrorText(path));
        return false;
    }
    editor.fileName = path;
    PlaceSelectorAt({levelState.startX, levelState.startY, levelState.startZ});
    editor.target.heading = editor.shown.heading = static_cast<float>(levelState.startHeading);
    levelReplaced();
    return true;
}

} // namespace

bool LoadEditorLevel(const std::string& path) {
    if (!loadLevelFile(path)) return false;
    editor.recentFiles = AddRecentFile(path);
    return true;
}

bool RestoreEditorLevel(const std::string& file, const std::string& originalName) {
    if (!loadLevelFile(file)) return false;
    editor.fileName = originalName;
    // Unsaved until saved: no undo step brings the restored level back to a saved one.
    editor.history.savedPosition = kNoSavedStep;
    editor.modified = true;
    return true;
}

void LoadLevelCommand() {
    if (!ConfirmDiscardChanges()) return;
    if (const std::optional<std::string> path = ChooseLevelFile(false)) LoadEditorLevel(*path);
}

void OpenRecentCommand(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        ShowEditorMessage(LevelErrorText(path));
        editor.recentFiles = DropRecentFile(path);
        return;
    }
    if (!ConfirmDiscardChanges()) return;
    LoadEditorLevel(path);
}

std::string LevelFileArgument(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.front().empty() || arguments.front().rfind("--", 0) == 0)
        return "";
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(arguments.front(), ec);
    return ec ? arguments.front() : path.string();
}

std::vector<std::uint8_t> EncodeEditorLevel() {
    LevelData level = CurrentLevel();
    // A loaded level keeps the definitions it names.
    if (!levelState.definitionFile.empty()) level.state.definitionFile = levelState.definitionFile;
    return EncodeLevel(level);
}

bool SaveEditorLevel(const std::string& path) {
    if (!KeepBackup(path)) {
        ShowEditorMessage("The backup " + BackupName(path) + " could not be written, so the file " +
                          path + " was not saved.");
        return false;
    }
    if (!WriteLevelBytes(path, EncodeEditorLevel())) {
        ShowEditorMessage("The file " + path + " could not be written.");
        return false;
    }
    editor.fileName = path;
    MarkHistorySaved(editor.history);
    editor.modified = false;
    editor.warnings = CheckLevel();
    RemoveAutosave();
    editor.recentFiles = AddRecentFile(path);
    return true;
}

bool SaveAsCommand() {
    for (;;) {
        const std::optional<std::string> path = ChooseLevelFile(true);
        if (!path) return false;
        // A folder's name is not asked about: writing there fails and says so.
        std::error_code ec;
        if (!std::filesystem::exists(*path, ec) || std::filesystem::is_directory(*path, ec))
            return SaveEditorLevel(*path);
        switch (AskQuestion("The file " + *path + " already exists. Replace it?")) {
        case SaveAnswer::Yes:
            return SaveEditorLevel(*path);
        case SaveAnswer::No:
            continue; // another name
        case SaveAnswer::Cancel:
            return false;
        }
    }
}

bool SaveCommand() {
    if (editor.fileName.empty()) return SaveAsCommand();
    return SaveEditorLevel(editor.fileName);
}

void LevelDescriptionCommand() {
    editText(levelState.description, "Level description", "Please enter a short level description");
}

void LevelAuthorCommand() {
    editText(levelState.author, "Level author", "please enter the level author");
}

void NumberOfSentriesCommand() {
    editNumber("Number of Sentries", "Please enter the number of ennemies (0..255)", sentryCount,
               [](std::int32_t value) { sentryCount = std::min(value, kMaxLevelSentries); });
}

void RandomSeedCommand() {
    editNumber("Random Seed", "Please enter a number between 0 and 32767", levelState.randomSeed,
               [](std::int32_t value) { levelState.randomSeed = value; });
}

std::string EditorCaption() {
    return editor.fileName.empty() ? "Kelvane - Level Editor"
                                   : "Kelvane - Level Editor - " + editor.fileName;
}
