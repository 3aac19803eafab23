#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Paths.h"
#include "SaveFile.h"
#include "TestSupport.h"

using savefile::Step;

namespace {

QStringList FolderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t Mode(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Fails every call of one step with `code`.
void FailAt(Step failing, int code)
{
    savefile::SetFaultHook([failing, code](Step step) { return step == failing ? code : 0; });
}

} // namespace

TEST(SaveFile, WritesANewFileAndReplacesAnOldOneKeepingItsMode)
{
    const QString path = QDir(testsupport::tempDir()).filePath(QStringLiteral("a.txt"));
    ASSERT_FALSE(savefile::SaveWhole(path, "first"));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("first"));
    const mode_t umask = ::umask(0);
    ::umask(umask);
    EXPECT_EQ(Mode(path), 0666 & ~umask);

    ::chmod(QFile::encodeName(path).constData(), 0604);
    ASSERT_FALSE(savefile::SaveWhole(path, "second, longer"));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("second, longer"));
    EXPECT_EQ(Mode(path), 0604u);
    ASSERT_FALSE(savefile::SaveWhole(path, QByteArray()));
    EXPECT_EQ(testsupport::readFile(path), QByteArray());
    EXPECT_EQ(FolderEntries(testsupport::tempDir()), QStringList{"a.txt"});
}

// A name without a folder is saved in the current folder, whatever that
// folder's name (the folder picker makes folders current by their bytes).
TEST(SaveFile, ARelativeNameIsSavedInTheCurrentFolderByItsBytes)
{
    const QString folder = paths::DecodeFileName(paths::EncodeFileName(testsupport::tempDir()) + "/\xE9mu");
    ASSERT_TRUE(paths::MakeFolders(folder));
    const QString ourFolder = paths::CurrentFolder();
    ASSERT_TRUE(paths::MakeCurrentFolder(folder));
    const auto error = savefile::SaveWhole(QStringLiteral("options.dat"), "saved");
    paths::MakeCurrentFolder(ourFolder);
    EXPECT_FALSE(error) << error->reason.toStdString();
    EXPECT_EQ(testsupport::readFile(paths::AppendFileToDir(folder, QStringLiteral("options.dat"))), QByteArray("saved"));
}

TEST(SaveFile, AFailureAtAnyStepKeepsTheOldFileAndSaysWhy)
{
    struct Fault {
        Step step;
        int code;
    };
    const Fault faults[] = {{Step::Check, EIO},  {Step::CreateTemporary, EDQUOT}, {Step::Write, ENOSPC},
                            {Step::Sync, EIO},   {Step::Close, EIO},              {Step::Replace, EXDEV}};
    const QString path = testsupport::writeFile(QStringLiteral("a.txt"), "the old contents");
    for (const Fault &fault : faults) {
        SCOPED_TRACE(int(fault.step));
        FailAt(fault.step, fault.code);
        const auto error = savefile::SaveWhole(path, "new");
        ASSERT_TRUE(error);
        EXPECT_EQ(error->step, fault.step);
        EXPECT_EQ(error->code, fault.code);
        EXPECT_EQ(error->reason, savefile::ErrorText(fault.code));
        EXPECT_EQ(testsupport::readFile(path), QByteArray("the old contents"));
        EXPECT_EQ(FolderEntries(testsupport::tempDir()), QStringList{"a.txt"});
    }
    EXPECT_EQ(savefile::ErrorText(ENOSPC), QStringLiteral("No space left on device"));
}

TEST(SaveFile, ASaveCutShortLeavesNothingBehind)
{
    // Until it is complete the new file has no name, so a kill can't leave one.
    const QString path = testsupport::writeFile(QStringLiteral("a.txt"), "old");
    QStringList seenWhileWriting;
    savefile::SetFaultHook([&](Step step) {
        if (step == Step::Write)
            seenWhileWriting = FolderEntries(testsupport::tempDir());
        return 0;
    });
    ASSERT_FALSE(savefile::SaveWhole(path, "new"));
    EXPECT_EQ(seenWhileWriting, QStringList{"a.txt"});
}

