// The database's look-ups over the shared catalogue, the list sections of
// titles, the hacked form and the report's maker names; and the crafted
// images the other tests rely on.

#include "CraftedRoms.h"
#include "KnownRomTable.h"
#include "ReportMakerNames.h"
#include "RomCategory.h"
#include "RomDbCatalogue.h"
#include "ZandrelLibrary.h"

#include <gtest/gtest.h>

using namespace romdb;

TEST(RomDbLookups, BothDirectionsAgreeForEveryRowAndColumn)
{
    ASSERT_EQ(KnownTitles().size(), 38);
    EXPECT_EQ(KnownTitles().first(), QStringLiteral("3D Tetris (U) [!]"));
    EXPECT_EQ(KnownTitles().last(), QStringLiteral("Waterworld (U) [b1]"));
    for (const KnownRom &row : KnownRomTable()) {
        EXPECT_EQ(romdb::LookupTitleByChecksum(row.headerExcludedChecksum, false), row.title);
        EXPECT_EQ(romdb::LookupTitleByChecksum(row.wholeImageChecksum, true), row.title);
        EXPECT_EQ(LookupChecksumByTitle(row.title, false), row.headerExcludedChecksum);
        EXPECT_EQ(LookupChecksumByTitle(row.title, true), row.wholeImageChecksum);
        // No checksum is in both columns.
        EXPECT_EQ(romdb::LookupTitleByChecksum(row.headerExcludedChecksum, true), kUnknownVbRom);
        EXPECT_EQ(romdb::LookupTitleByChecksum(row.wholeImageChecksum, false), kUnknownVbRom);
    }
}

TEST(RomDbLookups, FixedAnswers)
{
    EXPECT_EQ(romdb::LookupTitleByChecksum(QString(), false), QStringLiteral("[BAD ROM]"));
    EXPECT_EQ(romdb::LookupTitleByChecksum(QString(), true), QStringLiteral("[BAD ROM]"));
    // Exact comparison: case and blanks count.
    EXPECT_EQ(romdb::LookupTitleByChecksum(QStringLiteral("05f1a395"), true), kUnknownVbRom);
    EXPECT_EQ(romdb::LookupTitleByChecksum(QStringLiteral(" 05F1A395"), true), kUnknownVbRom);
    for (const QString &title : {QStringLiteral("Golf (U) [h]"), QStringLiteral("Croach, The (PD) [h]"),
                                 QStringLiteral("golf (u) [!]"), QString()}) {
        EXPECT_EQ(LookupChecksumByTitle(title, false), QString()) << title.toStdString();
        EXPECT_EQ(LookupChecksumByTitle(title, true), QString()) << title.toStdString();
    }
}

TEST(RomCategories, KnownTitlesFallIntoTheirSections)
{
    int good = 0, bad = 0, pd = 0;
    for (const QString &title : KnownTitles()) {
        switch (TitleCategory(title)) {
        case RomCategory::Good: ++good; EXPECT_TRUE(title.endsWith(QStringLiteral("[!]"))); break;
        case RomCategory::Bad: ++bad; break;
        case RomCategory::PdTranslated: ++pd; break;
        default: ADD_FAILURE() << title.toStdString();
        }
    }
    EXPECT_EQ(good, 23);
    EXPECT_EQ(bad, 9);
    EXPECT_EQ(pd, 6);
    EXPECT_EQ(TitleCategory(QStringLiteral("Teleroboxer (JU) [T-German0.40b_Kalvex]")), RomCategory::PdTranslated);
    EXPECT_EQ(TitleCategory(QStringLiteral("Nester's Funky Bowling (U) [b2]")), RomCategory::Bad);
    EXPECT_EQ(TitleCategory(QStringLiteral("Some (U) [T-Fr] [b2]")), RomCategory::PdTranslated);
}

TEST(RomCategories, HackedTitle)
{
    EXPECT_EQ(HackedTitle(QStringLiteral("Golf (U) [!]")), QStringLiteral("Golf (U) [h]"));
    EXPECT_EQ(HackedTitle(QStringLiteral("Croach, The (PD)")), QStringLiteral("Croach, The (PD) [h]"));
    EXPECT_EQ(HackedTitle(QStringLiteral("Waterworld (U) [b1]")), QStringLiteral("Waterworld (U) [b1] [h]"));
}

TEST(ReportMakerNames, ExactCodesOnly)
{
    ASSERT_EQ(ReportMakerNames().size(), 13u);
    // The editor's maker list has the same codes in the same order.
    for (size_t i = 0; i < ReportMakerNames().size(); ++i)
        EXPECT_EQ(QString::fromLatin1(ReportMakerNames()[i].code), MakerCodeTable()[i].code);
    EXPECT_EQ(MakerNameText("01"), QStringLiteral(" (Nintendo)"));
    EXPECT_EQ(MakerNameText("8B"), QStringLiteral(" (Bullet-Proof S/W)"));
    EXPECT_EQ(MakerNameText("DB"), QStringLiteral(" (Reality Boy)"));
    EXPECT_EQ(MakerNameText("VE"), QStringLiteral(" (Virtual-E)"));
    for (const QByteArray &code : {QByteArray("0b"), QByteArray("  "), QByteArray("0\0", 2), QByteArray()})
        EXPECT_EQ(MakerNameText(code), QStringLiteral(" (UNKNOWN MANU ID)"));
}

// The other tests build catalogued images; this shows the trick works.
TEST(CraftedRoms, HitTheirRowThroughTheLibrary)
{
    for (const char *title : {"3D Tetris (U) [!]", "Golf (U) [!]", "Waterworld (U) [b1]", "Croach, The (PD)"}) {
        const KnownRom *row = FindKnownRom(QString::fromLatin1(title));
        const QByteArray image = craftedroms::CatalogueImage(row->title);
        EXPECT_EQ(zandrel::GetVbRomChecksum(image, false), row->headerExcludedChecksum) << title;
        EXPECT_EQ(zandrel::GetVbRomChecksum(image, true), row->wholeImageChecksum) << title;
        const QByteArray hacked = craftedroms::CatalogueImage(row->title, "EDITED");
        EXPECT_EQ(zandrel::GetVbRomChecksum(hacked, false), row->headerExcludedChecksum) << title;
        EXPECT_NE(zandrel::GetVbRomChecksum(hacked, true), row->wholeImageChecksum) << title;
    }
}
