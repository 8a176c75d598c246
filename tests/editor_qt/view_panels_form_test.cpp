// The editor window's view and panels with the built data set: the object
// list of placeable objects by group and search, the layout at the starting
// size, the picture's bars, the overview's and the warnings list's clicks,
// and the view distance menu.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTimer>
#include <memory>
#include <unistd.h>

#include <gtest/gtest.h>

#include "editor/editor_state.h"
#include "editor/overview_map.h"
#include "editor/qt/editor_form.h"
#include "editor/qt/form_script.h"
#include "editor/qt/object_list.h"
#include "editor/qt/overview_view.h"
#include "editor/qt/warnings_panel.h"
#include "formats/definitions.h"
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

class ViewPanelsFormTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        application();
        ASSERT_EQ(chdir(KELVANE_BINARY_DIR "/data"), 0);
    }

    void SetUp() override {
        setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
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
        editor.modified = false;
        form.reset();
        ClearScriptAnswers();
        unsetenv("XDG_CONFIG_HOME");
    }

    void Run(FormVerb verb, const std::string& target, const std::string& text = {}) {
        FormCommand command;
        command.verb = verb;
        command.target = target;
        command.text = text;
        std::string error;
        ASSERT_TRUE(RunFormCommand(*form, command, error)) << error;
    }

    void Frame() {
        AdvanceVirtualClock(50);
        form->FrameStep();
    }

    void NewLevel(const char* x, const char* y, const char* z) {
        for (const char* size : {x, y, z}) Run(FormVerb::Answer, "", size);
        Run(FormVerb::Menu, "New1");
    }

    std::vector<std::string> Listed() const {
        std::vector<std::string> out;
        for (int i = 0; i < form->ObjectCombo->count(); ++i)
            out.push_back(form->ObjectCombo->itemText(i).toStdString());
        return out;
    }

    TempDir config;
    std::unique_ptr<TEditorForm> form;
};

