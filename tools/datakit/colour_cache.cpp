#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "datakit.h"
#include "engine/blend_cache.h"
#include "engine/texture_bank.h"

namespace {

constexpr const char* kBank = "TEXTURES/KELVANE.TXT";

} // namespace

// Loading the generated bank writes its colour-table cache next to it, so
// the game's first start does not spend seconds building it.
void GenerateColourCache(const DataKit& kit) {
    const std::filesystem::path out = std::filesystem::absolute(kit.out);
    if (!std::filesystem::exists(out / kBank)) {
        std::fprintf(stderr, "kelvane-datakit: no %s yet, colour cache skipped\n", kBank);
        return;
    }
    InFolder inside(out);
    const std::string pot = PotFileName(kBank);
    // A cache left from an earlier palette would be taken as it is.
    std::filesystem::remove(pot);
    if (const Loaded<> bank = LoadBank(kBank); !bank)
        throw std::runtime_error("cannot load the bank: " + bank.error);
    std::error_code error;
    if (std::filesystem::file_size(pot, error) != kBlendTableBytes || error)
        throw std::runtime_error("the colour cache " + pot + " was not written");
}
