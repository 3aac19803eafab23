#include "FastBlit.h"

#include <cstring>
#include <limits>

#include "EngineErrors.h"
#include "MsgBox.h"
#include "PictureBox.h"
#include "VbText.h"

namespace tiles {
namespace {

constexpr int32_t kProbeColour = 0x151515;

int32_t wholePixels(double size)
{
    return vb::CLng(size).value_or(0);
}

} // namespace

FastBlit::~FastBlit()
{
    release();
}

void FastBlit::FastBlit32(std::span<const uint32_t> pixels, controls::PictureSurface &box, int32_t width, int32_t height)
{
    static constexpr Format kFormat{32, 32, false, "CreateDIBSection 32 Failed"};
    blit(pixels, box, width, height, kFormat);
}

void FastBlit::FastBlit15(std::span<const uint16_t> pixels, controls::PictureSurface &box, int32_t width, int32_t height)
{
    static constexpr Format kFormat{15, 16, false, "CreateDIBSection 15 Failed"};
    blit(pixels, box, width, height, kFormat);
}

void FastBlit::FastBlit16(std::span<const uint16_t> pixels, controls::PictureSurface &box, int32_t width, int32_t height)
{
    static constexpr Format kFormat{16, 16, true, "CreateDIBSection 16 Failed"};
    blit(pixels, box, width, height, kFormat);
}

template <typename Pixel>
void FastBlit::blit(std::span<const Pixel> pixels, controls::PictureSurface &box, int32_t width, int32_t height,
                    const Format &format)
{
    if (width == 0 || height == 0)
        return;
    // 16-bit rows are stored at strides of a multiple of 4 bytes and the copy
    // is one block, so an odd width would shear the picture.
    if (width < 0 || height < 0 || (sizeof(Pixel) == 2 && width % 2 != 0))
        throw InvalidArgument();

    if (m_width != width || m_height != height || m_depth != format.marker) {
        rebuild(width, height, format);
        if (!m_dc)
            return;
    }

    if (m_section && m_dc) {
        const int64_t count = int64_t(width) * int64_t(height);
        if (int64_t(pixels.size()) < count)
            throw SubscriptOutOfRange();
        const int64_t bytes = count * int64_t(sizeof(Pixel));
        if (bytes > std::numeric_limits<int32_t>::max())
            throw Overflow();
        std::memcpy(m_bits, pixels.data(), size_t(bytes));

        if (box.ScaleMode != controls::vbPixels)
            box.ScaleMode = controls::vbPixels;
        const gdi::HDC boxDC = box.hDC();
        gdi::StretchBlt(boxDC, 0, 0, wholePixels(box.ScaleWidth()), wholePixels(box.ScaleHeight()), m_dc, 0, 0,
                        m_width, m_height, gdi::SRCCOPY);
    }
    m_depth = format.marker;
}

void FastBlit::rebuild(int32_t width, int32_t height, const Format &format)
{
    release();
    m_width = width;
    m_height = height;

    gdi::BITMAPINFO info;
    info.bmiHeader.biSize = sizeof(gdi::BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = format.bitCount;
    info.bmiHeader.biCompression = format.bitFields ? gdi::BI_BITFIELDS : gdi::BI_RGB;
    if (format.bitFields) {
        info.bmiColors[0] = 0xF800;
        info.bmiColors[1] = 0x07E0;
        info.bmiColors[2] = 0x001F;
    }

    m_dc = gdi::CreateCompatibleDC(0);
    if (!m_dc)
        return;
    m_section = gdi::CreateDIBSection(m_dc, &info, gdi::DIB_RGB_COLORS, &m_bits, 0, 0);
    if (!m_section)
        msgbox::MsgBox(QString::fromLatin1(format.failure), msgbox::vbOKOnly);
    gdi::SelectObject(m_dc, m_section);
}

void FastBlit::release()
{
    // The context first, so that the section is no longer selected when it goes.
    if (m_dc)
        gdi::DeleteDC(m_dc);
    m_dc = 0;
    if (m_section)
        gdi::DeleteObject(m_section);
    m_section = 0;
    m_bits = nullptr;
}

int32_t FastBlit::GetScreenBitDepth(controls::PictureSurface &box)
{
    const int32_t saved = box.Point(0, 0);
    box.PSet(0, 0, kProbeColour);
    const int32_t read = box.Point(0, 0);
    box.PSet(0, 0, saved);

    if (read == kProbeColour)
        return 32;
    // 21 kept to five bits shows as 16, to six bits as 20.
    const int red = read & 0xFF;
    const int green = (read >> 8) & 0xFF;
    if (red == 16 && green == 20)
        return 16;
    if (red == 16 && green == 16)
        return 15;
    return 8;
}

} // namespace tiles
