// Qt key events to the Windows virtual-key numbers of the key table.
#pragma once

#include <Qt>

// The virtual key of a Qt key code (keypad keys need Qt::KeypadModifier), or
// -1 for keys the table does not know.
int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
