#pragma once
// Keys and mouse buttons as Windows numbers them (virtual-key codes), read
// from Qt's key and mouse events. The emulators are configured in these
// numbers, so a window that captures a key for them asks here.
//
// Shifted symbols count as the key that types them on a US keyboard ("!" is
// the 1 key, ":" the ";" key), as a virtual-key code names the key, not the
// character.

#include <Qt>

class QKeyEvent;

namespace keyboard {

enum VirtualKey : int {
    VK_LBUTTON = 1,
    VK_RBUTTON = 2,
    VK_MBUTTON = 4,
    VK_XBUTTON1 = 5,
    VK_XBUTTON2 = 6,
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18, // Alt
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_NUMPAD0 = 96,
    VK_F1 = 112,
};

// The code of a key by Qt's key number; `keypad` for a key of the numeric
// pad. 0 for a key that has no code.
int VirtualKeyOf(int qtKey, bool keypad);
int VirtualKeyOf(const QKeyEvent &event);
// The code of a mouse button; 0 for one that has none.
int VirtualKeyOf(Qt::MouseButton button);

// The lowest code among Shift, Control and Alt held in `modifiers`, or 0
// when none is held.
int LowestModifierKey(Qt::KeyboardModifiers modifiers);

} // namespace keyboard
