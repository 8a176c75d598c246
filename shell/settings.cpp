#include "shell/settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "formats/definitions.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/scramble_text.h"
#include "platform/text_case.h"
#include "platform/user_data.h"
#include "shell/control_bindings.h"
#include "shell/display_options.h"
#include "shell/shell_state.h"
#include "shell/window_fit.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kLivesFactor = 100000;
constexpr std::int32_t kMaxSavedLives = 99;
constexpr SavedGame kNewGame{};

std::string programFolder() {
    if (!shellState.ProgramFolder.empty()) return shellState.ProgramFolder;
    std::error_code ec;
    return fs::current_path(ec).string();
}

std::string userSettingsPath() {
    if (const std::string config = UserConfigFolder(); !config.empty())
        return (fs::path(config) / kSettingsFile).string();
    // Nowhere else to go: the program folder, read-only or not.
    return (fs::path(programFolder()) / kSettingsFile).string();
}

const char* trueFalse(bool value) {
    return value ? "True" : "False";
}

// Writes the entries into the file at `path` (making the per-user folder when
// it is not there yet); a refusal is shown.
bool writeOrRefuse(const std::string& path, const std::vector<ProfileEntry>& entries) {
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty()) fs::create_directories(folder, ec);
    if (WriteProfileStrings(path, entries)) return true;
    ShowMessageBox("Ne peut écrire dans " + path);
    return false;
}

void readNicknameFrom(const ProfileData& profile) {
    if (shellState.Nickname.empty())
        shellState.Nickname = ProfileString(profile, "Network", "NickName", "");
    // As the nickname: a choice made in the lobby is not read over.
    if (!shellState.PortMapping)
        shellState.PortMapping =
            !EqualNoCase(ProfileString(profile, "Network", "PortMapping", "True"), "False");
}

std::int64_t squaredDistance(const WindowPlace& area, int x, int y) {
    const std::int64_t right = static_cast<std::int64_t>(area.left) + area.width - 1;
    const std::int64_t bottom = static_cast<std::int64_t>(area.top) + area.height - 1;
    const std::int64_t dx =
        x < area.left ? area.left - std::int64_t{x} : std::max<std::int64_t>(0, x - right);
    const std::int64_t dy =
        y < area.top ? area.top - std::int64_t{y} : std::max<std::int64_t>(0, y - bottom);
    return dx * dx + dy * dy;
}

} // namespace

std::string SettingsPath() {
    const std::string local = ResolvePath((fs::path(programFolder()) / kSettingsFile).string());
    if (FileReader::Open(local) && WritableByPermissionBits(local)) return local;
    return userSettingsPath();
}

GeneralSettings ReadGeneralSettings(const ProfileData& profile) {
    GeneralSettings g;
    g.place.top = ProfileInt(profile, "General", "Top", 100);
    g.place.left = ProfileInt(profile, "General", "Left", 100);
    g.place.width = ProfileInt(profile, "General", "Width", 320);
    g.place.height = ProfileInt(profile, "General", "Height", 240);
    g.resolution = ProfileInt(profile, "General", "Resolution", kDefaultResolution);
    g.fullScreen = ProfileFlag(profile, "General", "Fullscreen", "false");
    g.textures = ProfileFlag(profile, "General", "Texture", "true");
    g.integerScaling = ProfileFlag(profile, "General", "IntegerScaling", "false");
    const auto stored = [&profile](const char* key) {
        return ParseProfileInteger(ProfileString(profile, "General", key, "")).has_value();
    };
    g.sizeStored = stored("Width") && stored("Height");
    return g;
}

MixVolumes ReadSoundSettings(const ProfileData& profile) {
    const auto percent = [&profile](const char* key) {
        return std::clamp(ProfileInt(profile, "Sound", key, 100), 0, 100);
    };
    return MixVolumes{percent("MusicVolume"), percent("EffectsVolume")};
}

WindowPlace ClampWindowPlace(const WindowPlace& place, const std::vector<WindowPlace>& areas) {
    const WindowPlace* best = nullptr;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (const WindowPlace& area : areas) {
        if (area.width < 1 || area.height < 1) continue;
        const std::int64_t distance = squaredDistance(area, place.left, place.top);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &area;
        }
    }
    if (!best) return place;
    WindowPlace fitted;
    fitted.width = std::clamp(place.width, 1, best->width);
    fitted.height = std::clamp(place.height, 1, best->height);
    fitted.left = std::clamp(place.left, best->left, best->left + best->width - fitted.width);
    fitted.top = std::clamp(place.top, best->top, best->top + best->height - fitted.height);
    return fitted;
}

