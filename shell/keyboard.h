// Keyboard polls of the game: a key counts as down when it is held or was
// pressed since its last poll.
#pragma once

bool KeyDown(int vk);

// Polls all 256 keys again and again until one whole pass finds none down,
// letting the window deliver its key events between passes.
void WaitForNoKey();
