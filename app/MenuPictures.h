#pragma once
// The artwork of the main window's graphical look, drawn in code: the
// precaution screen, the title screen, the menu background, the ten image
// buttons, the low-battery lamp and the mouse pointer. Every picture comes
// in two sets: 0 in grey shades, 1 in the red shades of the Virtual Boy
// (64, 128, 192 and 255 on black).

#include <QPoint>

#include "ImageControl.h"

namespace menupictures {

enum class Screen { Precaution, Title, Menu };

enum class Button { Power, Close, Help, About, RomInfo, TileViewer, VbRomDatabase, Emus, Utils, Options };

enum class ButtonLook {
    Normal,
    Highlighted, // under the mouse pointer
    Disabled,    // the window behind the button can't be opened
};

// 384 x 224 pixels.
controls::Picture screen(Screen which, int set);
// 16 x 16 pixels for the four corner buttons, 71 x 31 for the six others.
controls::Picture button(Button which, ButtonLook look, int set);
// 24 x 16 pixels.
controls::Picture lowBattery(int set);
// 32 x 32 pixels; the arrow's tip is at pointerHotSpot().
controls::Picture pointer(int set);
QPoint pointerHotSpot();

} // namespace menupictures
