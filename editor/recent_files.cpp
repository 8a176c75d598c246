#include "editor/recent_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "editor/editor_state.h"
#include "platform/profile.h"

namespace {

constexpr const char* kSection = "Recent";

std::string keyOf(int i) {
    return "File" + std::to_string(i + 1);
}

// Every entry as stored, missing files included.
std::vector<std::string> storedList() {
    std::vector<std::string> list;
    if (editor.settingsFile.empty()) return list;
    const ProfileData profile = ReadProfile(editor.settingsFile);
    for (int i = 0; i < kRecentFileCount; ++i) {
        const std::string path = ProfileString(profile, kSection, keyOf(i), "");
        if (!path.empty() && std::find(list.begin(), list.end(), path) == list.end())
            list.push_back(path);
    }
    return list;
}

void writeList(const std::vector<std::string>& list) {
    if (editor.settingsFile.empty()) return;
    std::vector<ProfileEntry> entries;
    for (int i = 0; i < kRecentFileCount; ++i)
        entries.push_back({kSection, keyOf(i),
                           i < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i)]
                                                             : std::string()});
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(editor.settingsFile).parent_path(),
                                        ec);
    (void)WriteProfileStrings(editor.settingsFile, entries);
}

} // namespace

std::vector<std::string> ReadRecentFiles() {
    std::vector<std::string> list = storedList();
    std::erase_if(list, [](const std::string& path) {
        std::error_code ec;
        return !std::filesystem::is_regular_file(path, ec);
    });
    return list;
}

std::vector<std::string> AddRecentFile(const std::string& path) {
    const std::vector<std::string> before = storedList();
    std::vector<std::string> list = ReadRecentFiles();
    std::erase(list, path);
    list.insert(list.begin(), path);
    if (list.size() > static_cast<std::size_t>(kRecentFileCount)) list.resize(kRecentFileCount);
    if (list != before) writeList(list);
    return list;
}

std::vector<std::string> DropRecentFile(const std::string& path) {
    std::vector<std::string> list = storedList();
    std::erase(list, path);
    writeList(list);
    return ReadRecentFiles();
}
