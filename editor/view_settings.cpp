#include "editor/view_settings.h"

#include <filesystem>
#include <system_error>

#include "editor/editor_view.h"
#include "platform/profile.h"
#include "platform/user_data.h"

namespace {

constexpr const char* kSection = "View";
constexpr const char* kDistanceKey = "Distance";
constexpr int kUnset = -1;

} // namespace

std::string EditorSettingsFile() {
    const std::string folder = UserConfigFolder();
    if (folder.empty()) return {};
    return (std::filesystem::path(folder) / "kelvedit.ini").string();
}

int ReadViewDistanceSetting() {
    const std::string file = EditorSettingsFile();
    if (file.empty()) return kViewDistances[0];
    const int cells = ProfileInt(ReadProfile(file), kSection, kDistanceKey, kUnset);
    return IsViewDistance(cells) ? cells : kViewDistances[0];
}

bool StoreViewDistanceSetting(int cells) {
    const std::string file = EditorSettingsFile();
    if (file.empty() || !IsViewDistance(cells)) return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    return WriteProfileString(file, kSection, kDistanceKey, std::to_string(cells));
}
