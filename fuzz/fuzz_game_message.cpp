// Feeds arbitrary 260-byte blocks to the game-message decoder with a small
// world; whatever it accepts must be within the world's bounds and must read
// back the same after being sent again.
#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "net/game_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GameMessageContext context;
    context.localPlayer = 1;
    context.lastPlayer = 3;
    context.level = 2;
    context.sizeX = 20;
    context.sizeY = 6;
    context.sizeZ = 30;
    context.sentryCount = 4;
    context.takeLetter[7] = 'g';
    context.takeLetter[8] = 'h';
    context.takeLetter[9] = 'i';
    context.takeLetter[10] = 'j';

    const auto decoded = DecodeGameMessage(std::span<const std::uint8_t>(data, size), context);
    if (!decoded.message) {
        if (decoded.reason == IgnoreReason::Count) __builtin_trap();
        return 0;
    }
    if (const auto* event = std::get_if<WorldEventMessage>(&*decoded.message)) {
        if (event->cellX < 0 || event->cellX >= context.sizeX || event->cellY < 0 ||
            event->cellY >= context.sizeY || event->cellZ < 0 || event->cellZ >= context.sizeZ)
            __builtin_trap();
        if (event->player == context.localPlayer || event->player > context.lastPlayer)
            __builtin_trap();
    }
    const GameMessageBytes again = EncodeGameMessage(*decoded.message);
    const auto reread = DecodeGameMessage(again, context);
    if (!reread.message || EncodeGameMessage(*reread.message) != again) __builtin_trap();
    return 0;
}
