#pragma once
// Our own drawing of a Virtual Boy controller, 128 x 128 pixels, plain or
// lit up in the console's red: the About box's picture, and the drawing that
// the key configuration dialog points its key buttons at.

#include <QPointF>

#include "ImageControl.h"

class QPainter;

namespace controllerpicture {

controls::Picture controller(bool lit);

// Paints the controller into the 128 x 128 frame at the painter's origin.
void drawController(QPainter &p, bool lit);

enum class ControllerInput {
    A, B, L, R,
    LeftPadUp, LeftPadDown, LeftPadLeft, LeftPadRight,
    RightPadUp, RightPadDown, RightPadLeft, RightPadRight,
    Start, Select,
};
// Where an input sits in that frame.
QPointF inputPoint(ControllerInput input);

} // namespace controllerpicture
