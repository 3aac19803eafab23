// The renaming pass: file names and change log lines with and without
// "Move ROMs", the temporary folder, and faults (a blocked folder name, name
// clashes with files the pass did not take, links, cancels in each loop, a
// vanishing file, a refusing file system, a move across file systems, what
// an interrupted pass left). Whatever happens, every ROM of the folder is
// there exactly once with its bytes unchanged, no file the pass did not take
// is replaced by a different one, and no temporary folder is left behind.

#include "CraftedRoms.h"
#include "Paths.h"
#include "RomDbFixture.h"
#include "RomFileSystem.h"
#include "SaveFile.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

using namespace romdb;

namespace {

const QString kTetris = QStringLiteral("3D Tetris (U) [!]");
const QString kCroach = QStringLiteral("Croach, The (PD)");

// Every file below `folder`, by content.
QMap<QByteArray, int> ContentsUnder(const QString &folder)
{
    QMap<QByteArray, int> contents;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        ++contents[QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)];
    }
    return contents;
}

QStringList TemporaryFolders(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("~ROMTMP*")}, QDir::AllEntries | QDir::Hidden);
}

QStringList LogLines(const RomDatabase &db)
{
    QString log = db.lists().changeLog();
    EXPECT_TRUE(log.endsWith(QStringLiteral("\r\n")));
    log.chop(2);
    return log.split(QStringLiteral("\r\n"));
}

// The line that says a different file at `target` was kept when the move
// logged in `movedLine` found it: "Keeping", then `target` in the column of
// that move's target.
QString KeptLine(const QString &movedLine, const QString &target)
{
    const qsizetype targetColumn = movedLine.indexOf(QStringLiteral(" moved to ")) + 10;
    return QStringLiteral("Keeping").leftJustified(targetColumn) + target + QStringLiteral(" : DIFFERENT FILE OF THAT NAME");
}

QStringList Names(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// The real file system, with one rename or removal made to fail the way a
// test says.
class FaultyFileSystem : public RomFileSystem {
public:
    std::function<int(const QString &source, const QString &target)> fault;
    std::function<int(const QString &path)> removeFault;

    bool removeFile(const QString &path, QString &error) override
    {
        if (removeFault)
            if (const int code = removeFault(path)) {
                error = savefile::ErrorText(code);
                return false;
            }
        return RomFileSystem::removeFile(path, error);
    }

protected:
    int renameFile(const QString &source, const QString &target, bool replace) override
    {
        if (fault)
            if (const int error = fault(source, target))
                return error;
        return RomFileSystem::renameFile(source, target, replace);
    }
};

class RenameAndMoveRoms : public RomDbFixture {
protected:
    // A folder of four copies of one title, a hacked image, an unknown and
    // a too-small file.
    void putMixedFolder()
    {
        const QByteArray croach = craftedroms::CatalogueImage(kCroach);
        put("a.vb", croach);
        put("bb.vb", croach);
        put("c.vb", croach);
        put("d.vb", croach);
        put("hacked.vb", craftedroms::CatalogueImage(kTetris, "MY TETRIS"));
        put("u.vb", craftedroms::UnknownImage(4096));
        put("s.vb", QByteArray(100, 'x'));
    }

    RomDatabase &identified(RomFileSystem &fileSystem = RealFileSystem())
    {
        m_db = std::make_unique<RomDatabase>(hooks(), fileSystem);
        m_db->setTemporaryNumberSource([this] { return draws.isEmpty() ? 42 : draws.takeFirst(); });
        m_db->ListFolder(folder);
        m_db->IdentifyAllFiles(0, 25);
        before = ContentsUnder(folder);
        progress.clear();
        return *m_db;
    }

    // Every ROM once, unchanged; nothing temporary left.
    void expectCollectionIntact(const QMap<QByteArray, int> &expected)
    {
        EXPECT_EQ(ContentsUnder(folder), expected);
        EXPECT_TRUE(TemporaryFolders(folder).isEmpty()) << TemporaryFolders(folder).join(' ').toStdString();
    }

    QString src() const { return folder + QLatin1Char('/'); }

    QList<int> draws;
    QMap<QByteArray, int> before;

private:
    std::unique_ptr<RomDatabase> m_db;
};

} // namespace

