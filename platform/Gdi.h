#pragma once
// A small stand-in for the bitmap-section calls of the classic graphics
// interface: memory device contexts, device-independent bitmap sections
// (32 bits; 16 bits as 5-5-5 or as 5-6-5 bit fields; top-down or bottom-up)
// and a nearest-neighbour stretching copy from a section onto a picture's
// drawing area. Handles are plain numbers, 0 for none.

#include <QStringList>

#include <cstdint>

namespace controls {
class PictureSurface;
}

namespace gdi {

using HDC = std::uintptr_t;
using HBITMAP = std::uintptr_t;
using HGDIOBJ = std::uintptr_t;

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t DIB_RGB_COLORS = 0;
constexpr uint32_t SRCCOPY = 0xCC0020;

struct BITMAPINFOHEADER {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0; // negative: the first row in memory is the top row
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

// The header and three colour entries: the red, green and blue masks of a
// BI_BITFIELDS section.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    uint32_t bmiColors[3] = {0, 0, 0};
};

// A memory device context; 0 on failure.
HDC CreateCompatibleDC(HDC dc);
// A section of the size and format that `info` gives, with its pixel memory
// written to *bits; 0 (and *bits null) on failure or for a format it does not
// know. Rows are stored at strides of a multiple of 4 bytes.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO *info, uint32_t usage, void **bits, std::uintptr_t section,
                         uint32_t offset);
// Selects a section into a memory context; returns what was selected before.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Copies the source rectangle of the section selected into `source` onto the
// destination rectangle of a picture's context, nearest pixel for pixel.
bool StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, uint32_t rop);
bool DeleteDC(HDC dc);
bool DeleteObject(HGDIOBJ object);

// The device context of a picture's drawing area, and its release.
HDC SurfaceDC(controls::PictureSurface &surface);
void ReleaseSurfaceDC(HDC dc);

// What tests look at and steer: the calls above by name, in order (the
// picture contexts aside), the memory contexts and sections not yet deleted,
// and creations made to fail.
struct Journal {
    QStringList calls;
    bool failCreateCompatibleDC = false;
    bool failCreateDIBSection = false;
};
Journal &TestJournal();
int LiveObjects();

} // namespace gdi
