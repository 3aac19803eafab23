#pragma once
// A number box with a scroll bar beside it that carries the same whole
// number min..max (0..max where no min is given): what the user types is held within the range and moves the
// bar, and a moved bar writes its value into the box. Each change of one
// runs the other's handler at once, until one of them is set to what it
// already holds. The windows call these from their own change handlers.

class QScrollBar;
namespace controls {
class NumberBox;
}

namespace numberboxpair {

// The box's text changed (it has cleaned its text already): a number below
// `min` becomes `min`, one above `max` becomes `max`; the bar then takes the
// number rounded to a whole one, halves to even (7.5 gives 8).
void BoxChanged(controls::NumberBox *box, QScrollBar *bar, int min, int max);
inline void BoxChanged(controls::NumberBox *box, QScrollBar *bar, int max)
{
    BoxChanged(box, bar, 0, max);
}
// The bar's value changed: the box shows it.
void BarChanged(QScrollBar *bar, controls::NumberBox *box);

} // namespace numberboxpair
