#include "formats/level_catalogue.h"

#include <algorithm>
#include <filesystem>

#include "formats/definitions.h"
#include "formats/level_file.h"
#include "formats/pack_ini.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text_case.h"

namespace fs = std::filesystem;

namespace {

bool isLevelFileName(const std::string& name) {
    constexpr std::string_view kExtension = ".lev";
    return name.size() > kExtension.size() && name.front() != '.' &&
           EqualNoCase(std::string_view(name).substr(name.size() - kExtension.size()), kExtension);
}

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// The folder's entries but "." and "..", byte-wise sorted; nullopt when it
// cannot be listed.
std::optional<std::vector<std::string>> sortedEntries(const std::string& folder) {
    auto entries = ListFolder(folder);
    if (!entries) return std::nullopt;
    std::erase_if(*entries, [](const std::string& n) { return n == "." || n == ".."; });
    std::sort(entries->begin(), entries->end());
    return entries;
}

// The entry of `entries` matching `name` without regard to case; empty when none.
std::string findNoCase(const std::vector<std::string>& entries, std::string_view name) {
    for (const std::string& entry : entries)
        if (EqualNoCase(entry, name)) return entry;
    return {};
}

// Why a pack's own definition file cannot serve; empty when it can. What its
// meshes and pictures hold shows only when a level loads it.
std::string definitionsProblem(const std::string& path) {
    const Loaded<ProfileData> read = ReadProfileFile(path);
    if (!read) return "damaged definitions: " + read.error;
    const std::string bank = ProfileString(*read, "General", "Texture", "");
    if (bank.empty())
        return std::string("damaged definitions: ") + kDefinitionFile + " names no texture bank";
    if (!IsDataFileName(bank) || !FileExists(bank))
        return std::string("damaged definitions: the texture bank ") + bank + " is missing";
    return {};
}

// The levels of a set's folder in play order: the pack.ini order when there
// is one, else every level file in name order. A name the order gives that
// is not there is kept as a level that cannot be played.
std::vector<CatalogueLevel> setLevels(const std::string& folder,
                                      const std::vector<std::string>& entries,
                                      const std::vector<std::string>& order) {
    std::vector<CatalogueLevel> levels;
    if (order.empty()) {
        for (const std::string& entry : entries) {
            if (levels.size() >= kCatalogueMaxLevels) break;
            const fs::path path = fs::path(folder) / entry;
            if (isLevelFileName(entry) && isFile(path))
                levels.push_back(ReadCatalogueLevel(path.string()));
        }
        return levels;
    }
    for (const std::string& wanted : order) {
        const std::string entry = findNoCase(entries, wanted);
        if (entry.empty() || !isFile(fs::path(folder) / entry)) {
            CatalogueLevel missing;
            missing.path = (fs::path(folder) / wanted).string();
            missing.name = LevelDisplayName({}, wanted);
            missing.problem = "missing level file: " + wanted;
            levels.push_back(std::move(missing));
            continue;
        }
        levels.push_back(ReadCatalogueLevel((fs::path(folder) / entry).string()));
    }
    return levels;
}

LevelSet readSet(const std::string& folder, LevelSetKind kind) {
    LevelSet set;
    set.kind = kind;
    set.folder = folder;
    set.title = kind == kSetLoose ? "MY LEVELS" : fs::path(folder).filename().string();
    const auto entries = sortedEntries(folder);
    if (!entries) {
        set.problem = "the folder cannot be read";
        return set;
    }
    std::vector<std::string> order;
    if (kind == kSetPack) {
        if (const std::string ini = findNoCase(*entries, kPackIniFile); !ini.empty()) {
            const SmallFile file = ReadSmallFile((fs::path(folder) / ini).string(), kPackIniLimit);
            if (file.status != SmallFileStatus::Read) {
                set.problem = file.status == SmallFileStatus::TooLarge
                                  ? "damaged pack.ini: larger than 64 KiB"
                                  : "damaged pack.ini: it cannot be read";
                return set;
            }
            const Loaded<PackInfo> info = ParsePackIni(std::string_view(
                reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
            if (!info) {
                set.problem = "damaged " + info.error;
                return set;
            }
            if (!info->name.empty()) set.title = info->name;
            set.author = info->author;
            order = info->order;
        }
    }
    if (const std::string own = findNoCase(*entries, kDefinitionFile); !own.empty()) {
        set.problem = definitionsProblem((fs::path(folder) / own).string());
        if (!set.problem.empty()) return set;
    }
    set.levels = setLevels(folder, *entries, order);
    if (set.levels.empty()) set.problem = "no levels in the pack";
    return set;
}

} // namespace

std::string LevelDisplayName(const std::string& description, const std::string& path) {
    std::string_view name(description);
    name = name.substr(0, name.find(':'));
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (!name.empty()) return std::string(name);
    std::string file = BaseName(path);
    const std::size_t dot = file.find_last_of('.');
    if (dot != std::string::npos && dot > 0) file.erase(dot);
    return file;
}

CatalogueLevel ReadCatalogueLevel(const std::string& path) {
    CatalogueLevel level;
    level.path = path;
    const Loaded<LevelData> data = ReadLevelFile(path);
    if (!data) {
        level.name = LevelDisplayName({}, path);
        level.problem = "damaged level file";
        return level;
    }
    level.name = LevelDisplayName(data->state.description, path);
    level.author = data->state.author;
    return level;
}

LevelSet CampaignSet(const std::vector<std::string>& files) {
    LevelSet set;
    set.kind = kSetCampaign;
    set.title = "CAMPAIGN";
    for (const std::string& file : files) set.levels.push_back(ReadCatalogueLevel(file));
    return set;
}

LevelSet ReadLevelPack(const std::string& folder) {
    return readSet(folder, kSetPack);
}

std::vector<LevelSet> ScanLevelsFolder(const std::string& folder) {
    std::vector<LevelSet> sets;
    if (folder.empty()) return sets;
    const auto entries = sortedEntries(folder);
    if (!entries) return sets;
    const bool loose = std::any_of(entries->begin(), entries->end(), [&](const std::string& e) {
        return isLevelFileName(e) && isFile(fs::path(folder) / e);
    });
    if (loose) sets.push_back(readSet(folder, kSetLoose));
    for (const std::string& entry : *entries) {
        if (sets.size() > kCatalogueMaxPacks) break;
        if (entry.empty() || entry.front() == '.' || !isFolder(fs::path(folder) / entry)) continue;
        sets.push_back(ReadLevelPack((fs::path(folder) / entry).string()));
    }
    return sets;
}

std::string OwnDefinitionFile(const std::string& levelPath) {
    if (levelPath.empty() || IsDataFileName(levelPath)) return {};
    const fs::path folder = fs::path(levelPath).parent_path();
    const auto entries = sortedEntries(folder.string());
    if (!entries) return {};
    const std::string own = findNoCase(*entries, kDefinitionFile);
    if (own.empty() || !isFile(folder / own)) return {};
    return (folder / own).string();
}

int NextPlayableLevel(const LevelSet& set, int from) {
    if (!set.problem.empty()) return -1;
    for (int i = std::max(from, 0); i < static_cast<int>(set.levels.size()); ++i)
        if (set.levels[static_cast<std::size_t>(i)].problem.empty()) return i;
    return -1;
}
