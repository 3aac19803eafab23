#include "NumberBoxPair.h"

#include <QScrollBar>

#include "Controls.h"
#include "VbText.h"

namespace numberboxpair {

void BoxChanged(controls::NumberBox *box, QScrollBar *bar, int max)
{
    if (box->value() < 0)
        box->setTextAtEnd(QStringLiteral("0"));
    else if (box->value() > max)
        box->setTextAtEnd(QString::number(max));
    // In range now, so the rounding cannot overflow.
    bar->setValue(vb::CInt(box->value()).value_or(0));
}

void BarChanged(QScrollBar *bar, controls::NumberBox *box)
{
    box->setTextAtEnd(QString::number(bar->value()));
}

} // namespace numberboxpair