TEST(SaveFile, WithoutUnnamedFilesANamedTemporaryOneIsUsedAndCleared)
{
    const QString path = testsupport::writeFile(QStringLiteral("a.txt"), "old");
    int creations = 0;
    savefile::SetFaultHook([&](Step step) { return step == Step::CreateTemporary && ++creations == 1 ? EOPNOTSUPP : 0; });
    ASSERT_FALSE(savefile::SaveWhole(path, "new"));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("new"));

    creations = 0;
    int writes = 0;
    savefile::SetFaultHook([&](Step step) {
        if (step == Step::CreateTemporary && ++creations == 1)
            return EOPNOTSUPP;
        return step == Step::Write && ++writes == 1 ? ENOSPC : 0;
    });
    const auto error = savefile::SaveWhole(path, "newer");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, Step::Write);
    EXPECT_EQ(testsupport::readFile(path), QByteArray("new"));
    EXPECT_EQ(FolderEntries(testsupport::tempDir()), QStringList{"a.txt"});
}

TEST(SaveFile, ALinkIsReplacedOrWrittenThroughAsAsked)
{
    const QString target = testsupport::writeFile(QStringLiteral("elsewhere/target.txt"), "precious");
    const QString link = QDir(testsupport::tempDir()).filePath(QStringLiteral("link.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("elsewhere/target.txt"), link));

    ASSERT_FALSE(savefile::SaveWhole(link, "through", savefile::Links::WriteThrough));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(testsupport::readFile(target), QByteArray("through"));

    ASSERT_FALSE(savefile::SaveWhole(link, "replaced"));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(testsupport::readFile(link), QByteArray("replaced"));
    EXPECT_EQ(testsupport::readFile(target), QByteArray("through"));
}

TEST(SaveFile, RefusesAFolderAndAFileWeMayNotWrite)
{
    const QString folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("folder"));
    QDir().mkpath(folder);
    auto error = savefile::SaveWhole(folder, "x");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, EISDIR);

    const QString path = testsupport::writeFile(QStringLiteral("locked.txt"), "old");
    ::chmod(QFile::encodeName(path).constData(), 0444);
    testsupport::OrdinaryUser user;
    error = savefile::SaveWhole(path, "new");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->reason, QStringLiteral("Permission denied"));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("old"));
}

TEST(SaveFile, AFullDiskKeepsTheOldFileAndLeavesItsRoom)
{
    testsupport::SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = disk.path() + QStringLiteral("/a.txt");
    ASSERT_FALSE(savefile::SaveWhole(path, QByteArray(5000, 'a')));
    disk.leaveFree(1);
    for (int i = 0; i < 2; ++i) { // the first failure took no room from the second try
        const auto error = savefile::SaveWhole(path, QByteArray(5000, 'b'));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->step, Step::Write);
        EXPECT_EQ(error->reason, QStringLiteral("No space left on device"));
        EXPECT_EQ(testsupport::readFile(path), QByteArray(5000, 'a'));
    }
    EXPECT_EQ(FolderEntries(disk.path()), (QStringList{".filler", "a.txt"}));
    EXPECT_FALSE(savefile::SaveWhole(path, QByteArray(4000, 'c'))); // one page fits
}

TEST(SaveFile, WriteInPlaceChangesOnlyItsRange)
{
    const QString path = testsupport::writeFile(QStringLiteral("a.bin"), "0123456789");
    ::chmod(QFile::encodeName(path).constData(), 0600);
    ASSERT_FALSE(savefile::WriteInPlace(path, 3, "abc"));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("012abc6789"));
    EXPECT_EQ(Mode(path), 0600u);

    auto error = savefile::WriteInPlace(path, 8, "xyz");
    ASSERT_TRUE(error);
    EXPECT_EQ(testsupport::readFile(path), QByteArray("012abc6789"));

    FailAt(Step::Sync, EIO);
    error = savefile::WriteInPlace(path, 0, "z");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, Step::Sync);
    EXPECT_EQ(error->reason, savefile::ErrorText(EIO));

    error = savefile::WriteInPlace(QDir(testsupport::tempDir()).filePath(QStringLiteral("none")), 0, "z");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, ENOENT);
}

