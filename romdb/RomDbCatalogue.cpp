#include "RomDbCatalogue.h"

#include "KnownRomTable.h"

namespace romdb {

const QStringList &KnownTitles()
{
    static const QStringList titles = [] {
        QStringList list;
        for (const KnownRom &rom : KnownRomTable())
            list << rom.title;
        return list;
    }();
    return titles;
}

QString LookupTitleByChecksum(const QString &checksum, bool wholeImage)
{
    const QString title = ::LookupTitleByChecksum(checksum, wholeImage);
    if (title == kUnknownVbRom && checksum.isEmpty())
        return kBadRom;
    return title;
}

QString LookupChecksumByTitle(const QString &title, bool wholeImage)
{
    const KnownRom *rom = FindKnownRom(title);
    if (!rom)
        return QString();
    return wholeImage ? rom->wholeImageChecksum : rom->headerExcludedChecksum;
}

} // namespace romdb
