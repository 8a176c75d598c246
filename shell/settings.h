// The settings file "kelv.ini": window place, display options, nickname,
// network refresh interval and the one saved game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/sound_output.h"
#include "platform/profile.h"
#include "shell/form_services.h"

inline constexpr const char* kSettingsFile = "kelv.ini";

// Worked out anew for every use: "kelv.ini" in the program (data) folder
// when it exists there, can be opened for reading and is not read-only by
// its permission bits; otherwise the per-user file,
// $XDG_CONFIG_HOME/kelvane/kelv.ini, or $HOME/.config/kelvane/kelv.ini when
// XDG_CONFIG_HOME is not an absolute path.
std::string SettingsPath();

// The General keys as read, before they are applied.
struct GeneralSettings {
    WindowPlace place;           // Left, Top, Width, Height
    std::int32_t resolution = 2; // Resolution
    bool fullScreen = false;     // Fullscreen
    bool textures = true;        // Texture
    bool integerScaling = false; // IntegerScaling
    bool sizeStored = false;     // Width and Height are both there, as numbers
};
GeneralSettings ReadGeneralSettings(const ProfileData& profile);

// The Sound keys MusicVolume and EffectsVolume, in percent: 100 when missing
// or not a number, cut to 0..100.
MixVolumes ReadSoundSettings(const ProfileData& profile);

// The place moved and cut to fit the available area of the screen that holds
// its top-left corner (or the one nearest to it); unchanged when it fits or
// there is no screen.
WindowPlace ClampWindowPlace(const WindowPlace& place, const std::vector<WindowPlace>& areas);

// Applies the General keys in order: window place (on a first start, with no
// size stored, FirstWindowPlace on the first screen), nickname, picture size,
// the definitions kDefinitionFile at the texture detail, then full screen (and
// exclusive mode) unless the picture is 160 wide; then the Sound keys'
// volumes and the Controls keys' bindings (a name that is no key said on
// stderr). False after showing the
// definitions' failure: the program must end.
bool ReadSettings();
// Sets the nickname from Network/NickName when none is set yet, and the
// port-mapping choice from Network/PortMapping (on unless "False") likewise.
void ReadNickname();
// Writes every key but the saved game in one replacement of the file. The
// General, Sound and Controls keys are written only once ReadSettings has applied them, so that
// a run that never read them does not overwrite them. On refusal shows
// "Ne peut écrire dans <path>" and returns false; the old file stays whole.
bool WriteSettings();
// Writes these keys alone into the settings file; a refusal as WriteSettings.
bool WriteSettingsEntries(const std::vector<ProfileEntry>& entries);
// Writes the Sound and Controls keys alone, as the controls page leaves them;
// a refusal as WriteSettings.
bool WriteControlsAndSound();

struct SavedGame {
    std::int32_t level = 0;
    std::int32_t lives = 3;
};

// True when every character is a digit "0" to "9" (and for the empty text).
bool AllDigits(const std::string& text);
// The saved game from its scrambled text: level 0 with 3 lives unless it is
// a non-empty run of digits that fits 32 bits; lives cut to 0..99, level to
// the level list.
SavedGame DecodeSavedGame(const std::string& scrambled, std::int32_t levelCount);
std::string EncodeSavedGame(std::int32_t level, std::int32_t lives);

SavedGame LoadSavedGame();
// False, after the refusal box, when the file could not be written.
bool SaveGame(std::int32_t level, std::int32_t lives);
