#include "VirtualEPictures.h"

#include <QFont>
#include <QPainter>
#include <QRadialGradient>

namespace virtualepictures {

controls::Picture Brightness(int step)
{
    return controls::Picture(QStringLiteral("virtuale.brightness.%1").arg(step), QSize(129, 17), [step](QPainter &p) {
        constexpr int kSegments = kHighestBrightness - kLowestBrightness + 1;
        const int lit = step - kLowestBrightness + 1;
        p.fillRect(QRect(0, 0, 129, 17), QColor(0x10, 0x04, 0x04));
        // The lit segments glow the brighter, the higher the step.
        const QColor glow = QColor::fromHsv(0, 255, 110 + 145 * (lit - 1) / (kSegments - 1));
        for (int i = 0; i < kSegments; ++i) {
            const QRect segment(2 + i * 11 + i / 2, 3, 10, 11);
            p.fillRect(segment, i < lit ? glow : QColor(0x38, 0x0c, 0x0c));
        }
        p.setPen(QColor(0x60, 0x18, 0x18));
        p.drawRect(QRect(0, 0, 128, 16));
    });
}

controls::Picture Banner()
{
    return controls::Picture(QStringLiteral("virtuale.banner"), QSize(300, 28), [](QPainter &p) {
        p.setRenderHint(QPainter::TextAntialiasing);
        QFont font(QStringLiteral("Sans Serif"));
        font.setPixelSize(22);
        font.setBold(true);
        font.setItalic(true);
        p.setFont(font);
        const QRect area(0, 0, 300, 28);
        p.setPen(QColor(0x40, 0x08, 0x08));
        p.drawText(area.translated(2, 2), Qt::AlignCenter, QStringLiteral("Virtual-E"));
        p.setPen(QColor(0xe0, 0x10, 0x10));
        p.drawText(area, Qt::AlignCenter, QStringLiteral("Virtual-E"));
    });
}

controls::Picture Lens()
{
    return controls::Picture(QStringLiteral("virtuale.lens"), QSize(24, 24), [](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient shine(QPointF(9, 9), 12);
        shine.setColorAt(0, QColor(0xff, 0x70, 0x70));
        shine.setColorAt(0.5, QColor(0xc0, 0x10, 0x10));
        shine.setColorAt(1, QColor(0x30, 0x04, 0x04));
        p.setPen(QPen(QColor(0x20, 0x20, 0x24), 2));
        p.setBrush(shine);
        p.drawEllipse(QRectF(2, 2, 20, 20));
    });
}

} // namespace virtualepictures
