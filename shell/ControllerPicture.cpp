#include "ControllerPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace controllerpicture {
namespace {

struct Palette {
    QColor bodyTop, bodyBottom, outline, recess, pad, button, red, glow;
};

const Palette kPlain{QColor(0x4a, 0x4a, 0x50), QColor(0x2a, 0x2a, 0x2e), QColor(0x12, 0x12, 0x14),
                     QColor(0x24, 0x24, 0x28), QColor(0x16, 0x16, 0x18), QColor(0x1e, 0x1e, 0x22),
                     QColor(0x9a, 0x16, 0x16), QColor()};
const Palette kLit{QColor(0x62, 0x60, 0x66), QColor(0x38, 0x36, 0x3a), QColor(0x30, 0x08, 0x08),
                   QColor(0x2c, 0x22, 0x24), QColor(0x1a, 0x14, 0x14), QColor(0x26, 0x20, 0x22),
                   QColor(0xff, 0x30, 0x30), QColor(0xff, 0x20, 0x20, 110)};

// Two grips hanging from a wide bar, as the controller looks from above.
QPainterPath bodyOutline()
{
    QPainterPath bar;
    bar.addRoundedRect(QRectF(8, 34, 112, 44), 20, 20);
    QPainterPath grip;
    grip.addEllipse(QPointF(0, 0), 15, 27);
    const QPainterPath left = QTransform().translate(25, 84).rotate(14).map(grip);
    const QPainterPath right = QTransform().translate(103, 84).rotate(-14).map(grip);
    return bar.united(left).united(right).simplified();
}

void drawDirectionPad(QPainter &p, const Palette &c, QPointF centre)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c.recess);
    p.drawEllipse(centre, 12, 12);
    p.setBrush(c.pad);
    p.drawRoundedRect(QRectF(centre.x() - 9, centre.y() - 3, 18, 6), 1.5, 1.5);
    p.drawRoundedRect(QRectF(centre.x() - 3, centre.y() - 9, 6, 18), 1.5, 1.5);
    if (c.glow.isValid()) {
        p.setPen(QPen(c.red, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 12, 12);
    }
}

void paintController(QPainter &p, const Palette &c)
{
    // The cable leaves the back of the controller.
    QPainterPath cable(QPointF(64, 36));
    cable.cubicTo(QPointF(64, 20), QPointF(80, 16), QPointF(78, 2));
    p.setPen(QPen(c.outline, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);

    // Shoulder triggers peek out behind the bar.
    p.setPen(QPen(c.outline, 1));
    p.setBrush(c.recess);
    p.drawRoundedRect(QRectF(16, 28, 26, 12), 4, 4);
    p.drawRoundedRect(QRectF(86, 28, 26, 12), 4, 4);

    const QPainterPath body = bodyOutline();
    if (c.glow.isValid()) {
        p.setPen(QPen(c.glow, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(body);
    }
    QLinearGradient shade(0, 34, 0, 112);
    shade.setColorAt(0, c.bodyTop);
    shade.setColorAt(1, c.bodyBottom);
    p.setPen(QPen(c.outline, 1.5));
    p.setBrush(shade);
    p.drawPath(body);

    drawDirectionPad(p, c, QPointF(30, 52));
    drawDirectionPad(p, c, QPointF(98, 52));

    // Select and Start on the left, B and A on the right.
    p.setPen(Qt::NoPen);
    p.setBrush(c.button);
    p.drawRoundedRect(QRectF(18, 70, 9, 4), 2, 2);
    p.drawRoundedRect(QRectF(30, 73, 9, 4), 2, 2);
    p.setBrush(c.red);
    p.setPen(QPen(c.outline, 1));
    p.drawEllipse(QPointF(92, 74), 4.5, 4.5);
    p.drawEllipse(QPointF(104, 69), 4.5, 4.5);

    // The power switch and the red badge in the middle.
    p.setBrush(c.recess);
    p.drawRoundedRect(QRectF(56, 38, 16, 6), 2, 2);
    p.setBrush(c.button);
    p.drawRoundedRect(QRectF(57, 39, 6, 4), 1, 1);
    p.setBrush(c.red);
    p.drawRoundedRect(QRectF(50, 52, 28, 10), 5, 5);
    p.setPen(QPen(c.bodyTop.lighter(150), 1));
    p.drawLine(QPointF(55, 57), QPointF(73, 57));
}

} // namespace

controls::Picture controller(bool lit)
{
    return controls::Picture(lit ? QStringLiteral("about.controller.lit") : QStringLiteral("about.controller"),
                             QSize(128, 128), [lit](QPainter &p) { drawController(p, lit); });
}

void drawController(QPainter &p, bool lit)
{
    p.save();
    paintController(p, lit ? kLit : kPlain);
    p.restore();
}

QPointF inputPoint(ControllerInput input)
{
    // Pad centres (30, 52) and (98, 52) with arms 7 pixels out; the buttons
    // and triggers where paintController puts them.
    switch (input) {
    case ControllerInput::A: return {104, 69};
    case ControllerInput::B: return {92, 74};
    case ControllerInput::L: return {29, 31};
    case ControllerInput::R: return {99, 31};
    case ControllerInput::LeftPadUp: return {30, 45};
    case ControllerInput::LeftPadDown: return {30, 59};
    case ControllerInput::LeftPadLeft: return {23, 52};
    case ControllerInput::LeftPadRight: return {37, 52};
    case ControllerInput::RightPadUp: return {98, 45};
    case ControllerInput::RightPadDown: return {98, 59};
    case ControllerInput::RightPadLeft: return {91, 52};
    case ControllerInput::RightPadRight: return {105, 52};
    case ControllerInput::Start: return {34.5, 75};
    case ControllerInput::Select: return {22.5, 72};
    }
    return {};
}

} // namespace controllerpicture