TEST_F(RenameAndMoveRoms, RenamesInPlaceWithCopyNamesAndLogsEveryMove)
{
    putMixedFolder();
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Completed);

    const QString tmp = src() + QStringLiteral("~ROMTMP042/");
    EXPECT_EQ(LogLines(db),
              QStringList({"File change log:", "Creating temporary directory: " + tmp,
                           src() + "a.vb      moved to " + tmp + "Croach, The (PD).vb",
                           src() + "bb.vb     moved to " + tmp + "Copy of Croach, The (PD).vb",
                           src() + "c.vb      moved to " + tmp + "Copy (2) of Croach, The (PD).vb",
                           src() + "d.vb      moved to " + tmp + "Copy (3) of Croach, The (PD).vb",
                           src() + "hacked.vb moved to " + tmp + "3D Tetris (U) [h].vb",
                           "Skipping " + src() + "s.vb      : INVALID ROM",
                           "Skipping " + src() + "u.vb      : UNKNOWN ROM",
                           tmp + "3D Tetris (U) [h].vb            moved to " + src() + "3D Tetris (U) [h].vb",
                           tmp + "Copy (2) of Croach, The (PD).vb moved to " + src() + "Copy (2) of Croach, The (PD).vb",
                           tmp + "Copy (3) of Croach, The (PD).vb moved to " + src() + "Copy (3) of Croach, The (PD).vb",
                           tmp + "Copy of Croach, The (PD).vb     moved to " + src() + "Copy of Croach, The (PD).vb",
                           tmp + "Croach, The (PD).vb             moved to " + src() + "Croach, The (PD).vb"}));
    expectCollectionIntact(before);

    // The folder is listed again and identified afresh.
    EXPECT_EQ(db.folder(), folder);
    EXPECT_EQ(db.fileCount(), 7);
    EXPECT_EQ(db.fileLine(0), QStringLiteral("3D Tetris (U) [h].vb            - 3D Tetris (U) [h]"));
    EXPECT_EQ(db.fileLine(4), QStringLiteral("Croach, The (PD).vb             - Croach, The (PD)"));
    EXPECT_EQ(db.fileLine(5), QStringLiteral("s.vb                            - [INVALID VB ROM IMAGE]"));
    EXPECT_EQ(progress, QList<int32_t>({25, 25, 29, 32, 36, 39, 43, 46, 50, 50, 55, 60, 65, 70, 75, 75, 75, 79,
                                        82, 86, 89, 93, 96, 100}));
}

TEST_F(RenameAndMoveRoms, MovesIntoVBoyRenReplacingOnlyAFileOfTheVerySameBytes)
{
    putMixedFolder();
    const QByteArray hacked = testsupport::readFile(folder + QStringLiteral("/hacked.vb"));
    put("VBoyRen/3D Tetris (U) [h].vb", hacked); // an earlier run's copy of the same image
    put("VBoyRen/Croach, The (PD).vb", "an older, different file of that name");
    put("VBoyRen/earlier.vb", craftedroms::UnknownImage(2048, 'e'));
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Completed);

    const QString ren = src() + QStringLiteral("VBoyRen");
    const QString tmp = src() + QStringLiteral("~ROMTMP042/");
    EXPECT_EQ(db.folder(), ren);
    EXPECT_EQ(Names(ren), QStringList({"3D Tetris (U) [h].vb", "Copy (2) of Croach, The (PD).vb",
                                       "Copy (3) of Croach, The (PD).vb", "Copy (4) of Croach, The (PD).vb",
                                       "Copy of Croach, The (PD).vb", "Croach, The (PD).vb", "earlier.vb"}));
    EXPECT_EQ(testsupport::readFile(ren + QStringLiteral("/Croach, The (PD).vb")),
              QByteArray("an older, different file of that name"));
    EXPECT_EQ(Names(folder), QStringList({"s.vb", "u.vb"}));
    EXPECT_FALSE(LogLines(db).join('\n').contains(QStringLiteral("Rename directory:")));
    const QString firstMove = tmp + "3D Tetris (U) [h].vb            moved to " + ren + "/3D Tetris (U) [h].vb";
    const QString lastMove = tmp + "Croach, The (PD).vb             moved to " + ren + "/Copy (4) of Croach, The (PD).vb";
    EXPECT_EQ(LogLines(db).mid(LogLines(db).size() - 7),
              QStringList({QStringLiteral("Replacing").leftJustified(firstMove.indexOf(" moved to ") + 10) + ren +
                               "/3D Tetris (U) [h].vb : IDENTICAL FILE OF THAT NAME",
                           firstMove,
                           tmp + "Copy (2) of Croach, The (PD).vb moved to " + ren + "/Copy (2) of Croach, The (PD).vb",
                           tmp + "Copy (3) of Croach, The (PD).vb moved to " + ren + "/Copy (3) of Croach, The (PD).vb",
                           tmp + "Copy of Croach, The (PD).vb     moved to " + ren + "/Copy of Croach, The (PD).vb",
                           KeptLine(lastMove, ren + "/Croach, The (PD).vb"), lastMove}));
    QMap<QByteArray, int> expected = before;
    --expected[QCryptographicHash::hash(hacked, QCryptographicHash::Sha1)]; // the same image twice became once
    expectCollectionIntact(expected);
    EXPECT_EQ(db.fileCount(), 7); // every file of VBoyRen, the earlier ones too
    EXPECT_EQ(db.files()[6].state, RomState::Unknown);
}

