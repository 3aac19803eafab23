#include "NumberBoxPair.h"

#include <QScrollBar>

#include "Controls.h"
#include "VbText.h"

namespace numberboxpair {

void BoxChanged(controls::NumberBox *box, QScrollBar *bar, int min, int max)
{
    if (box->value() < min)
        box->setTextAtEnd(QString::number(min));
    else if (box->value() > max)
        box->setTextAtEnd(QString::number(max));
    // In range now, so the rounding cannot overflow.
    bar->setValue(vb::CInt(box->value()).value_or(min));
}

void BarChanged(QScrollBar *bar, controls::NumberBox *box)
{
    box->setTextAtEnd(QString::number(bar->value()));
}

} // namespace numberboxpair
