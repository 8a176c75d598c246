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

TEST(IncludeRules, TheTopLevelFoldersIncludeEachOtherWithoutACircle) {
    const FolderGraph graph = FolderIncludeGraph(KELVANE_SOURCE_DIR);
    EXPECT_EQ(FindFolderCircle(graph), "");
    // The engine's data half knows nothing of the world, the platform nothing
    // of the media layer.
    EXPECT_FALSE(graph.at("engine").count("world"));
    EXPECT_FALSE(graph.at("platform").count("media"));
}

TEST(IncludeRules, ACircleOfFoldersIsNamed) {
    FolderGraph graph = FolderIncludes("world/a.cpp", "#include \"engine/b.h\"\n");
    EXPECT_EQ(graph["world"], std::set<std::string>{"engine"});
    EXPECT_EQ(FindFolderCircle(graph), "");
    graph["engine"] = {"media"};
    graph["media"] = {"world"};
    EXPECT_EQ(FindFolderCircle(graph), "engine -> media -> world -> engine");
    // A folder's own sub-folders are the same node.
    EXPECT_TRUE(FolderIncludes("net/enet/x.cpp", "#include \"net/y.h\"\n")["net"].empty());
}

TEST(IncludeRules, FilesBelongToTheLayerOfTheirLongestFolder) {
    EXPECT_EQ(LayerOf("draw/scene.cpp"), "draw");
    EXPECT_EQ(LayerOf("engine/mesh.h"), "engine");
    EXPECT_EQ(LayerOf("shell/qt/main.cpp"), "shell/qt");
    EXPECT_EQ(LayerOf("backends/qt/presenter.h"), "backends/qt");
    EXPECT_EQ(LayerOf("net/enet/enet_transport.h"), "net/enet");
    EXPECT_EQ(LayerOf("backends/other/x.h"), "");
    EXPECT_EQ(LayerOf("tools/render/main.cpp"), "");
    EXPECT_EQ(LayerOf("engineering/x.h"), "");
}

TEST(IncludeRules, AnUpwardIncludeIsCaught) {
    // The faults the rules exist for, each added to an otherwise clean file.
    const std::string clean = "#include \"world/world.h\"\n#include <vector>\n";
    EXPECT_TRUE(CheckIncludes("world/shape.cpp", clean).empty());

    const auto up = CheckIncludes("world/shape.cpp", clean + "#include \"draw/scene.h\"\n");
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].line, 3);
    EXPECT_EQ(up[0].included, "draw/scene.h");

    EXPECT_EQ(CheckIncludes("engine/mesh.cpp", "  #  include \"world/world.h\"\n").size(), 1u);
    EXPECT_EQ(CheckIncludes("draw/scene.cpp", "#include \"formats/definitions.h\"\n").size(), 1u);
    // The library adapters sit above the media layer, never below it.
    EXPECT_EQ(CheckIncludes("platform/files.cpp", "#include \"media/mixer.h\"\n").size(), 1u);
    EXPECT_EQ(CheckIncludes("media/mixer.cpp", "#include \"backends/sdl/sdl_audio.h\"\n").size(),
              1u);
    EXPECT_EQ(CheckIncludes("net/enet/enet_transport.cpp", "#include \"shell/lobby.h\"\n").size(),
              1u);
    EXPECT_EQ(CheckIncludes("shell/frame_step.cpp", "#include \"shell/qt/screen_form.h\"\n").size(),
              1u);
    EXPECT_EQ(CheckIncludes("media/display.cpp", "#include \"engine/angles.h\"\n").size(), 1u);
}

TEST(IncludeRules, OutsideLibrariesOnlyInTheWindowSystemLayers) {
    EXPECT_EQ(CheckIncludes("shell/frame_step.cpp", "#include <QWidget>\n").size(), 1u);
    EXPECT_EQ(CheckIncludes("engine/pcx.cpp", "#include <SDL2/SDL.h>\n").size(), 1u);
    EXPECT_EQ(CheckIncludes("media/x.cpp", "#include <libavcodec/avcodec.h>\n").size(), 1u);
    EXPECT_TRUE(CheckIncludes("backends/qt/presenter.cpp", "#include <QImage>\n").empty());
    EXPECT_TRUE(CheckIncludes("net/enet/enet_transport.cpp", "#include <enet/enet.h>\n").empty());
    EXPECT_EQ(CheckIncludes("net/session_component.cpp", "#include <enet/enet.h>\n").size(), 1u);
    EXPECT_EQ(CheckIncludes("platform/files.cpp", "#include <QFile>\n").size(), 1u);
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
