#include "layers/include_rules.h"

#include <gtest/gtest.h>

namespace {

std::string Describe(const std::vector<IncludeViolation>& found) {
    std::string text;
    for (const auto& v : found)
        text += v.file + ":" + std::to_string(v.line) + ": " + v.included + " (" + v.reason + ")\n";
    return text;
}

} // namespace

TEST(IncludeRules, TheSourceTreeKeepsItsLayers) {
    const auto found = CheckSourceTree(KELVANE_SOURCE_DIR);
    EXPECT_TRUE(found.empty()) << Describe(found);
}

TEST(IncludeRules, FilesBelongToTheLayerOfTheirLongestFolder) {
    EXPECT_EQ(LayerOf("engine/draw/scene.cpp"), "engine/draw");
    EXPECT_EQ(LayerOf("engine/mesh.h"), "engine");
    EXPECT_EQ(LayerOf("shell/qt/main.cpp"), "shell/qt");
    EXPECT_EQ(LayerOf("platform/qt/presenter.h"), "platform/qt");
    EXPECT_EQ(LayerOf("tools/render/main.cpp"), "");
    EXPECT_EQ(LayerOf("engineering/x.h"), "");
}

TEST(IncludeRules, AnUpwardIncludeIsCaught) {
    // The faults the rules exist for, each added to an otherwise clean file.
    const std::string clean = "#include \"world/world.h\"\n#include <vector>\n";
    EXPECT_TRUE(CheckIncludes("world/shape.cpp", clean).empty());

    const auto up = CheckIncludes("world/shape.cpp", clean + "#include \"engine/draw/scene.h\"\n");
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].line, 3);
    EXPECT_EQ(up[0].included, "engine/draw/scene.h");

    EXPECT_EQ(CheckIncludes("engine/mesh.cpp", "  #  include \"world/world.h\"\n").size(), 1u);
    EXPECT_EQ(CheckIncludes("engine/draw/scene.cpp", "#include \"formats/definitions.h\"\n").size(),
              1u);
    EXPECT_EQ(CheckIncludes("shell/frame_step.cpp", "#include \"shell/qt/screen_form.h\"\n").size(),
              1u);
    EXPECT_EQ(CheckIncludes("media/display.cpp", "#include \"engine/angles.h\"\n").size(), 1u);
}

TEST(IncludeRules, OutsideLibrariesOnlyInTheWindowSystemLayers) {
    EXPECT_EQ(CheckIncludes("shell/hooks.cpp", "#include <QWidget>\n").size(), 1u);
    EXPECT_EQ(CheckIncludes("engine/pcx.cpp", "#include <SDL2/SDL.h>\n").size(), 1u);
    EXPECT_EQ(CheckIncludes("media/x.cpp", "#include <libavcodec/avcodec.h>\n").size(), 1u);
    EXPECT_TRUE(CheckIncludes("platform/qt/presenter.cpp", "#include <QImage>\n").empty());
    EXPECT_TRUE(CheckIncludes("shell/qt/screen_form.cpp", "#include <QTimer>\n").empty());
    EXPECT_TRUE(CheckIncludes("world/x.cpp", "#include <queue>\n").empty());
}

TEST(IncludeRules, ReadersLeaveMessageBoxesToThePrograms) {
    const std::string box = "#include \"platform/message_box.h\"\n";
    EXPECT_EQ(CheckIncludes("formats/level_file.cpp", box).size(), 1u);
    EXPECT_EQ(CheckIncludes("engine/pictures.cpp", box).size(), 1u);
    EXPECT_TRUE(CheckIncludes("shell/startup.cpp", box).empty());
    EXPECT_TRUE(CheckIncludes("editor/commands.cpp", box).empty());
}
