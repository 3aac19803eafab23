#pragma once
// Process starts in tests. Every test begins with starts recorded, not
// made: the process layer prepares each launch as usual (look-up, runner,
// wine's path form) and hands it here. A test that wants a real start lets
// it through and reads what the stub program recorded.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

#include "Process.h"

namespace testsupport {

// The launches prepared since the test began; each is answered from the
// queue (a failure reason, or nullopt for a start; an empty queue starts).
struct ProcessStarts {
    QList<process::Launch> launches;
    std::deque<std::optional<QString>> answers;
    // Runs at each recorded start, to look at the world as the program would.
    std::function<void(const process::Launch &)> onLaunch;

    void failNext(const QString &reason) { answers.push_back(reason); }
};
ProcessStarts &processStarts();

// From here on the test's starts are real. The stub program records into
// the test's folder.
void allowRealStarts();

// The stub program built with the tests.
QString stubProgram();
// Copies the stub into `folder` as `name` and returns the copy's path.
QString installStub(const QString &folder, const QString &name);
// Writes the smallest file that reads as a Windows program (a DOS header
// pointing at a "PE" header), or as a DOS program (no "PE" header).
QString writeWindowsProgram(const QString &path);
QString writeDosProgram(const QString &path);

// What a started stub recorded: the name it ran under, its working folder
// and its arguments.
struct StubRecord {
    QString program;
    QString cwd;
    QStringList arguments;
};
// Waits for the started stub's record (a generous deadline for a busy
// machine); nullopt when none came.
std::optional<StubRecord> waitForStubRecord();

// The text of the registry file that the fake wine was last asked to
// import; nullopt when it was asked none. The file must be UTF-16LE with a
// byte order mark, which regedit reads as Unicode. Real starts only.
std::optional<QString> importedRegistryFile();

// Puts a folder first on the PATH for the object's life: with a fake wine
// (the stub under the name "wine", which also takes "regedit /S <file>"),
// or with nothing (PATH is that folder alone, so wine is not found).
class PathForTest {
public:
    enum Wine { WithFakeWine, WithoutWine };
    explicit PathForTest(Wine wine);
    ~PathForTest();
    PathForTest(const PathForTest &) = delete;
    PathForTest &operator=(const PathForTest &) = delete;

    QString folder() const { return m_folder; }

private:
    QByteArray m_oldPath;
    QString m_folder;
};

// Called by the test main before each test.
void resetProcessStarts();

} // namespace testsupport
