// The collected, missing and duplicates texts, plain and detailed, their
// counters, and the starting texts of a run; compared to the byte.

#include "KnownRomTable.h"
#include "RomCategory.h"
#include "RomDbCatalogue.h"
#include "RomListTexts.h"

#include <gtest/gtest.h>

using namespace romdb;

namespace {

QString Lines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

RomFileRecord Known(const QString &name, const QString &title, bool hacked = false)
{
    RomFileRecord file = RomFileRecord::listed(name);
    file.state = RomState::Known;
    file.title = title;
    file.hacked = hacked;
    file.headerExcludedChecksum = LookupChecksumByTitle(title, false);
    file.wholeImageChecksum = hacked ? QStringLiteral("0000ABCD") : LookupChecksumByTitle(title, true);
    return file;
}

RomFileRecord Unknown(const QString &name)
{
    RomFileRecord file = RomFileRecord::listed(name);
    file.state = RomState::Unknown;
    file.headerExcludedChecksum = QStringLiteral("01234567");
    return file;
}

RomFileRecord Invalid(const QString &name)
{
    RomFileRecord file = RomFileRecord::listed(name);
    file.state = RomState::Invalid;
    return file;
}

const QString kGolf = QStringLiteral("Golf (U) [!]");
const QString kTetris = QStringLiteral("3D Tetris (U) [!]");

QStringList TitlesOf(RomCategory category)
{
    QStringList titles;
    for (const QString &title : KnownTitles())
        if (TitleCategory(title) == category)
            titles << QStringLiteral("  ") + title;
    return titles;
}

const QString kEmptyThreeSections = Lines({"Good ROMs:", "  None", "", "Bad ROMs:", "  None", "", "PD/Translated ROMs:", "  None"});

} // namespace

TEST(RomListTexts, StartingTexts)
{
    RomListTexts lists;
    lists.InitHaveList();
    lists.InitMissList();
    lists.InitDupesList();
    lists.InitChangeLog();
    EXPECT_EQ(lists.haveText(), kEmptyThreeSections);
    EXPECT_EQ(lists.dupesText(), kEmptyThreeSections);
    QStringList miss{"Good ROMs:"};
    miss << TitlesOf(RomCategory::Good) << "" << "Bad ROMs:" << TitlesOf(RomCategory::Bad) << ""
         << "PD/Translated ROMs:" << TitlesOf(RomCategory::PdTranslated);
    EXPECT_EQ(miss.size(), 43);
    EXPECT_EQ(lists.missText(), Lines(miss));
    EXPECT_EQ(lists.changeLog(), QStringLiteral("File change log:\r\n  No changes\r\n"));
    EXPECT_EQ(lists.counters().MissTitleCount, 0);
}

// Two Golf files, a bad dump, a hacked Red Alarm, an unknown and an invalid file.
TEST(RomListTexts, PlainListsOfAMixedFolder)
{
    const QList<RomFileRecord> files{Known("a.vb", kGolf),
                                     Known("b.vb", kGolf),
                                     Known("c.vb", "Waterworld (U) [b1]"),
                                     Known("d.vb", "Red Alarm (U) [!]", true),
                                     Unknown("e.vb"),
                                     Invalid("f.vb")};
    RomListTexts lists;
    lists.BuildHaveList(files);
    lists.BuildMissList(files);
    lists.BuildDupesList(files);

    EXPECT_EQ(lists.haveText(), Lines({"Good ROMs:", "  Golf (U) [!]", "", "Bad ROMs:", "  Waterworld (U) [b1]", "",
                                       "PD/Translated ROMs:", "  None", "", "Hacked ROMs:", "  Red Alarm (U) [h]", "",
                                       "Unknown ROMs:", "  UNKNOWN ROM: Please send me a copy so I can include it.", "",
                                       "Invalid ROMs:", "  INVALID ROM: Possibly not a VB ROM image."}));
    EXPECT_EQ(lists.dupesText(), Lines({"Good ROMs:", "  Golf (U) [!] [1 copy]", "", "Bad ROMs:", "  None", "",
                                        "PD/Translated ROMs:", "  None", "", "Hacked ROMs:", "  None"}));
    EXPECT_TRUE(lists.missText().contains(QStringLiteral("\r\n  Red Alarm (U) [!]\r\n")));
    EXPECT_FALSE(lists.missText().contains(kGolf));

    const RomListCounters &c = lists.counters();
    EXPECT_EQ(c.HaveTitleCount, 2);
    EXPECT_EQ(c.HaveGoodCount, 1);
    EXPECT_EQ(c.HaveBadCount, 1);
    EXPECT_EQ(c.HavePdCount, 0);
    EXPECT_EQ(c.HaveHackedCount, 1);
    EXPECT_EQ(c.HaveFileCount, 6);
    EXPECT_EQ(c.HaveUnknownCount, 1);
    EXPECT_EQ(c.HaveInvalidCount, 1);
    EXPECT_EQ(c.MissTitleCount, 36);
    EXPECT_EQ(c.MissGoodCount, 22);
    EXPECT_EQ(c.MissBadCount, 8);
    EXPECT_EQ(c.MissPdCount, 6);
    EXPECT_EQ(c.DupesCopyCount, 1);
    EXPECT_EQ(c.DupesGoodCount, 1);
    EXPECT_EQ(c.DupesBadCount, 0);
    EXPECT_EQ(c.DupesPdCount, 0);
    EXPECT_EQ(c.DupesHackedCount, 0);
}

