// The buttons of the title and end screens.
#pragma once

// True when any of the local player's buttons `first`..`last` (1 jump/fire,
// 2 look, 3 action, 4 menu/Escape) is set in this frame.
bool AnyButtonSet(int first, int last);

// Leaves the screen: the choice sound (only while no transition runs) and a
// closing transition. Nothing once a closing transition has completed, so
// that a button still held cannot cover the covered picture again and keep
// the screen from handling its end.
void CloseScreenWithChoice();
