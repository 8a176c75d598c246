#include "platform/keys.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/text_case.h"

namespace {

struct KeyState {
    bool down = false;
    bool pressedSinceQuery = false;
};

std::array<KeyState, kVirtualKeyCount> keys{};

bool validKey(int vk) {
    return vk >= 0 && vk < kVirtualKeyCount;
}

// The keys named by words, as the script and the settings write them.
constexpr std::array<std::pair<const char*, int>, 16> kNamedKeys{{{"UP", kVkUp},
                                                                  {"DOWN", kVkDown},
                                                                  {"LEFT", kVkLeft},
                                                                  {"RIGHT", kVkRight},
                                                                  {"SPACE", kVkSpace},
                                                                  {"CTRL", kVkControl},
                                                                  {"SHIFT", kVkShift},
                                                                  {"ESC", kVkEscape},
                                                                  {"ADD", kVkAdd},
                                                                  {"SUBTRACT", kVkSubtract},
                                                                  {"DELETE", kVkDelete},
                                                                  {"BACK", kVkBack},
                                                                  {"PGUP", kVkPrior},
                                                                  {"PGDN", kVkNext},
                                                                  {"PLUS", kVkOemPlus},
                                                                  {"MINUS", kVkOemMinus}}};

} // namespace

void PressKey(int vk) {
    if (!validKey(vk)) return;
    keys[vk].down = true;
    keys[vk].pressedSinceQuery = true;
}

void ReleaseKey(int vk) {
    if (validKey(vk)) keys[vk].down = false;
}

void ReleaseAllKeys() {
    for (KeyState& key : keys) key.down = false;
}

void ResetKeys() {
    keys.fill(KeyState{});
}

bool QueryKey(int vk) {
    if (!validKey(vk)) return false;
    KeyState& key = keys[vk];
    const bool result = key.down || key.pressedSinceQuery;
    key.pressedSinceQuery = false;
    return result;
}

bool KeyIsDown(int vk) {
    return validKey(vk) && keys[vk].down;
}

std::optional<int> VirtualKeyFromName(const std::string& name) {
    const std::string upper = UpperAscii(name);
    if (upper.size() == 1 && upper[0] >= 'A' && upper[0] <= 'Z') return upper[0];
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F' &&
        std::all_of(upper.begin() + 1, upper.end(),
                    [](unsigned char c) { return std::isdigit(c); })) {
        const int n = std::stoi(upper.substr(1));
        if (n >= 1 && n <= 12 && upper[1] != '0') return kVkF1 + n - 1;
        return std::nullopt;
    }
    for (const auto& [keyName, vk] : kNamedKeys) {
        if (upper == keyName) return vk;
    }
    return std::nullopt;
}

std::string VirtualKeyName(int vk) {
    if (vk >= kVkA && vk <= 'Z') return std::string(1, static_cast<char>(vk));
    if (vk >= kVkF1 && vk <= kVkF12) return "F" + std::to_string(vk - kVkF1 + 1);
    for (const auto& [keyName, key] : kNamedKeys)
        if (key == vk) return keyName;
    return "";
}