TEST_F(RenameAndMoveRoms, AFileThePassDidNotTakeIsNeverReplaced)
{
    // Skipped files that carry the names the pass gives: an unknown image
    // named as a copy, and an invalid file named as the title.
    const QByteArray croach = craftedroms::CatalogueImage(kCroach);
    put("a.vb", croach);
    put("b.vb", croach);
    put("c.vb", croach);
    put("Copy of Croach, The (PD).vb", craftedroms::UnknownImage(4096));
    put("Croach, The (PD).vb", QByteArray(100, 'x'));
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Completed);

    const QString tmp = src() + QStringLiteral("~ROMTMP042/");
    EXPECT_EQ(Names(folder), QStringList({"Copy (2) of Croach, The (PD).vb", "Copy (3) of Croach, The (PD).vb",
                                          "Copy (4) of Croach, The (PD).vb", "Copy of Croach, The (PD).vb",
                                          "Croach, The (PD).vb"}));
    EXPECT_EQ(testsupport::readFile(src() + "Croach, The (PD).vb"), QByteArray(100, 'x'));
    const QString secondMove = tmp + "Copy of Croach, The (PD).vb     moved to " + src() + "Copy (3) of Croach, The (PD).vb";
    const QString thirdMove = tmp + "Croach, The (PD).vb             moved to " + src() + "Copy (4) of Croach, The (PD).vb";
    EXPECT_EQ(LogLines(db).mid(7),
              QStringList({tmp + "Copy (2) of Croach, The (PD).vb moved to " + src() + "Copy (2) of Croach, The (PD).vb",
                           KeptLine(secondMove, src() + "Copy of Croach, The (PD).vb"), secondMove,
                           KeptLine(thirdMove, src() + "Croach, The (PD).vb"),
                           KeptLine(thirdMove, src() + "Copy of Croach, The (PD).vb"), thirdMove}));
    expectCollectionIntact(before);
}

TEST_F(RenameAndMoveRoms, ALinkStaysWhereItIsAndIsLoggedAsSkipped)
{
    put("a.vb", craftedroms::CatalogueImage(kCroach));
    ASSERT_TRUE(QFile::link(QStringLiteral("a.vb"), folder + QStringLiteral("/link.vb"))); // relative
    RomDatabase &db = identified();
    ASSERT_EQ(db.files()[1].state, RomState::Known);
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Completed);

    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/link.vb")).isSymLink());
    EXPECT_TRUE(LogLines(db).contains("Skipping " + src() + "link.vb : SYMBOLIC LINK"));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              QStringList({"Croach, The (PD).vb", "link.vb"}));
}

TEST_F(RenameAndMoveRoms, CreatesVBoyRenAndLogsIt)
{
    put("x.vb", craftedroms::CatalogueImage(kCroach));
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Completed);
    EXPECT_EQ(LogLines(db).at(3), QStringLiteral("Rename directory: ") + src() + QStringLiteral("VBoyRen/ created"));
    EXPECT_EQ(Names(folder + QStringLiteral("/VBoyRen")), QStringList({"Croach, The (PD).vb"}));
    expectCollectionIntact(before);
}

TEST_F(RenameAndMoveRoms, NamesComeFromTheFolderNotFromTheTrimmedLine)
{
    put(" leading blank.vb", craftedroms::CatalogueImage(kCroach));
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Completed);
    EXPECT_EQ(Names(folder), QStringList({"Croach, The (PD).vb"}));
    expectCollectionIntact(before);
}

TEST_F(RenameAndMoveRoms, OnlyUnknownAndInvalidFilesMoveNothing)
{
    put("u.vb", craftedroms::UnknownImage(4096));
    put("s.vb", QByteArray(10, 'x'));
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Completed);
    EXPECT_EQ(LogLines(db).size(), 4);
    EXPECT_EQ(Names(folder), QStringList({"s.vb", "u.vb"}));
    expectCollectionIntact(before);
}

TEST_F(RenameAndMoveRoms, DrawsAgainWhileTheTemporaryNameIsTaken)
{
    put("x.vb", craftedroms::CatalogueImage(kCroach));
    put("~ROMTMP007", "a file");
    QDir().mkpath(folder + QStringLiteral("/elsewhere"));
    QFile::link(folder + QStringLiteral("/elsewhere"), folder + QStringLiteral("/~ROMTMP008"));
    draws = {7, 8, 9};
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Completed);
    EXPECT_EQ(LogLines(db).at(1), QStringLiteral("Creating temporary directory: ") + src() + QStringLiteral("~ROMTMP009/"));
    EXPECT_EQ(TemporaryFolders(folder), QStringList({"~ROMTMP007", "~ROMTMP008"}));
}

