#include "ScreenBlit.h"

#include "EngineErrors.h"
#include "PictureBox.h"

namespace tiles {
namespace {

int16_t narrow16(int32_t value)
{
    if (value < INT16_MIN || value > INT16_MAX)
        throw Overflow();
    return int16_t(value);
}

template <typename Pixel, size_t N>
void convert(QByteArrayView codes, const std::array<Pixel, 5> &palette, std::array<Pixel, N> &pixels)
{
    for (size_t i = 0; i < N; ++i) {
        const uint8_t code = uint8_t(codes[qsizetype(i)]);
        if (code > kNoData)
            throw SubscriptOutOfRange();
        pixels[i] = palette[code];
    }
}

} // namespace

int32_t rgb2(int32_t B, int32_t g, int32_t r)
{
    return narrow16(r) + 256 * narrow16(g) + 65536 * narrow16(B);
}

int32_t rgb16(int32_t B, int32_t g, int32_t r)
{
    return (B / 8) * 2048 + (g / 4) * 32 + (r / 8);
}

int32_t rgb15(int32_t B, int32_t g, int32_t r)
{
    return (B / 8) * 1024 + (g / 8) * 32 + (r / 8);
}

int16_t UnRGB(int32_t RGBCol, const QString &Colour)
{
    const QString selector = Colour.toUpper();
    if (selector == u"R" || selector == u"RED" || selector == u"0")
        return int16_t(RGBCol & 0xFF);
    if (selector == u"G" || selector == u"GREEN" || selector == u"1")
        return int16_t((RGBCol >> 8) & 0xFF);
    if (selector == u"B" || selector == u"BLUE" || selector == u"2")
        return int16_t((RGBCol >> 16) & 0xFF);
    return 0;
}

void ScreenBuffers::blitScreen(QByteArrayView codes, const TileShades &shades, controls::PictureSurface &picture)
{
    const int32_t depth = uint8_t(FastBlit::GetScreenBitDepth(picture));
    if (depth == 8)
        return;
    if (codes.size() < kPicturePixels)
        throw InvalidArgument();

    // Entries by code: the four shades, then the no-data colour.
    const std::array<TileShade, 5> entries{shades[0], shades[1], shades[2], shades[3], TileShade{0, 128, 128}};
    auto palette = [&entries](auto conversion, auto pixel) {
        std::array<decltype(pixel), 5> p{};
        for (size_t c = 0; c < entries.size(); ++c)
            p[c] = decltype(pixel)(conversion(entries[c].Red, entries[c].Green, entries[c].Blue));
        return p;
    };

    if (depth == 16) {
        convert(codes, palette(rgb16, uint16_t()), PixelArray16);
        fastBlit.FastBlit16(PixelArray16, picture, kPictureWidth, kPictureHeight);
    } else if (depth == 15) {
        convert(codes, palette(rgb15, uint16_t()), PixelArray16);
        fastBlit.FastBlit15(PixelArray16, picture, kPictureWidth, kPictureHeight);
    } else {
        convert(codes, palette(rgb2, uint32_t()), PixelArray32);
        fastBlit.FastBlit32(PixelArray32, picture, kPictureWidth, kPictureHeight);
    }
}

} // namespace tiles
