// The start of the local player's death.
#pragma once

void killPlayer();