TEST_F(RenameAndMoveRoms, GivesUpAfterBoundedTriesForATemporaryName)
{
    put("x.vb", craftedroms::CatalogueImage(kCroach));
    put("~ROMTMP007", "a file");
    RomDatabase &db = identified();
    db.setTemporaryNumberSource([] { return 7; });
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Failed);
    EXPECT_TRUE(db.renameFailure().startsWith(QStringLiteral("Renaming the ROM files failed:\rNo free name")));
    EXPECT_EQ(Names(folder), QStringList({"x.vb", "~ROMTMP007"}));
}

TEST_F(RenameAndMoveRoms, AFileOrLinkInPlaceOfVBoyRenStopsThePassBeforeAnyMove)
{
    putMixedFolder();
    const QString ren = src() + QStringLiteral("VBoyRen");
    const QString elsewhere = testsupport::tempDir() + QStringLiteral("/elsewhere");
    struct Case {
        const char *what;
        std::function<void()> make;
        QString failure;
    };
    const Case cases[] = {
        {"file", [&] { put("VBoyRen", "a file where the folder should be"); },
         ren + QStringLiteral(" is a file, not a directory. Nothing was moved.")},
        {"link", [&] {
             testsupport::writeFile(QStringLiteral("elsewhere/Croach, The (PD).vb"), "someone else's file");
             QFile::link(elsewhere, ren);
         },
         ren + QStringLiteral(" is a link: ROM files are moved only into a directory of that name in the ROM "
                              "directory itself. Nothing was moved.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(ren);
        c.make();
        RomDatabase &db = identified();
        ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Failed);
        EXPECT_EQ(db.renameFailure(), QStringLiteral("Renaming the ROM files failed:\r") + c.failure);
        EXPECT_EQ(LogLines(db), QStringList({"File change log:", c.failure}));
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                  QStringList({"VBoyRen", "a.vb", "bb.vb", "c.vb", "d.vb", "hacked.vb", "s.vb", "u.vb"}));
        EXPECT_EQ(ContentsUnder(folder), before);
        EXPECT_EQ(db.folder(), folder);
    }
    EXPECT_EQ(Names(elsewhere), QStringList({"Croach, The (PD).vb"}));
    EXPECT_EQ(testsupport::readFile(elsewhere + QStringLiteral("/Croach, The (PD).vb")), QByteArray("someone else's file"));
}

TEST_F(RenameAndMoveRoms, AFolderInTheWayOfOneFileIsKeptAndTheFileTakesTheNextName)
{
    putMixedFolder();
    QDir().mkpath(folder + QStringLiteral("/VBoyRen/Copy of Croach, The (PD).vb"));
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Completed);
    expectCollectionIntact(before);
    EXPECT_EQ(Names(folder), QStringList({"s.vb", "u.vb"}));
    EXPECT_EQ(Names(folder + QStringLiteral("/VBoyRen")).size(), 5);
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/VBoyRen/Copy of Croach, The (PD).vb")).isDir());
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/VBoyRen/Copy (4) of Croach, The (PD).vb")));
}

TEST_F(RenameAndMoveRoms, WhenEveryMoveOutFailsTheFilesGoBackAndTheirFolderIsListed)
{
    const QByteArray croach = craftedroms::CatalogueImage(kCroach);
    for (int i = 0; i < 8; ++i)
        put(QStringLiteral("%1.vb").arg(i), croach);
    FaultyFileSystem fileSystem; // "VBoyRen" takes no file
    fileSystem.fault = [](const QString &, const QString &target) {
        return target.contains(QStringLiteral("/VBoyRen/")) ? EACCES : 0;
    };
    RomDatabase &db = identified(fileSystem);
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Failed);
    expectCollectionIntact(before);
    EXPECT_EQ(Names(folder).size(), 8);
    EXPECT_EQ(db.folder(), folder);

    // The box names the first few failures; the log has every one.
    const QStringList failure = db.renameFailure().split(QLatin1Char('\r'));
    ASSERT_EQ(failure.size(), 8);
    EXPECT_TRUE(failure[1].startsWith(QStringLiteral("Could not move ")));
    EXPECT_EQ(failure[6], QStringLiteral("... and 3 more: the change log lists them all."));
    EXPECT_EQ(failure[7], QStringLiteral("No ROM file was lost: the change log shows where each one is."));
    EXPECT_EQ(LogLines(db).filter(QStringLiteral("Could not move ")).size(), 8);
}

