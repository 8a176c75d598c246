// The editor's window driven by its components' names, as a user or a script
// drives it: icons, menu items, lists and the keys of the frame step, on Qt's
// offscreen platform with the built data set.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include <gtest/gtest.h>

#include "editor/editor_dump.h"
#include "editor/editor_state.h"
#include "editor/qt/editor_form.h"
#include "editor/qt/form_script.h"
#include "editor/qt/help_form.h"
#include "editor/test_play.h"
#include "engine/render_context.h"
#include "formats/definitions.h"
#include "formats/level_file.h"
#include "media/music_list.h"
#include "media/music_player.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/script_answers.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "test_editor_qt";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        new QApplication(argc, argv);
    }
    return *qApp;
}

class EditorFormTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        application();
        ASSERT_EQ(chdir(KELVANE_BINARY_DIR "/data"), 0);
    }

    void SetUp() override {
        ClearWorldTables();
        ForgetDefinitions();
        ResetEditorState();
        ClearScriptAnswers();
        UseVirtualClock(0);
        form = std::make_unique<TEditorForm>();
        form->show();
        ASSERT_TRUE(form->Activate());
        form->GameLoop->stop();
    }

    void TearDown() override {
        ReleaseAllKeys();
        StopMusic();
        // Closing asks about changes; the tests that care have asked already.
        editor.modified = false;
        form.reset();
        ClearScriptAnswers();
    }

    void Run(FormVerb verb, const std::string& target, const std::string& text = {}) {
        FormCommand command;
        command.verb = verb;
        command.target = target;
        command.text = text;
        command.cancel = text == "CANCEL";
        std::string error;
        ASSERT_TRUE(RunFormCommand(*form, command, error)) << error;
    }
    void Menu(const std::string& name) { Run(FormVerb::Menu, name); }
    void Click(const std::string& name) { Run(FormVerb::Click, name); }
    void Answer(const std::string& text) { Run(FormVerb::Answer, "", text); }
    void File(const std::string& path) { Run(FormVerb::File, "", path); }

    // One frame of 50 ms with these keys held.
    void Frame(std::initializer_list<int> held = {}) {
        for (int vk : held) PressKey(vk);
        AdvanceVirtualClock(50);
        form->FrameStep();
        for (int vk : held) ReleaseKey(vk);
    }
    // Enough frames for the shown selector to reach its target.
    void Settle() {
        for (int i = 0; i < 60; ++i) Frame();
    }

    void NewLevel(const std::string& x, const std::string& y, const std::string& z) {
        Answer(x);
        Answer(y);
        Answer(z);
        Menu("New1");
        Settle();
    }

    QString Text(const char* label) {
        return form->findChild<QLabel*>(QString::fromLatin1(label))->text();
    }

    std::unique_ptr<TEditorForm> form;
};

TEST_F(EditorFormTest, IconsAndKeysMoveTheSelectorAlikeAndTheLabelsFollow) {
    NewLevel("5", "4", "6");
    EXPECT_EQ(Text("XPosLabel"), "X:2 / 5");
    EXPECT_EQ(Text("YPosLabel"), "Y:1 / 4");
    EXPECT_EQ(Text("ZPosLabel"), "Z:3 / 6");

    // Each icon and its key, from the same place, end at the same target.
    const std::pair<const char*, std::vector<int>> pairs[] = {
        {"I_MoveForward", {kVkUp}},
        {"I_MoveBack", {kVkDown}},
        {"I_MoveLeft", {kVkControl, kVkLeft}},
        {"I_MoveRight", {kVkControl, kVkRight}},
        {"I_RotateLeft", {kVkLeft}},
        {"I_RotateRight", {kVkRight}},
        {"I_GoUp", {'H'}},
        {"I_GoDown", {'B'}},
        {"I_ZoomIn", {kVkAdd}},
        {"I_ZoomOut", {kVkSubtract}},
    };
    for (const auto& [icon, keys] : pairs) {
        const SelectorPose start = editor.target;
        const float distance = editor.distanceTarget;
        Click(icon);
        const SelectorPose byIcon = editor.target;
        const float distanceByIcon = editor.distanceTarget;
        editor.target = start;
        editor.distanceTarget = distance;
        for (int vk : keys) PressKey(vk);
        Frame();
        for (int vk : keys) ReleaseKey(vk);
        EXPECT_EQ(editor.target.x, byIcon.x) << icon;
        EXPECT_EQ(editor.target.y, byIcon.y) << icon;
        EXPECT_EQ(editor.target.z, byIcon.z) << icon;
        EXPECT_EQ(editor.target.heading, byIcon.heading) << icon;
        EXPECT_EQ(editor.distanceTarget, distanceByIcon) << icon;
    }

    // A quarter turn right, then forward: one cell along +x, labels too.
    editor.target.heading = 0;
    Click("I_RotateRight");
    Click("I_MoveForward");
    Frame();
    EXPECT_EQ(editor.target.heading, 8192.0f);
    EXPECT_EQ(Text("XPosLabel"), "X:3 / 5");

    // Held Up: one cell a frame until the edge, where target and shown stop.
    editor.target.heading = 0;
    for (int i = 0; i < 8; ++i) Frame({kVkUp});
    EXPECT_EQ(editor.target.z, 5 * 512 + 256.0f);
    EXPECT_EQ(editor.shown.z, editor.target.z);
    EXPECT_EQ(Text("ZPosLabel"), "Z:5 / 6");
    for (int i = 0; i < 8; ++i) Click("I_GoDown");
    Frame();
    EXPECT_EQ(editor.target.y, 256.0f);
    EXPECT_EQ(Text("YPosLabel"), "Y:0 / 4");

    // Page Up toggles the top view once however long it is held.
    Frame({kVkPrior});
    Frame({kVkPrior});
    EXPECT_EQ(editor.pitchTarget, -8192.0f);
    Click("I_LookUp");
    EXPECT_EQ(editor.pitchTarget, 0.0f);
}

TEST_F(EditorFormTest, LuminosityLabelAtTheEndsOfBrightness) {
    NewLevel("5", "4", "6");
    const CellPosition c = ShownCell();
    EXPECT_EQ(Text("LuminosityLabel"), "Luminosity: 50%");
    const auto brightnessAfter = [&](int start, const char* icon) {
        worldGrid.brightness[static_cast<std::size_t>(
            c.x + std::int64_t{worldGrid.sizeX} * (c.y + std::int64_t{worldGrid.sizeY} * c.z))] =
            static_cast<std::uint8_t>(start);
        Click(icon);
        Frame();
        return brightnessAt(c.x, c.y, c.z);
    };
    EXPECT_EQ(brightnessAfter(252, "I_Brighter"), 254);
    EXPECT_EQ(brightnessAfter(253, "I_Brighter"), 255);
    EXPECT_EQ(brightnessAfter(254, "I_Brighter"), 255);
    EXPECT_EQ(brightnessAfter(255, "I_Brighter"), 255);
    EXPECT_EQ(Text("LuminosityLabel"), "Luminosity: 99%");
    EXPECT_EQ(brightnessAfter(3, "I_Darker"), 1);
    EXPECT_EQ(brightnessAfter(2, "I_Darker"), 0);
    EXPECT_EQ(brightnessAfter(1, "I_Darker"), 0);
    EXPECT_EQ(brightnessAfter(0, "I_Darker"), 0);
    EXPECT_EQ(Text("LuminosityLabel"), "Luminosity: 0%");
}

} // namespace
