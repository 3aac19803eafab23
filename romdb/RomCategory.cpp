#include "RomCategory.h"

namespace romdb {
namespace {

const QString kHackedMark = QStringLiteral("[h]");
const QString kGoodMark = QStringLiteral("[!]");
const QString kTranslation = QStringLiteral("[T-");

} // namespace

RomCategory TitleCategory(const QString &title)
{
    const QString tail = title.right(4);
    const bool translated = title.contains(kTranslation);
    const bool firstBadDump = tail == QLatin1String("[b1]");
    const bool secondBadDump = tail == QLatin1String("[b2]");
    const bool publicDomain = tail == QLatin1String("(PD)");
    if (!firstBadDump && !secondBadDump && !publicDomain && !translated)
        return RomCategory::Good;
    if (firstBadDump || (secondBadDump && !translated))
        return RomCategory::Bad;
    return RomCategory::PdTranslated;
}

QString HackedTitle(const QString &title)
{
    if (title.endsWith(kGoodMark))
        return title.chopped(kGoodMark.size()) + kHackedMark;
    return title + QLatin1Char(' ') + kHackedMark;
}

bool IsHackedItem(const QString &item)
{
    return item.endsWith(kHackedMark);
}

} // namespace romdb