TEST_F(RenameAndMoveRoms, WhatAnInterruptedPassLeftIsBroughtBackFirst)
{
    const QByteArray croach = craftedroms::CatalogueImage(kCroach);
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    put("a.vb", tetris);
    put("Croach, The (PD).vb", "a different file, put here since");
    // What a killed pass left: its temporary folder with two ROMs and a
    // partial copy, and a partial copy in "VBoyRen".
    put("~ROMTMP311/Croach, The (PD).vb", croach);
    put("~ROMTMP311/Copy of Croach, The (PD).vb", croach);
    put("~ROMTMP311/.romcopy-aB3dE9", croach.left(100));
    put("VBoyRen/.romcopy-Zz0012", croach.left(50));
    put("VBoyRen/.romcopy-note", "not one of ours");
    RomDatabase &db = identified();
    before = ContentsUnder(folder);
    ASSERT_EQ(db.RunIdentification(true, false), RunOutcome::Completed);

    const QString leftover = src() + QStringLiteral("~ROMTMP311/");
    const QString secondBack = leftover + "Croach, The (PD).vb moved to " + src() + "Copy (2) of Croach, The (PD).vb";
    EXPECT_EQ(LogLines(db).mid(1, 7),
              QStringList({"Removed the partial copy " + src() + "VBoyRen/.romcopy-Zz0012",
                           "Found the temporary directory of an interrupted renaming: " + leftover,
                           "Removed the partial copy " + leftover + ".romcopy-aB3dE9",
                           leftover + "Copy of Croach, The (PD).vb moved to " + src() + "Copy of Croach, The (PD).vb",
                           KeptLine(secondBack, src() + "Croach, The (PD).vb"), secondBack,
                           "Removed the temporary directory " + leftover}));
    EXPECT_EQ(db.renameRecovery(),
              QStringLiteral("An earlier renaming was interrupted. What it left was put right:\r"
                             "2 of the 2 files in %1 were moved back into %2\r"
                             "2 partial copies were removed.\r"
                             "The change log shows each file.")
                  .arg(leftover, src()));
    EXPECT_TRUE(TemporaryFolders(folder).isEmpty());
    EXPECT_EQ(QDir(folder + "/VBoyRen").entryList(QDir::Files | QDir::Hidden), QStringList({".romcopy-note"}));
    QMap<QByteArray, int> expected = before;
    expected.remove(QCryptographicHash::hash(croach.left(100), QCryptographicHash::Sha1));
    expected.remove(QCryptographicHash::hash(croach.left(50), QCryptographicHash::Sha1));
    EXPECT_EQ(ContentsUnder(folder), expected);
    EXPECT_EQ(Names(folder), QStringList({"3D Tetris (U) [!].vb", "Copy (2) of Croach, The (PD).vb",
                                          "Copy of Croach, The (PD).vb", "Croach, The (PD).vb"}));
}

// A pass killed while moving a file into "VBoyRen" on another file system,
// after the verified copy landed there and before the temporary file was
// deleted, leaves the ROM twice: in "VBoyRen", under its name or the copy
// name it took, and in the temporary folder. The temporary one goes.
TEST_F(RenameAndMoveRoms, ALeftoverAlreadyInVBoyRenIsRemovedNotBroughtBack)
{
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    const QByteArray croach = craftedroms::CatalogueImage(kCroach);
    const QByteArray golf = craftedroms::CatalogueImage(QStringLiteral("Golf (U) [!]"));
    put("u.vb", craftedroms::UnknownImage(4096));
    put("~ROMTMP311/3D Tetris (U) [!].vb", tetris);
    put("VBoyRen/3D Tetris (U) [!].vb", tetris);
    put("~ROMTMP311/Croach, The (PD).vb", croach);
    put("VBoyRen/Croach, The (PD).vb", "a different file of that name");
    put("VBoyRen/Copy of Croach, The (PD).vb", croach);
    put("~ROMTMP311/Golf (U) [!].vb", golf);
    RomDatabase &db = identified();
    ASSERT_EQ(db.RunIdentification(true, false), RunOutcome::Completed);

    const QString leftover = src() + QStringLiteral("~ROMTMP311/");
    const QString ren = src() + QStringLiteral("VBoyRen/");
    const QStringList removed = LogLines(db).filter(QStringLiteral("Removed the temporary copy "));
    EXPECT_EQ(removed, QStringList({"Removed the temporary copy " + leftover + "3D Tetris (U) [!].vb: the same file is "
                                    "already at " + ren + "3D Tetris (U) [!].vb",
                                    "Removed the temporary copy " + leftover + "Croach, The (PD).vb: the same file is "
                                    "already at " + ren + "Copy of Croach, The (PD).vb"}));
    EXPECT_EQ(db.renameRecovery(),
              QStringLiteral("An earlier renaming was interrupted. What it left was put right:\r"
                             "1 of the 3 files in %1 were moved back into %2\r"
                             "2 of them were already in %3 with the very same bytes: their temporary copies were "
                             "removed.\r"
                             "The change log shows each file.")
                  .arg(leftover, src(), ren));
    QMap<QByteArray, int> expected = before;
    --expected[QCryptographicHash::hash(tetris, QCryptographicHash::Sha1)];
    --expected[QCryptographicHash::hash(croach, QCryptographicHash::Sha1)];
    expectCollectionIntact(expected);
    EXPECT_EQ(ContentsUnder(folder).value(QCryptographicHash::hash(tetris, QCryptographicHash::Sha1)), 1);
    EXPECT_TRUE(QFileInfo::exists(src() + "Golf (U) [!].vb"));
}