bool has(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

TEST_F(ViewPanelsFormTest, TheObjectListOffersPlaceableObjectsByGroupAndSearch) {
    const std::vector<std::string> all = Listed();
    for (const char* state : {"Soil crumbling", "Soil refilling", "Rooted soil crumbling",
                              "Lever turning", "Door opening", "Ingot door opening"})
        EXPECT_FALSE(has(all, state)) << state;
    for (const char* placeable :
         {"Stone floor", "Soil", "Loose soil", "Lever (pulled)", "Open door", "Ladder (x)",
          "Ramp up to the east", "Gold ingot", "Lava", "Torch", "Exit portal"})
        EXPECT_TRUE(has(all, placeable)) << placeable;
    // Headed group by group, floors first.
    EXPECT_EQ(all.front(), "FLOORS AND WALLS");
    EXPECT_EQ(all[1], "Stone floor");

    Run(FormVerb::Select, "ObjectGroup", "Hazards");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Spikes", "Lava", "Deep water"}));
    Run(FormVerb::Select, "ObjectGroup", "All objects");
    Run(FormVerb::Select, "ObjectSearch", "OPEN");
    EXPECT_EQ(Listed(),
              (std::vector<std::string>{"DOORS AND LEVERS", "Open door", "Ingot door (open)",
                                        "Sensor door (open)", "Door (second circuit) (open)"}));
    EXPECT_EQ(form->Objects->Listed(), 4);

    // A heading chooses nothing; an object becomes the current one.
    Run(FormVerb::Select, "ObjectCombo", "DOORS AND LEVERS");
    EXPECT_EQ(editor.currentObject, 0);
    Run(FormVerb::Select, "ObjectCombo", "Open door");
    EXPECT_EQ(objectTypes[editor.currentObject].Name, "Open door");
    // Searching on keeps the chosen object shown while it is listed.
    Run(FormVerb::Select, "ObjectSearch", "door");
    EXPECT_EQ(form->ObjectCombo->currentText(), "Open door");
    Run(FormVerb::Select, "ObjectSearch", "lava");
    EXPECT_EQ(form->ObjectCombo->currentIndex(), -1);
    EXPECT_EQ(objectTypes[editor.currentObject].Name, "Open door");
}

TEST_F(ViewPanelsFormTest, PanelsShareTheStartingWindowWithoutOverlapAndThePictureKeepsItsShape) {
    QApplication::processEvents();
    const QRect client = form->centralWidget()->geometry();
    const QRect view = form->LevelView->geometry().translated(client.topLeft());
    const QRect preview = form->CurrentView->geometry().translated(client.topLeft());
    const std::vector<std::pair<const char*, QRect>> parts = {
        {"view", view},
        {"overview", form->Overview->geometry()},
        {"warnings", form->Warnings->geometry()},
        {"info", form->InfoBox->geometry()},
        {"objects", form->SelectObjectBox->geometry()},
        {"preview", preview}};
    for (const auto& [name, rect] : parts) {
        EXPECT_TRUE(client.contains(rect)) << name;
        EXPECT_GE(rect.height(), 60) << name;
        for (const auto& [other, otherRect] : parts)
            EXPECT_TRUE(name == other || !rect.intersects(otherRect)) << name << " " << other;
    }
    EXPECT_EQ(preview.width(), 128);
    EXPECT_GE(form->Overview->width(), 100);

    // A wide view: the picture is 4:3 in the middle, black bars at the sides.
    form->resize(1400, 600);
    QApplication::processEvents();
    Frame();
    const QImage picture = form->Picture();
    const QRect wide = form->LevelView->geometry().translated(form->centralWidget()->pos());
    ASSERT_GT(wide.width() * 3, wide.height() * 4 + 40);
    const int bar = (wide.width() - wide.height() * 4 / 3) / 2;
    const auto litInColumn = [&](int x) {
        int lit = 0;
        for (int y = wide.top(); y <= wide.bottom(); ++y) lit += qGray(picture.pixel(x, y)) > 16;
        return lit;
    };
    EXPECT_EQ(litInColumn(wide.left() + bar / 2), 0);
    EXPECT_EQ(litInColumn(wide.right() - bar / 2), 0);
    EXPECT_GT(litInColumn(wide.left() + wide.width() / 2), wide.height() / 4);
}

TEST_F(ViewPanelsFormTest, OverviewAndWarningClicksMoveTheSelector) {
    NewLevel("12", "3", "10");
    Frame();
    const OverviewMap map = BuildOverview();
    ASSERT_EQ(map.layer, 1);
    const OverviewFit fit = FitOverview(map, form->Overview->width(), form->Overview->height());
    // The middle of cell (9, 1, 2), clicked the way a script's mouse does it.
    const QPoint inside(fit.left + static_cast<int>(9.5 * fit.scale),
                        fit.top + static_cast<int>((10 - 1 - 2 + 0.5) * fit.scale));
    form->SetMouse(form->Overview->pos() + inside, true, false);
    EXPECT_EQ(TargetCell(), (CellPosition{9, 1, 2}));
    form->SetMouse(form->Overview->pos() + inside, false, false);
    // Off the map nothing moves.
    EXPECT_FALSE(form->Overview->ClickAt(QPoint(-3, -3)));
    EXPECT_EQ(TargetCell(), (CellPosition{9, 1, 2}));

    // The start (6, 1, 5) left over nothing is listed with its cell.
    setCell(6, 0, 5, 0);
    for (int i = 0; i < 10; ++i) Frame();
    QListWidget* list = form->Warnings->List;
    const QList<QListWidgetItem*> found = list->findItems(
        QStringLiteral("(6, 1, 5) The start point is over nothing."), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    emit list->itemClicked(found.front());
    EXPECT_EQ(TargetCell(), (CellPosition{6, 1, 5}));
    // A warning without a cell leaves the selector where it is.
    const QList<QListWidgetItem*> exit = list->findItems(
        QStringLiteral("The exit is not placed inside the level."), Qt::MatchExactly);
    ASSERT_EQ(exit.size(), 1);
    emit list->itemClicked(exit.front());
    EXPECT_EQ(TargetCell(), (CellPosition{6, 1, 5}));
}

TEST_F(ViewPanelsFormTest, TheViewDistanceMenuSetsAndKeepsTheDistance) {
    EXPECT_EQ(editor.viewDistance, 8);
    auto* whole = form->findChild<QAction*>(QStringLiteral("ViewDistanceAll"));
    ASSERT_NE(whole, nullptr);
    whole->trigger();
    EXPECT_EQ(editor.viewDistance, 0);
    EXPECT_TRUE(whole->isChecked());
    EXPECT_FALSE(form->findChild<QAction*>(QStringLiteral("ViewDistance8"))->isChecked());
    EXPECT_NE(form->DescribeState().find("viewDistance=whole\n"), std::string::npos);

    // A new window starts with it.
    form.reset();
    ResetEditorState();
    form = std::make_unique<TEditorForm>();
    form->show();
    ASSERT_TRUE(form->Activate());
    form->GameLoop->stop();
    EXPECT_EQ(editor.viewDistance, 0);
    EXPECT_TRUE(form->findChild<QAction*>(QStringLiteral("ViewDistanceAll"))->isChecked());
}

} // namespace
