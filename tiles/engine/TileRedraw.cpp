#include "TileRedraw.h"

#include <QElapsedTimer>

#include <algorithm>
#include <optional>

#include "ByteDecoders.h"
#include "EngineErrors.h"
#include "KanaToRomaji.h"
#include "PictureBox.h"
#include "TileRenderers.h"
#include "VbText.h"
#include "ZandrelLibrary.h"

namespace tiles {
namespace {

const QString kRedrawingCaption = QStringLiteral("ROM Tile Viewer - Redrawing...");

constexpr RedrawControl kHeldAfterNavigation[] = {RedrawControl::cmdUpdate, RedrawControl::chkAutoUpdate,
                                                  RedrawControl::cmdChangePalette};

// The controls held disabled and the caption shown while a redraw works; on
// every way out the title caption and the controls come back, as a redraw
// that runs to its end leaves them.
class RedrawFrame {
public:
    enum class EditMenu { Untouched, Held };

    RedrawFrame(TileViewerWindow &window, EditMenu editMenu)
        : m_window(window)
        , m_editMenu(editMenu)
    {
        if (m_editMenu == EditMenu::Held) {
            m_window.setControlEnabled(RedrawControl::mnuEditCopy, false);
            m_window.setControlEnabled(RedrawControl::mnuEditSave, false);
        }
        setNavigationEnabled(false);
        for (RedrawControl c : kHeldAfterNavigation)
            m_window.setControlEnabled(c, false);
    }

    ~RedrawFrame()
    {
        m_window.setCaption(QStringLiteral("ROM Tile Viewer - [") + KanaToRomaji(m_window.romTitle())
                            + QLatin1Char(']'));
        if (m_editMenu == EditMenu::Held) {
            m_window.setControlEnabled(RedrawControl::mnuEditCopy, true);
            m_window.setControlEnabled(RedrawControl::mnuEditSave, true);
        }
        setNavigationEnabled(true);
        if (m_window.autoUpdateValue() == 0)
            m_window.setControlEnabled(RedrawControl::cmdUpdate, true);
        m_window.setControlEnabled(RedrawControl::chkAutoUpdate, true);
        m_window.setControlEnabled(RedrawControl::cmdChangePalette, true);
    }

    RedrawFrame(const RedrawFrame &) = delete;
    RedrawFrame &operator=(const RedrawFrame &) = delete;

private:
    void setNavigationEnabled(bool enabled)
    {
        for (int c = 0; c < kNavigationCount; ++c)
            m_window.setControlEnabled(RedrawControl(c), enabled);
    }

    TileViewerWindow &m_window;
    EditMenu m_editMenu;
};

int16_t toInteger(double value)
{
    const std::optional<int16_t> n = vb::CInt(value);
    if (!n)
        throw Overflow();
    return *n;
}

int32_t toLong(double value)
{
    const std::optional<int32_t> n = vb::CLng(value);
    if (!n)
        throw Overflow();
    return *n;
}

// The whole caption as a number; anything else is an error.
double strictNumber(const QString &text)
{
    const std::optional<double> n = vb::TextToDouble(text);
    if (!n)
        throw TypeMismatch();
    return *n;
}

double seconds(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e9;
}

Swatches swatchesOf(const TileViewerWindow &window)
{
    return Swatches{window.swatchColour(1), window.swatchColour(2), window.swatchColour(3), window.swatchColour(4)};
}

// The image's last tile, short of its 16 bytes: line by line, left byte
// before right, as far as the data goes.
void drawPartialTile(TileRenderers &renderers, int16_t col, int16_t row, const uint8_t *bytes, int64_t available)
{
    for (int16_t line = 0; line < 8; ++line) {
        const int64_t left = 2 * line;
        if (left >= available)
            continue;
        renderers.DrawByte(col, row, 0, line, bytes[left]);
        if (left + 1 < available)
            renderers.DrawByte(col, row, 4, line, bytes[left + 1]);
    }
}

// The tiles of one view: 28 rows of `tilesPerRow` tiles from the 0-based
// `start`, image rows `width` tiles apart. Returns false when the window
// asked the walk to stop.
struct Walk {
    TileViewerWindow &window;
    // The walk's own reference to the image: what runs at a yield may give
    // the window another image, never take this one away.
    QByteArray data;
    int64_t start;
    int tilesPerRow;
    int width;

