// The game's command line: any arguments (NUL-separated in the input) are
// read or refused with a message; a read command line keeps its values in
// their ranges, and the editor's accepts no more than the game's. The file
// options name files that do not exist, so nothing is read from the disk.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/game_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    // Scripts and level files are other readers' inputs (and fuzzed there).
    for (const std::string& argument : arguments)
        if (argument == "--script" || argument == "--level") return 0;

    const GameParse game = ParseGameOptions(arguments);
    const AutomationParse editor = ParseAutomationOptions(arguments);
    if (game.error.empty()) {
        const NetRunOptions& net = game.options.net;
        if ((net.goAt != 0 && (net.goAt < 1 || net.goAt > 4)) || net.lossPercent < 0 ||
            net.lossPercent > 100 || net.delayMs < 0 || net.delayMs > 10000 ||
            (net.joinIndex && (*net.joinIndex < 0 || *net.joinIndex > 63)) ||
            (net.create && net.joinIndex) || net.nickname.size() > 51)
            std::abort();
        if (game.options.frameMs && (*game.options.frameMs < 0 || *game.options.frameMs > 3600000))
            std::abort();
    }
    // Every command line the editor reads, the game reads too.
    if (editor.error.empty() && !game.error.empty()) std::abort();
    return 0;
}
