#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

#include "datakit.h"
#include "levels_source.h"

// Compiles every data/levels/NN-name.txt into LEVEL/NN-Description.lev, in
// the order of the file names (the game plays its levels in name order).
void GenerateLevels(const DataKit& kit) {
    const std::filesystem::path folder = kit.sources / "levels";
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            names.push_back(entry.path().filename().string());
    }
    if (error) throw std::runtime_error("cannot list " + folder.string() + ": " + error.message());
    if (names.empty()) throw std::runtime_error("no level sources in " + folder.string());
    std::sort(names.begin(), names.end());

    std::set<std::string> numbers;
    for (const std::string& name : names) {
        const CompiledLevel compiled =
            CompileLevelSource(name, ReadSourceFile(kit, "levels/" + name));
        if (!numbers.insert(compiled.fileName.substr(0, 2)).second)
            throw LevelSourceError(name + ":1: another level already has the number " +
                                   compiled.fileName.substr(0, 2));
        WriteDataFile(kit, "LEVEL/" + compiled.fileName, EncodeLevel(compiled.level));
    }
}
