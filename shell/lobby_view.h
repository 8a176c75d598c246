// What the network lobby's panel shows: its list and its two buttons. The
// shell's lobby logic changes this record; the window mirrors it into its
// components whenever `revision` changes and writes the user's choice in
// the list back into `selected`. So the lobby runs, and is tested, without
// a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LobbyButtonView {
    std::string caption;
    bool visible = false;
    bool enabled = true;
};

struct LobbyView {
    bool panelVisible = false;
    std::vector<std::string> items; // ListBox
    std::int32_t selected = -1;     // -1: nothing selected
    LobbyButtonView newGame;        // NewGame
    LobbyButtonView joinGame;       // JoinGame
    // PortMapping: a created game asks the router to forward its port; the
    // choice is open until a game is created.
    bool portMapping = false;
    bool portMappingEnabled = true;
    // MappingStatus: the router port mapping's line, empty before a game is created.
    std::string mappingLine;
    // Bumped by the logic after each change, so the window knows to refresh.
    std::uint32_t revision = 0;
};

extern LobbyView lobbyView;
