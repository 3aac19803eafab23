#include "ProcessSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "Paths.h"
#include "TestSupport.h"

namespace testsupport {
namespace {

QString recordPath()
{
    return QDir(tempDir()).filePath(QStringLiteral("stub-record.txt"));
}

// A DOS header ("MZ") whose pointer at 0x3C leads to 0x40, where a Windows
// program has its "PE" header.
QString writeProgramImage(const QString &path, bool windows)
{
    QByteArray image(128, '\x90');
    image.replace(0, 2, "MZ");
    image.replace(0x3C, 4, QByteArray("\x40\0\0\0", 4));
    if (windows)
        image.replace(0x40, 4, QByteArray("PE\0\0", 4));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(image) != image.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

} // namespace

ProcessStarts &processStarts()
{
    static ProcessStarts starts;
    return starts;
}

void resetProcessStarts()
{
    processStarts() = ProcessStarts{};
    qunsetenv("ZANDREL_STUB_RECORD"); // an earlier test's record folder is gone
    process::SetLauncher([](const process::Launch &launch) -> std::optional<QString> {
        auto &starts = processStarts();
        starts.launches << launch;
        if (starts.onLaunch)
            starts.onLaunch(launch);
        if (starts.answers.empty())
            return std::nullopt;
        const std::optional<QString> answer = starts.answers.front();
        starts.answers.pop_front();
        return answer;
    });
}

void allowRealStarts()
{
    process::SetLauncher({});
    qputenv("ZANDREL_STUB_RECORD", paths::EncodeFileName(recordPath()));
}

QString stubProgram()
{
    return QStringLiteral(ZANDREL_STUB_PROGRAM);
}

QString installStub(const QString &folder, const QString &name)
{
    paths::MakeFolders(folder);
    const QString path = paths::AppendFileToDir(folder, name);
    paths::RemoveFile(path);
    const QByteArray program = readFile(stubProgram());
    const int fd = ::open(paths::EncodeFileName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
    const bool copied = fd >= 0 && !program.isEmpty() && ::write(fd, program.constData(), size_t(program.size())) == program.size();
    if (fd >= 0)
        ::close(fd);
    if (!copied)
        ADD_FAILURE() << "cannot copy the stub to " << path.toStdString();
    return path;
}

QString writeWindowsProgram(const QString &path)
{
    return writeProgramImage(path, true);
}

QString writeDosProgram(const QString &path)
{
    return writeProgramImage(path, false);
}

std::optional<StubRecord> waitForStubRecord()
{
    QElapsedTimer waited;
    waited.start();
    while (!paths::Exists(recordPath())) {
        if (waited.elapsed() > 30000)
            return std::nullopt;
        QThread::msleep(10);
    }
    StubRecord record;
    // The stub writes names as the system gave them: bytes, UTF-8 or not.
    for (const QByteArray &bytes : readFile(recordPath()).split('\n')) {
        const QString line = paths::DecodeFileName(bytes);
        if (line.startsWith(QLatin1String("program=")))
            record.program = line.mid(8);
        else if (line.startsWith(QLatin1String("cwd=")))
            record.cwd = line.mid(4);
        else if (line.startsWith(QLatin1String("arg=")))
            record.arguments << line.mid(4);
    }
    paths::RemoveFile(recordPath());
    return record;
}

std::optional<QString> importedRegistryFile()
{
    QFile copy(recordPath() + QStringLiteral(".reg"));
    if (!copy.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = copy.readAll();
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE") && bytes.size() % 2 == 0) << "not UTF-16LE with a byte order mark";
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()) + 1, bytes.size() / 2 - 1);
}

PathForTest::PathForTest(Wine wine)
    : m_oldPath(qgetenv("PATH"))
    , m_folder(QDir(tempDir()).filePath(QStringLiteral("bin-for-test")))
{
    QDir().mkpath(m_folder);
    if (wine == WithFakeWine) {
        installStub(m_folder, QStringLiteral("wine"));
        qputenv("PATH", m_folder.toLocal8Bit() + ':' + m_oldPath);
    } else {
        qputenv("PATH", m_folder.toLocal8Bit());
    }
}

PathForTest::~PathForTest()
{
    qputenv("PATH", m_oldPath);
}

} // namespace testsupport
