#pragma once
// The icons of the emulator chooser and the developer-tool launcher, drawn
// in code: one 32 x 32 icon for each emulator, one shared by the developer
// tools, and the greyed form that a disabled entry shows.

#include "ImageControl.h"

namespace toolicons {

controls::Picture realityBoy();
controls::Picture virtualE();
controls::Picture redDragon();
controls::Picture developerTool();

// The picture in light greys, as a disabled entry shows it.
controls::Picture greyed(const controls::Picture &picture);

} // namespace toolicons
