#include "MenuPictures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>

namespace menupictures {
namespace {

const QSize kScreenSize(384, 224);
const QSize kCornerButtonSize(16, 16);
const QSize kLargeButtonSize(71, 31);
const QSize kLampSize(24, 16);
const QSize kPointerSize(32, 32);

// The four shades of a picture set, darkest first.
struct Shades {
    QColor dark, mid, light, full;
};

Shades shadesOf(int set)
{
    const auto shade = [set](int level) { return set == 1 ? QColor(level, 0, 0) : QColor(level, level, level); };
    return {shade(64), shade(128), shade(192), shade(255)};
}

QString setName(int set)
{
    return set == 1 ? QStringLiteral("red") : QStringLiteral("grey");
}

QFont pictureFont(int pixelSize, QFont::Weight weight, qreal letterSpacing = 0, bool condensed = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    if (condensed)
        font.setStretch(QFont::Condensed);
    return font;
}

// One line of text centred on `centre` (its capitals centred on centre.y),
// narrowed when it is wider than `maxWidth`, whatever font the system has.
void drawLine(QPainter &p, const QString &text, const QFont &font, const QColor &colour, QPointF centre,
              qreal maxWidth)
{
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text) - font.letterSpacing();
    const qreal squeeze = width > maxWidth ? maxWidth / width : 1.0;
    p.save();
    p.translate(centre.x(), centre.y() + metrics.capHeight() / 2);
    p.scale(squeeze, 1.0);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPointF(-width / 2, 0), text);
    p.restore();
}

// Big lettering with a solid depth, as the Virtual Boy's own logos stand out
// of the screen.
void drawExtrudedText(QPainter &p, const QString &text, const QFont &font, QPointF centre, int depth,
                      const Shades &s)
{
    QPainterPath face;
    face.addText(0, 0, font, text);
    const QRectF bounds = face.boundingRect();
    face.translate(centre - bounds.center());
    for (int step = depth; step > 0; --step)
        p.fillPath(face.translated(step * 0.6, step * 0.8), step == depth ? s.mid : s.dark);
    p.fillPath(face, s.full);
}

