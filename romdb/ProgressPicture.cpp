#include "ProgressPicture.h"

#include <QPainter>

ProgressPicture::ProgressPicture(QWidget *parent)
    : QWidget(parent)
{
}

void ProgressPicture::drawBar(int percent)
{
    m_percent = percent;
    repaint();
    emit drawn(percent);
}

void ProgressPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The bar keeps its colours while disabled, as between runs.
    const QPalette &colours = palette();
    const qreal filled = m_percent / 100.0 * width();
    painter.fillRect(QRectF(0, 0, filled, height()), colours.color(QPalette::Active, QPalette::Highlight));
    painter.fillRect(QRectF(filled, 0, width() - filled, height()), colours.color(QPalette::Active, QPalette::Button));
    painter.setPen(colours.color(QPalette::Active, QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