TEST(RomListTexts, CopiesAndHackedDuplicates)
{
    const QList<RomFileRecord> files{Known("1.vb", kGolf), Known("2.vb", kGolf), Known("3.vb", kGolf),
                                     Known("4.vb", kTetris, true), Known("5.vb", kTetris, true)};
    RomListTexts lists;
    lists.BuildHaveList(files);
    lists.BuildMissList(files);
    lists.BuildDupesList(files);
    EXPECT_EQ(lists.dupesText(), Lines({"Good ROMs:", "  Golf (U) [!] [2 copies]", "", "Bad ROMs:", "  None", "",
                                        "PD/Translated ROMs:", "  None", "", "Hacked ROMs:",
                                        "  3D Tetris (U) [!] [1 copy]"}));
    EXPECT_EQ(lists.counters().DupesCopyCount, 3);
    EXPECT_EQ(lists.counters().DupesGoodCount, 2);
    EXPECT_EQ(lists.counters().DupesHackedCount, 1);
    EXPECT_EQ(lists.counters().HaveFileCount, 5);
    EXPECT_EQ(lists.counters().HaveTitleCount, 1);
    // Only hacked copies of Tetris: it is still missing.
    EXPECT_TRUE(lists.missText().contains(QStringLiteral("\r\n  3D Tetris (U) [!]\r\n")));
    EXPECT_EQ(lists.counters().MissTitleCount, 37);
}

TEST(RomListTexts, ItemsCompareTrimmedAndExactly)
{
    // A title with blanks around it matches; one in other letter case, or a
    // "[h]" item that is no title's hacked form, doesn't.
    QList<RomFileRecord> files{Known("a.vb", QStringLiteral("  Golf (U) [!] ")), Known("b.vb", "GOLF (U) [!]"),
                               Known("c.vb", "Nothing [h]")};
    RomListTexts lists;
    lists.BuildHaveList(files);
    lists.BuildDupesList(files);
    EXPECT_EQ(lists.haveText(), Lines({"Good ROMs:", "  Golf (U) [!]", "", "Bad ROMs:", "  None", "",
                                       "PD/Translated ROMs:", "  None", "", "Hacked ROMs:", "  None"}));
    EXPECT_EQ(lists.counters().HaveFileCount, 1);
    EXPECT_TRUE(lists.dupesText().endsWith(QStringLiteral("Hacked ROMs:\r\n  None\r\n")));
}

TEST(RomListTexts, EmptyRunGivesTheStartingTexts)
{
    RomListTexts built;
    built.BuildHaveList({});
    built.BuildMissList({});
    built.BuildDupesList({});
    RomListTexts initial;
    initial.InitMissList();
    EXPECT_EQ(built.haveText(), kEmptyThreeSections);
    EXPECT_EQ(built.dupesText(), kEmptyThreeSections);
    EXPECT_EQ(built.missText(), initial.missText());
    EXPECT_EQ(built.counters().MissTitleCount, 38);
}

