#include "editor/level_files.h"

#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/text_case.h"
#include "platform/user_data.h"

namespace fs = std::filesystem;

namespace {

std::string absoluteOf(const fs::path& path) {
    std::error_code ec;
    const fs::path full = fs::absolute(path, ec);
    return (ec ? path : full).lexically_normal().string();
}

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

void addPlace(std::vector<std::string>& places, const std::string& folder) {
    if (folder.empty()) return;
    for (const std::string& place : places)
        if (place == folder) return;
    places.push_back(folder);
}

} // namespace

std::string DataLevelFolder(const std::string& dataFolder) {
    const fs::path data = dataFolder.empty() ? fs::path(".") : fs::path(dataFolder);
    if (const auto names = ListFolder(data.string())) {
        for (const std::string& name : *names)
            if (EqualNoCase(name, "level") && isFolder(data / name)) return absoluteOf(data / name);
    }
    return absoluteOf(data);
}

std::string ExistingUserLevelsFolder() {
    const std::string levels = UserLevelsFolder();
    return !levels.empty() && isFolder(levels) ? levels : std::string();
}

LevelDialogPlaces LevelDialogPlacesFor(bool forSave, const std::string& currentFile,
                                       const std::string& dataFolder) {
    LevelDialogPlaces result;
    const std::string shipped = DataLevelFolder(dataFolder);
    const std::string own = ExistingUserLevelsFolder();
    if (!currentFile.empty() && isFolder(fs::path(currentFile).parent_path())) {
        result.folder = fs::path(currentFile).parent_path().string();
        result.fileName = fs::path(currentFile).filename().string();
    } else {
        result.folder = forSave && !own.empty() ? own : shipped;
    }
    addPlace(result.places, shipped);
    addPlace(result.places, own);
    return result;
}

std::string BackupName(const std::string& path) {
    return path + ".bak";
}

bool KeepBackup(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return true;
    const std::optional<std::vector<std::uint8_t>> old = ReadWholeFile(path);
    return old && WriteWholeFile(BackupName(path), *old);
}
