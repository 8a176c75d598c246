#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "datakit.h"
#include "engine/blend_cache.h"
#include "engine/texture_bank.h"
#include "platform/message_box.h"

namespace {

constexpr const char* kBank = "TEXTURES/KELVANE.TXT";

// Collects the loader's message boxes instead of printing them.
class CollectMessages {
  public:
    CollectMessages() {
        SetMessageBoxHandler([this](const std::string& text) { text_ += text + " "; });
    }
    ~CollectMessages() { SetMessageBoxHandler(nullptr); }
    CollectMessages(const CollectMessages&) = delete;
    CollectMessages& operator=(const CollectMessages&) = delete;
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

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
    CollectMessages messages;
    if (!LoadBank(kBank)) throw std::runtime_error("cannot load the bank: " + messages.text());
    std::error_code error;
    if (std::filesystem::file_size(pot, error) != kBlendTableBytes || error)
        throw std::runtime_error("the colour cache " + pot + " was not written");
}
