#pragma once
// The classic picture box: a drawing area of pixels with a background colour
// (PictureSurface, no widget), and the framed widget that shows one
// (PictureBox). Colours are the classic colour values, red + 256 x green +
// 65536 x blue.

#include <QFrame>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <functional>

#include "Gdi.h"

namespace controls {

constexpr int32_t RGB(int red, int green, int blue)
{
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr QRgb RgbFromColour(int32_t colour)
{
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}
constexpr int32_t ColourFromRgb(QRgb rgb)
{
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// ScaleMode values: what ScaleWidth and ScaleHeight count in.
enum ScaleModeUnit { vbTwips = 1, vbPixels = 3 };

// A picture box's drawing area. Pixels outside the area are neither set nor
// read. The surface must not move while it lives: its device context refers
// to it.
class PictureSurface {
public:
    explicit PictureSurface(QSize size, int32_t backColor = 0, QImage::Format format = QImage::Format_RGB32);
    ~PictureSurface();
    PictureSurface(const PictureSurface &) = delete;
    PictureSurface &operator=(const PictureSurface &) = delete;

    QSize size() const { return m_image.size(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

    int32_t BackColor() const { return m_backColor; }
    // A new background colour blanks the whole area in it.
    void setBackColor(int32_t colour);
    // Blanks the whole area in the background colour.
    void Cls();
    void PSet(int x, int y, int32_t colour);
    // The colour of a pixel; -1 outside the area.
    int32_t Point(int x, int y) const;

    int ScaleMode = vbPixels;
    double ScaleWidth() const;
    double ScaleHeight() const;
    // The device context that bulk copies draw through.
    gdi::HDC hDC();

    const QImage &image() const { return m_image; }
    // For bulk drawing: the pixels themselves. Taking them may move them
    // (a shared picture is copied first), so take them again after letting
    // events run. Call changed() when done.
    QImage &pixels() { return m_image; }

    // The widget showing the surface repaints on this.
    void changed() const;
    void setChangeListener(std::function<void()> listener) { m_changeListener = std::move(listener); }

private:
    QImage m_image;
    int32_t m_backColor;
    gdi::HDC m_dc = 0;
    std::function<void()> m_changeListener;
};

// The widget: the drawing area inside a sunken frame. With keyboard focus
// it reports each character key pressed, as the classic KeyPress does.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    // A box at a twip rectangle whose drawing area fills it inside the frame.
    PictureBox(QWidget *parent, int left, int top, int width, int height);

    PictureSurface &surface() { return m_surface; }
    const PictureSurface &surface() const { return m_surface; }
    int32_t BackColor() const { return m_surface.BackColor(); }
    void setBackColor(int32_t colour) { m_surface.setBackColor(colour); }

signals:
    // The character code of a key pressed while the box has the focus.
    void keyPress(int keyAscii);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    PictureSurface m_surface;
};

} // namespace controls
