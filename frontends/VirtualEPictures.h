#pragma once
// The Virtual-E front-end's pictures, drawn in code: a 129 x 17 meter for
// each brightness step from -5 to 5, lit up to its step in the console's
// red, and the window's decoration (the emulator's name and two lenses).

#include "ImageControl.h"

namespace virtualepictures {

constexpr int kLowestBrightness = -5;
constexpr int kHighestBrightness = 5;

controls::Picture Brightness(int step);
// 300 x 28.
controls::Picture Banner();
// 24 x 24.
controls::Picture Lens();

} // namespace virtualepictures
