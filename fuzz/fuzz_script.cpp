// Input scripts: any text either gives entries whose frames run forward from
// 1, whose keys are known keys and whose controller inputs are known inputs,
// or an error that names its line. The frames' keys and inputs are then
// asked for as the game asks each frame.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/automation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Loaded<InputScript> script = ParseInputScript(text);
    if (!script) {
        if (script.error.rfind("script line ", 0) != 0) std::abort();
        return 0;
    }
    for (const ScriptEntry& entry : script->entries) {
        if (entry.first < 1 || entry.last < entry.first) std::abort();
        if (entry.pad >> kScriptPadInputCount) std::abort();
        for (int vk : entry.keys)
            if (vk < 0 || vk >= kVirtualKeyCount) std::abort();
        ScriptKeysForFrame(*script, entry.first);
        ScriptPadForFrame(*script, entry.last);
    }
    for (const FormCommand& command : script->formCommands)
        if (command.frame < 1) std::abort();
    return 0;
}
