#include "visuals_support.h"

#include <gtest/gtest.h>

#include "datakit.h"

const TempDir& GeneratedVisuals() {
    static const std::unique_ptr<TempDir> dir = [] {
        auto made = std::make_unique<TempDir>();
        const DataKit kit{made->path(), made->path()};
        GenerateTextures(kit);
        GenerateInterface(kit);
        return made;
    }();
    return *dir;
}

PcxImage ReadGenerated(const std::string& relative) {
    PcxImage image;
    std::string error;
    EXPECT_TRUE(DecodePcxFile(GeneratedVisuals().file(relative), image, &error))
        << relative << ": " << error;
    return image;
}

int Luma(const PalettePlanes& palette, int index) {
    return 299 * palette[index] + 587 * palette[256 + index] + 114 * palette[512 + index];
}
