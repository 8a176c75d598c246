#include "formats/records_file.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/profile.h"

namespace {

constexpr char kSection[] = "best";

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

} // namespace

std::string RecordName(const std::string& levelPath) {
    std::string name = levelPath;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (!isNameCharacter(c)) c = '_';
    }
    return name;
}

std::string LevelRecordName(const std::string& levelPath) {
    const std::string name = RecordName(levelPath);
    if (name.empty() || IsDataFileName(levelPath)) return name;
    const std::size_t slash = levelPath.find_last_of("/\\");
    std::string folder = slash == std::string::npos ? std::string() : levelPath.substr(0, slash);
    // RecordName takes the last component and cuts an extension: a folder
    // named "a.b" must keep its whole name, so its dots go first.
    std::replace(folder.begin(), folder.end(), '.', '_');
    const std::string set = RecordName(folder);
    return set.empty() ? name : set + "--" + name;
}

BestTimes ParseRecords(std::string_view text) {
    BestTimes times;
    const ProfileData profile = ParseProfile(text);
    const auto section = profile.sections.find(kSection);
    if (section == profile.sections.end()) return times;
    for (const auto& [key, value] : section->second) {
        if (key.empty() || RecordName(key) != key) continue;
        const std::optional<std::int32_t> ms = ParseProfileInteger(value);
        if (!ms || *ms < 1 || *ms > kLongestRecordMs) continue;
        times[key] = *ms;
    }
    return times;
}

std::string RecordsText(const BestTimes& times) {
    std::string text = "[Best]\n";
    for (const auto& [name, ms] : times) text += name + "=" + std::to_string(ms) + "\n";
    return text;
}

bool TakeBestTime(BestTimes& times, const std::string& name, std::int32_t ms) {
    if (name.empty() || ms < 1 || ms > kLongestRecordMs) return false;
    const auto it = times.find(name);
    if (it != times.end() && it->second <= ms) return false;
    times[name] = ms;
    return true;
}
