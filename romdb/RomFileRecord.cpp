#include "RomFileRecord.h"

#include "KnownRomTable.h"
#include "RomCategory.h"

namespace romdb {

RomFileRecord RomFileRecord::listed(const QString &name)
{
    RomFileRecord record;
    record.name = name;
    return record;
}

QString RomFileRecord::identification() const
{
    switch (state) {
    case RomState::YetToBeIdentified:
        return kYetToBeIdentified;
    case RomState::Identifying:
        return kIdentifying;
    case RomState::Invalid:
        return kInvalidImage;
    case RomState::Unknown:
        return kUnknownVbRom;
    case RomState::Known:
        break;
    }
    return hacked ? HackedTitle(title) : title;
}

QString RomFileRecord::listedChecksum() const
{
    if (!wholeImageChecksum.isEmpty())
        return wholeImageChecksum;
    if (!headerExcludedChecksum.isEmpty())
        return headerExcludedChecksum;
    return QString(8, QLatin1Char(' '));
}

QString RomFileRecord::headerDigits() const
{
    QString digits;
    digits.reserve(header.size() * 3);
    for (char byte : header)
        digits += QString::number(uint8_t(byte)).rightJustified(3, QLatin1Char('0'));
    return digits;
}

QString NameFiller(const QString &name, int32_t maxNameLength)
{
    return QString(qMax<qsizetype>(0, maxNameLength - name.size()), QLatin1Char(' '));
}

QString FileLine(const RomFileRecord &record, int32_t maxNameLength)
{
    return record.name + NameFiller(record.name, maxNameLength) + QStringLiteral(" - ") + record.identification();
}

} // namespace romdb
