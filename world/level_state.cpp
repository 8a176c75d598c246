#include "world/level_state.h"

LevelState levelState;