// A save killed once its copy has a name (just before that copy replaces the
// file) leaves the copy behind. Its name says whose it is, and the next save
// of that file clears it. What merely looks like one stays: an older or
// shorter name, another file's copy, a folder or a link, and the copy of a
// save still under way.
TEST(SaveFile, ACopyLeftByAKilledSaveIsPlainlyOursAndGoesAtTheNextSave)
{
    const QString folder = testsupport::tempDir();
    const QString path = testsupport::writeFile(QStringLiteral("a.txt"), "old");
    QStringList beforeReplacing;
    savefile::SetFaultHook([&](Step step) {
        if (step == Step::Replace)
            beforeReplacing = FolderEntries(folder);
        return 0;
    });
    ASSERT_FALSE(savefile::SaveWhole(path, "new"));
    savefile::SetFaultHook(nullptr);
    ASSERT_EQ(beforeReplacing.size(), 2);
    EXPECT_TRUE(beforeReplacing.last().startsWith(QStringLiteral("a.txt.zandrel-save-"))) << beforeReplacing.last().toStdString();

    const QStringList leftovers = {"a.txt.zandrel-save-Q7x2Lm", "a.txt.zandrel-save-000000"};
    const QStringList lookAlikes = {"a.txt.Ab3xZ9", "a.txt.zandrel-save-Q7x2L", "a.txt.zandrel-save-Q7x2Lmn",
                                    "b.txt.zandrel-save-Q7x2Lm", "a.txt.zandrel-save-active"};
    for (const QString &name : leftovers + lookAlikes)
        testsupport::writeFile(name, "copy");
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("a.txt.zandrel-save-folder")));
    ASSERT_TRUE(QFile::link(QStringLiteral("b.txt.zandrel-save-Q7x2Lm"), folder + QStringLiteral("/a.txt.zandrel-save-link00")));
    const int underWay = ::open(QFile::encodeName(folder + QStringLiteral("/a.txt.zandrel-save-active")).constData(), O_WRONLY);
    ASSERT_EQ(::flock(underWay, LOCK_EX), 0);

    ASSERT_FALSE(savefile::SaveWhole(path, "newer"));
    ::close(underWay);
    EXPECT_EQ(testsupport::readFile(path), QByteArray("newer"));
    QStringList expected = lookAlikes + QStringList{"a.txt", "a.txt.zandrel-save-folder", "a.txt.zandrel-save-link00"};
    expected.sort();
    EXPECT_EQ(FolderEntries(folder), expected);
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/b.txt.zandrel-save-Q7x2Lm")), QByteArray("copy"));
}

// The real thing: a save killed just before its copy replaces the file. The
// copy's lock ended with the killed process, so the next save clears it.
TEST(SaveFile, ACopyOfASaveKilledBeforeTheReplacementGoesAtTheNextSave)
{
    const QString folder = testsupport::tempDir();
    const QString path = testsupport::writeFile(QStringLiteral("a.txt"), "old");
    const pid_t child = ::fork();
    if (child == 0) {
        savefile::SetFaultHook([&](Step step) {
            if (step == Step::Replace && FolderEntries(folder).size() == 2)
                ::raise(SIGKILL);
            return 0;
        });
        savefile::SaveWhole(path, "killed");
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("old"));
    const QStringList left = FolderEntries(folder);
    ASSERT_EQ(left.size(), 2);
    EXPECT_EQ(testsupport::readFile(folder + QLatin1Char('/') + left.last()), QByteArray("killed"));

    ASSERT_FALSE(savefile::SaveWhole(path, "new"));
    EXPECT_EQ(FolderEntries(folder), QStringList{"a.txt"});
}
