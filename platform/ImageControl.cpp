#include "ImageControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace controls {

Picture::Picture(QString name, QSize size, Drawing drawing)
    : m_name(std::move(name))
    , m_size(size)
    , m_drawing(std::move(drawing))
{
}

QPixmap Picture::render(qreal devicePixelRatio) const
{
    const QSize devicePixels(int(std::ceil(m_size.width() * devicePixelRatio)),
                             int(std::ceil(m_size.height() * devicePixelRatio)));
    QPixmap pixmap(devicePixels);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    if (m_drawing) {
        QPainter painter(&pixmap);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        m_drawing(painter);
    }
    return pixmap;
}

ImageControl::ImageControl(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void ImageControl::setPicture(const Picture &picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
}

void ImageControl::setDisabledPicture(const Picture &picture)
{
    if (picture == m_disabledPicture)
        return;
    m_disabledPicture = picture;
    if (!isEnabled())
        update();
}

const Picture &ImageControl::shownPicture() const
{
    return !isEnabled() && !m_disabledPicture.isNull() ? m_disabledPicture : m_picture;
}

void ImageControl::paintEvent(QPaintEvent *)
{
    const Picture &shown = shownPicture();
    if (shown.isNull())
        return;
    const qreal ratio = devicePixelRatioF();
    if (shown.name() != m_renderedName || ratio != m_renderedRatio) {
        m_rendered = shown.render(ratio);
        m_renderedName = shown.name();
        m_renderedRatio = ratio;
    }
    QPainter(this).drawPixmap(rect(), m_rendered);
}

void ImageControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void ImageControl::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

void ImageControl::mouseMoveEvent(QMouseEvent *)
{
    emit hovered();
}

void ImageControl::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ImageControl::focusInEvent(QFocusEvent *event)
{
    // Keyboard users see the control they tabbed to as the mouse would show
    // it; Qt's own focus moves (a focused control hidden) light nothing.
    const bool tabbed = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (tabbed && window()->testAttribute(Qt::WA_KeyboardFocusChange))
        emit hovered();
    QWidget::focusInEvent(event);
}

void ImageControl::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace controls
