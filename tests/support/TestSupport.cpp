#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>
#include <memory>

#include <cerrno>
#include <fcntl.h>
#include <ftw.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "GuardedFile.h"
#include "Paths.h"
#include "ProcessSupport.h"
#include "Registry.h"
#include "SaveFile.h"

namespace testsupport {
namespace {

// A folder of the system's temporary folder for one test, made and removed by
// its real bytes: a test puts names there that are not UTF-8, which Qt's
// QTemporaryDir can't remove.
class TestFolder {
public:
    explicit TestFolder(const QString &prefix)
        : m_path(paths::CreateTemporaryFolder(prefix))
    {
        if (m_path.isEmpty())
            ADD_FAILURE() << "cannot make a temporary folder in " << paths::TemporaryFolder().toStdString();
    }
    ~TestFolder()
    {
        if (!m_path.isEmpty() && !paths::RemoveFolderTree(m_path))
            ADD_FAILURE() << "cannot remove " << m_path.toStdString();
    }
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    QString path() const { return m_path; }

private:
    QString m_path;
};

std::unique_ptr<TestFolder> g_dir;

QString folderPrefix()
{
    return QCoreApplication::applicationName() + QLatin1Char('-');
}

} // namespace

MessageBoxes &messageBoxes()
{
    static MessageBoxes boxes;
    return boxes;
}

FileDialogs &fileDialogs()
{
    static FileDialogs dialogs;
    return dialogs;
}

ModalWindows &modalWindows()
{
    static ModalWindows windows;
    return windows;
}

void ModalWindows::dispatch(forms::Form &form)
{
    shown << QString::fromLatin1(form.metaObject()->className());
    for (auto &handler : m_handlers)
        if (handler(form))
            return;
}

QString tempDir()
{
    return g_dir ? g_dir->path() : QString();
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = paths::AppendFileToDir(tempDir(), name);
    paths::MakeFolders(paths::FolderOf(path));
    const int fd = ::open(paths::EncodeFileName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    if (fd >= 0)
        ::close(fd);
    if (!written)
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

QByteArray readFile(const QString &path)
{
    const auto read = guardedfile::ReadWhole(path, qint64(1) << 30, QString());
    const QByteArray *bytes = std::get_if<QByteArray>(&read);
    return bytes ? *bytes : QByteArray();
}

SmallFileSystem::SmallFileSystem(int pages, const QString &mountPoint)
    : m_path(mountPoint.isEmpty() ? paths::AppendFileToDir(tempDir(), QStringLiteral("small-fs")) : mountPoint)
{
    paths::MakeFolders(m_path);
    const QByteArray options = "size=" + QByteArray::number(qlonglong(pages) * sysconf(_SC_PAGESIZE));
    m_mounted = ::mount("tmpfs", paths::EncodeFileName(m_path).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallFileSystem::~SmallFileSystem()
{
    if (m_mounted)
        ::umount2(paths::EncodeFileName(m_path).constData(), MNT_DETACH);
}

void SmallFileSystem::leaveFree(int pages)
{
    const long page = sysconf(_SC_PAGESIZE);
    const QByteArray filler = paths::EncodeFileName(m_path + QStringLiteral("/.filler"));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    ASSERT_GE(fd, 0);
    const QByteArray block(int(page), 'f');
    off_t size = ::lseek(fd, 0, SEEK_END);
    ssize_t written;
    while ((written = ::write(fd, block.constData(), size_t(block.size()))) > 0)
        size += written;
    ASSERT_EQ(errno, ENOSPC);
    size -= size % page;
    ASSERT_GE(size, pages * page) << "the file system is too small for the test";
    ASSERT_EQ(::ftruncate(fd, size - pages * page), 0);
    ::close(fd);
}

namespace {
constexpr uid_t kNobody = 65534;

int giveToNobody(const char *path, const struct stat *, int, struct FTW *)
{
    return ::lchown(path, kNobody, kNobody);
}

void becomeNobody()
{
    ::setfsgid(kNobody);
    ::setfsuid(kNobody);
}

void becomeRoot()
{
    ::setfsuid(0);
    ::setfsgid(0);
}
} // namespace

OrdinaryUser::OrdinaryUser()
{
    if (::geteuid() != 0)
        return;
    if (const QString why = whyTheTestIsOutOfReach(); !why.isEmpty())
        ADD_FAILURE() << why.toStdString();
    ::nftw(QFile::encodeName(tempDir()).constData(), giveToNobody, 16, FTW_PHYS);
    becomeNobody();
    m_switched = true;
    // setfsuid answers the identity in force; -1 changes nothing.
    if (::setfsuid(uid_t(-1)) != int(kNobody))
        ADD_FAILURE() << "could not take an ordinary user's file identity (no CAP_SETUID?)";
}

OrdinaryUser::~OrdinaryUser()
{
    if (m_switched)
        becomeRoot();
}

QString OrdinaryUser::whyTheTestIsOutOfReach()
{
    // Without root the tests act as the user who made the folder.
    if (::geteuid() != 0)
        return QString();
    becomeNobody();
    struct stat info;
    // Looking at the folder needs the way to it open, and no more.
    const bool reached = ::stat(QFile::encodeName(tempDir()).constData(), &info) == 0;
    becomeRoot();
    if (reached)
        return QString();
    return QStringLiteral("an ordinary user can't reach the temporary folder %1 (it is closed to others), "
                          "so the test can't act as one")
        .arg(QDir::tempPath());
}

void pressKey(QWidget *widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

ModalWindowTimeout::ModalWindowTimeout(int ms)
{
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [] {
        while (QWidget *modal = QApplication::activeModalWidget())
            if (!modal->close())
                break;
    });
    m_timer.start(ms);
}

void saveScreenshot(QWidget &window, const QString &name)
{
    const QString dir = qEnvironmentVariable("ZANDREL_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    if (!window.isVisible())
        window.show();
    QCoreApplication::processEvents();
    window.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// Gives each test a clean world: its own settings store and temporary
// folder, and seams that answer without a person.
class FreshWorld : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override
    {
        g_dir = std::make_unique<TestFolder>(folderPrefix());
        qputenv("XDG_CONFIG_HOME", paths::EncodeFileName(paths::AppendFileToDir(g_dir->path(), QStringLiteral("config"))));
        registry::Reload();

        messageBoxes() = MessageBoxes{};
        msgbox::SetResponder([](const msgbox::Call &call) {
            auto &boxes = messageBoxes();
            boxes.calls << call;
            if (boxes.answers.empty())
                return msgbox::DefaultAnswer(call.style);
            const int answer = boxes.answers.front();
            boxes.answers.pop_front();
            return answer;
        });

        fileDialogs() = FileDialogs{};
        commondialog::SetResponder([](const commondialog::Request &request) -> std::optional<QString> {
            auto &dialogs = fileDialogs();
            dialogs.requests << request;
            if (dialogs.answers.empty())
                return std::nullopt;
            const bool cancelled = !dialogs.answers.front().has_value();
            const QString path = dialogs.answers.front().value_or(QString());
            dialogs.answers.pop_front();
            if (cancelled)
                return std::nullopt;
            return path;
        });

        savefile::SetFaultHook(nullptr);
        modalWindows().clear();
        forms::SetModalHandler([](forms::Form &form) { modalWindows().dispatch(form); });

        resetProcessStarts();
    }

    void OnTestEnd(const ::testing::TestInfo &) override
    {
        g_dir.reset();
        registry::Reload();
    }
};

} // namespace testsupport

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a runtime folder Qt makes one of its own in the temporary folder
    // and leaves it there: the tests' one goes with them.
    std::unique_ptr<testsupport::TestFolder> runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime = std::make_unique<testsupport::TestFolder>(QStringLiteral("zandrel-test-runtime-"));
        qputenv("XDG_RUNTIME_DIR", paths::EncodeFileName(runtime->path()));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new testsupport::FreshWorld);
    return RUN_ALL_TESTS();
}