TEST(RomListTexts, DetailedListsOfThreeFiles)
{
    const QList<RomFileRecord> files{Known("golf.vb", kGolf), Known("tetris.vb", kTetris),
                                     Known("tetris2.vb", kTetris)};
    RomListTexts lists;
    lists.BuildHaveListDetailed(files, 10);
    lists.BuildMissListDetailed(files);
    lists.BuildDupesListDetailed(files, 10);
    EXPECT_EQ(lists.haveText(), Lines({"Good ROMs: 02", "\"tetris.vb\"  05F1A395 3D Tetris (U) [!]",
                                       "\"tetris2.vb\" 05F1A395 3D Tetris (U) [!]",
                                       "\"golf.vb\"    1088202E Golf (U) [!]", "", "Bad ROMs: 00", "  None", "",
                                       "PD/Translated ROMs: 00", "  None"}));
    EXPECT_EQ(lists.dupesText(), Lines({"Good ROMs: 01", "\"tetris2.vb\" 05F1A395 3D Tetris (U) [!]", "",
                                        "Bad ROMs: 00", "  None", "", "PD/Translated ROMs: 00", "  None"}));
    EXPECT_TRUE(lists.missText().startsWith(
        Lines({"Good ROMs: 21", "059595C7 Galactic Pinball (JU) [!]", "046B0D66 Insane Mouse Mansion (J) [!]"})));
    EXPECT_TRUE(lists.missText().contains(QStringLiteral("\r\n\r\nBad ROMs: 09\r\n")));
    EXPECT_TRUE(lists.missText().contains(QStringLiteral("\r\n\r\nPD/Translated ROMs: 06\r\n")));
    EXPECT_EQ(lists.missText().count(QStringLiteral("\r\n")), 3 + 2 + 21 + 9 + 6);
}

// A name is padded by the columns it shows: a character drawn without width
// (a byte-order mark, the combining accent of a decomposed name) takes none,
// a pair of surrogates and a byte that is not UTF-8 take one each.
TEST(RomListTexts, NamesArePaddedByTheColumnsTheyShow)
{
    const struct {
        QString name;
        int32_t columns;
    } cases[] = {
        {QStringLiteral("golf.vb"), 7},
        {QStringLiteral(u"\uFEFFgolf.vb"), 7},
        {QStringLiteral(u"caf\u0065\u0301.vb"), 7},
        {QStringLiteral(u"\U0001F3AE.vb"), 4},
        {QString(QChar(0xDCE9)) + QStringLiteral(".vb"), 4},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(NameColumns(c.name), c.columns) << c.name.toStdString();
        EXPECT_EQ(NameFiller(c.name, 10).size(), 10 - c.columns) << c.name.toStdString();
    }
}

TEST(RomListTexts, DetailedHackedUnknownAndInvalidFiles)
{
    const QList<RomFileRecord> files{Known("x.vb", kTetris, true), Known("second.vb", kTetris, true),
                                     Unknown("u.vb"), Invalid("bad.vb")};
    RomListTexts lists;
    lists.BuildHaveListDetailed(files, 9);
    lists.BuildDupesListDetailed(files, 9);
    // An unknown image shows the checksum it was looked up by; an invalid
    // one has none, and blanks keep the title column in line.
    EXPECT_TRUE(lists.haveText().endsWith(Lines(
        {"Hacked ROMs: 01", "\"x.vb\"      0000ABCD 3D Tetris (U) [h]", "\"second.vb\" 0000ABCD 3D Tetris (U) [h]", "",
         "Unknown ROMs: 01", "\"u.vb\"      01234567 UNKNOWN ROM: Please send me a copy so I can include it.", "",
         "Invalid ROMs: 01", "\"bad.vb\"             INVALID ROM: Possibly not a VB ROM image."})));
    EXPECT_TRUE(lists.haveText().startsWith(QStringLiteral("Good ROMs: 00\r\n  None\r\n")));
    EXPECT_TRUE(lists.dupesText().endsWith(
        Lines({"Hacked ROMs: 01", "\"second.vb\" 0000ABCD 3D Tetris (U) [!]"})));
}

TEST(RomListTexts, CountsOfAHundredOrMoreAreWrittenInFull)
{
    QList<RomFileRecord> files;
    for (int i = 0; i < 101; ++i)
        files << Known(QStringLiteral("%1.vb").arg(i), kGolf) << Unknown(QStringLiteral("u%1.vb").arg(i));
    RomListTexts lists;
    lists.BuildHaveListDetailed(files, 8);
    lists.BuildDupesListDetailed(files, 8);
    EXPECT_TRUE(lists.haveText().contains(QStringLiteral("\r\nUnknown ROMs: 101\r\n")));
    EXPECT_TRUE(lists.dupesText().startsWith(QStringLiteral("Good ROMs: 100\r\n")));
    EXPECT_EQ(TwoDigitCount(3), QStringLiteral("03"));
    EXPECT_EQ(TwoDigitCount(0), QStringLiteral("00"));
}
