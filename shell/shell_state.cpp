#include "shell/shell_state.h"

#include "shell/lobby_view.h"

ShellState shellState;
LobbyView lobbyView;
