#pragma once
// The per-byte tile renderers: one byte of a tile line becomes four pixels of
// the viewer's picture, bits 0-1 leftmost and bits 6-7 rightmost, pixel value
// 0 in the Black swatch's colour up to 3 in the White one. Eight members,
// each for 32 byte values, share one table; a member given a byte outside
// its range draws nothing.

#include <QByteArrayView>
#include <QRgb>

#include <array>
#include <cstdint>

namespace controls {
class PictureSurface;
}

namespace tiles {

constexpr int kPictureWidth = 384;
constexpr int kPictureHeight = 224;
constexpr int kPicturePixels = kPictureWidth * kPictureHeight;
constexpr int kTilesAcross = 48;
constexpr int kTilesDown = 28;
constexpr int kTileBytes = 16;

// The swatch colours (picCol1 White, picCol2 L Grey, picCol3 D Grey, picCol4
// Black) as they stand when the renderers are made: a redraw makes them once,
// as nothing can change a swatch while it draws (the palette button is held
// disabled).
struct Swatches {
    int32_t picCol1 = 0;
    int32_t picCol2 = 0;
    int32_t picCol3 = 0;
    int32_t picCol4 = 0;
};

// Raises the overflow error of a coordinate step.
[[noreturn]] void throwOverflow();

class TileRenderers {
public:
    TileRenderers(controls::PictureSurface &picture, const Swatches &swatches);

    // Takes the picture's pixels again: after events have run they may have
    // moved, or be shared with a copy (the clipboard's) that must keep its own.
    void attach();

    // Coordinates are 16-bit: a step that leaves -32768..32767 raises the
    // overflow error before any pixel of the byte is set. Pixels outside the
    // picture are not set.
    void DrawByteGroup0(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, QByteArrayView ByteChar);
    void DrawByteGroup1(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, QByteArrayView ByteChar);
    void DrawByteGroup2(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, QByteArrayView ByteChar);
    void DrawByteGroup3(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, QByteArrayView ByteChar);
    void DrawByteGroup4(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, QByteArrayView ByteChar);
    void DrawByteGroup5(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, QByteArrayView ByteChar);
    void DrawByteGroup6(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, QByteArrayView ByteChar);
    void DrawByteGroup7(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, QByteArrayView ByteChar);

    // The member whose range holds the byte, as the redraw picks it.
    inline void DrawByte(int16_t TileCol, int16_t TileRow, int16_t PixelOffset, int16_t TileLine, uint8_t value);
    // A whole tile of 16 bytes, two bytes to a line, in the colours the
    // members give them: what the redraw does for a tile with all its data.
    // The tile lies inside the picture (the redraw draws no other).
    void DrawTile(int16_t TileCol, int16_t TileRow, const uint8_t *bytes);

private:
    // One step of 16-bit coordinate arithmetic.
    static int16_t checked16(int32_t value);

    void drawMember(int member, int16_t tileCol, int16_t tileRow, int16_t pixelOffset, int16_t tileLine,
                    QByteArrayView byteChar);

    controls::PictureSurface &m_picture;
    // The four colours of every byte value, leftmost first.
    std::array<std::array<QRgb, 4>, 256> m_colours{};
    QRgb *m_pixels = nullptr;
    qsizetype m_pixelsPerLine = 0;
    int m_width = 0;
    int m_height = 0;
};

inline int16_t TileRenderers::checked16(int32_t value)
{
    if (value < INT16_MIN || value > INT16_MAX) [[unlikely]]
        throwOverflow();
    return int16_t(value);
}

// Every member is this one rule over its own range of 32 values.
inline void TileRenderers::drawMember(int member, int16_t tileCol, int16_t tileRow, int16_t pixelOffset,
                                      int16_t tileLine, QByteArrayView byteChar)
{
    if (byteChar.size() != 1)
        return;
    const uint8_t value = uint8_t(byteChar[0]);
    if (value >> 5 != member)
        return;
    const int16_t y = checked16(checked16(tileRow * 8) + tileLine);
    const int16_t x = checked16(checked16(tileCol * 8) + pixelOffset);
    checked16(x + 3); // the first pixel set is the rightmost
    if (y < 0 || y >= m_height)
        return;
    QRgb *line = m_pixels + qsizetype(y) * m_pixelsPerLine;
    const std::array<QRgb, 4> &colours = m_colours[value];
    if (x >= 0 && x + 3 < m_width) [[likely]] {
        line[x + 3] = colours[3];
        line[x + 2] = colours[2];
        line[x + 1] = colours[1];
        line[x] = colours[0];
        return;
    }
    for (int k = 3; k >= 0; --k)
        if (x + k >= 0 && x + k < m_width)
            line[x + k] = colours[size_t(k)];
}

void TileRenderers::DrawByte(int16_t tileCol, int16_t tileRow, int16_t pixelOffset, int16_t tileLine, uint8_t value)
{
    // The member whose range holds the byte: 0x00-0x1F the first, up to 0xE0-0xFF the eighth.
    const char byte = char(value);
    drawMember(value >> 5, tileCol, tileRow, pixelOffset, tileLine, QByteArrayView(&byte, 1));
}

} // namespace tiles
