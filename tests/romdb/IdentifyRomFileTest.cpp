// Identification of ROM files into their records and list lines: catalogued
// images crafted to hit a row, a copy, a hacked header, an unknown image, a
// file too small or unreadable; window events, cancel tests and progress.

#include "CraftedRoms.h"
#include "KnownRomTable.h"
#include "RomDbFixture.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

using namespace romdb;

namespace {

const QString kTetris = QStringLiteral("3D Tetris (U) [!]");
const QString kCroach = QStringLiteral("Croach, The (PD)");

QStringList Lines(const RomDatabase &db)
{
    QStringList lines;
    for (int32_t i = 0; i < db.fileCount(); ++i)
        lines << db.fileLine(i);
    return lines;
}

} // namespace

using IdentifyRomFile = RomDbFixture;

TEST_F(IdentifyRomFile, FolderOfKnownCopiedHackedUnknownAndSmallFiles)
{
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    put("tetris.vb", tetris);
    put("Tetris copy.VB", tetris);
    put("hacked.vb", craftedroms::CatalogueImage(kTetris, "MY TETRIS"));
    put("croach.vb", craftedroms::CatalogueImage(kCroach, "Croach"));
    put("demo.vb", craftedroms::UnknownImage(65536));
    put("small.vb", QByteArray(544, '\0'));
    put("notes.txt", "not listed");

    RomDatabase db(hooks());
    ASSERT_TRUE(db.ListFolder(folder));
    EXPECT_EQ(db.MaxNameLength(), 14);
    EXPECT_EQ(Lines(db), QStringList({"croach.vb      - [YET TO BE IDENTIFIED]", "demo.vb        - [YET TO BE IDENTIFIED]",
                                      "hacked.vb      - [YET TO BE IDENTIFIED]", "small.vb       - [YET TO BE IDENTIFIED]",
                                      "Tetris copy.VB - [YET TO BE IDENTIFIED]", "tetris.vb      - [YET TO BE IDENTIFIED]"}));
    db.IdentifyAllFiles(0, 100);
    EXPECT_EQ(Lines(db), QStringList({"croach.vb      - Croach, The (PD) [h]", "demo.vb        - [UNKNOWN VB ROM]",
                                      "hacked.vb      - 3D Tetris (U) [h]", "small.vb       - [INVALID VB ROM IMAGE]",
                                      "Tetris copy.VB - 3D Tetris (U) [!]", "tetris.vb      - 3D Tetris (U) [!]"}));

    const KnownRom *row = FindKnownRom(kTetris);
    const RomFileRecord &intact = db.files()[5];
    EXPECT_EQ(intact.size, tetris.size());
    EXPECT_EQ(intact.headerExcludedChecksum, row->headerExcludedChecksum);
    EXPECT_EQ(intact.wholeImageChecksum, row->wholeImageChecksum);
    EXPECT_EQ(intact.listedChecksum(), row->wholeImageChecksum);
    EXPECT_TRUE(intact.headerDigits().startsWith(QStringLiteral("080079076089"))); // "POLY"
    EXPECT_EQ(intact.headerDigits().size(), 96);

    const RomFileRecord &hacked = db.files()[2];
    EXPECT_EQ(hacked.headerExcludedChecksum, row->headerExcludedChecksum);
    EXPECT_NE(hacked.wholeImageChecksum, row->wholeImageChecksum);

    // The unknown image keeps the checksum it was looked up by.
    const RomFileRecord &unknown = db.files()[1];
    EXPECT_EQ(unknown.size, 65536);
    EXPECT_EQ(unknown.headerExcludedChecksum.size(), 8);
    EXPECT_TRUE(unknown.wholeImageChecksum.isEmpty());
    EXPECT_EQ(unknown.listedChecksum(), unknown.headerExcludedChecksum);

    const RomFileRecord &small = db.files()[3];
    EXPECT_EQ(small.size, 0);
    EXPECT_TRUE(small.header.isEmpty());
    EXPECT_TRUE(small.headerExcludedChecksum.isEmpty());

    // Window events ran after every file, catalogued or not.
    EXPECT_EQ(eventRuns, 6);
    EXPECT_EQ(progress, QList<int32_t>({0, 17, 33, 50, 67, 83}));
}

