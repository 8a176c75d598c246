#include "shell/lobby_pad.h"

#include "shell/control_bindings.h"
#include "shell/form_services.h"
#include "shell/joystick.h"
#include "shell/lobby.h"
#include "shell/lobby_view.h"
#include "shell/net_session.h"

LobbyPadState lobbyPad;

namespace {

enum LobbyInput { kUp, kDown, kA, kB, kX, kLobbyInputCount };

constexpr std::array<PadInput, kLobbyInputCount> kInputs = {PadInput::Up, PadInput::Down,
                                                            PadInput::A, PadInput::B, PadInput::X};

// One step through the list, from no choice to the first row; it stops at
// either end.
void moveSelection(int by) {
    const int count = static_cast<int>(lobbyView.items.size());
    if (count == 0) return;
    int row = lobbyView.selected < 0 || lobbyView.selected >= count ? 0 : lobbyView.selected + by;
    if (row < 0) row = 0;
    if (row >= count) row = count - 1;
    if (row == lobbyView.selected) return;
    lobbyView.selected = row;
    ++lobbyView.revision;
}

void pressA() {
    if (netState.LobbyPhase == kLobbyChooseSession) {
        JoinGameClick();
    } else if (lobbyView.newGame.visible && lobbyView.newGame.enabled) {
        NewGameClick();
    }
}

void pressX() {
    if (lobbyView.joinGame.visible && lobbyView.joinGame.enabled) JoinGameClick();
}

} // namespace

void LobbyPadStep() {
    UpdateJoystick();
    // A controller plugged in while the lobby is shown is taken up too.
    if (joystickState.JoystickAbsent) ReadJoystickCaps();
    std::array<bool, kLobbyInputCount> now{};
    for (int i = 0; i < kLobbyInputCount; ++i) now[i] = PadInputHeld(kInputs[i]);
    std::array<bool, kLobbyInputCount> pressed{};
    for (int i = 0; i < kLobbyInputCount; ++i) pressed[i] = now[i] && !lobbyPad.held[i];
    lobbyPad.held = now;
    // The dialog's own controller handling has the presses.
    if (FormDialogOpen()) return;
    if (pressed[kUp]) moveSelection(-1);
    if (pressed[kDown]) moveSelection(+1);
    if (pressed[kA]) {
        pressA();
    } else if (pressed[kX]) {
        pressX();
    } else if (pressed[kB]) {
        LeaveLobbySession();
    }
}
