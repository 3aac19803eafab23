#include "ToolIcons.h"

#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace toolicons {
namespace {

const QSize kIconSize(32, 32);
const QColor kRed(0xe0, 0x10, 0x10);
const QColor kDarkRed(0x70, 0x00, 0x00);
const QColor kBlack(0x14, 0x14, 0x16);
const QColor kCase(0x3a, 0x3a, 0x40);

// The console on its stand: a visor with two red eyepieces.
void drawRealityBoy(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlack);
    QPainterPath stand;
    stand.moveTo(13, 19);
    stand.lineTo(19, 19);
    stand.lineTo(21, 27);
    stand.lineTo(11, 27);
    stand.closeSubpath();
    p.drawPath(stand);
    p.drawRoundedRect(QRectF(6, 26, 20, 4), 2, 2);

    QLinearGradient body(0, 5, 0, 21);
    body.setColorAt(0, kCase.lighter(140));
    body.setColorAt(1, kBlack);
    p.setBrush(body);
    p.setPen(QPen(kDarkRed, 1));
    p.drawRoundedRect(QRectF(1.5, 5.5, 29, 15), 6, 6);

    p.setPen(Qt::NoPen);
    for (const qreal x : {9.0, 23.0}) {
        QRadialGradient lens(QPointF(x - 1, 12), 5);
        lens.setColorAt(0, QColor(0xff, 0x70, 0x60));
        lens.setColorAt(0.6, kRed);
        lens.setColorAt(1, kDarkRed);
        p.setBrush(lens);
        p.drawEllipse(QPointF(x, 13), 4.5, 4.5);
    }
    p.setBrush(QColor(0xff, 0xff, 0xff, 170));
    p.drawEllipse(QPointF(7.5, 11.5), 1.2, 1.2);
    p.drawEllipse(QPointF(21.5, 11.5), 1.2, 1.2);
}

// A red "E" with its stereo twin behind it, on a dark tile.
void drawVirtualE(QPainter &p)
{
    p.setPen(QPen(kDarkRed, 1));
    p.setBrush(kBlack);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);

    auto letterE = [](qreal x, qreal y) {
        QPainterPath e;
        e.setFillRule(Qt::WindingFill);
        e.addRect(QRectF(x, y, 4, 18));
        e.addRect(QRectF(x, y, 13, 4));
        e.addRect(QRectF(x, y + 7, 10, 4));
        e.addRect(QRectF(x, y + 14, 13, 4));
        return e.simplified();
    };
    p.setPen(Qt::NoPen);
    p.setBrush(kDarkRed);
    p.drawPath(letterE(11, 9));
    QLinearGradient face(0, 7, 0, 25);
    face.setColorAt(0, QColor(0xff, 0x50, 0x40));
    face.setColorAt(1, kRed);
    p.setBrush(face);
    p.drawPath(letterE(8, 7));
}

