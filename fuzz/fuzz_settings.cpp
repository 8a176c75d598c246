// The settings file's values: any kelv.ini gives a window place that fits the
// screen it is fitted to, and any saved game a level in the list and 0..99
// lives.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/profile.h"
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
    return 0;
}
