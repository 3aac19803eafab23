#pragma once
// The About box's picture: our own drawing of a Virtual Boy controller,
// 128 x 128 pixels, plain or lit up in the console's red.

#include "ImageControl.h"

namespace aboutpictures {

controls::Picture controller(bool lit);

} // namespace aboutpictures