TEST_F(IdentifyRomFile, ValidityTests)
{
    QByteArray smallest(545, '\0'); // header from offset 1
    smallest[1] = 'G';
    smallest[32] = char(255); // the version byte
    put("a545.vb", smallest);
    QByteArray reserved = craftedroms::CatalogueImage(kTetris);
    reserved[reserved.size() - 544 + 22] = 1;
    put("b-reserved.vb", reserved);
    put("c-empty.vb", QByteArray());
    put("d-vanishes.vb", craftedroms::CatalogueImage(kTetris));
    // A device named like a ROM is invalid, and the run goes on past it.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), QDir(folder).filePath(QStringLiteral("e-zero.vb"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(QDir(folder).filePath(QStringLiteral("e2-pipe.vb"))).constData(), 0600), 0);
    put("f-after.vb", craftedroms::CatalogueImage(kTetris));

    RomDatabase db(hooks());
    db.ListFolder(folder);
    ASSERT_EQ(db.fileCount(), 7);
    QFile::remove(db.filePath(3));
    db.IdentifyAllFiles(0, 100);

    EXPECT_EQ(db.files()[0].state, RomState::Unknown);
    EXPECT_EQ(db.files()[0].size, 545);
    EXPECT_EQ(db.files()[0].headerDigits(), QStringLiteral("071") + QString(30 * 3, QLatin1Char('0')) +
                                                QStringLiteral("255"));
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(db.files()[i].state, RomState::Invalid) << i;
    EXPECT_EQ(db.files()[6].title, kTetris);
}

// A file whose name is not UTF-8 is listed, counted and identified like any
// other, and a rename run reaches it by its real name.
TEST_F(IdentifyRomFile, ANameThatIsNotUtf8IsListedIdentifiedAndRenamed)
{
    put("a.vb", craftedroms::UnknownImage(2048));
    const QByteArray latin1Name = QFile::encodeName(folder) + "/Tetris été.vb";
    {
        QFile file;
        const int fd = ::open(latin1Name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        file.write(craftedroms::CatalogueImage(kTetris));
    }

    RomDatabase db(hooks());
    db.ListFolder(folder);
    ASSERT_EQ(db.fileCount(), 2);
    EXPECT_EQ(db.files()[1].name.size(), 13); // one character for each byte that is not UTF-8
    db.IdentifyAllFiles(0, 100);
    EXPECT_EQ(db.files()[1].title, kTetris);

    db.setTemporaryNumberSource([] { return 7; });
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Completed);
    struct stat info;
    EXPECT_NE(::lstat(latin1Name.constData(), &info), 0);
    EXPECT_EQ(testsupport::readFile(QDir(folder).filePath(kTetris + QStringLiteral(".vb"))),
              craftedroms::CatalogueImage(kTetris));
}

// A byte-order mark at the start of a name is part of it: the file beside
// it without the mark is another file, with other bytes.
TEST_F(IdentifyRomFile, ANameStartingWithAByteOrderMarkReachesItsOwnFile)
{
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    const QByteArray croach = craftedroms::CatalogueImage(kCroach);
    put("game.vb", tetris);
    put(QStringLiteral(u"\uFEFFgame.vb"), croach);
    ASSERT_TRUE(QDir(folder).entryList(QDir::Files).contains(QString::fromUtf8("\xEF\xBB\xBFgame.vb")));

    RomDatabase db(hooks());
    db.ListFolder(folder);
    db.IdentifyAllFiles(0, 100);
    // The mark takes no column, so the two names are as wide as each other.
    EXPECT_EQ(Lines(db), QStringList({QStringLiteral("game.vb - 3D Tetris (U) [!]"),
                                      QStringLiteral(u"\uFEFFgame.vb - Croach, The (PD)")}));

    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Completed);
    const QString renamed = QDir(folder).filePath(QStringLiteral("VBoyRen"));
    EXPECT_EQ(QDir(renamed).entryList(QDir::Files), QStringList({kTetris + ".vb", kCroach + ".vb"}));
    EXPECT_EQ(testsupport::readFile(QDir(renamed).filePath(kTetris + ".vb")), tetris);
    EXPECT_EQ(testsupport::readFile(QDir(renamed).filePath(kCroach + ".vb")), croach);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

