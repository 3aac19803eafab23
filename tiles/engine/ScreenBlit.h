#pragma once
// The screen-buffer side of the engine: the buffers the bulk redraws fill,
// the colour conversions, and the blit that turns 86016 pixel codes into
// pixels of the picture's format through a five-entry palette and hands them
// to FastBlit. Code 0 shows the White shade up to 3 the Black one (the
// reverse of the tile renderers); code 4, no data, shows red 0, green 128,
// blue 128.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>

#include "FastBlit.h"
#include "TileRenderers.h"
#include "TileViewerWindow.h"

namespace tiles {

constexpr int kScreenBytes = 86400; // 225 rows of 384; the picture shows the first 224
constexpr uint8_t kNoData = 4;

// Composes one 32-bit (rgb2), 5-6-5 (rgb16) or 5-5-5 (rgb15) pixel; the blit
// passes a colour's red as B and its blue as r. rgb2 raises the overflow
// error for an argument outside the 16-bit range.
int32_t rgb2(int32_t B, int32_t g, int32_t r);
int32_t rgb16(int32_t B, int32_t g, int32_t r);
int32_t rgb15(int32_t B, int32_t g, int32_t r);

// One component of a colour value: "R", "RED" or "0" red; "G", "GREEN" or
// "1" green; "B", "BLUE" or "2" blue, in any letter case; 0 for anything else.
int16_t UnRGB(int32_t RGBCol, const QString &Colour);

// What the bulk redraws keep with the viewer window: the screen buffers, the
// pixel arrays and the FastBlit cache. Allocated once, at full size.
struct ScreenBuffers {
    // Pixel codes of the library redraw, one a byte; empty until first written.
    QByteArray ScreenBuffer;
    // Pixel codes of the buffered redraw.
    std::array<uint8_t, kScreenBytes> ScreenBytes{};
    std::array<uint16_t, kPicturePixels> PixelArray16{};
    std::array<uint32_t, kPicturePixels> PixelArray32{};
    FastBlit fastBlit;

    // Shows the first 86016 codes of `codes` on the picture in the format the
    // depth probe finds (8: shows nothing). Fewer codes, or a code above 4,
    // is an error: the first before anything is converted, the second at
    // that pixel.
    void blitScreen(QByteArrayView codes, const TileShades &shades, controls::PictureSurface &picture);
};

} // namespace tiles
