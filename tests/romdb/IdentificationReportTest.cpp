// The report of one file in its three forms, built from the file's record:
// the placeholder, the short report of an invalid image and the full report
// with its size, title, maker, game ID and version lines and rulers.

#include "IdentificationReport.h"
#include "RomDbFixture.h"

#include <QFont>

using namespace romdb;

namespace {

QFontMetrics Metrics()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    return QFontMetrics(font);
}

QByteArray Header(const QByteArray &title, const QByteArray &maker, const QByteArray &gameId, uint8_t version)
{
    QByteArray header = title.leftJustified(20, ' ');
    header += QByteArray(5, '\0');
    header += maker + gameId;
    header += char(version);
    return header;
}

RomFileRecord Identified(RomState state, int64_t size, const QByteArray &header)
{
    RomFileRecord file = RomFileRecord::listed(QStringLiteral("game.vb"));
    file.state = state;
    file.size = size;
    file.header = header;
    file.headerExcludedChecksum = QStringLiteral("0123ABCD");
    return file;
}

QStringList Lines(const QString &report)
{
    return report.split(QLatin1Char('\r'));
}

} // namespace

TEST(IdentificationReport, RulersAreTheShortestRunOfAtLeastTwoThatIsWideEnough)
{
    const QFontMetrics metrics = Metrics();
    for (const QString &text : {QStringLiteral("a"), QStringLiteral("game.vb:"), QStringLiteral("ROM Information:"),
                                QStringLiteral("ROM title: "), QString()}) {
        for (QChar fill : {QLatin1Char('-'), QLatin1Char(' ')}) {
            SCOPED_TRACE(text.toStdString() + " filled with '" + QString(fill).toStdString() + "'");
            const QString run = RulerRun(metrics, text, fill);
            EXPECT_GE(run.size(), 2);
            EXPECT_EQ(run, QString(run.size(), fill));
            EXPECT_GE(metrics.horizontalAdvance(run), metrics.horizontalAdvance(text));
            if (run.size() > 2) {
                EXPECT_LT(metrics.horizontalAdvance(run.chopped(1)), metrics.horizontalAdvance(text));
            }
        }
    }
}

TEST(IdentificationReport, PlaceholderAndInvalidForms)
{
    const QFontMetrics metrics = Metrics();
    const QString dashes = RulerRun(metrics, QStringLiteral("game.vb:"), QLatin1Char('-'));
    const QString infoDashes = RulerRun(metrics, QStringLiteral("ROM Information:"), QLatin1Char('-'));

    // Not identified yet: nothing of the record is read, whatever it holds.
    RomFileRecord waiting = Identified(RomState::YetToBeIdentified, 65536, Header("X", "01", "VTST", 0));
    EXPECT_EQ(Lines(IdentificationReport(waiting, metrics)),
              QStringList({dashes, "game.vb:", dashes, "Identified as: [YET TO BE ANALYSED]", "Checksum: ??????",
                           infoDashes, "ROM Information:", infoDashes, "ROM size: ?????? Bytes  (?? MBit)",
                           "ROM title: ??????", "Manufacturer ID: ?? (?????\?)", "ROM ID: ????", "ROM Version: ??"}));

    const QString invalid = IdentificationReport(Identified(RomState::Invalid, 0, QByteArray()), metrics);
    EXPECT_EQ(invalid, dashes + "\rgame.vb:\r" + dashes + "\rIdentified as: NOT A VALID VB ROM IMAGE");
}

TEST(IdentificationReport, FullReportOfAKnownHackedAndAnUnknownImage)
{
    const QFontMetrics metrics = Metrics();
    RomFileRecord hacked = Identified(RomState::Known, 1048576, Header("MY TETRIS", "01", "VPBE", 0));
    hacked.title = QStringLiteral("3D Tetris (U) [!]");
    hacked.hacked = true;
    hacked.wholeImageChecksum = QStringLiteral("FEDC9876");
    const QStringList lines = Lines(IdentificationReport(hacked, metrics));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines.mid(3, 2), QStringList({"Identified as: 3D Tetris (U) [h]", "Checksum: FEDC9876"}));
    EXPECT_EQ(lines.mid(8), QStringList({"ROM size: 1048576 Bytes  (8 MBit)", "ROM title: MY TETRIS",
                                         "Manufacturer ID: 01 (Nintendo)", "ROM ID: VPBE", "ROM Version: 1.0"}));

    // An unknown image shows the checksum it was looked up by.
    const RomFileRecord unknown = Identified(RomState::Unknown, 65536, Header("DEMO", "0b", "ab c", 10));
    const QStringList unknownLines = Lines(IdentificationReport(unknown, metrics));
    EXPECT_EQ(unknownLines.mid(3, 2), QStringList({"Identified as: [UNKNOWN VB ROM]", "Checksum: 0123ABCD"}));
    EXPECT_EQ(unknownLines.mid(8), QStringList({"ROM size: 65536 Bytes  (0.5 MBit)", "ROM title: DEMO",
                                                "Manufacturer ID: 0b (UNKNOWN MANU ID)", "ROM ID: ab c",
                                                "ROM Version: 1.10"}));
}

TEST(IdentificationReport, ATitleThatDiffersFromItsReadingShowsTheReadingAndANote)
{
    const QFontMetrics metrics = Metrics();
    const QString note = RulerRun(metrics, QStringLiteral("ROM title: "), QLatin1Char(' ')) +
                         QStringLiteral("(Japanese ROM Title)");
    struct TitleCase {
        QByteArray title;
        QStringList titleLines;
    };
    const TitleCase cases[] = {
        {"GOLF", {"ROM title: GOLF"}},
        {"Mario's Tennis", {"ROM title: Mario's Tennis"}},
        {"\xC4\xCB\xDE\xC0\xDE\xBE!\xCA\xDF\xC6\xCE\xDE\xDD", {"ROM title: Tobidase!panibon", note}},
        {"golf", {"ROM title: Golf", note}},
        {"V\\TETRIS", {QStringLiteral("ROM title: V\u00A5TETRIS"), note}},
    };
    for (const TitleCase &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        const RomFileRecord file = Identified(RomState::Unknown, 131072, Header(c.title, "18", "VH2J", 1));
        const QStringList lines = Lines(IdentificationReport(file, metrics));
        EXPECT_EQ(lines.at(8), QStringLiteral("ROM size: 131072 Bytes  (1 MBit)"));
        EXPECT_EQ(lines.mid(9, c.titleLines.size()), c.titleLines);
        EXPECT_EQ(lines.at(9 + c.titleLines.size()), QStringLiteral("Manufacturer ID: 18 (Hudson Soft)"));
    }
}
