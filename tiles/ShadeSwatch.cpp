#include "ShadeSwatch.h"

ShadeSwatch::ShadeSwatch(QWidget *parent)
    : QFrame(parent)
    , m_colour(Qt::black)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackColor(Qt::white);
}

void ShadeSwatch::setBackColor(const QColor &colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    QPalette shade = palette();
    shade.setColor(QPalette::Window, colour);
    setPalette(shade);
    // A screen reader hears the colour that the eye sees.
    setAccessibleDescription(QStringLiteral("Red %1, green %2, blue %3").arg(colour.red()).arg(colour.green()).arg(colour.blue()));
}
