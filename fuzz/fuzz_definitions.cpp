// Definition files of any content load without crashing: every key's value
// goes through the INI reader, the integer and flag parsing, the box keys,
// the mesh list and the music list.
#include <cstddef>
#include <cstdint>
#include <fstream>

#include "formats/definitions.h"
#include "platform/message_box.h"
#include "support/data_set.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One complete small data folder for the whole run; each input replaces
    // its definition file.
    static TempDir dir;
    static ScopedCurrentDir cd(dir.path());
    static const bool ready = [] {
        SetMessageBoxHandler([](const std::string&) {});
        WriteMiniDataSet(dir);
        return true;
    }();
    (void)ready;
    {
        std::ofstream out("Standard.bnk", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ForgetDefinitions();
    LoadDefinitions("Standard.bnk", size % 2 ? "High" : "Low");
    return 0;
}