// A dragon's head in profile, facing right: horns swept back, spikes down
// its neck, fire from its open jaws.
void drawRedDragon(QPainter &p)
{
    QPainterPath fire;
    fire.moveTo(22, 15);
    fire.cubicTo(25, 12, 28, 13, 31, 11);
    fire.cubicTo(29, 14, 31, 16, 31, 18);
    fire.cubicTo(28, 17, 26, 19, 22, 17);
    fire.closeSubpath();
    QLinearGradient flame(22, 0, 31, 0);
    flame.setColorAt(0, QColor(0xff, 0xe0, 0x40));
    flame.setColorAt(1, QColor(0xff, 0x70, 0x10));
    p.setPen(Qt::NoPen);
    p.setBrush(flame);
    p.drawPath(fire);

    QPainterPath head;
    head.moveTo(4, 31);
    head.cubicTo(5, 22, 7, 16, 11, 12);
    head.lineTo(6, 4);      // back horn
    head.lineTo(14, 9);
    head.lineTo(12, 2);     // front horn
    head.lineTo(18, 8.5);
    head.cubicTo(21, 8.5, 24, 10, 26, 12);
    head.lineTo(23, 14.5);  // upper jaw
    head.lineTo(21, 15.5);
    head.lineTo(24, 19);    // lower jaw
    head.lineTo(18, 20);
    head.cubicTo(15, 21, 14, 25, 15, 31);
    head.closeSubpath();
    // Spikes down the back of the neck.
    for (int i = 0; i < 3; ++i) {
        const qreal y = 16 + i * 5;
        const qreal x = 8.5 - i * 1.6;
        head.moveTo(x + 0.6, y - 2);
        head.lineTo(x - 3.5, y);
        head.lineTo(x, y + 2);
        head.closeSubpath();
    }
    head.setFillRule(Qt::WindingFill);

    QLinearGradient scales(0, 2, 0, 31);
    scales.setColorAt(0, QColor(0xff, 0x40, 0x30));
    scales.setColorAt(1, kDarkRed);
    p.setPen(QPen(kBlack, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(scales);
    p.drawPath(head.simplified());

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd0, 0x30));
    p.drawEllipse(QPointF(18.5, 11.5), 1.8, 1.3);
}

// A wrench across a chip with red pins.
void drawDeveloperTool(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(9 + i * 4.5, 4, 2, 4));
        p.drawRect(QRectF(9 + i * 4.5, 24, 2, 4));
        p.drawRect(QRectF(4, 9 + i * 4.5, 4, 2));
        p.drawRect(QRectF(24, 9 + i * 4.5, 4, 2));
    }
    p.setBrush(kBlack);
    p.drawRoundedRect(QRectF(7, 7, 18, 18), 2, 2);
    p.setBrush(kDarkRed);
    p.drawEllipse(QPointF(10.5, 10.5), 1.5, 1.5);

    QPainterPath wrench;
    wrench.addRoundedRect(QRectF(-2.2, -4, 4.4, 24), 2, 2);
    QPainterPath jaw;
    jaw.addEllipse(QPointF(0, -6), 6, 6);
    QPainterPath mouth;
    mouth.addRect(QRectF(-2.2, -14, 4.4, 9));
    wrench = wrench.united(jaw).subtracted(mouth);
    p.save();
    p.translate(13, 18);
    p.rotate(45);
    QLinearGradient steel(-6, 0, 6, 0);
    steel.setColorAt(0, QColor(0xf0, 0xf0, 0xf4));
    steel.setColorAt(1, QColor(0x90, 0x90, 0x9a));
    p.setPen(QPen(kBlack, 1));
    p.setBrush(steel);
    p.drawPath(wrench.simplified());
    p.restore();
}

} // namespace

controls::Picture realityBoy()
{
    return controls::Picture(QStringLiteral("icon: Reality Boy"), kIconSize, drawRealityBoy);
}

controls::Picture virtualE()
{
    return controls::Picture(QStringLiteral("icon: Virtual-E"), kIconSize, drawVirtualE);
}

controls::Picture redDragon()
{
    return controls::Picture(QStringLiteral("icon: Red Dragon"), kIconSize, drawRedDragon);
}

controls::Picture developerTool()
{
    return controls::Picture(QStringLiteral("icon: developer tool"), kIconSize, drawDeveloperTool);
}

controls::Picture greyed(const controls::Picture &picture)
{
    return controls::Picture(picture.name() + QStringLiteral(" (greyed)"), picture.size(), [picture](QPainter &p) {
        const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
        QImage image = picture.render(ratio).toImage().convertToFormat(QImage::Format_ARGB32);
        // Lighter and flatter than the icon: the darkest shade becomes a mid grey.
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int shade = 128 + qGray(line[x]) / 2;
                line[x] = qRgba(shade, shade, shade, qAlpha(line[x]));
            }
        }
        image.setDevicePixelRatio(ratio);
        p.drawImage(QPointF(0, 0), image);
    });
}

} // namespace toolicons
