#include "RedDragonLists.h"

#include <array>

#include "VbText.h"

namespace reddragon {
namespace {

constexpr std::array<int, 9> kModeNumbers{0, 1, 2, 4, 6, 7, 8, 9, 10};

QStringList generalSizes()
{
    return {QStringLiteral(" 320x200"), QStringLiteral(" 320x240"), QStringLiteral(" 640x400"),
            QStringLiteral(" 640x480"), QStringLiteral(" 800x600"), QStringLiteral("1024x768"),
            QStringLiteral("1280x1024"), QStringLiteral("1600x1200"), QStringLiteral("  80x80"),
            QStringLiteral(" 160x120"), QStringLiteral(" 256x200"), QStringLiteral(" 256x224"),
            QStringLiteral(" 256x240"), QStringLiteral(" 256x256"), QStringLiteral(" 320x100"),
            QStringLiteral(" 320x350"), QStringLiteral(" 320x400"), QStringLiteral(" 320x480"),
            QStringLiteral(" 320x600"), QStringLiteral(" 360x200"), QStringLiteral(" 360x240"),
            QStringLiteral(" 360x270"), QStringLiteral(" 360x360"), QStringLiteral(" 360x400"),
            QStringLiteral(" 360x480"), QStringLiteral(" 360x600"), QStringLiteral(" 376x282"),
            QStringLiteral(" 376x308"), QStringLiteral(" 376x564"), QStringLiteral(" 400x150"),
            QStringLiteral(" 400x300"), QStringLiteral(" 400x600")};
}

QStringList directDrawSizes()
{
    return {QStringLiteral(" 320x200"), QStringLiteral(" 320x240"), QStringLiteral(" 400x300"),
            QStringLiteral(" 512x384"), QStringLiteral(" 640x400"), QStringLiteral(" 640x480"),
            QStringLiteral(" 720x480"), QStringLiteral(" 720x576"), QStringLiteral(" 800x600"),
            QStringLiteral("1024x768")};
}

int leadingInteger(const QString &text)
{
    return vb::CInt(vb::Val(text)).value_or(0);
}

} // namespace

const QStringList &ScreenModes()
{
    static const QStringList modes{QStringLiteral("Autodetect"),        QStringLiteral("Auto fullscreen"),
                                   QStringLiteral("Auto windowed"),     QStringLiteral("DirectDraw accel"),
                                   QStringLiteral("DirectDraw soft"),   QStringLiteral("DirectDraw safe"),
                                   QStringLiteral("DirectDraw window"), QStringLiteral("DirectDraw overla"),
                                   QStringLiteral("GDI")};
    return modes;
}

const QStringList &ColourDepths()
{
    static const QStringList depths{QStringLiteral("  8 bpp (256 colors)"), QStringLiteral(" 15 bpp (32K colors)"),
                                    QStringLiteral(" 16 bpp (64K colors)"), QStringLiteral(" 24 bpp (16M colors)"),
                                    QStringLiteral(" 32 bpp (16M colors)")};
    return depths;
}

const QStringList &DisplayModes()
{
    static const QStringList modes{QStringLiteral("Normal"),       QStringLiteral("Red / Blue"),
                                   QStringLiteral("Interlaced"),   QStringLiteral("Over / Under"),
                                   QStringLiteral("Side by Side"), QStringLiteral("CyberScope")};
    return modes;
}

const QStringList &Palettes()
{
    static const QStringList palettes{QStringLiteral("Normal"), QStringLiteral("Red"), QStringLiteral("Red & Blue"),
                                      QStringLiteral("Red & Green"), QStringLiteral("Red, Blue, Green")};
    return palettes;
}

const QStringList &Versions()
{
    static const QStringList versions{QStringLiteral("Win"), QStringLiteral("DOS")};
    return versions;
}

std::optional<QStringList> SizesOfMode(const QString &modeName)
{
    const qsizetype position = ScreenModes().indexOf(modeName);
    switch (position) {
    case 3: // the three DirectDraw full-screen modes
    case 4:
    case 5: return directDrawSizes();
    case 8: return generalSizes() << QStringLiteral(" 384x224"); // GDI also shows the Virtual Boy's own size
    case -1: return std::nullopt;
    default: return generalSizes();
    }
}

int ModeNumber(int position)
{
    return position >= 0 && position < int(kModeNumbers.size()) ? kModeNumbers[size_t(position)] : 0;
}

int ModePosition(int number)
{
    for (size_t i = 0; i < kModeNumbers.size(); ++i)
        if (kModeNumbers[i] == number)
            return int(i);
    return -1;
}

QString SizeText(int width, int height)
{
    return QString::number(width).rightJustified(4, QLatin1Char(' ')) + QLatin1Char('x') + QString::number(height);
}

int SizeWidth(const QString &sizeText)
{
    return leadingInteger(sizeText.left(4));
}

int SizeHeight(const QString &sizeText)
{
    return leadingInteger(sizeText.mid(5));
}

} // namespace reddragon
