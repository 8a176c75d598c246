// The settings file's values: any kelv.ini gives a window place that fits the
// screen it is fitted to, any saved game a level in the list and 0..99
// lives, volumes of 0..100 % and bindings that name keys, each complaint
// about a name that is no key, and a list of remembered hosts that can be
// offered as it is.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keys.h"
#include "platform/profile.h"
#include "shell/control_bindings.h"
#include "shell/recent_hosts.h"
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

    // Remembered hosts: at most eight, none empty, over-long or twice; one
    // more address joined goes first and keeps the list at eight.
    const auto validHosts = [](const std::vector<std::string>& hosts) {
        if (hosts.size() > kRecentHostCount) return false;
        for (std::size_t i = 0; i < hosts.size(); ++i) {
            if (hosts[i].empty() || hosts[i].size() > kRecentHostMaxLength ||
                hosts[i].find_first_of("\r\n") != std::string::npos)
                return false;
            for (std::size_t j = 0; j < i; ++j)
                if (hosts[j] == hosts[i]) return false;
        }
        return true;
    };
    const std::vector<std::string> hosts = ReadRecentHosts(profile);
    if (!validHosts(hosts)) std::abort();
    const std::string joined(text.substr(0, std::min<std::size_t>(size, 40)));
    const std::vector<std::string> after = RememberHost(hosts, joined);
    if (!validHosts(after)) std::abort();
    return 0;
}
