#include "IdentificationReport.h"

#include <QStringList>

#include "KanaToRomaji.h"
#include "MsgBox.h"
#include "ReportMakerNames.h"
#include "VbRomHeader.h"

namespace romdb {
namespace {

const QString kRomInformation = QStringLiteral("ROM Information:");
const QString kTitleLabel = QStringLiteral("ROM title: ");

// A text between two copies of its dash ruler.
void AddBoxedLine(QStringList &lines, const QFontMetrics &metrics, const QString &text)
{
    const QString dashes = RulerRun(metrics, text, QLatin1Char('-'));
    lines << dashes << text << dashes;
}

// Header bytes as the report shows them: one character per byte.
QString HeaderText(const QByteArray &header, int from, int length)
{
    return QString::fromLatin1(header.mid(from, length));
}

QByteArray WithoutTrailingSpaces(QByteArray bytes)
{
    while (bytes.endsWith(' '))
        bytes.chop(1);
    return bytes;
}

void AddHeaderLines(QStringList &lines, const QFontMetrics &metrics, const QByteArray &recorded)
{
    // Every accepted image has its 32 bytes; the padding only keeps a
    // malformed record from reading past the end.
    const QByteArray header = recorded.leftJustified(VbRomHeader::kSize, '\0', true);
    constexpr int kMakerAt = 25;
    constexpr int kGameIdAt = 27;
    constexpr int kVersionAt = 31;

    const QByteArray title = WithoutTrailingSpaces(header.left(VbRomHeader::kTitleSize));
    const QString shown = QString::fromLatin1(title);
    const QString reading = KanaToRomaji(title);
    if (reading == shown) {
        lines << kTitleLabel + shown;
    } else {
        // The reading stands in place of the title, with a note under it.
        lines << kTitleLabel + reading
              << RulerRun(metrics, kTitleLabel, QLatin1Char(' ')) + QStringLiteral("(Japanese ROM Title)");
    }
    const QByteArray maker = header.mid(kMakerAt, VbRomHeader::kMakerCodeSize);
    lines << QStringLiteral("Manufacturer ID: ") + QString::fromLatin1(maker) + MakerNameText(maker)
          << QStringLiteral("ROM ID: ") + HeaderText(header, kGameIdAt, VbRomHeader::kGameIdSize)
          << QStringLiteral("ROM Version: 1.") + QString::number(uint8_t(header.at(kVersionAt)));
}

} // namespace

QString RulerRun(const QFontMetrics &metrics, const QString &text, QChar fill)
{
    const int wanted = metrics.horizontalAdvance(text);
    QString run(2, fill);
    while (metrics.horizontalAdvance(run) < wanted)
        run += fill;
    return run;
}

QString IdentificationReport(const RomFileRecord &file, const QFontMetrics &metrics)
{
    QStringList lines;
    AddBoxedLine(lines, metrics, file.name + QLatin1Char(':'));

    switch (file.state) {
    case RomState::Invalid:
        lines << QStringLiteral("Identified as: NOT A VALID VB ROM IMAGE");
        break;
    case RomState::YetToBeIdentified:
    case RomState::Identifying: // nothing is known of the file yet
        lines << QStringLiteral("Identified as: [YET TO BE ANALYSED]") << QStringLiteral("Checksum: ??????");
        AddBoxedLine(lines, metrics, kRomInformation);
        lines << QStringLiteral("ROM size: ?????? Bytes  (?? MBit)") << QStringLiteral("ROM title: ??????")
              << QStringLiteral("Manufacturer ID: ?? (?????\?)") // "\?": no trigraph
              << QStringLiteral("ROM ID: ????") << QStringLiteral("ROM Version: ??");
        break;
    case RomState::Unknown:
    case RomState::Known:
        lines << QStringLiteral("Identified as: ") + file.identification()
              << QStringLiteral("Checksum: ") + file.listedChecksum();
        AddBoxedLine(lines, metrics, kRomInformation);
        lines << QStringLiteral("ROM size: ") + RomSizeText(file.size);
        AddHeaderLines(lines, metrics, file.header);
        break;
    }
    return lines.join(msgbox::CR);
}

} // namespace romdb
