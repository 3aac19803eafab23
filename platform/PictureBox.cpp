#include "PictureBox.h"

#include <QKeyEvent>
#include <QColor>
#include <QPainter>

#include "Forms.h"

namespace controls {
namespace {

constexpr int kFrameWidth = 2;

} // namespace

PictureSurface::PictureSurface(QSize size, int32_t backColor, QImage::Format format)
    : m_image(size, format)
    , m_backColor(backColor)
{
    Cls();
}

PictureSurface::~PictureSurface()
{
    if (m_dc)
        gdi::ReleaseSurfaceDC(m_dc);
}

void PictureSurface::setBackColor(int32_t colour)
{
    m_backColor = colour;
    Cls();
}

void PictureSurface::Cls()
{
    // As a colour, so that surfaces of every pixel format take it.
    m_image.fill(QColor::fromRgb(RgbFromColour(m_backColor)));
    changed();
}

void PictureSurface::PSet(int x, int y, int32_t colour)
{
    if (!m_image.valid(x, y))
        return;
    m_image.setPixel(x, y, RgbFromColour(colour));
    changed();
}

int32_t PictureSurface::Point(int x, int y) const
{
    return m_image.valid(x, y) ? ColourFromRgb(m_image.pixel(x, y)) : -1;
}

double PictureSurface::ScaleWidth() const
{
    return ScaleMode == vbTwips ? double(forms::Twips(width())) : double(width());
}

double PictureSurface::ScaleHeight() const
{
    return ScaleMode == vbTwips ? double(forms::Twips(height())) : double(height());
}

gdi::HDC PictureSurface::hDC()
{
    if (!m_dc)
        m_dc = gdi::SurfaceDC(*this);
    return m_dc;
}

void PictureSurface::changed() const
{
    if (m_changeListener)
        m_changeListener();
}

PictureBox::PictureBox(QWidget *parent, int left, int top, int width, int height)
    : QFrame(parent)
    , m_surface(QSize(forms::Px(width) - 2 * kFrameWidth, forms::Px(height) - 2 * kFrameWidth),
                ColourFromRgb(palette().color(QPalette::Button).rgb()))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kFrameWidth);
    setGeometry(forms::TwipsRect(left, top, width, height));
    m_surface.setChangeListener([this] { update(); });
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_surface.image());
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty()) {
        QFrame::keyPressEvent(event);
        return;
    }
    emit keyPress(text.at(0).unicode());
}

} // namespace controls
