#include "platform/user_data.h"

#include <cstdlib>
#include <filesystem>

std::string UserDataFolder() {
    namespace fs = std::filesystem;
    // The base directory specification ignores a relative XDG_DATA_HOME.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return (fs::path(data) / "kelvane").string();
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return (fs::path(home) / ".local" / "share" / "kelvane").string();
    return {};
}