TEST_F(IdentifyRomFile, ACancelSeenBetweenFilesLeavesTheRestUnidentified)
{
    // No catalogued image: the cancel is still seen after the first file.
    for (const char *name : {"a.vb", "b.vb", "c.vb"})
        put(name, craftedroms::UnknownImage(4096));
    bool pressed = false;
    onEvents = [&] { pressed = true; };
    cancelWhen = [&] { return pressed; };

    RomDatabase db(hooks());
    db.ListFolder(folder);
    db.IdentifyAllFiles(0, 25);
    EXPECT_EQ(Lines(db), QStringList({"a.vb - [UNKNOWN VB ROM]", "b.vb - [YET TO BE IDENTIFIED]",
                                      "c.vb - [YET TO BE IDENTIFIED]"}));
    EXPECT_EQ(db.files()[1].size, 0);
    EXPECT_EQ(progress, QList<int32_t>({0, 8, 17}));
}

TEST_F(IdentifyRomFile, CancelTestsAfterTheFirstChecksumAndBeforeTheHackedMark)
{
    put("hacked.vb", craftedroms::CatalogueImage(kTetris, "EDITED"));
    put("intact.vb", craftedroms::CatalogueImage(kTetris));
    RomDatabase db(hooks());
    db.ListFolder(folder);

    // The second test, after the header-excluded checksum.
    cancelWhen = [&] { return cancelTests >= 2; };
    db.IdentifyRomFile(1);
    EXPECT_EQ(db.fileLine(1), QStringLiteral("intact.vb - [YET TO BE IDENTIFIED]"));
    EXPECT_GT(db.files()[1].size, 0);

    // The third, when the whole-image checksum names another title.
    cancelTests = 0;
    cancelWhen = [&] { return cancelTests >= 3; };
    db.IdentifyRomFile(0);
    EXPECT_EQ(db.fileLine(0), QStringLiteral("hacked.vb - [YET TO BE IDENTIFIED]"));
    cancelTests = 0;
    db.IdentifyRomFile(1);
    EXPECT_EQ(cancelTests, 2); // an intact image is not tested again
    EXPECT_EQ(db.fileLine(1), QStringLiteral("intact.vb - 3D Tetris (U) [!]"));
}

TEST_F(IdentifyRomFile, ListingAndASecondRunAreRefusedWhileARunIsOn)
{
    put("a.vb", craftedroms::UnknownImage(4096));
    put("b.vb", craftedroms::UnknownImage(4096));
    RomDatabase *database = nullptr;
    int refused = 0;
    onEvents = [&] {
        refused += !database->ListFolder(testsupport::tempDir());
        refused += !database->ResetFileStates();
        refused += !database->IdentifyAllFiles(0, 100);
    };
    RomDatabase db(hooks());
    database = &db;
    db.ListFolder(folder);
    EXPECT_TRUE(db.IdentifyAllFiles(0, 100));
    EXPECT_EQ(refused, 6);
    EXPECT_EQ(db.folder(), folder);
    EXPECT_EQ(db.files()[1].state, RomState::Unknown);
}

TEST(ProgressPercent, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(ProgressPercent(0, 25, 1, 2), 12);
    EXPECT_EQ(ProgressPercent(0, 100, 1, 8), 12);
    EXPECT_EQ(ProgressPercent(75, 25, 1, 2), 88);
    EXPECT_EQ(ProgressPercent(0, 100, 3, 4), 75);
    EXPECT_EQ(ProgressPercent(50, 25, 0, 0), 50);
}
