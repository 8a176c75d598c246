// Definition files of any content load without crashing: every key's value
// goes through the INI reader, the integer and flag parsing, the box keys,
// the mesh list and the music list.
//
// The texture bank is loaded once, with the data folder, and stays: inputs
// naming another bank are skipped (the bank's text and images have targets
// of their own), since reading a bank builds colour tables for a second.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string_view>

#include "formats/definitions.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "support/data_set.h"

namespace {

constexpr const char* kBank = "bank.txt"; // the mini data set's

bool Prepare() {
    static TempDir dir;
    static ScopedCurrentDir cd(dir.path());
    SetMessageBoxHandler([](const std::string&) {});
    WriteMiniDataSet(dir);
    return static_cast<bool>(LoadDefinitions(kDefinitionFile, "High"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = Prepare();
    if (!ready) __builtin_trap();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (ProfileString(ParseProfile(text), "General", "Texture", "") != kBank) return -1;
    // Two names in turn, so that no input counts as the file loaded before.
    static bool second = false;
    second = !second;
    const char* const name = second ? "Second.bnk" : "First.bnk";
    {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    LoadDefinitions(name, size % 2 ? "High" : "Low");
    return 0;
}
