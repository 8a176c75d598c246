// The settings file's values: any kelv.ini gives a window place that fits the
// screen it is fitted to, any saved game a level in the list and 0..99
// lives, volumes of 0..100 % and bindings that name keys, each complaint
// about a name that is no key.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/keys.h"
#include "platform/profile.h"
#include "shell/control_bindings.h"
#include "shell/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ProfileData profile = ParseProfile(text);
    const GeneralSettings general = ReadGeneralSettings(profile);
    const WindowPlace screen{-50, 20, 1024, 768};
    const WindowPlace fitted = ClampWindowPlace(general.place, {screen});
    if (fitted.width < 1 || fitted.width > screen.width || fitted.height < 1 ||
        fitted.height > screen.height || fitted.left < screen.left || fitted.top < screen.top ||
        fitted.left + fitted.width > screen.left + screen.width ||
        fitted.top + fitted.height > screen.top + screen.height)
        std::abort();

    const std::int32_t levels = static_cast<std::int32_t>(size % 7);
    const SavedGame game =
        DecodeSavedGame(ProfileString(profile, "Save", "Index", std::string(text)), levels);
    if (game.lives < 0 || game.lives > 99 || game.level < 0 || (levels > 0 && game.level >= levels))
        std::abort();

    const MixVolumes volumes = ReadSoundSettings(profile);
    if (volumes.music < 0 || volumes.music > 100 || volumes.effects < 0 || volumes.effects > 100)
        std::abort();
    std::vector<std::string> complaints;
    const ControlBindings bindings = ReadControlBindings(profile, complaints);
    if (complaints.size() > 2 * kControlCount) std::abort();
    for (const int key : bindings.keys)
        if (VirtualKeyName(key).empty()) std::abort();
    return 0;
}
