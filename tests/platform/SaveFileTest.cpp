#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <poll.h>
#include <sys/stat.h>
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
    EXPECT_EQ(savefile::ErrorText(ENOSPC), QString::fromLocal8Bit(std::strerror(ENOSPC)));
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
    SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST();
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
    EXPECT_EQ(error->code, EACCES);
    EXPECT_EQ(error->reason, savefile::ErrorText(EACCES));
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
        EXPECT_EQ(error->reason, savefile::ErrorText(ENOSPC));
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

// A write in place goes to a regular file only. Anything else is named for
// what it is and refused before it is opened: opening a pipe that has a
// reader already reaches the reader, and opening a device can act on it.
TEST(SaveFile, WriteInPlaceRefusesWhatIsNoFileBeforeOpeningIt)
{
    const QString dir = testsupport::tempDir();
    const auto at = [&dir](const char *name) { return dir + QLatin1Char('/') + QLatin1String(name); };
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe")).constData(), 0600), 0);
    ASSERT_EQ(::mknod(QFile::encodeName(at("socket")).constData(), S_IFSOCK | 0600, 0), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), at("device")));
    const int reader = ::open(QFile::encodeName(at("pipe")).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const std::pair<QString, const char *> cases[] = {
        {at("pipe"), "It is a pipe, not a file."},
        {at("socket"), "It is a socket, not a file."},
        {at("device"), "It is a device, not a file."},
        {dir, "It is a folder, not a file."},
    };
    for (const auto &[path, reason] : cases) {
        SCOPED_TRACE(path.toStdString());
        const auto error = savefile::WriteInPlace(path, 0, "z");
        ASSERT_TRUE(error);
        EXPECT_EQ(error->reason, QLatin1String(reason));
    }
    // A writer that came and went would leave the reader a hang-up.
    pollfd waiting{reader, POLLIN, 0};
    EXPECT_EQ(::poll(&waiting, 1, 0), 0);
    ::close(reader);
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

// The real thing: a save killed just before its copy replaces the file, in a
// program of its own. The copy's lock ended with that program, so the next
// save clears it.
TEST(SaveFile, ACopyOfASaveKilledBeforeTheReplacementGoesAtTheNextSave)
{
    const QString folder = testsupport::tempDir();
    const QString path = testsupport::writeFile(QStringLiteral("a.txt"), "old");
    QProcess killed;
    killed.start(QStringLiteral(ZANDREL_KILLED_SAVE), {path, QStringLiteral("killed")});
    ASSERT_TRUE(killed.waitForFinished());
    ASSERT_EQ(killed.exitStatus(), QProcess::CrashExit) << "exit code " << killed.exitCode();
    EXPECT_EQ(testsupport::readFile(path), QByteArray("old"));
    const QStringList left = FolderEntries(folder);
    ASSERT_EQ(left.size(), 2);
    EXPECT_EQ(testsupport::readFile(folder + QLatin1Char('/') + left.last()), QByteArray("killed"));

    ASSERT_FALSE(savefile::SaveWhole(path, "new"));
    EXPECT_EQ(FolderEntries(folder), QStringList{"a.txt"});
}
