#include "Keyboard.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace keyboard {
namespace {

using Pair = std::pair<int, int>; // Qt key, virtual-key code

// Keys whose code does not follow from a range below.
constexpr std::array kKeys{
    Pair{Qt::Key_Backspace, 8},
    Pair{Qt::Key_Tab, 9},
    Pair{Qt::Key_Backtab, 9}, // Shift+Tab
    Pair{Qt::Key_Clear, 12},
    Pair{Qt::Key_Return, 13},
    Pair{Qt::Key_Enter, 13},
    Pair{Qt::Key_Shift, 16},
    Pair{Qt::Key_Control, 17},
    Pair{Qt::Key_Alt, 18},
    Pair{Qt::Key_AltGr, 18},
    Pair{Qt::Key_Pause, 19},
    Pair{Qt::Key_CapsLock, 20},
    Pair{Qt::Key_Kana_Lock, 21},
    Pair{Qt::Key_Katakana, 21},
    Pair{Qt::Key_Hiragana_Katakana, 21},
    Pair{Qt::Key_Kanji, 25},
    Pair{Qt::Key_Escape, 27},
    Pair{Qt::Key_Henkan, 28},
    Pair{Qt::Key_Muhenkan, 29},
    Pair{Qt::Key_Space, 32},
    Pair{Qt::Key_PageUp, 33},
    Pair{Qt::Key_PageDown, 34},
    Pair{Qt::Key_End, 35},
    Pair{Qt::Key_Home, 36},
    Pair{Qt::Key_Left, 37},
    Pair{Qt::Key_Up, 38},
    Pair{Qt::Key_Right, 39},
    Pair{Qt::Key_Down, 40},
    Pair{Qt::Key_Select, 41},
    Pair{Qt::Key_Printer, 42},
    Pair{Qt::Key_Execute, 43},
    Pair{Qt::Key_Print, 44},
    Pair{Qt::Key_SysReq, 44},
    Pair{Qt::Key_Insert, 45},
    Pair{Qt::Key_Delete, 46},
    Pair{Qt::Key_Help, 47},
    // The digit row, shifted.
    Pair{Qt::Key_ParenRight, 48},
    Pair{Qt::Key_Exclam, 49},
    Pair{Qt::Key_At, 50},
    Pair{Qt::Key_NumberSign, 51},
    Pair{Qt::Key_Dollar, 52},
    Pair{Qt::Key_Percent, 53},
    Pair{Qt::Key_AsciiCircum, 54},
    Pair{Qt::Key_Ampersand, 55},
    Pair{Qt::Key_Asterisk, 56},
    Pair{Qt::Key_ParenLeft, 57},
    Pair{Qt::Key_Super_L, 91},
    Pair{Qt::Key_Meta, 91},
    Pair{Qt::Key_Super_R, 92},
    Pair{Qt::Key_Menu, 93},
    Pair{Qt::Key_Sleep, 95},
    Pair{Qt::Key_NumLock, 144},
    Pair{Qt::Key_ScrollLock, 145},
    Pair{Qt::Key_Back, 166},
    Pair{Qt::Key_Forward, 167},
    Pair{Qt::Key_Refresh, 168},
    Pair{Qt::Key_Stop, 169},
    Pair{Qt::Key_Search, 170},
    Pair{Qt::Key_Favorites, 171},
    Pair{Qt::Key_HomePage, 172},
    Pair{Qt::Key_VolumeMute, 173},
    Pair{Qt::Key_VolumeDown, 174},
    Pair{Qt::Key_VolumeUp, 175},
    Pair{Qt::Key_MediaNext, 176},
    Pair{Qt::Key_MediaPrevious, 177},
    Pair{Qt::Key_MediaStop, 178},
    Pair{Qt::Key_MediaTogglePlayPause, 179},
    Pair{Qt::Key_MediaPlay, 179},
    Pair{Qt::Key_LaunchMail, 180},
    Pair{Qt::Key_LaunchMedia, 181},
    Pair{Qt::Key_Launch0, 182},
    Pair{Qt::Key_Launch1, 183},
    // Punctuation, plain and shifted.
    Pair{Qt::Key_Semicolon, 186},
    Pair{Qt::Key_Colon, 186},
    Pair{Qt::Key_Equal, 187},
    Pair{Qt::Key_Plus, 187},
    Pair{Qt::Key_Comma, 188},
    Pair{Qt::Key_Less, 188},
    Pair{Qt::Key_Minus, 189},
    Pair{Qt::Key_Underscore, 189},
    Pair{Qt::Key_Period, 190},
    Pair{Qt::Key_Greater, 190},
    Pair{Qt::Key_Slash, 191},
    Pair{Qt::Key_Question, 191},
    Pair{Qt::Key_QuoteLeft, 192},
    Pair{Qt::Key_AsciiTilde, 192},
    Pair{Qt::Key_BracketLeft, 219},
    Pair{Qt::Key_BraceLeft, 219},
    Pair{Qt::Key_Backslash, 220},
    Pair{Qt::Key_Bar, 220},
    Pair{Qt::Key_BracketRight, 221},
    Pair{Qt::Key_BraceRight, 221},
    Pair{Qt::Key_Apostrophe, 222},
    Pair{Qt::Key_QuoteDbl, 222},
};

// The numeric pad's own keys. Its other keys (Enter, and with Num Lock off
// the arrows, Home, Insert ...) have the codes of the main keys.
constexpr std::array kKeypadKeys{
    Pair{Qt::Key_Asterisk, 106},
    Pair{Qt::Key_Plus, 107},
    Pair{Qt::Key_Minus, 109},
    Pair{Qt::Key_Period, 110},
    Pair{Qt::Key_Comma, 110}, // the decimal key where the decimal sign is a comma
    Pair{Qt::Key_Slash, 111},
};

template <size_t N>
int lookUp(const std::array<Pair, N> &table, int qtKey)
{
    for (const auto &[key, code] : table)
        if (key == qtKey)
            return code;
    return 0;
}

} // namespace

int VirtualKeyOf(int qtKey, bool keypad)
{
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return VK_NUMPAD0 + (qtKey - Qt::Key_0);
        if (const int code = lookUp(kKeypadKeys, qtKey))
            return code;
    }
    // Letters and digits share their codes with their characters.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    return lookUp(kKeys, qtKey);
}

int VirtualKeyOf(const QKeyEvent &event)
{
    return VirtualKeyOf(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

int VirtualKeyOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return VK_LBUTTON;
    case Qt::RightButton: return VK_RBUTTON;
    case Qt::MiddleButton: return VK_MBUTTON;
    case Qt::BackButton: return VK_XBUTTON1;
    case Qt::ForwardButton: return VK_XBUTTON2;
    default: return 0;
    }
}

int LowestModifierKey(Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ShiftModifier))
        return VK_SHIFT;
    if (modifiers.testFlag(Qt::ControlModifier))
        return VK_CONTROL;
    if (modifiers.testFlag(Qt::AltModifier))
        return VK_MENU;
    return 0;
}

} // namespace keyboard
