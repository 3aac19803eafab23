#include "Gdi.h"

#include <map>
#include <variant>
#include <vector>

#include "PictureBox.h"

namespace gdi {
namespace {

struct MemoryDC {
    HBITMAP selected = 0;
};

struct Section {
    BITMAPINFO info;
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<uint8_t> memory;
};

struct PictureDC {
    controls::PictureSurface *surface = nullptr;
};

using Object = std::variant<MemoryDC, Section, PictureDC>;

std::map<std::uintptr_t, Object> g_objects;
std::uintptr_t g_nextHandle = 0x100;

Journal &journal()
{
    static Journal j;
    return j;
}

std::uintptr_t add(Object object)
{
    const std::uintptr_t handle = g_nextHandle++;
    g_objects.emplace(handle, std::move(object));
    return handle;
}

template <typename T>
T *find(std::uintptr_t handle)
{
    const auto it = g_objects.find(handle);
    return it == g_objects.end() ? nullptr : std::get_if<T>(&it->second);
}

// Expands a 5- or 6-bit component to 8 bits, as a screen shows it.
int expand(uint32_t value, int bits)
{
    return int((value << (8 - bits)) | (value >> (2 * bits - 8)));
}

// One row of a section as colours, nearest pixel for each destination column.
void readRow(const Section &s, int y, const std::vector<int> &columns, QRgb *out)
{
    const int memoryRow = s.info.bmiHeader.biHeight < 0 ? y : s.height - 1 - y;
    const uint8_t *row = s.memory.data() + size_t(memoryRow) * size_t(s.stride);
    if (s.info.bmiHeader.biBitCount == 32) {
        const auto *pixels = reinterpret_cast<const uint32_t *>(row);
        for (size_t i = 0; i < columns.size(); ++i)
            out[i] = 0xFF000000u | pixels[columns[i]];
        return;
    }
    const auto *pixels = reinterpret_cast<const uint16_t *>(row);
    const bool fiveSixFive = s.info.bmiHeader.biCompression == BI_BITFIELDS;
    for (size_t i = 0; i < columns.size(); ++i) {
        const uint32_t v = pixels[columns[i]];
        out[i] = fiveSixFive ? qRgb(expand((v >> 11) & 31, 5), expand((v >> 5) & 63, 6), expand(v & 31, 5))
                             : qRgb(expand((v >> 10) & 31, 5), expand((v >> 5) & 31, 5), expand(v & 31, 5));
    }
}

bool knownFormat(const BITMAPINFOHEADER &h, const uint32_t masks[3])
{
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biWidth <= 0 || h.biHeight == 0)
        return false;
    if (h.biBitCount == 32)
        return h.biCompression == BI_RGB;
    if (h.biBitCount == 16)
        return h.biCompression == BI_RGB
               || (h.biCompression == BI_BITFIELDS && masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F);
    return false;
}

} // namespace

HDC CreateCompatibleDC(HDC)
{
    journal().calls << QStringLiteral("CreateCompatibleDC");
    if (journal().failCreateCompatibleDC)
        return 0;
    return add(MemoryDC{});
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO *info, uint32_t usage, void **bits, std::uintptr_t, uint32_t)
{
    journal().calls << QStringLiteral("CreateDIBSection");
    if (bits)
        *bits = nullptr;
    if (journal().failCreateDIBSection || !info || !bits || usage != DIB_RGB_COLORS
        || !knownFormat(info->bmiHeader, info->bmiColors))
        return 0;
    Section s;
    s.info = *info;
    s.width = info->bmiHeader.biWidth;
    s.height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    s.stride = (s.width * info->bmiHeader.biBitCount + 31) / 32 * 4;
    s.memory.assign(size_t(s.stride) * size_t(s.height), 0);
    const HBITMAP handle = add(std::move(s));
    *bits = find<Section>(handle)->memory.data();
    return handle;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    journal().calls << QStringLiteral("SelectObject");
    MemoryDC *memory = find<MemoryDC>(dc);
    if (!memory || !find<Section>(object))
        return 0;
    const HGDIOBJ before = memory->selected;
    memory->selected = object;
    return before;
}

bool StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, uint32_t rop)
{
    journal().calls << QStringLiteral("StretchBlt");
    const PictureDC *picture = find<PictureDC>(destination);
    const MemoryDC *memory = find<MemoryDC>(source);
    const Section *section = memory ? find<Section>(memory->selected) : nullptr;
    if (!picture || !section || rop != SRCCOPY || width <= 0 || height <= 0 || sourceWidth <= 0
        || sourceHeight <= 0 || sourceX < 0 || sourceY < 0 || sourceX + sourceWidth > section->width
        || sourceY + sourceHeight > section->height)
        return false;

    QImage &image = picture->surface->pixels();
    const int left = std::max(x, 0);
    const int right = std::min(x + width, image.width());
    const int bottom = std::min(y + height, image.height());
    if (left >= right)
        return true;
    std::vector<int> columns;
    for (int dx = left; dx < right; ++dx)
        columns.push_back(sourceX + int(int64_t(dx - x) * sourceWidth / width));
    std::vector<QRgb> colours(columns.size());
    for (int dy = std::max(y, 0); dy < bottom; ++dy) {
        readRow(*section, sourceY + int(int64_t(dy - y) * sourceHeight / height), columns, colours.data());
        if (image.format() == QImage::Format_RGB32) {
            std::copy(colours.begin(), colours.end(), reinterpret_cast<QRgb *>(image.scanLine(dy)) + left);
            continue;
        }
        for (int dx = left; dx < right; ++dx)
            image.setPixel(dx, dy, colours[size_t(dx - left)]);
    }
    picture->surface->changed();
    return true;
}

bool DeleteDC(HDC dc)
{
    journal().calls << QStringLiteral("DeleteDC");
    return find<MemoryDC>(dc) && g_objects.erase(dc) == 1;
}

bool DeleteObject(HGDIOBJ object)
{
    journal().calls << QStringLiteral("DeleteObject");
    if (!find<Section>(object))
        return false;
    // A section still selected into a context stays until the context goes.
    for (const auto &[handle, o] : g_objects)
        if (const auto *memory = std::get_if<MemoryDC>(&o); memory && memory->selected == object)
            return false;
    return g_objects.erase(object) == 1;
}

HDC SurfaceDC(controls::PictureSurface &surface)
{
    return add(PictureDC{&surface});
}

void ReleaseSurfaceDC(HDC dc)
{
    if (find<PictureDC>(dc))
        g_objects.erase(dc);
}

Journal &TestJournal()
{
    return journal();
}

int LiveObjects()
{
    int live = 0;
    for (const auto &[handle, o] : g_objects)
        live += std::holds_alternative<PictureDC>(o) ? 0 : 1;
    return live;
}

} // namespace gdi