TEST_F(RenameAndMoveRoms, CancelInTheFirstLoopPutsTheMovedFilesBack)
{
    putMixedFolder();
    RomDatabase &db = identified();
    bool pressed = false;
    onEvents = [&] { pressed = true; };
    cancelWhen = [&] { return pressed; };
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Cancelled);
    expectCollectionIntact(before);
    EXPECT_EQ(Names(folder), QStringList({"a.vb", "bb.vb", "c.vb", "d.vb", "hacked.vb", "s.vb", "u.vb"}));
    const QString tmp = src() + QStringLiteral("~ROMTMP042/");
    EXPECT_EQ(LogLines(db).mid(2), QStringList({src() + "a.vb      moved to " + tmp + "Croach, The (PD).vb",
                                                "Renaming cancelled: the files already renamed get their old names back.",
                                                tmp + "Croach, The (PD).vb moved to " + src() + "a.vb"}));
}

TEST_F(RenameAndMoveRoms, CancelInTheSecondLoopFinishesTheMovesAndSkipsIdentification)
{
    putMixedFolder();
    RomDatabase &db = identified();
    bool pressed = false;
    onEvents = [&] {
        if (progress.contains(50))
            pressed = true;
    };
    cancelWhen = [&] { return pressed; };
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::CancelledAfterRenaming);
    expectCollectionIntact(before);
    EXPECT_EQ(Names(folder + QStringLiteral("/VBoyRen")).size(), 5);
    EXPECT_EQ(db.fileLine(0), QStringLiteral("3D Tetris (U) [h].vb            - [YET TO BE IDENTIFIED]"));
}

TEST_F(RenameAndMoveRoms, CancelBeforeThePassChangesNothing)
{
    putMixedFolder();
    RomDatabase &db = identified();
    db.InitLists();
    cancelWhen = [] { return true; };
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Cancelled);
    EXPECT_EQ(db.lists().changeLog(), QStringLiteral("File change log:\r\n  No changes\r\n"));
    EXPECT_EQ(db.fileLine(0), QStringLiteral("a.vb      - Croach, The (PD)"));
    expectCollectionIntact(before);
}

TEST_F(RenameAndMoveRoms, AFileThatVanishesMidRunStopsThePassAndTheRestGoBack)
{
    putMixedFolder();
    RomDatabase &db = identified();
    const QByteArray gone = QCryptographicHash::hash(testsupport::readFile(folder + "/c.vb"), QCryptographicHash::Sha1);
    onEvents = [&] { QFile::remove(folder + QStringLiteral("/c.vb")); };
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Failed);
    QMap<QByteArray, int> expected = before;
    --expected[gone];
    expectCollectionIntact(expected);
    EXPECT_EQ(Names(folder), QStringList({"a.vb", "bb.vb", "d.vb", "hacked.vb", "s.vb", "u.vb"}));
    EXPECT_TRUE(db.renameFailure().contains(QStringLiteral("Could not move ") + src() + QStringLiteral("c.vb")));
}

TEST_F(RenameAndMoveRoms, WhenNothingCanBeMovedOutTheFilesStayTogetherAndTheFolderIsNamed)
{
    putMixedFolder();
    FaultyFileSystem fileSystem;
    fileSystem.fault = [](const QString &source, const QString &) {
        return source.contains(QStringLiteral("~ROMTMP")) ? EIO : 0;
    };
    RomDatabase &db = identified(fileSystem);
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Failed);
    // Nothing is lost, but the renamed files could only stay where they were.
    EXPECT_EQ(ContentsUnder(folder), before);
    EXPECT_EQ(Names(folder + QStringLiteral("/~ROMTMP042")).size(), 5);
    EXPECT_TRUE(db.renameFailure().endsWith(QStringLiteral("Some ROM files are still in the directory ") + src() +
                                            QStringLiteral("~ROMTMP042/")));
}

