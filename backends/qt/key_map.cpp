#include "backends/qt/key_map.h"

#include "platform/keys.h"

namespace {

int keypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kVkNumpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return kVkMultiply;
    case Qt::Key_Plus:
        return kVkAdd;
    case Qt::Key_Minus:
        return kVkSubtract;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return kVkDecimal;
    case Qt::Key_Slash:
        return kVkDivide;
    default:
        return -1; // arrows, Home, Enter... on the keypad act as the main keys
    }
}

} // namespace

int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        const int vk = keypadKey(qtKey);
        if (vk >= 0) return vk;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return kVkA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kVk0 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kVkF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return kVkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kVkReturn;
    case Qt::Key_Shift:
        return kVkShift;
    case Qt::Key_Control:
        return kVkControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return kVkMenu;
    case Qt::Key_Pause:
        return kVkPause;
    case Qt::Key_CapsLock:
        return kVkCapital;
    case Qt::Key_Escape:
        return kVkEscape;
    case Qt::Key_Space:
        return kVkSpace;
    case Qt::Key_PageUp:
        return kVkPrior;
    case Qt::Key_PageDown:
        return kVkNext;
    case Qt::Key_End:
        return kVkEnd;
    case Qt::Key_Home:
        return kVkHome;
    case Qt::Key_Left:
        return kVkLeft;
    case Qt::Key_Up:
        return kVkUp;
    case Qt::Key_Right:
        return kVkRight;
    case Qt::Key_Down:
        return kVkDown;
    case Qt::Key_Insert:
        return kVkInsert;
    case Qt::Key_Delete:
        return kVkDelete;
    case Qt::Key_NumLock:
        return kVkNumLock;
    case Qt::Key_ScrollLock:
        return kVkScroll;
    // Shifted and unshifted symbols of one key share its virtual key.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return kVkOemSemicolon;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return kVkOemPlus;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return kVkOemComma;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return kVkOemMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return kVkOemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return kVkOemSlash;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return kVkOemTilde;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return kVkOemOpenBracket;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return kVkOemBackslash;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return kVkOemCloseBracket;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return kVkOemQuote;
    // Shifted digits of a US keyboard.
    case Qt::Key_Exclam:
        return kVk0 + 1;
    case Qt::Key_At:
        return kVk0 + 2;
    case Qt::Key_NumberSign:
        return kVk0 + 3;
    case Qt::Key_Dollar:
        return kVk0 + 4;
    case Qt::Key_Percent:
        return kVk0 + 5;
    case Qt::Key_AsciiCircum:
        return kVk0 + 6;
    case Qt::Key_Ampersand:
        return kVk0 + 7;
    case Qt::Key_Asterisk:
        return kVk0 + 8;
    case Qt::Key_ParenLeft:
        return kVk0 + 9;
    case Qt::Key_ParenRight:
        return kVk0;
    default:
        return -1;
    }
}
