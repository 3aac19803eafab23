#include "Controls.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace controls {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(-2, 0, 2, 0);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    // The classic buttons are small: step the font down until the caption fits.
    QFont captionFont = font();
    for (qreal size = captionFont.pointSizeF(); size > 5.0; size -= 0.5) {
        captionFont.setPointSizeF(size);
        const QRect needed = QFontMetrics(captionFont).boundingRect(textArea, flags, caption);
        if (needed.height() <= textArea.height() && needed.width() <= textArea.width())
            break;
    }
    painter.setFont(captionFont);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textArea, flags, caption);
}

} // namespace controls
