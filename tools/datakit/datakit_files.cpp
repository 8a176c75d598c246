#include <fstream>
#include <sstream>
#include <stdexcept>

#include "datakit.h"

void WriteDataFile(const DataKit& kit, const std::string& relative,
                   const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path target = kit.out / relative;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + target.string());
}

void WriteDataFile(const DataKit& kit, const std::string& relative, const std::string& text) {
    WriteDataFile(kit, relative, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string ReadSourceFile(const DataKit& kit, const std::string& relative) {
    std::ifstream in(kit.sources / relative, std::ios::binary);
    if (!in) throw std::runtime_error("missing source " + (kit.sources / relative).string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

InFolder::InFolder(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

InFolder::~InFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

void GenerateDataSet(const DataKit& kit) {
    std::filesystem::create_directories(kit.out);
    GenerateTextures(kit);
    GenerateInterface(kit);
    GenerateMeshes(kit);
    GenerateSounds(kit);
    GenerateMusic(kit);
    GenerateDefinitions(kit);
    GenerateLevels(kit);
    GenerateColourCache(kit);
    GenerateVideo(kit);
}