bool ReadSettings() {
    ShellState& s = shellState;
    const ProfileData profile = ReadProfile(SettingsPath());
    const GeneralSettings g = ReadGeneralSettings(profile);
    const std::vector<WindowPlace> areas = FormScreenAreas();
    WindowPlace place = g.place;
    if (!g.sizeStored && !areas.empty()) place = FirstWindowPlace(areas.front(), FormPixelRatio());
    PlaceForm(ClampWindowPlace(place, areas));
    readNicknameFrom(profile);
    s.IntegerScaling = g.integerScaling;
    SetFormIntegerScaling(g.integerScaling);
    SetPictureSize(PictureSizeForIndex(g.resolution));
    const std::string detail = g.textures ? "High" : "Low";
    const Loaded<> loaded = LoadDefinitions(kDefinitionFile, detail);
    if (!loaded) {
        ShowMessageBox(loaded.error);
        return false;
    }
    s.TextureDetail = detail;
    ApplyPicturePalette(); // the bank brought the game's palette
    if (g.fullScreen && CurrentPictureSize().width != kPictureSizes[0].width) {
        GoFullScreen();
        s.ExclusiveMode = true;
    }
    SetMixVolumes(ReadSoundSettings(profile));
    std::vector<std::string> complaints;
    controlBindings = ReadControlBindings(profile, complaints);
    for (const std::string& complaint : complaints) std::fprintf(stderr, "%s\n", complaint.c_str());
    s.SettingsRead = true;
    return true;
}

void ReadNickname() {
    if (shellState.Nickname.empty() || !shellState.PortMapping)
        readNicknameFrom(ReadProfile(SettingsPath()));
}

namespace {

std::vector<ProfileEntry> soundAndControlEntries() {
    const MixVolumes volumes = CurrentMixVolumes();
    std::vector<ProfileEntry> entries = {
        {"Sound", "MusicVolume", std::to_string(volumes.music)},
        {"Sound", "EffectsVolume", std::to_string(volumes.effects)}};
    for (ProfileEntry& entry : ControlBindingEntries(controlBindings))
        entries.push_back(std::move(entry));
    return entries;
}

} // namespace

bool WriteSettingsEntries(const std::vector<ProfileEntry>& entries) {
    return writeOrRefuse(SettingsPath(), entries);
}

bool WriteControlsAndSound() {
    return writeOrRefuse(SettingsPath(), soundAndControlEntries());
}

bool WriteSettings() {
    const ShellState& s = shellState;
    std::vector<ProfileEntry> entries;
    if (s.SettingsRead) {
        const WindowPlace place = FormWindowedPlace();
        const auto general = [&entries](const char* key, std::string value) {
            entries.push_back({"General", key, std::move(value)});
        };
        general("Top", std::to_string(place.top));
        general("Left", std::to_string(place.left));
        general("Width", std::to_string(place.width));
        general("Height", std::to_string(place.height));
        general("Resolution",
                std::to_string(ResolutionIndexForHeight(CurrentPictureSize().height)));
        general("Fullscreen", trueFalse(IsFullScreen()));
        general("Texture", trueFalse(EqualNoCase(s.TextureDetail, "High")));
        general("IntegerScaling", trueFalse(s.IntegerScaling));
        for (ProfileEntry& entry : soundAndControlEntries()) entries.push_back(std::move(entry));
    }
    // A nickname is one line; a line break would end the value in the file.
    entries.push_back(
        {"Network", "NickName", s.Nickname.substr(0, s.Nickname.find_first_of("\r\n"))});
    entries.push_back({"Network", "RefreshInterval", std::to_string(s.RefreshInterval)});
    entries.push_back({"Network", "PortMapping", trueFalse(s.PortMapping.value_or(true))});
    return writeOrRefuse(SettingsPath(), entries);
}

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

SavedGame DecodeSavedGame(const std::string& scrambled, std::int32_t levelCount) {
    const std::string plain = ScrambleText(scrambled);
    if (plain.empty() || !AllDigits(plain)) return kNewGame;
    const auto number = ParseProfileInteger(plain);
    if (!number) return kNewGame;
    SavedGame game;
    game.lives = std::clamp(*number / kLivesFactor, 0, kMaxSavedLives);
    game.level = std::clamp(*number % kLivesFactor, 0, std::max(levelCount - 1, 0));
    return game;
}

std::string EncodeSavedGame(std::int32_t level, std::int32_t lives) {
    return ScrambleText(std::to_string(std::int64_t{level} + std::int64_t{lives} * kLivesFactor));
}

SavedGame LoadSavedGame() {
    const std::string text = GetProfileString(SettingsPath(), "Save", "Index", "");
    return DecodeSavedGame(text, shellState.LevelCount);
}

bool SaveGame(std::int32_t level, std::int32_t lives) {
    return writeOrRefuse(SettingsPath(), {{"Save", "Index", EncodeSavedGame(level, lives)}});
}
