// The editor's window driven by its components' names, as a user or a script
// drives it: icons, menu items, lists and the keys of the frame step, on Qt's
// offscreen platform with the built data set.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include <gtest/gtest.h>

#include "backends/qt/app_icon.h"
#include "editor/cell_commands.h"
#include "editor/editor_dump.h"
#include "editor/editor_state.h"
#include "editor/level_commands.h"
#include "editor/qt/editor_form.h"
#include "editor/qt/form_script.h"
#include "editor/qt/help_form.h"
#include "editor/qt/help_pages.h"
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

TEST_F(EditorFormTest, TheWindowCarriesTheEditorsIconAtEverySize) {
    EXPECT_EQ(form->windowIcon().availableSizes().size(), AppIconSizes().size());
    EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), AppIconName(AppIconKind::Editor));
}

TEST_F(EditorFormTest, LuminosityLabelAtTheEndsOfBrightness) {
    NewLevel("5", "4", "6");
    const CellPosition c = TargetCell();
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

TEST_F(EditorFormTest, MusicControlsFollowTheZoneUnderTheSelectorAndPlayItsMusic) {
    NewLevel("5", "4", "6");
    EXPECT_FALSE(form->MusicBox->isVisible());
    ASSERT_GE(form->MusicBox->count(), 2);
    const std::string first = form->MusicBox->itemText(0).toStdString();
    const std::string second = form->MusicBox->itemText(1).toStdString();

    // Two neighbouring zones with different music.
    Click("I_SFX");
    Frame();
    ASSERT_TRUE(form->MusicBox->isVisible());
    EXPECT_TRUE(form->Play->isVisible());
    Run(FormVerb::Select, "MusicBox", first);
    Click("I_MoveForward");
    Click("I_SFX");
    Frame();
    Run(FormVerb::Select, "MusicBox", second);

    // Stepping straight from one zone onto the other shows that zone's music,
    // and Play plays it.
    Click("I_MoveBack");
    Frame();
    EXPECT_EQ(form->MusicBox->currentText().toStdString(), first);
    Click("Play");
    EXPECT_EQ(CurrentMusicState().index, MusicIndexByName(first));
    Click("I_MoveForward");
    Frame();
    EXPECT_EQ(form->MusicBox->currentText().toStdString(), second);
    Click("Stop");
    EXPECT_EQ(CurrentMusicState().index, -1);

    // Deleting the cell frees its zone and hides the controls.
    Settle();
    Click("I_DelBlock");
    Frame();
    EXPECT_FALSE(form->MusicBox->isVisible());
    EXPECT_FALSE(form->Play->isVisible());
    EXPECT_NE(form->DescribeState().find("musicZonesUsed=1\n"), std::string::npos);
}

TEST_F(EditorFormTest, SentryCountIsCappedAndAMinusSignRefused) {
    Answer("300");
    Menu("NumberofSentries1");
    EXPECT_EQ(sentryCount, 255);
    EXPECT_EQ(form->NMEList->count(), 255);
    EXPECT_EQ(form->NMEList->itemText(254), "NME #255");

    Answer("-3");
    Answer("CANCEL");
    Menu("NumberofSentries1");
    EXPECT_EQ(editor.lastMessage, "You must enter a positive number.");
    EXPECT_EQ(sentryCount, 255);
}

TEST_F(EditorFormTest, PlaneFillFromTheMenuUndoesAndRedoesEveryCell) {
    NewLevel("5", "4", "6");
    Run(FormVerb::Select, "ObjectCombo", "Red bricks");
    const std::uint8_t bricks = editor.currentObject;
    const CellPosition c = TargetCell();
    const std::string before = CellDigest();
    Menu("Z1");
    for (int z = 0; z < 6; ++z)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(cellAt(x, y, z), z == c.z ? bricks : (y == 0 ? 1 : 0))
                    << x << "," << y << "," << z;
    const std::string filled = CellDigest();
    Menu("Undo1");
    EXPECT_EQ(CellDigest(), before);
    Menu("Redo1");
    EXPECT_EQ(CellDigest(), filled);
}

TEST_F(EditorFormTest, ResizingPicksTheLevelViewBufferSize) {
    // The level view is the client area less the info panel; its larger
    // side picks the buffer.
    const struct {
        int width, height, bufferWidth, bufferHeight;
    } cases[] = {
        {1100, 700, 800, 600}, {900, 600, 640, 480}, {760, 500, 512, 348}, {629, 479, 320, 240}};
    for (const auto& c : cases) {
        form->resize(c.width, c.height);
        QApplication::processEvents();
        const int side = std::max(form->LevelView->width(), form->LevelView->height());
        EXPECT_EQ(renderContext.mainBuffer.width, c.bufferWidth) << c.width << " side " << side;
        EXPECT_EQ(renderContext.mainBuffer.height, c.bufferHeight) << c.width;
    }
    // The form is never lower than 469 pixels.
    form->resize(629, 200);
    QApplication::processEvents();
    EXPECT_GE(form->height(), 469);
}

TEST_F(EditorFormTest, IconPicturesFitThePanelAtTheStartingSize) {
    // On a music cell every control of the panel is shown at once.
    NewLevel("5", "4", "6");
    Click("I_SFX");
    Frame();
    ASSERT_TRUE(form->MusicBox->isVisible());
    QApplication::processEvents();

    const QList<QToolButton*> icons =
        form->InfoBox->findChildren<QToolButton*>(QRegularExpression(QStringLiteral("^I_")));
    EXPECT_EQ(icons.size(), 19);
    const QRect inside = form->InfoBox->contentsRect();
    for (const QToolButton* icon : icons) {
        const std::string name = icon->objectName().toStdString();
        EXPECT_FALSE(icon->icon().isNull()) << name;
        // The picture is shown whole, not shrunk into a small button.
        EXPECT_EQ(icon->iconSize(), QSize(24, 24)) << name;
        EXPECT_GE(icon->width(), 28) << name;
        EXPECT_GE(icon->height(), 28) << name;
        EXPECT_TRUE(inside.contains(icon->geometry())) << name;
        for (const QToolButton* other : icons)
            EXPECT_TRUE(other == icon || !icon->geometry().intersects(other->geometry())) << name;
    }
    for (const QWidget* control :
         {static_cast<QWidget*>(form->MusicBox), static_cast<QWidget*>(form->Play),
          static_cast<QWidget*>(form->SetNMEPos), static_cast<QWidget*>(form->NMEList)}) {
        EXPECT_TRUE(inside.contains(control->geometry())) << control->objectName().toStdString();
        for (const QToolButton* icon : icons)
            EXPECT_FALSE(control->geometry().intersects(icon->geometry()))
                << control->objectName().toStdString();
    }
    // The object list and the whole preview still fit below the panel.
    EXPECT_LT(form->InfoBox->geometry().bottom(), form->SelectObjectBox->geometry().top());
    EXPECT_EQ(form->CurrentView->width(), 128);
}

TEST_F(EditorFormTest, HelpPagesShowThePicturesOfTheIconsTheyName) {
    static const QRegularExpression reference(QStringLiteral("src='(icon:\\w+)'"));
    int pictures = 0;
    for (int page = 0; page < kHelpPageCount; ++page) {
        const auto* text =
            form->HelpForm->Pages->widget(page)->findChild<QTextEdit*>(QStringLiteral("Text"));
        ASSERT_NE(text, nullptr);
        const QString html = QString::fromUtf8(kHelpPages[page].text);
        for (auto match = reference.globalMatch(html); match.hasNext(); ++pictures) {
            const QString url = match.next().captured(1);
            const QImage picture =
                text->document()->resource(QTextDocument::ImageResource, QUrl(url)).value<QImage>();
            EXPECT_FALSE(picture.isNull()) << page << " " << url.toStdString();
        }
    }
    // Start and exit on their page, the music cell on its own.
    EXPECT_EQ(pictures, 3);
}

TEST_F(EditorFormTest, HelpButtonsOpenTheirPages) {
    EXPECT_FALSE(form->HelpForm->isVisible());
    Menu("Help1");
    EXPECT_TRUE(form->HelpForm->isVisible());
    EXPECT_EQ(form->HelpForm->CurrentPage(), 0);
    const std::pair<const char*, int> buttons[] = {{"Menu2", 1}, {"Menu3", 2}, {"Menu4", 3},
                                                   {"Menu5", 4}, {"Menu8", 7}, {"Menu9", 8},
                                                   {"Menu6", 5}, {"Menu7", 6}, {"Menu1", 0}};
    for (const auto& [button, page] : buttons) {
        Click(button);
        EXPECT_EQ(form->HelpForm->CurrentPage(), page) << button;
    }
    Click("Menu5");
    EXPECT_EQ(form->HelpForm->CurrentTitle(), "ADDING SOME MUSIC");
    EXPECT_NE(form->DescribeState().find("helpShown=1\n"), std::string::npos);
}

TEST_F(EditorFormTest, AFailedSaveKeepsTheCaptionAndSaysWhy) {
    TempDir dir;
    const std::string good = dir.file("good.lev");
    File(good);
    Menu("Saveas1");
    const QString saved = QString::fromStdString("Kelvane - Level Editor - " + good);
    EXPECT_EQ(form->windowTitle(), saved);

    Click("I_Brighter");
    Frame();
    EXPECT_EQ(form->windowTitle(), saved + " *");
    const std::string folder = dir.path().string(); // a folder cannot be written as a file
    File(folder);
    Menu("Saveas1");
    EXPECT_EQ(editor.lastMessage, "The file " + folder + " could not be written.");
    EXPECT_EQ(form->windowTitle(), saved + " *");
    EXPECT_EQ(editor.fileName, good);
}

TEST_F(EditorFormTest, QuitWithChangesAsksAndCancelKeepsTheWindow) {
    Click("I_Brighter");
    Menu("Quit1"); // nothing queued: the question answers Cancel at once
    EXPECT_TRUE(form->isVisible());

    // The question takes only its own queue: an answer meant for a prompt stays.
    TempDir dir;
    Answer("Yes");
    Menu("Quit1");
    EXPECT_TRUE(form->isVisible());
    ClearScriptAnswers();
    Run(FormVerb::SaveAnswer, "", "YES");
    File(dir.file("kept.lev"));
    Menu("Quit1");
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(std::filesystem::exists(dir.file("kept.lev")));

    form->show();
    Click("I_Brighter");
    Run(FormVerb::SaveAnswer, "", "No");
    Menu("Quit1");
    EXPECT_FALSE(form->isVisible());
}

TEST_F(EditorFormTest, TheCaptionNamesTheProgramFromTheStart) {
    Frame();
    EXPECT_EQ(form->windowTitle().toStdString(), "Kelvane - Level Editor");
}

TEST_F(EditorFormTest, TestPlayStartsTheGameOnceOnACopyOfTheLevel) {
    TempDir dir;
    setenv("TMPDIR", dir.path().c_str(), 1);
    std::vector<std::vector<std::string>> launches;
    bool launcherWorks = true;
    editorServices.startProgram = [&](const std::string& program,
                                      const std::vector<std::string>& arguments) {
        std::vector<std::string> line{program};
        line.insert(line.end(), arguments.begin(), arguments.end());
        launches.push_back(line);
        return launcherWorks;
    };
    const std::string game = dir.write("kelvane", std::string("#!/bin/sh\n"));
    editor.gameProgram = game;
    editor.dataFolder = "/data";

    NewLevel("5", "4", "6");
    Click("I_Brighter");
    Frame({kVkF9});
    Frame({kVkF9});
    Frame({kVkF9}); // one press held over three frames
    ASSERT_EQ(launches.size(), 1u);
    const std::string file = dir.file("kelvedit-test-play-" + std::to_string(getpid()) + ".lev");
    EXPECT_EQ(launches[0], (std::vector<std::string>{game, "--data", "/data", "--level", file}));
    EXPECT_EQ(ReadBytes(file), EncodeEditorLevel());
    // The level being edited is still the unsaved one.
    EXPECT_TRUE(editor.modified);
    EXPECT_EQ(editor.fileName, "");

    Menu("TestPlay1");
    EXPECT_EQ(launches.size(), 2u);
    launcherWorks = false;
    Menu("TestPlay1");
    EXPECT_EQ(editor.lastMessage, "The game " + game + " could not be started.");
    editor.gameProgram = dir.file("missing");
    Menu("TestPlay1");
    EXPECT_EQ(editor.lastMessage, "The game " + dir.file("missing") + " was not found.");
    EXPECT_EQ(launches.size(), 3u);
    unsetenv("TMPDIR");
}

TEST_F(EditorFormTest, PreviewShowsTheChosenObjectAndTheListNothingBefore) {
    // At start the current object is type 0, which is not in the list.
    EXPECT_EQ(form->ObjectCombo->currentIndex(), -1);
    const auto previewLit = [&] {
        const QImage picture = form->Picture();
        const QRect view = form->CurrentView->geometry().translated(form->centralWidget()->pos());
        int lit = 0;
        for (int y = view.top(); y <= view.bottom() && y < picture.height(); ++y)
            for (int x = view.left(); x <= view.right() && x < picture.width(); ++x)
                if (qGray(picture.pixel(x, y)) > 16) ++lit;
        return lit;
    };
    Frame();
    EXPECT_EQ(previewLit(), 0);
    Run(FormVerb::Select, "ObjectCombo", "Red bricks");
    Frame();
    EXPECT_EQ(form->ObjectCombo->currentText(), "Red bricks");
    EXPECT_GT(previewLit(), 1000);
}

} // namespace
