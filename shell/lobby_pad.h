// The controller in the network lobby: up and down choose in the list, A
// presses the left button (Create Game, then Go) or, in the list of
// sessions, joins the chosen one; X presses Join Game; B leaves the session
// (or the list of sessions) for the list of transports. Each acts once per
// press, and nothing acts while a dialog is open over the window.
#pragma once

#include <array>

struct LobbyPadState {
    // Up, down, A, B, X as the last step read them.
    std::array<bool, 5> held{};
};

extern LobbyPadState lobbyPad;

// Once a frame while the lobby is shown: reads joystick 1 and acts on new presses.
void LobbyPadStep();
