#include "PickerEntries.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "Controls.h"
#include "ImageControl.h"
#include "ToolIcons.h"

namespace picker {
PickFrame::PickFrame(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
{
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(caption);
}

void PickFrame::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void PickFrame::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

bool PickFrame::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!key->isAutoRepeat())
                emit clicked();
            return true;
        default:
            break;
        }
    }
    return QGroupBox::event(event);
}

void PickFrame::paintEvent(QPaintEvent *event)
{
    QGroupBox::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = contentsRect().adjusted(2, 0, -2, -2);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

void Entry::setProgramEnabled(bool enabled) const
{
    frame->setEnabled(enabled);
    image->setEnabled(enabled);
    if (!enabled)
        image->setPicture(imageDisabled->picture());
}

Entry CreateEntry(QWidget *parent, int left, const QString &caption, const QString &toolTip,
                  const controls::Picture &icon)
{
    using controls::ImageControl;
    using controls::Place;
    Entry entry;
    entry.frame = Place<PickFrame>(parent, left, 120, 1695, 1095, caption);
    entry.frame->setToolTip(toolTip);
    entry.imageDisabled = Place<ImageControl>(entry.frame, 600, 360, 480, 480);
    entry.imageDisabled->setPicture(toolicons::greyed(icon));
    entry.imageDisabled->hide();
    entry.image = Place<ImageControl>(entry.frame, 600, 360, 480, 480);
    entry.image->setPicture(icon);
    entry.image->setToolTip(toolTip);
    entry.image->setAccessibleName(caption);
    return entry;
}

void SetUpWindow(forms::Form &window, const QString &caption)
{
    window.setWindowTitle(caption);
    window.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window.setClientSizeTwips(5520, 1320);
    window.setClosedByEscape(true);
}

} // namespace picker
