#include "TileRenderers.h"

#include <cstring>

#include "EngineErrors.h"
#include "PictureBox.h"

namespace tiles {
void throwOverflow()
{
    throw Overflow();
}

TileRenderers::TileRenderers(controls::PictureSurface &picture, const Swatches &swatches)
    : m_picture(picture)
{
    // By pixel value: 0 Black, 1 D Grey, 2 L Grey, 3 White.
    const std::array<QRgb, 4> shade{controls::RgbFromColour(swatches.picCol4), controls::RgbFromColour(swatches.picCol3),
                                    controls::RgbFromColour(swatches.picCol2), controls::RgbFromColour(swatches.picCol1)};
    // Pixel k of a byte is its bits 2k and 2k + 1.
    for (size_t v = 0; v < 256; ++v)
        for (size_t k = 0; k < 4; ++k)
            m_colours[v][k] = shade[(v >> (2 * k)) & 3];
    const QImage &image = m_picture.image();
    Q_ASSERT(image.format() == QImage::Format_RGB32);
    m_pixelsPerLine = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    m_width = image.width();
    m_height = image.height();
    attach();
}

void TileRenderers::attach()
{
    m_pixels = reinterpret_cast<QRgb *>(m_picture.pixels().bits());
}

void TileRenderers::DrawTile(int16_t tileCol, int16_t tileRow, const uint8_t *bytes)
{
    const int x = tileCol * 8;
    const int y = tileRow * 8;
    Q_ASSERT(tileCol >= 0 && tileRow >= 0 && x + 8 <= m_width && y + 8 <= m_height);
    QRgb *pixels = m_pixels + qsizetype(y) * m_pixelsPerLine + x;
    for (int line = 0; line < 8; ++line, pixels += m_pixelsPerLine) {
        std::memcpy(pixels, m_colours[bytes[2 * line]].data(), sizeof(m_colours[0]));
        std::memcpy(pixels + 4, m_colours[bytes[2 * line + 1]].data(), sizeof(m_colours[0]));
    }
}

void TileRenderers::DrawByteGroup0(int16_t c, int16_t r, int16_t o, int16_t l, QByteArrayView b) { drawMember(0, c, r, o, l, b); }
void TileRenderers::DrawByteGroup1(int16_t c, int16_t r, int16_t o, int16_t l, QByteArrayView b) { drawMember(1, c, r, o, l, b); }
void TileRenderers::DrawByteGroup2(int16_t c, int16_t r, int16_t o, int16_t l, QByteArrayView b) { drawMember(2, c, r, o, l, b); }
void TileRenderers::DrawByteGroup3(int16_t c, int16_t r, int16_t o, int16_t l, QByteArrayView b) { drawMember(3, c, r, o, l, b); }
void TileRenderers::DrawByteGroup4(int16_t c, int16_t r, int16_t o, int16_t l, QByteArrayView b) { drawMember(4, c, r, o, l, b); }
void TileRenderers::DrawByteGroup5(int16_t c, int16_t r, int16_t o, int16_t l, QByteArrayView b) { drawMember(5, c, r, o, l, b); }
void TileRenderers::DrawByteGroup6(int16_t c, int16_t r, int16_t o, int16_t l, QByteArrayView b) { drawMember(6, c, r, o, l, b); }
void TileRenderers::DrawByteGroup7(int16_t c, int16_t r, int16_t o, int16_t l, QByteArrayView b) { drawMember(7, c, r, o, l, b); }

} // namespace tiles
