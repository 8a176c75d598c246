// The keyboard as the game polls it: a table of 256 keys indexed by Windows
// virtual-key numbers, fed by the window's key events (or an input script).
// A query answers "down now, or pressed since the last query of that key", so
// a tap between two frames is still seen once.
#pragma once

#include <optional>
#include <string>

constexpr int kVirtualKeyCount = 256;

// Virtual-key numbers the game and the automation name.
enum VirtualKey : int {
    kVkBack = 8,
    kVkTab = 9,
    kVkReturn = 13,
    kVkShift = 16,
    kVkControl = 17,
    kVkMenu = 18, // Alt
    kVkPause = 19,
    kVkCapital = 20,
    kVkEscape = 27,
    kVkSpace = 32,
    kVkPrior = 33,
    kVkNext = 34,
    kVkEnd = 35,
    kVkHome = 36,
    kVkLeft = 37,
    kVkUp = 38,
    kVkRight = 39,
    kVkDown = 40,
    kVkInsert = 45,
    kVkDelete = 46,
    kVk0 = 48, // '0'..'9' are 48..57
    kVkA = 65, // 'A'..'Z' are 65..90
    kVkNumpad0 = 96,
    kVkMultiply = 106,
    kVkAdd = 107,
    kVkSubtract = 109,
    kVkDecimal = 110,
    kVkDivide = 111,
    kVkF1 = 112, // F1..F24 are 112..135
    kVkF2,
    kVkF3,
    kVkF4,
    kVkF5,
    kVkF6,
    kVkF7,
    kVkF8,
    kVkF9,
    kVkF10,
    kVkF11,
    kVkF12,
    kVkNumLock = 144,
    kVkScroll = 145,
    kVkOemSemicolon = 186,
    kVkOemPlus = 187,
    kVkOemComma = 188,
    kVkOemMinus = 189,
    kVkOemPeriod = 190,
    kVkOemSlash = 191,
    kVkOemTilde = 192,
    kVkOemOpenBracket = 219,
    kVkOemBackslash = 220,
    kVkOemCloseBracket = 221,
    kVkOemQuote = 222,
};

// Key events. Numbers outside 0..255 are ignored.
void PressKey(int vk);
void ReleaseKey(int vk);
// The window lost the focus: no key stays down (a press not yet queried is
// still reported once).
void ReleaseAllKeys();
// Forgets every key and every pending press.
void ResetKeys();

// True when the key is down or was pressed since the last query of it; the
// query consumes the pending press. False for numbers outside 0..255.
bool QueryKey(int vk);
// Down right now, without consuming a pending press.
bool KeyIsDown(int vk);

// Names the automation script uses: UP DOWN LEFT RIGHT SPACE CTRL SHIFT ESC
// F1..F12 ADD SUBTRACT DELETE BACK PGUP PGDN, PLUS and MINUS (the main row's
// = and - keys) and the letters A..Z (case-insensitive).
std::optional<int> VirtualKeyFromName(const std::string& name);
// The name VirtualKeyFromName reads back as `vk` (upper case); empty for a
// key without a name there.
std::string VirtualKeyName(int vk);
