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

int32_t NameColumns(const QString &name)
{
    const auto drawnWithoutWidth = [](QChar::Category category) {
        return category == QChar::Other_Format || category == QChar::Mark_NonSpacing
            || category == QChar::Mark_Enclosing;
    };
    int32_t columns = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t code = name.at(i).unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(char16_t(code), name.at(++i).unicode());
        if (!drawnWithoutWidth(QChar::category(code)))
            ++columns;
    }
    return columns;
}

QString NameFiller(const QString &name, int32_t maxNameLength)
{
    return QString(qMax<qsizetype>(0, maxNameLength - NameColumns(name)), QLatin1Char(' '));
}

QString FileLine(const RomFileRecord &record, int32_t maxNameLength)
{
    return record.name + NameFiller(record.name, maxNameLength) + QStringLiteral(" - ") + record.identification();
}

} // namespace romdb
