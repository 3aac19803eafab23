#pragma once
// The tile viewer window as the redraw procedures see it: the image, the
// label captions that hold the view's offset, width and length, the caption,
// the controls a redraw holds disabled, the swatches, the shade settings and
// the picture. The window implements it; tests put a plain record behind it.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

#include "SettingsRecord.h"

namespace controls {
class PictureSurface;
}

namespace tiles {

// The window's controls that a redraw disables while it draws, in the order
// it disables them: the fourteen navigation buttons (cmdGotoWidth up to
// cmdPageDown) first. The library redraw also holds the two Edit menu items.
enum class RedrawControl {
    cmdGotoWidth,
    cmdGotoOffset,
    cmdTileHalf,
    cmdTileDouble,
    cmdOffsetDown,
    cmdOffsetUp,
    cmdTileLeft,
    cmdTileRight,
    cmdOffsetDownTile,
    cmdOffsetUpTile,
    cmdUp,
    cmdDown,
    cmdPageUp,
    cmdPageDown,
    cmdUpdate,
    chkAutoUpdate,
    cmdChangePalette,
    mnuEditCopy,
    mnuEditSave,
};
// The navigation buttons are the values below this count.
constexpr int kNavigationCount = int(RedrawControl::cmdPageDown) + 1;

// The four tile shades in settings order: White, L Grey, D Grey, Black.
using TileShades = std::array<TileShade, 4>;

class TileViewerWindow {
public:
    virtual ~TileViewerWindow() = default;

    // RomData: the image shown, one byte per file byte.
    virtual QByteArray romData() const = 0;

    // Captions of lblOffset, lblWidth, lblFileLen; lblRomLabel's title bytes.
    virtual QString offsetText() const = 0;
    virtual void setOffsetText(const QString &text) = 0;
    virtual QString widthText() const = 0;
    virtual QString fileLengthText() const = 0;
    virtual QByteArray romTitle() const = 0;
    // ViewWidth.
    virtual void setViewWidth(int16_t width) = 0;

    virtual void setCaption(const QString &caption) = 0;
    virtual void setUpdateCaption(const QString &caption) = 0;
    virtual void setControlEnabled(RedrawControl control, bool enabled) = 0;
    // chkAutoUpdate's value: 0 clear, 1 ticked, 2 greyed.
    virtual int autoUpdateValue() const = 0;
    // The selected option of optDspMode, or -1 when neither is.
    virtual int displayMode() const = 0;

    // picTileViewer's drawing area.
    virtual controls::PictureSurface &picture() = 0;
    // The BackColor of swatch picCol1 ... picCol4 (index 1 to 4).
    virtual int32_t swatchColour(int index) const = 0;
    // The shade members WhiteTileRed ... BlackTileBlue.
    virtual TileShades shades() const = 0;

    // Lets the window's pending events run between two tiles. True when
    // something that ran asks the redraw to stop.
    virtual bool yield() = 0;
};

} // namespace tiles
