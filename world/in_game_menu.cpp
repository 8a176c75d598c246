#include "world/in_game_menu.h"

InGameMenu inGameMenu;