// A floor of lines running to a vanishing point above `area`.
void drawFloorGrid(QPainter &p, const QRectF &area, const QColor &colour, qreal lineWidth)
{
    p.save();
    p.setClipRect(area);
    p.setPen(QPen(colour, lineWidth));
    const QPointF vanish(area.center().x(), area.top() - area.height() * 0.8);
    for (int i = -14; i <= 14; ++i)
        p.drawLine(vanish, QPointF(area.center().x() + i * 40, area.bottom()));
    const qreal depth = area.bottom() - vanish.y();
    for (int row = 0; row < 12; ++row) {
        const qreal y = vanish.y() + depth / (1 + row * 0.35);
        if (y >= area.top())
            p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    p.restore();
}

void fillBlack(QPainter &p, QSize size)
{
    p.fillRect(QRect(QPoint(0, 0), size), Qt::black);
}

void drawFrame(QPainter &p, const QRectF &rect, const QColor &colour)
{
    p.setPen(QPen(colour, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect, 6, 6);
}

void drawBattery(QPainter &p, QPointF origin, const QColor &colour)
{
    p.save();
    p.translate(origin);
    p.setPen(QPen(colour, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(2.5, 3.5, 17, 9), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(19.5, 6, 2.5, 4));
    p.drawRect(QRectF(4.5, 5.5, 3, 5));
    p.restore();
}

void drawPrecaution(QPainter &p, const Shades &s)
{
    fillBlack(p, kScreenSize);
    drawFrame(p, QRectF(6.5, 6.5, 371, 211), s.mid);

    // A warning sign over the heading.
    p.setPen(QPen(s.full, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({QPointF(192, 18), QPointF(176, 44), QPointF(208, 44)}));
    p.drawLine(QPointF(192, 27), QPointF(192, 35));
    p.drawPoint(QPointF(192, 40));

    drawLine(p, QStringLiteral("PRECAUTION"), pictureFont(18, QFont::Bold, 4), s.full, QPointF(192, 62), 340);
    p.setPen(QPen(s.mid, 1.0));
    p.drawLine(QPointF(72, 78.5), QPointF(312, 78.5));

    const QStringList lines = {
        QStringLiteral("Zandrel Utilities rewrites the headers of ROM images"),
        QStringLiteral("and renames and moves whole collections of them."),
        QStringLiteral("Keep a backup copy of your ROM images before you"),
        QStringLiteral("save a header or let the database rename your files."),
        QString(),
        QStringLiteral("Rest your eyes now and then during long sessions."),
    };
    const QFont body = pictureFont(11, QFont::Normal);
    for (int i = 0; i < lines.size(); ++i)
        drawLine(p, lines[i], body, s.light, QPointF(192, 95 + i * 15), 350);

    drawLine(p, QStringLiteral("CLICK TO CONTINUE"), pictureFont(9, QFont::Bold, 2), s.mid, QPointF(192, 200), 340);
}

void drawTitle(QPainter &p, const Shades &s)
{
    fillBlack(p, kScreenSize);
    drawFloorGrid(p, QRectF(0, 146, 384, 78), s.dark, 1.0);
    drawExtrudedText(p, QStringLiteral("ZANDREL"), pictureFont(52, QFont::Black), QPointF(192, 60), 6, s);
    drawLine(p, QStringLiteral("UTILITIES"), pictureFont(15, QFont::Bold, 9), s.light, QPointF(192, 104), 340);
    drawLine(p, QStringLiteral("FOR VIRTUAL BOY ROM IMAGES"), pictureFont(8, QFont::Bold, 2), s.mid, QPointF(192, 124),
             340);

    // The prompt sits on a black plate so the floor lines don't cross it.
    p.setPen(QPen(s.mid, 1.0));
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(132.5, 188.5, 119, 19), 9.5, 9.5);
    drawLine(p, QStringLiteral("CLICK TO START"), pictureFont(9, QFont::Bold, 2), s.full, QPointF(192, 198), 110);
}

void drawMenu(QPainter &p, const Shades &s)
{
    fillBlack(p, kScreenSize);
    // Rails between the corner buttons, and the lamp's unlit socket.
    p.setPen(QPen(s.dark, 1.0));
    p.drawLine(QPointF(22, 8.5), QPointF(330, 8.5));
    p.drawLine(QPointF(22, 215.5), QPointF(362, 215.5));
    p.drawLine(QPointF(8.5, 22), QPointF(8.5, 202));
    p.drawLine(QPointF(375.5, 22), QPointF(375.5, 202));
    drawBattery(p, QPointF(336, 0), s.dark);

    drawFrame(p, QRectF(20.5, 20.5, 343, 183), s.mid);
    drawExtrudedText(p, QStringLiteral("ZANDREL"), pictureFont(30, QFont::Black), QPointF(192, 48), 4, s);
    drawLine(p, QStringLiteral("UTILITIES"), pictureFont(10, QFont::Bold, 6), s.light, QPointF(192, 76), 300);
    p.setPen(QPen(s.mid, 1.0));
    p.drawLine(QPointF(64, 92.5), QPointF(150, 92.5));
    p.drawLine(QPointF(234, 92.5), QPointF(320, 92.5));
    drawLine(p, QStringLiteral("MAIN MENU"), pictureFont(8, QFont::Bold, 2), s.mid, QPointF(192, 93), 80);
    // A faint floor: the buttons stand on it without being crossed by it.
    drawFloorGrid(p, QRectF(21, 108, 342, 95), s.dark, 0.5);
}

// The colours a button is drawn in for its look.
struct ButtonInk {
    QColor border, fill, ink, accent;
    Qt::PenStyle borderStyle = Qt::SolidLine;
};

ButtonInk inkFor(ButtonLook look, const Shades &s)
{
    switch (look) {
    case ButtonLook::Highlighted:
        return {s.full, s.dark, s.full, s.mid};
    case ButtonLook::Disabled:
        return {s.dark, Qt::black, s.dark, s.dark, Qt::DotLine};
    case ButtonLook::Normal:
        break;
    }
    return {s.mid, Qt::black, s.light, s.mid};
}

void drawCornerButton(QPainter &p, Button which, const ButtonInk &ink)
{
    p.setPen(QPen(ink.border, 1.0, ink.borderStyle));
    p.setBrush(ink.fill);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));

    QPen glyph(ink.ink, 1.6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(glyph);
    p.setBrush(Qt::NoBrush);
    switch (which) {
    case Button::Power:
        p.drawArc(QRectF(4, 4.5, 8, 8), 125 * 16, 290 * 16);
        p.drawLine(QPointF(8, 3.5), QPointF(8, 8));
        break;
    case Button::Close:
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
        break;
    case Button::Help:
    case Button::About:
        drawLine(p, which == Button::Help ? QStringLiteral("?") : QStringLiteral("i"), pictureFont(11, QFont::Bold),
                 ink.ink, QPointF(8, 8), 12);
        break;
    default:
        break;
    }
}

// The small drawing on the left of a large button, in a box of 18 x 18.
void drawButtonIcon(QPainter &p, Button which, const ButtonInk &ink)
{
    p.save();
    p.translate(4, 6.5);
    p.setPen(QPen(ink.ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (which) {
    case Button::RomInfo: // a cartridge with its label
        p.drawRoundedRect(QRectF(2.5, 0.5, 13, 17), 2, 2);
        p.drawRect(QRectF(4.5, 2.5, 9, 7));
        p.drawLine(QPointF(5, 12.5), QPointF(13, 12.5));
        p.drawLine(QPointF(5, 15), QPointF(13, 15));
        break;
    case Button::TileViewer: // a checkerboard of tiles
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column) {
                p.setBrush((row + column) % 2 ? ink.accent : ink.ink);
                p.drawRect(QRectF(1 + column * 5.5, 1 + row * 5.5, 5, 5));
            }
        break;
    case Button::VbRomDatabase: // a stack of records
        p.drawEllipse(QRectF(2, 1, 14, 5));
        p.drawLine(QPointF(2, 3.5), QPointF(2, 14.5));
        p.drawLine(QPointF(16, 3.5), QPointF(16, 14.5));
        p.drawArc(QRectF(2, 6.5, 14, 5), 180 * 16, 180 * 16);
        p.drawArc(QRectF(2, 12, 14, 5), 180 * 16, 180 * 16);
        break;
    case Button::Emus: // a stereo headset on its stand
        p.drawRoundedRect(QRectF(0.5, 2.5, 17, 8), 3, 3);
        p.drawEllipse(QPointF(5, 6.5), 2, 2);
        p.drawEllipse(QPointF(13, 6.5), 2, 2);
        p.drawLine(QPointF(9, 10.5), QPointF(9, 16));
        p.drawLine(QPointF(4.5, 16.5), QPointF(13.5, 16.5));
        break;
    case Button::Utils: // a chip with its pins
        p.drawRect(QRectF(4.5, 4.5, 9, 9));
        for (int i = 0; i < 3; ++i) {
            const qreal at = 6.5 + i * 2.5;
            p.drawLine(QPointF(at, 1.5), QPointF(at, 4.5));
            p.drawLine(QPointF(at, 13.5), QPointF(at, 16.5));
            p.drawLine(QPointF(1.5, at), QPointF(4.5, at));
            p.drawLine(QPointF(13.5, at), QPointF(16.5, at));
        }
        break;
    case Button::Options: { // three sliders
        static constexpr qreal knobs[] = {5, 12, 8};
        for (int i = 0; i < 3; ++i) {
            const qreal y = 3.5 + i * 5.5;
            const qreal knob = knobs[i];
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(1, y), QPointF(17, y));
            p.setBrush(ink.ink);
            p.drawEllipse(QPointF(knob, y), 2, 2);
        }
        break;
    }
    default:
        break;
    }
    p.restore();
}

QStringList captionOf(Button which)
{
    switch (which) {
    case Button::RomInfo:
        return {QStringLiteral("ROM"), QStringLiteral("INFO")};
    case Button::TileViewer:
        return {QStringLiteral("TILE"), QStringLiteral("VIEWER")};
    case Button::VbRomDatabase:
        return {QStringLiteral("ROM"), QStringLiteral("DATABASE")};
    case Button::Emus:
        return {QStringLiteral("VB"), QStringLiteral("EMULATORS")};
    case Button::Utils:
        return {QStringLiteral("VB"), QStringLiteral("UTILITIES")};
    case Button::Options:
        return {QStringLiteral("OPTIONS")};
    default:
        return {};
    }
}

void drawLargeButton(QPainter &p, Button which, const ButtonInk &ink)
{
    p.setPen(QPen(ink.border, 1.0, ink.borderStyle));
    p.setBrush(ink.fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 70, 30), 5, 5);
    drawButtonIcon(p, which, ink);

    const QStringList caption = captionOf(which);
    const QFont font = pictureFont(9, QFont::Bold, 0.5, true);
    const qreal firstLine = caption.size() == 1 ? 15.5 : 10.5;
    for (int i = 0; i < caption.size(); ++i)
        drawLine(p, caption[i], font, ink.ink, QPointF(45.5, firstLine + i * 10), 43);
}

bool isCornerButton(Button which)
{
    return which == Button::Power || which == Button::Close || which == Button::Help || which == Button::About;
}

QString buttonName(Button which)
{
    static const char *const names[] = {"power", "close", "help", "about", "rominfo",
                                        "tileviewer", "database", "emus", "utils", "options"};
    return QString::fromLatin1(names[int(which)]);
}

QString lookName(ButtonLook look)
{
    static const char *const names[] = {"normal", "highlighted", "disabled"};
    return QString::fromLatin1(names[int(look)]);
}

} // namespace