    void run()
    {
        TileRenderers renderers(window.picture(), swatchesOf(window));
        const auto *bytes = reinterpret_cast<const uint8_t *>(data.constData());
        const int64_t size = data.size();
        int64_t position = start;
        for (int16_t row = 0; row < kTilesDown; ++row) {
            for (int16_t col = 0; col < tilesPerRow; ++col) {
                const int64_t available = position >= 0 && position < size ? std::min<int64_t>(kTileBytes, size - position) : 0;
                if (available == kTileBytes)
                    renderers.DrawTile(col, row, bytes + position);
                else if (available > 0)
                    drawPartialTile(renderers, col, row, bytes + position, available);
                if (window.yield())
                    return;
                renderers.attach();
                position += kTileBytes;
            }
            if (width > kTilesAcross)
                position += int64_t(width - kTilesAcross) * kTileBytes;
        }
    }
};

} // namespace

void RedrawTiles(TileViewerWindow &window)
{
    QElapsedTimer clock;
    clock.start();
    {
        RedrawFrame frame(window, RedrawFrame::EditMenu::Untouched);

        const QString lengthText = window.fileLengthText();
        const double statedLength = strictNumber(lengthText);
        if (statedLength < vb::Val(window.offsetText()))
            window.setOffsetText(lengthText);

        const int16_t width = toInteger(vb::Val(window.widthText()));
        window.setViewWidth(width);
        const int32_t position = toLong(vb::Val(window.offsetText()) + 1);

        window.setCaption(kRedrawingCaption);
        window.picture().Cls();
        // The picture holds 48 tiles across: a wider image row shows its first
        // 48 and the walk passes over the rest; a width of 0 or less draws nothing.
        const int tilesPerRow = std::min<int>(width, kTilesAcross);
        Walk{window, window.romData(), int64_t(position) - 1, tilesPerRow, width}.run();
        window.picture().changed();
    }
    window.setUpdateCaption(QStringLiteral("Update Screen: ") + vb::CStr(seconds(clock)) + QStringLiteral(" seconds"));
}

void RedrawTilesBuffered(TileViewerWindow &window, ScreenBuffers &screen)
{
    RedrawFrame frame(window, RedrawFrame::EditMenu::Untouched);

    const QString lengthText = window.fileLengthText();
    if (vb::Val(lengthText) < vb::Val(window.offsetText()))
        window.setOffsetText(lengthText);
    const int64_t start = int64_t(toLong(vb::Val(window.offsetText()) + 1)) - 1;

    window.setCaption(kRedrawingCaption);
    window.picture().Cls();

    const QByteArray data = window.romData();
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.constData());
    // Groups of four codes up to element 86107: the picture shows the first 86016.
    constexpr int kLastGroupStart = 86104;
    for (int e = 0; e <= kLastGroupStart; e += 4) {
        const int64_t at = start + e / 4;
        uint8_t *codes = screen.ScreenBytes.data() + e;
        if (at < 0 || at >= data.size()) {
            std::fill_n(codes, 4, kNoData);
            continue;
        }
        DecodeByte(bytes[at], codes[0], codes[1], codes[2], codes[3]);
    }

    screen.blitScreen(QByteArrayView(screen.ScreenBytes.data(), kPicturePixels), window.shades(), window.picture());
}

QString RedrawTilesLibrary(TileViewerWindow &window, ScreenBuffers &screen)
{
    QElapsedTimer clock;
    clock.start();
    {
        RedrawFrame frame(window, RedrawFrame::EditMenu::Held);

        const QString lengthText = window.fileLengthText();
        if (vb::Val(lengthText) < vb::Val(window.offsetText()))
            window.setOffsetText(lengthText);
        window.setCaption(kRedrawingCaption);
        window.picture().Cls();
        screen.ScreenBuffer = QByteArray(kPicturePixels, char(0));

        const int mode = window.displayMode();
        if (mode == 0 || mode == 1) {
            const int32_t offset = toLong(vb::Val(window.offsetText()));
            // The library reads the image from the offset on: nothing before it.
            if (offset < 0)
                throw InvalidArgument();
            const double pixels = vb::Val(window.widthText()) * (mode == 0 ? 8 : 1);
            // The library does not read the width; keep it within its 16 bits.
            const int16_t width = toInteger(std::clamp(pixels, double(INT16_MIN), double(INT16_MAX)));
            // The library is handed the image actually held, with its length.
            if (const std::optional<QByteArray> codes = zandrel::DisplayVbTiles(window.romData(), offset, width, mode == 0))
                screen.ScreenBuffer = *codes;
        }
        screen.blitScreen(screen.ScreenBuffer, window.shades(), window.picture());
    }
    return QStringLiteral("DLL Blit: ") + vb::CStr(seconds(clock));
}

void BlitOnly(TileViewerWindow &window, ScreenBuffers &screen)
{
    screen.blitScreen(screen.ScreenBuffer, window.shades(), window.picture());
}

} // namespace tiles
