// The lobby's panel as the window shows it: the view record mirrored into
// CommPanel, the user's choice written back, and the script's commands on
// the game window's components.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "backends/qt/form_commands.h"
#include "platform/script_answers.h"
#include "qt/qt_test_support.h"
#include "shell/form_services.h"
#include "shell/lobby_view.h"
#include "shell/qt/screen_form.h"
#include "shell/shell_state.h"
#include "shell/shell_test_support.h"

namespace {

class LobbyPanelTest : public ShellTest {
  protected:
    void SetUp() override {
        EnsureQtApplication();
        ShellTest::SetUp();
        lobbyView = LobbyView{};
        ClearScriptAnswers();
    }
    void TearDown() override {
        lobbyView = LobbyView{};
        ShellTest::TearDown();
    }

    // What the lobby's logic shows after a session listing.
    static void ShowSessions(std::vector<std::string> items, int selected) {
        lobbyView.panelVisible = true;
        lobbyView.items = std::move(items);
        lobbyView.selected = selected;
        lobbyView.newGame = {"Create Game", true, false};
        lobbyView.joinGame = {"Join Game", true, true};
        ++lobbyView.revision;
    }
};

std::vector<std::string> rows(const QListWidget& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.count(); ++i) texts.push_back(list.item(i)->text().toStdString());
    return texts;
}

FormCommand command(FormVerb verb, std::string target, std::string text = {}) {
    FormCommand c;
    c.verb = verb;
    c.target = std::move(target);
    c.text = std::move(text);
    return c;
}

TEST_F(LobbyPanelTest, MirrorsTheViewOnlyWhenItsRevisionChanges) {
    TScreenForm form;
    form.show();
    ShowSessions({"Kelvane - Ann", "Kelvane - Bob"}, 1);
    form.MirrorLobbyView();
    EXPECT_TRUE(form.CommPanel->isVisible());
    EXPECT_EQ(rows(*form.ListBox), (std::vector<std::string>{"Kelvane - Ann", "Kelvane - Bob"}));
    EXPECT_EQ(form.ListBox->currentRow(), 1);
    EXPECT_EQ(form.NewGame->text(), "Create Game");
    EXPECT_FALSE(form.NewGame->isEnabled());
    EXPECT_TRUE(form.JoinGame->isEnabled());

    // The user's choice reaches the logic; an unchanged revision leaves it shown.
    form.ListBox->setCurrentRow(0);
    EXPECT_EQ(lobbyView.selected, 0);
    lobbyView.items.push_back("not yet told");
    form.MirrorLobbyView();
    EXPECT_EQ(form.ListBox->count(), 2);
    EXPECT_EQ(form.ListBox->currentRow(), 0);

    // The refresh of the player list keeps the logic's selection; a
    // selection beyond the list shows none; the mirroring itself is not
    // taken for a user's choice.
    ShowSessions({"Ann", "Bob", "Cy"}, 2);
    form.MirrorLobbyView();
    EXPECT_EQ(form.ListBox->currentRow(), 2);
    ShowSessions({"Ann"}, 5);
    form.MirrorLobbyView();
    EXPECT_EQ(form.ListBox->currentRow(), -1);
    EXPECT_EQ(lobbyView.selected, 5);

    lobbyView.panelVisible = false;
    lobbyView.newGame.visible = false;
    ++lobbyView.revision;
    form.MirrorLobbyView();
    EXPECT_FALSE(form.CommPanel->isVisible());
}

TEST_F(LobbyPanelTest, ScriptCommandsReachOnlyWhatAUserCould) {
    TScreenForm form;
    form.show();
    ShowSessions({"Kelvane - Ann", "Kelvane - Ann", "Kelvane - Bob"}, -1);
    form.MirrorLobbyView();
    std::string error;

    // Equal texts: the first is chosen, and the logic learns it.
    EXPECT_TRUE(RunSharedFormCommand(command(FormVerb::Select, "ListBox", "Kelvane - Bob"), error));
    EXPECT_EQ(lobbyView.selected, 2);
    EXPECT_TRUE(RunSharedFormCommand(command(FormVerb::Select, "ListBox", "Kelvane - Ann"), error));
    EXPECT_EQ(lobbyView.selected, 0);
    EXPECT_FALSE(RunSharedFormCommand(command(FormVerb::Select, "ListBox", "Kelvane"), error));
    EXPECT_EQ(error, "'ListBox' has no item 'Kelvane'");

    EXPECT_FALSE(RunSharedFormCommand(command(FormVerb::Click, "NewGame"), error));
    EXPECT_EQ(error, "no button 'NewGame' shown"); // disabled
    EXPECT_TRUE(RunSharedFormCommand(command(FormVerb::Click, "JoinGame"), error));
    EXPECT_FALSE(RunSharedFormCommand(command(FormVerb::Click, "Go"), error));

    lobbyView.panelVisible = false;
    ++lobbyView.revision;
    form.MirrorLobbyView();
    EXPECT_FALSE(RunSharedFormCommand(command(FormVerb::Click, "JoinGame"), error));
    EXPECT_FALSE(
        RunSharedFormCommand(command(FormVerb::Select, "ListBox", "Kelvane - Bob"), error));
    EXPECT_EQ(error, "no list 'ListBox' shown");
    EXPECT_FALSE(RunSharedFormCommand(command(FormVerb::Mouse, ""), error));
}

// The port-mapping box and line: mirrored from the view, the user's (or the
// script's) click reaching the choice, and no click once the box is closed.
TEST_F(LobbyPanelTest, PortMappingBoxAndLine) {
    TScreenForm form;
    form.show();
    ShowSessions({"LAN (broadcast)"}, 0);
    lobbyView.portMapping = true;
    lobbyView.mappingLine = "Public address: 203.0.113.7:47801 (NAT-PMP)";
    ++lobbyView.revision;
    form.MirrorLobbyView();
    EXPECT_TRUE(form.PortMapping->isChecked());
    EXPECT_EQ(form.MappingStatus->text().toStdString(), lobbyView.mappingLine);

    std::string error;
    ASSERT_TRUE(RunSharedFormCommand(command(FormVerb::Click, "PortMapping"), error)) << error;
    EXPECT_FALSE(lobbyView.portMapping);
    EXPECT_EQ(shellState.PortMapping, false);
    EXPECT_FALSE(form.PortMapping->isChecked());

    lobbyView.portMappingEnabled = false;
    ++lobbyView.revision;
    form.MirrorLobbyView();
    EXPECT_FALSE(form.PortMapping->isEnabled());
    EXPECT_FALSE(RunSharedFormCommand(command(FormVerb::Click, "PortMapping"), error));
    EXPECT_FALSE(lobbyView.portMapping);
}

TEST_F(LobbyPanelTest, TheNicknamePromptNeverBlocksWithoutAScreen) {
    TScreenForm form;
    EXPECT_EQ(FormAskText("Network game", "Please enter your Nickname:", "Ann"), std::nullopt);
    std::string error;
    ASSERT_TRUE(RunSharedFormCommand(command(FormVerb::Answer, "", "Bob"), error));
    EXPECT_EQ(FormAskText("Network game", "Please enter your Nickname:", "Ann"), "Bob");
}

} // namespace