TEST_F(RenameAndMoveRoms, AMoveAcrossFileSystemsCopiesChecksAndDeletes)
{
    putMixedFolder();
    FaultyFileSystem fileSystem;
    // Renames out of the ROM folder itself behave as if it were another file system.
    fileSystem.fault = [this](const QString &source, const QString &) {
        return QFileInfo(source).absolutePath() == folder ? EXDEV : 0;
    };
    RomDatabase &db = identified(fileSystem);
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Completed);
    expectCollectionIntact(before);
    EXPECT_EQ(Names(folder + QStringLiteral("/VBoyRen")).size(), 5);
    EXPECT_EQ(Names(folder), QStringList({"s.vb", "u.vb"}));
}

TEST_F(RenameAndMoveRoms, AFailedCopyLeavesTheSourceAndNoPartialTarget)
{
    FaultyFileSystem fileSystem;
    fileSystem.fault = [](const QString &, const QString &) { return EXDEV; };
    QString error;
    const QString target = folder + QStringLiteral("/target.vb");
    EXPECT_FALSE(fileSystem.MoveRomFile(folder + QStringLiteral("/missing.vb"), target, true, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

    put("source.vb", "rom bytes");
    put("taken.vb", "another rom");
    EXPECT_FALSE(fileSystem.MoveRomFile(folder + QStringLiteral("/source.vb"), folder + QStringLiteral("/taken.vb"),
                                        false, error));
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/taken.vb")), QByteArray("another rom"));
    EXPECT_EQ(Names(folder), QStringList({"source.vb", "taken.vb"}));
}

// A move across file systems whose source can't be deleted at its end (a
// folder the user may not change) leaves both files as they were: the file
// it was to replace is back, with its bytes, and no copy is left.
TEST_F(RenameAndMoveRoms, AMoveAcrossFileSystemsThatCannotDeleteItsSourceKeepsWhatItWasToReplace)
{
    const QString source = put("source.vb", "the rom");
    FaultyFileSystem fileSystem;
    fileSystem.fault = [&](const QString &from, const QString &) { return from == source ? EXDEV : 0; };
    fileSystem.removeFault = [&](const QString &path) { return path == source ? EACCES : 0; };
    for (const bool targetThere : {true, false}) {
        SCOPED_TRACE(targetThere ? "a file at the target" : "no file at the target");
        const QString target = targetThere ? put("taken.vb", "the file at the target") : folder + QStringLiteral("/free.vb");
        QString error;
        EXPECT_FALSE(fileSystem.MoveRomFile(source, target, true, error));
        EXPECT_EQ(error, QStringLiteral("the source could not be deleted: ") + savefile::ErrorText(EACCES));
        EXPECT_EQ(testsupport::readFile(source), QByteArray("the rom"));
        if (targetThere)
            EXPECT_EQ(testsupport::readFile(target), QByteArray("the file at the target"));
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                  targetThere ? QStringList({"source.vb", "taken.vb"}) : QStringList({"source.vb"}));
        paths::RemoveFile(folder + QStringLiteral("/taken.vb"));
    }
}

// On a file system without the no-replace rename (a network share, a FUSE
// file system), with hard links or without them, a file that another
// program puts at the name a ROM is about to get, between the steps of its
// move, is never replaced: the ROM takes the next name.
TEST_F(RenameAndMoveRoms, AFileThatAppearsAtATargetBetweenTheStepsOfAMoveIsNeverReplaced)
{
    struct Case {
        const char *fileSystem;
        int noReplaceRename; // the errno it answers for the flag
        int link;            // and for a hard link; 0 where it makes one
        paths::RenameStep appearsBefore;
    };
    const Case cases[] = {
        {"no RENAME_NOREPLACE", EINVAL, 0, paths::RenameStep::Link},
        {"RENAME_NOREPLACE not supported", EOPNOTSUPP, 0, paths::RenameStep::Link},
        {"no RENAME_NOREPLACE nor hard links", EINVAL, EPERM, paths::RenameStep::Reserve},
    };
    const QByteArray croach = craftedroms::CatalogueImage(kCroach);
    const QByteArray others = "another program's file";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fileSystem);
        ASSERT_TRUE(paths::RemoveFolderTree(folder) && paths::MakeFolders(folder));
        put("a.vb", croach);
        RomDatabase &db = identified();
        const QString title = src() + QStringLiteral("Croach, The (PD).vb");
        bool appeared = false;
        paths::SetRenameHook([&](paths::RenameStep step, const QString &, const QString &to) {
            if (step == c.appearsBefore && to == title && !std::exchange(appeared, true))
                testsupport::writeFile(QStringLiteral("roms/Croach, The (PD).vb"), others);
            if (step == paths::RenameStep::NoReplaceRename)
                return c.noReplaceRename;
            return step == paths::RenameStep::Link ? c.link : 0;
        });
        const RunOutcome outcome = db.RenameAndMoveRoms(false);
        paths::SetRenameHook(nullptr);

        EXPECT_EQ(outcome, RunOutcome::Completed);
        EXPECT_TRUE(appeared);
        EXPECT_EQ(testsupport::readFile(title), others);
        EXPECT_EQ(testsupport::readFile(src() + QStringLiteral("Copy of Croach, The (PD).vb")), croach);
        QMap<QByteArray, int> expected = before;
        ++expected[QCryptographicHash::hash(others, QCryptographicHash::Sha1)];
        expectCollectionIntact(expected);
    }
}

