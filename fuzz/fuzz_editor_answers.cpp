// The editor's typed answers (from a script or a dialog): any text gives the
// six resize margins or the level's kind and seed, or a message; a parsed
// resize applied to a small level keeps the grid's layers the size of its
// sizes and every sentry inside it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/level_commands.h"
#include "editor/level_properties.h"
#include "editor/level_resize.h"
#include "world/sentry_init.h"
#include "world/world.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<LevelProperties> properties =
        ParseLevelPropertiesAnswer(text, {true, 7}, error);
    if (!properties && error.empty()) std::abort();
    if (properties && properties->seed < 0) std::abort();

    error.clear();
    const std::optional<ResizeMargins> margins = ParseResizeAnswer(text, error);
    if (!margins) {
        if (error.empty()) std::abort();
        return 0;
    }
    // Small levels only: the sizes after the resize stay a few thousand cells.
    const std::int64_t x = 4 + std::int64_t{margins->west} + margins->east;
    const std::int64_t y = 3 + std::int64_t{margins->down} + margins->up;
    const std::int64_t z = 5 + std::int64_t{margins->south} + margins->north;
    if (x * y * z > 4096 && x > 0 && y > 0 && z > 0) return 0;
    MakeNewLevel(4, 3, 5);
    sentryCount = 2;
    sentries[1].x = sentries[1].y = sentries[1].z = 256;
    sentries[2].x = 3 * 512 + 256;
    sentries[2].y = 2 * 512 + 256;
    sentries[2].z = 4 * 512 + 256;
    InitSentries();
    (void)ResizeLevel(*margins);
    const std::int64_t cells = std::int64_t{worldGrid.sizeX} * worldGrid.sizeY * worldGrid.sizeZ;
    if (cells < 1 || static_cast<std::int64_t>(worldGrid.cells.size()) != cells ||
        worldGrid.brightness.size() != worldGrid.cells.size())
        std::abort();
    for (int i = 1; i <= sentryCount; ++i)
        if (!InsideGrid(CellOf(sentries[i].x), CellOf(sentries[i].y), CellOf(sentries[i].z)))
            std::abort();
    return 0;
}
