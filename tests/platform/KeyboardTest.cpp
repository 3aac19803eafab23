#include <gtest/gtest.h>

#include <QKeyEvent>

#include "Keyboard.h"

using keyboard::LowestModifierKey;
using keyboard::VirtualKeyOf;

namespace {

struct KeyCase {
    const char *what;
    int qtKey;
    bool keypad;
    int code;
};

const KeyCase kKeyCases[] = {
    {"letter A", Qt::Key_A, false, 65},
    {"letter Z", Qt::Key_Z, false, 90},
    {"digit 0", Qt::Key_0, false, 48},
    {"digit 9", Qt::Key_9, false, 57},
    {"! is the 1 key", Qt::Key_Exclam, false, 49},
    {") is the 0 key", Qt::Key_ParenRight, false, 48},
    {"* is the 8 key", Qt::Key_Asterisk, false, 56},
    {"keypad 0", Qt::Key_0, true, 96},
    {"keypad 9", Qt::Key_9, true, 105},
    {"keypad *", Qt::Key_Asterisk, true, 106},
    {"keypad +", Qt::Key_Plus, true, 107},
    {"keypad -", Qt::Key_Minus, true, 109},
    {"keypad decimal", Qt::Key_Period, true, 110},
    {"keypad /", Qt::Key_Slash, true, 111},
    {"keypad Enter", Qt::Key_Enter, true, 13},
    {"keypad Home with Num Lock off", Qt::Key_Home, true, 36},
    {"F1", Qt::Key_F1, false, 112},
    {"F12", Qt::Key_F12, false, 123},
    {"F13", Qt::Key_F13, false, 124},
    {"F24", Qt::Key_F24, false, 135},
    {"Escape", Qt::Key_Escape, false, 27},
    {"Backspace", Qt::Key_Backspace, false, 8},
    {"Tab", Qt::Key_Tab, false, 9},
    {"Shift+Tab", Qt::Key_Backtab, false, 9},
    {"Return", Qt::Key_Return, false, 13},
    {"Shift", Qt::Key_Shift, false, 16},
    {"Control", Qt::Key_Control, false, 17},
    {"Alt", Qt::Key_Alt, false, 18},
    {"AltGr", Qt::Key_AltGr, false, 18},
    {"Pause", Qt::Key_Pause, false, 19},
    {"Caps Lock", Qt::Key_CapsLock, false, 20},
    {"Space", Qt::Key_Space, false, 32},
    {"Page Up", Qt::Key_PageUp, false, 33},
    {"Down", Qt::Key_Down, false, 40},
    {"Print", Qt::Key_Print, false, 44},
    {"Insert", Qt::Key_Insert, false, 45},
    {"Delete", Qt::Key_Delete, false, 46},
    {"left Windows key", Qt::Key_Super_L, false, 91},
    {"right Windows key", Qt::Key_Super_R, false, 92},
    {"Menu", Qt::Key_Menu, false, 93},
    {"Num Lock", Qt::Key_NumLock, false, 144},
    {"Scroll Lock", Qt::Key_ScrollLock, false, 145},
    {"; and :", Qt::Key_Colon, false, 186},
    {"= and +", Qt::Key_Plus, false, 187},
    {", and <", Qt::Key_Less, false, 188},
    {"- and _", Qt::Key_Underscore, false, 189},
    {". and >", Qt::Key_Period, false, 190},
    {"/ and ?", Qt::Key_Question, false, 191},
    {"` and ~", Qt::Key_AsciiTilde, false, 192},
    {"[ and {", Qt::Key_BracketLeft, false, 219},
    {"\\ and |", Qt::Key_Bar, false, 220},
    {"] and }", Qt::Key_BraceRight, false, 221},
    {"' and \"", Qt::Key_QuoteDbl, false, 222},
    {"a key with no code", Qt::Key_Eacute, false, 0},
    {"an unknown key", Qt::Key_unknown, false, 0},
};

} // namespace

TEST(Keyboard, QtKeysGiveWindowsVirtualKeyCodes)
{
    for (const KeyCase &c : kKeyCases)
        EXPECT_EQ(VirtualKeyOf(c.qtKey, c.keypad), c.code) << c.what;
}

TEST(Keyboard, AKeyEventCarriesTheKeypadMark)
{
    const QKeyEvent keypadSeven(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier);
    const QKeyEvent shiftedSeven(QEvent::KeyPress, Qt::Key_Ampersand, Qt::ShiftModifier);
    EXPECT_EQ(VirtualKeyOf(keypadSeven), 103);
    EXPECT_EQ(VirtualKeyOf(shiftedSeven), 55);
}

TEST(Keyboard, MouseButtonsAndHeldModifiers)
{
    EXPECT_EQ(VirtualKeyOf(Qt::LeftButton), 1);
    EXPECT_EQ(VirtualKeyOf(Qt::RightButton), 2);
    EXPECT_EQ(VirtualKeyOf(Qt::MiddleButton), 4);
    EXPECT_EQ(VirtualKeyOf(Qt::BackButton), 5);
    EXPECT_EQ(VirtualKeyOf(Qt::ForwardButton), 6);
    EXPECT_EQ(VirtualKeyOf(Qt::TaskButton), 0);

    EXPECT_EQ(LowestModifierKey(Qt::NoModifier), 0);
    EXPECT_EQ(LowestModifierKey(Qt::KeypadModifier), 0);
    EXPECT_EQ(LowestModifierKey(Qt::AltModifier), 18);
    EXPECT_EQ(LowestModifierKey(Qt::ControlModifier | Qt::AltModifier), 17);
    EXPECT_EQ(LowestModifierKey(Qt::ShiftModifier | Qt::ControlModifier), 16);
}