// Files are compared and copied by their real bytes, whatever their names:
// two identical images named in Latin-1 are the same file, and a move across
// file systems carries such a name over whole.
TEST_F(RenameAndMoveRoms, NamesThatAreNotUtf8AreComparedAndCopiedByTheirRealBytes)
{
    const QByteArray rom = craftedroms::CatalogueImage(kCroach);
    const QByteArray dir = paths::EncodeFileName(folder);
    for (const char *name : {"/caf\xE9.vb", "/caf\xE9 2.vb"}) {
        QFile file;
        const int fd = ::open(dir + name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_TRUE(fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        ASSERT_EQ(file.write(rom), rom.size());
    }
    const QString first = paths::DecodeFileName(dir + "/caf\xE9.vb");
    const QString second = paths::DecodeFileName(dir + "/caf\xE9 2.vb");
    EXPECT_TRUE(RealFileSystem().sameContents(first, second));

    // Renames of the images themselves act as across file systems.
    FaultyFileSystem otherFileSystem;
    otherFileSystem.fault = [](const QString &source, const QString &) {
        return source.endsWith(QStringLiteral(".vb")) ? EXDEV : 0;
    };
    QString error;
    const QString moved = paths::DecodeFileName(dir + "/moved \xE9.vb");
    ASSERT_TRUE(otherFileSystem.MoveRomFile(first, moved, false, error)) << error.toStdString();
    EXPECT_TRUE(RealFileSystem().sameContents(moved, second));
    EXPECT_FALSE(RealFileSystem().exists(first));
    // Into a folder whose own name is not UTF-8, the copy is made beside its
    // target all the same, and nothing of it stays behind.
    const QString elsewhere = paths::DecodeFileName(dir + "/d\xE9plac\xE9s");
    ASSERT_TRUE(paths::MakeFolders(elsewhere));
    ASSERT_TRUE(otherFileSystem.MoveRomFile(moved, elsewhere + QStringLiteral("/rom.vb"), false, error)) << error.toStdString();
    EXPECT_TRUE(RealFileSystem().sameContents(elsewhere + QStringLiteral("/rom.vb"), second));
    EXPECT_FALSE(RealFileSystem().exists(moved));
    QStringList left;
    for (const paths::FolderEntry &entry : paths::ListFolder(elsewhere))
        left << entry.name;
    EXPECT_EQ(left, QStringList{QStringLiteral("rom.vb")});

    // A pipe is no file to compare or copy: refused at once, never waited on.
    const QString pipe = folder + QStringLiteral("/pipe.vb");
    ASSERT_EQ(::mkfifo(paths::EncodeFileName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(otherFileSystem.MoveRomFile(pipe, folder + QStringLiteral("/from-pipe.vb"), false, error));
    EXPECT_EQ(error, QStringLiteral("It is a pipe, not a file."));
}

// What an interrupted run left is found and brought back by its real bytes:
// in a folder whose name is not UTF-8, a leftover so named comes back and the
// run renames it.
TEST_F(RenameAndMoveRoms, LeftoversWhoseNamesAreNotUtf8AreBroughtBack)
{
    const QByteArray dir = paths::EncodeFileName(folder) + "/jeux \xE9t\xE9";
    for (const QByteArray &sub : {dir, dir + "/~ROMTMP311"})
        ASSERT_EQ(::mkdir(sub.constData(), 0755), 0);
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    for (const QByteArray &name : {QByteArray("/~ROMTMP311/t\xE9tris.vb"), QByteArray("/~ROMTMP311/.romcopy-abc123")}) {
        QFile file;
        const int fd = ::open(dir + name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_TRUE(fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        ASSERT_EQ(file.write(tetris), tetris.size());
    }
    const QString romFolder = paths::DecodeFileName(dir);
    RomDatabase db(hooks());
    db.ListFolder(romFolder);
    ASSERT_EQ(db.RunIdentification(true, false), RunOutcome::Completed);

    QStringList names;
    for (const paths::FolderEntry &entry : paths::ListFolder(romFolder))
        names << entry.name;
    EXPECT_EQ(names, QStringList({kTetris + QStringLiteral(".vb")}));
    EXPECT_TRUE(db.renameRecovery().contains(QStringLiteral("1 of the 1 files"))) << db.renameRecovery().toStdString();
    EXPECT_TRUE(db.renameRecovery().contains(QStringLiteral("1 partial copies were removed.")));
}
