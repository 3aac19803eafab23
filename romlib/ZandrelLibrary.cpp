#include "ZandrelLibrary.h"

#include "MsgBox.h"
#include "Paths.h"
#include "Zandrel.h"

#include <dlfcn.h>

#include <algorithm>
#include <limits>

// The library shows its boxes through ours: it looks this up by name in the
// running program, so the link exports it dynamically (see CMakeLists.txt).
extern "C" __attribute__((visibility("default"))) int32_t ZandrelHostMessageBox(const char *text,
                                                                                 const char *caption)
{
    return msgbox::MsgBox(QString::fromUtf8(text ? text : ""), msgbox::vbOKOnly,
                          QString::fromUtf8(caption ? caption : ""));
}

namespace zandrel {
namespace {

const char *const kLibraryName = "Zandrel.dll";

struct Binding {
    const char *name;
    void *address = nullptr;
    bool failed = false; // reported once; later calls go without quietly
};

Binding g_checksum{"GetVbRomChecksum"};
Binding g_tiles{"DisplayVbTiles"};
Binding g_flip{"FlipVbRomTiles"};
void *g_library = nullptr;

constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;

// The library handle, loaded on first need; on failure `why` says what went wrong.
void *loadLibrary(QString &why)
{
    if (g_library)
        return g_library;
    const QString name = QString::fromLatin1(kLibraryName);
    QString path = paths::FindFileNoCase(paths::ProgramFolder(), name);
    if (path.isEmpty())
        path = paths::FindFileNoCase(paths::WindowsFolder(), name);
    if (path.isEmpty()) {
        why = QStringLiteral("%1 is neither in %2 nor in %3.")
                  .arg(name, paths::ProgramFolder(), paths::WindowsFolder());
        return nullptr;
    }
    g_library = dlopen(paths::EncodeFileName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!g_library) {
        const char *error = dlerror();
        why = QStringLiteral("%1 could not be loaded: %2").arg(path, QString::fromLocal8Bit(error ? error : "unknown error"));
    }
    return g_library;
}

template <typename Fn>
Fn bind(Binding &binding)
{
    if (!binding.address && !binding.failed) {
        QString why;
        if (void *library = loadLibrary(why)) {
            dlerror();
            binding.address = dlsym(library, binding.name);
            if (!binding.address) {
                const char *error = dlerror();
                why = QString::fromLocal8Bit(error ? error : "the library does not export it");
            }
        }
        if (!binding.address) {
            // Marked first: events run while the box shows, and a call made
            // then must not raise a second one.
            binding.failed = true;
            msgbox::MsgBox(QStringLiteral("The function %1 of %2 is not available.")
                                   .arg(QLatin1String(binding.name), QLatin1String(kLibraryName)) +
                               msgbox::CR + why + msgbox::CR +
                               QStringLiteral("The command goes on without its result."),
                           msgbox::vbCritical, QStringLiteral("Library function not available"));
        }
    }
    return reinterpret_cast<Fn>(binding.address);
}

// The library takes a 32-bit length; no image comes near that.
int32_t lengthOf(const QByteArray &bytes)
{
    return static_cast<int32_t>(std::min<qsizetype>(bytes.size(), std::numeric_limits<int32_t>::max()));
}

} // namespace

std::optional<QString> GetVbRomChecksum(const QByteArray &image, bool wholeImage)
{
    const auto fn = bind<decltype(&::GetVbRomChecksum)>(g_checksum);
    if (!fn)
        return std::nullopt;
    // Output buffers are made at their final size and filled with NUL bytes.
    QByteArray output(8, '\0');
    fn(reinterpret_cast<const uint8_t *>(image.constData()), lengthOf(image), wholeImage ? kTrue : kFalse,
       output.data());
    return QString::fromLatin1(output);
}

namespace {

constexpr qint64 kHeaderFromEnd = 544;
constexpr qint64 kHeaderSize = 32;

// One chunk through the library, as an image of its own.
std::optional<uint32_t> chunkSum(QByteArrayView chunk, bool wholeImage)
{
    const auto fn = bind<decltype(&::GetVbRomChecksum)>(g_checksum);
    if (!fn)
        return std::nullopt;
    char output[8] = {};
    fn(reinterpret_cast<const uint8_t *>(chunk.data()), int32_t(chunk.size()), wholeImage ? kTrue : kFalse, output);
    return QByteArrayView(output, 8).toUInt(nullptr, 16);
}

QString checksumText(uint32_t total)
{
    return QStringLiteral("%1").arg(total, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace

void ImageChecksums::Slots::add(uint32_t sum)
{
    if (sum != 0 && filled < 8) {
        total += sum;
        ++filled;
    }
}

bool ImageChecksums::add(QByteArrayView chunk)
{
    const qint64 from = m_offset;
    m_offset += chunk.size();
    if (m_failed)
        return false;
    const auto whole = chunkSum(chunk, true);
    if (!whole) {
        m_failed = true;
        return false;
    }
    m_wholeImage.add(*whole);

    if (m_offset == m_length) {
        // The last chunk holds the header window at the same place from its
        // own end as the image does, so the library leaves it out here too.
        const auto excluded = chunkSum(chunk, false);
        if (!excluded) {
            m_failed = true;
            return false;
        }
        m_headerExcluded.add(*excluded);
        return true;
    }
    // A whole chunk counts each byte once: take away the header bytes that
    // lie in it (only when the last chunk is shorter than 544 bytes).
    const qint64 skipFrom = std::max(from, m_length - kHeaderFromEnd);
    const qint64 skipTo = std::min(m_offset, m_length - kHeaderFromEnd + kHeaderSize);
    uint32_t excluded = *whole;
    for (qint64 p = skipFrom; p < skipTo; ++p)
        excluded -= uint8_t(chunk[p - from]);
    m_headerExcluded.add(excluded);
    return true;
}

std::optional<QString> ImageChecksums::headerExcluded() const
{
    return m_failed ? std::nullopt : std::optional(checksumText(m_headerExcluded.total));
}

std::optional<QString> ImageChecksums::wholeImage() const
{
    return m_failed ? std::nullopt : std::optional(checksumText(m_wholeImage.total));
}

std::optional<QByteArray> DisplayVbTiles(const QByteArray &image, int32_t offset, int16_t width, bool tileMode)
{
    const auto fn = bind<decltype(&::DisplayVbTiles)>(g_tiles);
    if (!fn)
        return std::nullopt;
    QByteArray output(ZANDREL_PIXEL_BYTES, '\0');
    fn(reinterpret_cast<const uint8_t *>(image.constData()), lengthOf(image), offset, width, ZANDREL_VIEW_HEIGHT,
       tileMode ? kTrue : kFalse, reinterpret_cast<uint8_t *>(output.data()));
    return output;
}

bool FlipVbRomTiles(QByteArray &buffer)
{
    const auto fn = bind<decltype(&::FlipVbRomTiles)>(g_flip);
    if (!fn)
        return false;
    fn(reinterpret_cast<uint8_t *>(buffer.data()), lengthOf(buffer));
    return true;
}

void ResetBinding()
{
    for (Binding *binding : {&g_checksum, &g_tiles, &g_flip}) {
        binding->address = nullptr;
        binding->failed = false;
    }
    if (g_library)
        dlclose(g_library);
    g_library = nullptr;
}

} // namespace zandrel
