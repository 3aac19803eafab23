// The renaming pass: file names and change log lines with and without
// "Move ROMs", the temporary folder, and faults (a blocked folder name, name
// clashes, cancels in each loop, a vanishing file, a refusing file system,
// a move across file systems). Whatever happens, every ROM of the folder
// is there exactly once with its bytes unchanged, and no temporary folder
// is left behind.

#include "CraftedRoms.h"
#include "RomDbFixture.h"
#include "RomFileSystem.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QMap>

#include <cerrno>

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

QStringList Names(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// The real file system, with one rename made to fail the way a test says.
class FaultyFileSystem : public RomFileSystem {
public:
    std::function<int(const QString &source, const QString &target)> fault;

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

TEST_F(RenameAndMoveRoms, MovesIntoVBoyRenAndReplacesASameNamedFileThere)
{
    putMixedFolder();
    put("VBoyRen/Croach, The (PD).vb", "an older file of that name");
    put("VBoyRen/earlier.vb", craftedroms::UnknownImage(2048, 'e'));
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Completed);

    const QString ren = src() + QStringLiteral("VBoyRen");
    EXPECT_EQ(db.folder(), ren);
    EXPECT_EQ(Names(ren), QStringList({"3D Tetris (U) [h].vb", "Copy (2) of Croach, The (PD).vb",
                                       "Copy (3) of Croach, The (PD).vb", "Copy of Croach, The (PD).vb",
                                       "Croach, The (PD).vb", "earlier.vb"}));
    EXPECT_EQ(Names(folder), QStringList({"s.vb", "u.vb"}));
    EXPECT_FALSE(LogLines(db).join('\n').contains(QStringLiteral("Rename directory:")));
    EXPECT_TRUE(LogLines(db).contains(src() + "~ROMTMP042/Croach, The (PD).vb             moved to " + ren +
                                      "/Croach, The (PD).vb"));
    QMap<QByteArray, int> expected = before;
    expected.remove(QCryptographicHash::hash("an older file of that name", QCryptographicHash::Sha1));
    expectCollectionIntact(expected);
    EXPECT_EQ(db.fileCount(), 6); // every file of VBoyRen, the earlier one too
    EXPECT_EQ(db.files()[5].state, RomState::Unknown);
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
    QDir().mkpath(folder + QStringLiteral("/~ROMTMP008"));
    draws = {7, 8, 9};
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Completed);
    EXPECT_EQ(LogLines(db).at(1), QStringLiteral("Creating temporary directory: ") + src() + QStringLiteral("~ROMTMP009/"));
    EXPECT_EQ(TemporaryFolders(folder), QStringList({"~ROMTMP007", "~ROMTMP008"}));
}

TEST_F(RenameAndMoveRoms, GivesUpAfterBoundedTriesForATemporaryName)
{
    put("x.vb", craftedroms::CatalogueImage(kCroach));
    QDir().mkpath(folder + QStringLiteral("/~ROMTMP007"));
    RomDatabase &db = identified();
    db.setTemporaryNumberSource([] { return 7; });
    ASSERT_EQ(db.RenameAndMoveRoms(false), RunOutcome::Failed);
    EXPECT_TRUE(db.renameFailure().startsWith(QStringLiteral("Renaming the ROM files failed:\rNo free name")));
    EXPECT_EQ(Names(folder), QStringList({"x.vb"}));
}

TEST_F(RenameAndMoveRoms, AFileBlockingVBoyRenPutsEveryFileBack)
{
    putMixedFolder();
    put("VBoyRen", "a file where the folder should be");
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Failed);
    expectCollectionIntact(before);
    EXPECT_EQ(Names(folder), QStringList({"VBoyRen", "a.vb", "bb.vb", "c.vb", "d.vb", "hacked.vb", "s.vb", "u.vb"}));
    EXPECT_TRUE(db.renameFailure().contains(QStringLiteral("Could not create the directory ") + src() +
                                            QStringLiteral("VBoyRen")));
    EXPECT_TRUE(db.renameFailure().endsWith(QStringLiteral("No ROM file was lost: the change log shows where each one is.")));
    // The log holds the moves made and the ones that undid them, nothing else.
    EXPECT_TRUE(LogLines(db).contains(src() + "~ROMTMP042/Copy of Croach, The (PD).vb moved to " + src() + "bb.vb"));
    EXPECT_EQ(db.folder(), folder);
    EXPECT_EQ(db.fileLine(0), QStringLiteral("a.vb      - [YET TO BE IDENTIFIED]"));
}

TEST_F(RenameAndMoveRoms, AFolderInTheWayOfOneFileLeavesThatFileUnderItsOldName)
{
    putMixedFolder();
    QDir().mkpath(folder + QStringLiteral("/VBoyRen/Copy of Croach, The (PD).vb"));
    RomDatabase &db = identified();
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Failed);
    expectCollectionIntact(before);
    EXPECT_EQ(Names(folder), QStringList({"bb.vb", "s.vb", "u.vb"}));
    EXPECT_EQ(Names(folder + QStringLiteral("/VBoyRen")).size(), 4);
    EXPECT_EQ(db.folder(), folder + QStringLiteral("/VBoyRen"));
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
    ASSERT_EQ(db.RenameAndMoveRoms(true), RunOutcome::Cancelled);
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
