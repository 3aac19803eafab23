#pragma once
// FastBlit puts a whole picture of packed pixels onto a picture box in two
// bulk steps, one block copy into a device-independent bitmap section and
// one stretching transfer onto the box, and probes a box for the pixel
// format to build. The section and its memory context are kept between
// calls: a call with another size or another format rebuilds them, and they
// are released when replaced and when the FastBlit itself goes.

#include <cstdint>
#include <span>

#include "Gdi.h"

namespace controls {
class PictureSurface;
}

namespace tiles {

class FastBlit {
public:
    FastBlit() = default;
    ~FastBlit();
    FastBlit(const FastBlit &) = delete;
    FastBlit &operator=(const FastBlit &) = delete;

    // Pixel i of the array shows at column i mod width, row i div width.
    // 32 bits: blue in bits 0-7, green 8-15, red 16-23.
    void FastBlit32(std::span<const uint32_t> pixels, controls::PictureSurface &box, int32_t width, int32_t height);
    // 16 bits, 5-5-5: blue in bits 0-4, green 5-9, red 10-14. Even widths only.
    void FastBlit15(std::span<const uint16_t> pixels, controls::PictureSurface &box, int32_t width, int32_t height);
    // 16 bits, 5-6-5: blue in bits 0-4, green 5-10, red 11-15. Even widths only.
    void FastBlit16(std::span<const uint16_t> pixels, controls::PictureSurface &box, int32_t width, int32_t height);

    // The pixel format the box shows: 32 when it keeps a colour exactly, 16
    // or 15 when it keeps five bits of red and six or five of green, 8
    // otherwise. The probed pixel keeps its colour.
    static int32_t GetScreenBitDepth(controls::PictureSurface &box);

    // The cache: its size, its format marker (32, 15 or 16; 0 before the
    // first call) and its objects (0 for none).
    int32_t BlitWidth() const { return m_width; }
    int32_t BlitHeight() const { return m_height; }
    int32_t BlitDepth() const { return m_depth; }
    gdi::HDC BlitDC() const { return m_dc; }
    gdi::HBITMAP BlitSection() const { return m_section; }

private:
    struct Format {
        int32_t marker;
        uint16_t bitCount;
        bool bitFields;
        const char *failure;
    };

    template <typename Pixel>
    void blit(std::span<const Pixel> pixels, controls::PictureSurface &box, int32_t width, int32_t height,
              const Format &format);
    void rebuild(int32_t width, int32_t height, const Format &format);
    void release();

    int32_t m_width = 0;
    int32_t m_height = 0;
    gdi::HDC m_dc = 0;
    gdi::HBITMAP m_section = 0;
    void *m_bits = nullptr;
    int32_t m_depth = 0;
};

} // namespace tiles
