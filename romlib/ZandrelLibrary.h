#pragma once
// The program's binding to Zandrel.dll. Nothing is loaded at start-up: each
// function is bound by name on its first call, from the library in the
// program folder or else the Windows folder, and the address is kept. When
// the library or the function can't be bound, one message box says so and
// the caller gets no result.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace zandrel {

// The 8-digit checksum: wholeImage false leaves the 32 header bytes out.
std::optional<QString> GetVbRomChecksum(const QByteArray &image, bool wholeImage);

// Both checksums of one image from a single read. The library sums an image
// in chunks of 512 KiB, each on its own (a short last chunk is read round
// from its own start), and adds the first eight chunk sums that are not 0.
// So each chunk can go to the library as it is read, while it is still in
// the cache, and the chunk sums be added here: the results are the
// library's checksums of the whole image.
class ImageChecksums {
public:
    static constexpr qsizetype kChunkBytes = 524288;

    explicit ImageChecksums(qint64 length) : m_length(length) {}

    // The image's next chunk: kChunkBytes bytes, or the rest for the last.
    // False when the library can't be bound (it has said so).
    bool add(QByteArrayView chunk);

    // After the last chunk; nullopt when a chunk could not be summed.
    std::optional<QString> headerExcluded() const;
    std::optional<QString> wholeImage() const;

private:
    // The first eight sums that are not 0, added as the library adds them.
    struct Slots {
        uint32_t total = 0;
        int filled = 0;
        void add(uint32_t sum);
    };

    qint64 m_length;
    qint64 m_offset = 0;
    bool m_failed = false;
    Slots m_headerExcluded;
    Slots m_wholeImage;
};

// The 384x224 pixel buffer of a linear decode from `offset`; in tile mode the
// library only shows its box and the buffer comes back all code 0.
std::optional<QByteArray> DisplayVbTiles(const QByteArray &image, int32_t offset, int16_t width, bool tileMode);

// Reverses the bit order of each nibble in place; false when unbound.
bool FlipVbRomTiles(QByteArray &buffer);

// Tests: forget what was bound so the next call binds afresh.
void ResetBinding();

} // namespace zandrel
