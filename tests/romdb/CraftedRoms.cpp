#include "CraftedRoms.h"

#include "KnownRomTable.h"
#include "VbRomHeader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace craftedroms {
namespace {

constexpr int64_t kChunk = 524288;

uint32_t HexValue(const QString &checksum)
{
    return checksum.toUInt(nullptr, 16);
}

QByteArray WithHeader(int64_t size, const KnownRom &row, const QByteArray &headerTitle, uint8_t version)
{
    QByteArray image(size, '\0');
    VbRomHeader header;
    header.title = headerTitle;
    header.makerCode = row.makerCode.toLatin1();
    header.gameId = row.gameId.toLatin1();
    header.version = version;
    header.writeTo(image);
    return image;
}

int64_t ByteSum(const QByteArray &bytes)
{
    int64_t sum = 0;
    for (char b : bytes)
        sum += uint8_t(b);
    return sum;
}

// Fills bytes outside the header, from the start, until they sum to `sum`.
bool FillBody(QByteArray &image, int64_t sum)
{
    const qsizetype headerAt = image.size() - VbRomHeader::kDistanceFromEnd;
    for (qsizetype at = 0; at < image.size() && sum > 0; ++at) {
        if (at >= headerAt && at < headerAt + VbRomHeader::kSize)
            continue;
        const int64_t byte = std::min<int64_t>(255, sum);
        image[at] = char(byte);
        sum -= byte;
    }
    return sum == 0;
}

// The image for `passes` reads of each byte, or nullopt when the row's
// checksums can't come from that many.
std::optional<QByteArray> Build(const KnownRom &row, const QByteArray &headerTitle, int64_t passes)
{
    const uint32_t headerExcluded = HexValue(row.headerExcludedChecksum);
    const uint32_t headerPart = HexValue(row.wholeImageChecksum) - headerExcluded;
    if (headerExcluded % passes != 0 || headerPart % passes != 0)
        return std::nullopt;
    const int64_t headerSum = headerPart / passes;
    const int64_t bodySum = headerExcluded / passes;
    const int64_t versionless = ByteSum(WithHeader(kChunk, row, row.headerTitle, 0)); // zeros elsewhere
    const int64_t version = headerSum - versionless;
    if (version < 0 || version > 255)
        return std::nullopt;
    // Whole chunks for one pass (as many as the sum needs), a fraction of one otherwise.
    const int64_t chunkCapacity = 255 * (kChunk - VbRomHeader::kSize);
    const int64_t chunks = passes == 1 ? std::max<int64_t>(1, (bodySum + chunkCapacity - 1) / chunkCapacity) : 1;
    const int64_t size = passes == 1 ? chunks * kChunk : kChunk / passes;
    if (chunks > 8)
        return std::nullopt;
    QByteArray image = WithHeader(size, row, headerTitle, uint8_t(version));
    if (!FillBody(image, bodySum))
        return std::nullopt;
    return image;
}

} // namespace

QByteArray CatalogueImage(const QString &title, const QByteArray &otherHeaderTitle)
{
    const KnownRom *row = FindKnownRom(title);
    if (!row) {
        ADD_FAILURE() << "no catalogue row " << title.toStdString();
        return QByteArray();
    }
    const QByteArray headerTitle = otherHeaderTitle.isEmpty() ? row->headerTitle : otherHeaderTitle;
    for (int64_t passes = 1; passes <= 512; passes *= 2)
        if (auto image = Build(*row, headerTitle, passes))
            return *image;
    ADD_FAILURE() << "cannot build an image for " << title.toStdString();
    return QByteArray();
}

QByteArray UnknownImage(int size, char fill)
{
    QByteArray image(size, fill);
    image.replace(size - VbRomHeader::kDistanceFromEnd + 20, 5, QByteArray(5, '\0'));
    return image;
}

} // namespace craftedroms
