#include "platform/user_data.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool absolute(const char* path) {
    return path && path[0] == '/';
}

std::string kelvaneFolderIn(const std::string& base) {
    return base.empty() ? std::string() : (fs::path(base) / "kelvane").string();
}

} // namespace

std::string UserFolder(const char* variable, const char* underHome) {
    // A relative value is ignored, as the XDG variables are meant to be.
    if (const char* value = std::getenv(variable); absolute(value)) return value;
    if (const char* home = std::getenv("HOME"); absolute(home))
        return (fs::path(home) / underHome).string();
    return {};
}

std::string UserDataFolder() {
    return kelvaneFolderIn(UserFolder("XDG_DATA_HOME", ".local/share"));
}

std::string UserLevelsFolder() {
    const std::string data = UserDataFolder();
    return data.empty() ? std::string() : (std::filesystem::path(data) / "levels").string();
}

std::string UserConfigFolder() {
    return kelvaneFolderIn(UserFolder("XDG_CONFIG_HOME", ".config"));
}