controls::Picture screen(Screen which, int set)
{
    static const char *const names[] = {"precaution", "title", "menu"};
    const Shades s = shadesOf(set);
    return controls::Picture(QStringLiteral("screen/%1/%2").arg(QLatin1String(names[int(which)]), setName(set)),
                             kScreenSize, [which, s](QPainter &p) {
                                 switch (which) {
                                 case Screen::Precaution:
                                     drawPrecaution(p, s);
                                     break;
                                 case Screen::Title:
                                     drawTitle(p, s);
                                     break;
                                 case Screen::Menu:
                                     drawMenu(p, s);
                                     break;
                                 }
                             });
}

controls::Picture button(Button which, ButtonLook look, int set)
{
    const ButtonInk ink = inkFor(look, shadesOf(set));
    const QString name =
        QStringLiteral("button/%1/%2/%3").arg(buttonName(which), lookName(look), setName(set));
    if (isCornerButton(which))
        return controls::Picture(name, kCornerButtonSize,
                                 [which, ink](QPainter &p) { drawCornerButton(p, which, ink); });
    return controls::Picture(name, kLargeButtonSize, [which, ink](QPainter &p) { drawLargeButton(p, which, ink); });
}

controls::Picture lowBattery(int set)
{
    const QColor lit = shadesOf(set).full;
    return controls::Picture(QStringLiteral("lamp/%1").arg(setName(set)), kLampSize,
                             [lit](QPainter &p) { drawBattery(p, QPointF(0, 0), lit); });
}

controls::Picture pointer(int set)
{
    const Shades s = shadesOf(set);
    return controls::Picture(QStringLiteral("pointer/%1").arg(setName(set)), kPointerSize, [s](QPainter &p) {
        const QPolygonF arrow({QPointF(1, 1), QPointF(1, 19), QPointF(5.5, 14.8), QPointF(9, 22.5),
                               QPointF(12.2, 21), QPointF(8.8, 13.6), QPointF(14.6, 13.6)});
        // A dark halo keeps the arrow's edge visible on the black surface.
        p.setPen(QPen(s.dark, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(arrow);
        p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(s.full);
        p.drawPolygon(arrow);
    });
}

QPoint pointerHotSpot()
{
    return QPoint(1, 1);
}

} // namespace menupictures
