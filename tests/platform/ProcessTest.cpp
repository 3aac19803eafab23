#include <gtest/gtest.h>

#include <QDir>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ProcessSupport.h"
#include "Paths.h"
#include "Process.h"
#include "ProgressWindow.h"
#include "Registry.h"
#include "TestSupport.h"
#include "WindowSystem.h"

using process::Argument;
using process::StartRequest;
using testsupport::PathForTest;

namespace {

QString folderIn(const QString &name)
{
    const QString dir = QDir(testsupport::tempDir()).filePath(name);
    QDir().mkpath(dir);
    return dir;
}

StartRequest request(const QString &program, QList<Argument> arguments = {}, const QString &workingFolder = {})
{
    StartRequest r;
    r.program = program;
    r.arguments = std::move(arguments);
    r.workingFolder = workingFolder;
    return r;
}

// A Windows program "emu/EMU.EXE" that reads one value of our registry.
StartRequest windowsProgramWithSettings()
{
    const QString key = QStringLiteral("Software\\Emu");
    registry::CreateKey(registry::Hive::CurrentUser, key);
    registry::SetValue(registry::Hive::CurrentUser, key, QStringLiteral("FPS"), registry::Value::fromDword(33));
    StartRequest started = request(testsupport::writeWindowsProgram(folderIn(QStringLiteral("emu")) + QStringLiteral("/EMU.EXE")));
    started.wineRegistryKey = key;
    return started;
}

// The hand-over's progress window, while one shows.
forms::ProgressWindow *shownProgressWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *progress = qobject_cast<forms::ProgressWindow *>(window); progress && progress->isVisible())
            return progress;
    return nullptr;
}

// TMPDIR points at `folder` for the object's life.
class TemporaryFolderForTest {
public:
    explicit TemporaryFolderForTest(const QString &folder)
        : m_wasSet(qEnvironmentVariableIsSet("TMPDIR"))
        , m_old(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", paths::EncodeFileName(folder));
    }
    ~TemporaryFolderForTest()
    {
        if (m_wasSet)
            qputenv("TMPDIR", m_old);
        else
            qunsetenv("TMPDIR");
    }
    TemporaryFolderForTest(const TemporaryFolderForTest &) = delete;
    TemporaryFolderForTest &operator=(const TemporaryFolderForTest &) = delete;

private:
    bool m_wasSet;
    QByteArray m_old;
};

} // namespace

TEST(Process, CommandLineIsTheProgramAndEachArgumentOneBlankApart)
{
    EXPECT_EQ(process::CommandLine(request(QStringLiteral("/emu/RBOY"),
                                           {Argument::Path(QStringLiteral("/roms/a b.vb")), Argument::Word(QStringLiteral("-brite")),
                                            Argument::Word(QStringLiteral("64"))})),
              QStringLiteral("/emu/RBOY /roms/a b.vb -brite 64"));
    EXPECT_EQ(process::CommandLine(request(QStringLiteral("/emu/RDRAGON"))), QStringLiteral("/emu/RDRAGON"));
}

TEST(Process, FindsTheProgramWordIgnoringCaseWithOrWithoutExe)
{
    const QString dir = folderIn(QStringLiteral("emu"));
    for (const char *name : {"rboy.exe", "VB_98", "Tool.EXE", "both", "BOTH.exe"})
        testsupport::writeFile(QStringLiteral("emu/") + QLatin1String(name), "x");
    struct Case {
        const char *word;
        const char *found; // "" for none
    };
    const Case cases[] = {
        {"RBOY", "rboy.exe"}, {"RBOY.EXE", "rboy.exe"}, {"vb_98", "VB_98"}, {"TOOL", "Tool.EXE"},
        {"both", "both"},     {"VB", ""},               {"", ""},
        {"VB_98.EXE", "VB_98"}, {".exe", ""},
    };
    for (const Case &c : cases) {
        const QString expected = *c.found ? QDir(dir).filePath(QLatin1String(c.found)) : QString();
        EXPECT_EQ(process::FindProgram(dir, QLatin1String(c.word)), expected) << c.word;
    }
}

TEST(Process, TheFilesFirstBytesChooseHowItRuns)
{
    const QString dir = folderIn(QStringLiteral("emu"));
    testsupport::installStub(dir, QStringLiteral("native.exe"));
    testsupport::writeWindowsProgram(dir + QStringLiteral("/WINDOWS.EXE"));
    testsupport::writeDosProgram(dir + QStringLiteral("/DOS.EXE"));
    testsupport::writeFile(QStringLiteral("emu/notes.exe"), "just some text");
    testsupport::writeFile(QStringLiteral("emu/script"), "#!/bin/sh\n"); // no run bit
    PathForTest path(PathForTest::WithFakeWine);

    const QList<Argument> args{Argument::Path(dir + QStringLiteral("/my rom.vb")), Argument::Word(QStringLiteral("-debug"))};
    const process::Prepared native = process::Prepare(request(dir + QStringLiteral("/NATIVE"), args));
    ASSERT_TRUE(native.launch);
    EXPECT_EQ(native.launch->runner, process::Runner::Native);
    EXPECT_EQ(native.launch->program, dir + QStringLiteral("/native.exe"));
    EXPECT_EQ(native.launch->arguments, QStringList({dir + QStringLiteral("/my rom.vb"), QStringLiteral("-debug")}));

    // Under wine the program and every path argument are in wine's form; option words stay.
    const process::Prepared windows = process::Prepare(request(dir + QStringLiteral("/windows"), args));
    ASSERT_TRUE(windows.launch);
    EXPECT_EQ(windows.launch->runner, process::Runner::Wine);
    EXPECT_EQ(windows.launch->program, path.folder() + QStringLiteral("/wine"));
    const QString wineDir = QStringLiteral("Z:") + QString(dir).replace(QLatin1Char('/'), QLatin1Char('\\'));
    EXPECT_EQ(windows.launch->arguments,
              QStringList({wineDir + QStringLiteral("\\WINDOWS.EXE"), wineDir + QStringLiteral("\\my rom.vb"), QStringLiteral("-debug")}));

    struct Refusal {
        QString program;
        QString saying;
    };
    const Refusal refusals[] = {
        {dir + QStringLiteral("/DOS"), QStringLiteral("is a DOS program")},
        {dir + QStringLiteral("/notes"), QStringLiteral("is not a program that can be started")},
        {dir + QStringLiteral("/script"), QStringLiteral("not marked as runnable")},
        {dir + QStringLiteral("/RBOY"), QStringLiteral("Unable to find the program \"RBOY\" in the folder:\r") + dir},
        {QStringLiteral("/no/such/folder/RBOY"), QStringLiteral("in the folder:\r/no/such/folder")},
    };
    const process::Prepared homeless = process::Prepare(request(dir + QStringLiteral("/NATIVE"), {}, dir + QStringLiteral("/gone")));
    EXPECT_FALSE(homeless.launch);
    EXPECT_EQ(homeless.failure, QStringLiteral("Unable to start the program \"NATIVE\": its working folder does not exist:\r") + dir
                                    + QStringLiteral("/gone"));
    for (const Refusal &r : refusals) {
        const process::Prepared refused = process::Prepare(request(r.program));
        EXPECT_FALSE(refused.launch) << r.program.toStdString();
        EXPECT_TRUE(refused.failure.contains(r.saying)) << refused.failure.toStdString();
    }
}

TEST(Process, AWindowsProgramWithoutWineIsRefusedWithAMessageThatNamesWine)
{
    const QString dir = folderIn(QStringLiteral("emu"));
    testsupport::writeWindowsProgram(dir + QStringLiteral("/RBOY.EXE"));
    PathForTest path(PathForTest::WithoutWine);

    EXPECT_FALSE(process::Start(request(dir + QStringLiteral("/RBOY"))));
    EXPECT_TRUE(testsupport::processStarts().launches.isEmpty());
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.title, QStringLiteral("Unable to start program"));
    EXPECT_EQ(box.style, msgbox::vbExclamation);
    EXPECT_TRUE(box.prompt.startsWith(dir + QStringLiteral("/RBOY.EXE\ris a Windows program.")));
    EXPECT_TRUE(box.prompt.contains(QStringLiteral("Install wine")));
}

TEST(Process, AStartTheSystemRefusesIsReportedAndNotCountedAsStarted)
{
    const QString dir = folderIn(QStringLiteral("emu"));
    testsupport::installStub(dir, QStringLiteral("tool"));
    testsupport::processStarts().failNext(QStringLiteral("Resource temporarily unavailable"));

    StartRequest r = request(dir + QStringLiteral("/tool"));
    r.windowStyle = process::vbMinimizedFocus;
    EXPECT_FALSE(process::Start(r));
    ASSERT_EQ(testsupport::processStarts().launches.size(), 1);
    EXPECT_EQ(testsupport::processStarts().launches[0].request.windowStyle, process::vbMinimizedFocus);
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral("Unable to start the program:\r") + dir + QStringLiteral("/tool\rResource temporarily unavailable"));

    EXPECT_TRUE(process::Start(r));
    EXPECT_EQ(testsupport::messageBoxes().calls.size(), 1);
}

TEST(Process, RunsANativeProgramInItsWorkingFolderWithEachArgumentWhole)
{
    const QString emu = folderIn(QStringLiteral("emu"));
    const QString work = folderIn(QStringLiteral("work folder"));
    testsupport::installStub(emu, QStringLiteral("rboy.exe"));
    testsupport::allowRealStarts();
    const QString ourFolder = QDir::currentPath();

    ASSERT_TRUE(process::Start(request(emu + QStringLiteral("/RBOY"),
                                       {Argument::Path(QStringLiteral("/roms/my rom.vb")), Argument::Word(QStringLiteral("-frmskip")),
                                        Argument::Word(QStringLiteral("0"))},
                                       work)));
    const auto record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->program, QStringLiteral("rboy.exe"));
    EXPECT_EQ(record->cwd, work);
    EXPECT_EQ(record->arguments, QStringList({QStringLiteral("/roms/my rom.vb"), QStringLiteral("-frmskip"), QStringLiteral("0")}));
    EXPECT_EQ(QDir::currentPath(), ourFolder);
}

TEST(Process, RunsAWindowsProgramThroughWineWithPathsInWinesForm)
{
    const QString emu = folderIn(QStringLiteral("emu"));
    testsupport::writeWindowsProgram(emu + QStringLiteral("/RDragon.exe"));
    PathForTest path(PathForTest::WithFakeWine);
    testsupport::allowRealStarts();

    ASSERT_TRUE(process::Start(request(emu + QStringLiteral("/RDRAGON"), {Argument::Path(QStringLiteral("/roms/a.vb"))}, emu)));
    const auto record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    const QString wineEmu = QStringLiteral("Z:") + QString(emu).replace(QLatin1Char('/'), QLatin1Char('\\'));
    EXPECT_EQ(record->program, QStringLiteral("wine"));
    EXPECT_EQ(record->cwd, emu);
    EXPECT_EQ(record->arguments, QStringList({wineEmu + QStringLiteral("\\RDragon.exe"), QStringLiteral("Z:\\roms\\a.vb")}));
}

TEST(Process, ARealStartThatFailsIsReported)
{
    // Looks like a Linux program, but the system can't run it.
    const QString broken = testsupport::writeFile(QStringLiteral("emu/tool"), QByteArray("\x7F" "ELF", 4) + QByteArray(60, '\0'));
    QFile(broken).setPermissions(QFile::permissions(broken) | QFile::ExeOwner);
    testsupport::allowRealStarts();

    EXPECT_FALSE(process::Start(request(broken)));
    const QString prompt = testsupport::messageBoxes().last().prompt;
    EXPECT_TRUE(prompt.startsWith(QStringLiteral("Unable to start the program:\r") + broken + QLatin1Char('\r'))) << prompt.toStdString();
}

TEST(Process, WineAndShortPathForms)
{
    EXPECT_EQ(process::WinePath(QStringLiteral("/home/me/my roms/a.vb")), QStringLiteral("Z:\\home\\me\\my roms\\a.vb"));
    EXPECT_EQ(process::WinePath(QStringLiteral("/")), QStringLiteral("Z:\\"));
    EXPECT_EQ(process::WinePath(QString()), QString());

    const QString rom = testsupport::writeFile(QStringLiteral("a rom.vb"), "x");
    EXPECT_EQ(process::GetShortPath(rom), rom);
    EXPECT_EQ(process::GetShortPath(testsupport::tempDir()), testsupport::tempDir());
    EXPECT_EQ(process::GetShortPath(rom + QStringLiteral(".gone")), QString());
    EXPECT_EQ(process::GetShortPath(QString()), QString());
}

// The current folder, a ROM and a program folder named in Latin-1 are used
// by their bytes: the current folder the picker made current stands in wine's
// form of a relative path and in the message for a program not found there,
// a ROM that is there has its short form, and a program there runs.
TEST(Process, NamesThatAreNotUtf8AreTakenByTheirBytes)
{
    const QByteArray top = paths::EncodeFileName(testsupport::tempDir());
    const QString current = paths::DecodeFileName(top + "/\xE9mu");
    testsupport::installStub(current, QStringLiteral("rboy"));
    const QString rom = testsupport::writeFile(paths::DecodeFileName("caf\xE9.vb"), "x");
    const QString ourFolder = paths::CurrentFolder();
    ASSERT_TRUE(paths::MakeCurrentFolder(current));

    EXPECT_EQ(paths::EncodeFileName(process::WinePath(QStringLiteral("a.vb"))),
              "Z:" + QByteArray(top).replace('/', '\\') + "\\\xE9mu\\a.vb");
    const process::Prepared missing = process::Prepare(request(QStringLiteral("VB_98")));
    EXPECT_EQ(paths::EncodeFileName(missing.failure),
              "Unable to find the program \"VB_98\" in the folder:\r" + top + "/\xE9mu");
    EXPECT_EQ(paths::EncodeFileName(process::GetShortPath(rom)), top + "/caf\xE9.vb");

    const process::Prepared native = process::Prepare(request(current + QStringLiteral("/RBOY"), {}, current));
    EXPECT_TRUE(native.launch) << native.failure.toStdString();
    paths::MakeCurrentFolder(ourFolder);
}

// A handed-on folder is the working folder of requests that name none, for
// as long as it is handed on; a request's own folder wins.
TEST(Process, AHandedOnFolderIsTheWorkingFolderOfRequestsWithoutOne)
{
    const QString dir = folderIn(QStringLiteral("emu"));
    testsupport::installStub(dir, QStringLiteral("tool"));
    const QString own = folderIn(QStringLiteral("own"));
    const QString outer = folderIn(QStringLiteral("outer"));
    const QString inner = folderIn(QStringLiteral("inner"));
    const auto workingFolder = [&](const QString &requested) {
        const process::Prepared prepared = process::Prepare(request(dir + QStringLiteral("/tool"), {}, requested));
        return prepared.launch ? prepared.launch->request.workingFolder : QStringLiteral("<failed>");
    };
    {
        process::HandOnWorkingFolder handOn(outer);
        {
            process::HandOnWorkingFolder nested(inner);
            EXPECT_EQ(workingFolder(QString()), inner);
            EXPECT_EQ(workingFolder(own), own);
        }
        EXPECT_EQ(workingFolder(QString()), outer);
    }
    EXPECT_EQ(workingFolder(QString()), QString());

    process::HandOnWorkingFolder gone(dir + QStringLiteral("/no such folder"));
    EXPECT_EQ(workingFolder(QString()), QStringLiteral("<failed>"));
}

TEST(Process, WorkBeforeTheStartRunsOnlyForAStartableProgramAndCanStopIt)
{
    const QString dir = folderIn(QStringLiteral("emu"));
    int ran = 0;
    EXPECT_FALSE(process::Start(request(dir + QStringLiteral("/tool")), [&] { return ++ran > 0; }));
    EXPECT_EQ(ran, 0); // the program is missing: nothing to prepare for

    testsupport::installStub(dir, QStringLiteral("tool"));
    EXPECT_FALSE(process::Start(request(dir + QStringLiteral("/tool")), [&] { return ++ran > 1; }));
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(testsupport::processStarts().launches.isEmpty());
    EXPECT_TRUE(process::Start(request(dir + QStringLiteral("/tool")), [&] { return ++ran > 1; }));
    EXPECT_EQ(testsupport::processStarts().launches.size(), 1);
}

// A program that reads the registry sees wine's, so before a start through
// wine its key goes there: imported from a REGEDIT4 file, waited for.
TEST(Process, AProgramStartedThroughWineGetsItsRegistryKeyHandedOverFirst)
{
    const QString key = QStringLiteral("Software\\Emu");
    registry::CreateKey(registry::Hive::CurrentUser, key + QStringLiteral("\\Options"));
    registry::SetValue(registry::Hive::CurrentUser, key + QStringLiteral("\\Options"), QStringLiteral("FPS"),
                       registry::Value::fromDword(60));
    registry::SetValue(registry::Hive::CurrentUser, key + QStringLiteral("\\Options"), QStringLiteral("Name"),
                       registry::Value::fromString(QStringLiteral("umlaut \u00FC")));
    const QString emu = folderIn(QStringLiteral("emu"));
    testsupport::writeWindowsProgram(emu + QStringLiteral("/EMU.EXE"));
    PathForTest path(PathForTest::WithFakeWine);
    testsupport::allowRealStarts();

    StartRequest started = request(emu + QStringLiteral("/EMU.EXE"));
    started.wineRegistryKey = key;
    ASSERT_TRUE(process::Start(started));
    EXPECT_EQ(testsupport::importedRegistryFile(), registry::ExportKey(registry::Hive::CurrentUser, key));
    const auto record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->arguments, QStringList(process::WinePath(emu + QStringLiteral("/EMU.EXE"))));
}

TEST(Process, AFailedHandOverToWineIsReportedAndNothingStarts)
{
    const QString key = QStringLiteral("Software\\Emu");
    registry::CreateKey(registry::Hive::CurrentUser, key);
    registry::SetValue(registry::Hive::CurrentUser, key, QStringLiteral("x"), registry::Value::fromDword(1));
    const QString emu = folderIn(QStringLiteral("emu"));
    testsupport::writeWindowsProgram(emu + QStringLiteral("/EMU.EXE"));
    PathForTest path(PathForTest::WithFakeWine);
    StartRequest started = request(emu + QStringLiteral("/EMU.EXE"));
    started.wineRegistryKey = key;

    // The message ends with wine's own last few lines, its "fixme" notes left out.
    QByteArray errorOutput;
    for (int i = 0; i < 300; ++i)
        errorOutput += "0024:fixme:ntdll:NtQuerySystemInformation info_class SYSTEM_PERFORMANCE_INFORMATION\n";
    errorOutput += "too early to show\nwine: starting\n0024:err:environ:init_peb starting L\"regedit\" in experimental wow64 mode\n\n"
                   "0024:err:module:import_dll Library kernel32.dll not found\n  0024:fixme:heap:f\n"
                   "wine: could not load kernel32.dll, status c0000135\n";
    const struct {
        QByteArray errorOutput;
        QString failure;
    } cases[] = {
        {"", QStringLiteral("wine ended with code 1.")},
        {"wine: '/root/.wine' is not owned by you", QStringLiteral("wine ended with code 1:\rwine: '/root/.wine' is not owned by you")},
        {errorOutput, QStringLiteral("wine ended with code 1:\rwine: starting\r0024:err:environ:init_peb starting L\"regedit\" in experimental "
                                     "wow64 mode\r0024:err:module:import_dll Library kernel32.dll not found\rwine: could not "
                                     "load kernel32.dll, status c0000135")},
    };
    for (const auto &c : cases) {
        qputenv("ZANDREL_STUB_REGEDIT_FAILS", c.errorOutput);
        EXPECT_FALSE(process::Start(started));
        qunsetenv("ZANDREL_STUB_REGEDIT_FAILS");
        EXPECT_TRUE(testsupport::processStarts().launches.isEmpty());
        EXPECT_EQ(testsupport::messageBoxes().last().prompt.toStdString(),
                  (QStringLiteral("Unable to hand the settings of the program to wine:\r") + emu + QStringLiteral("/EMU.EXE\r")
                   + c.failure + QStringLiteral("\rThe program was not started."))
                      .toStdString());
    }

    // Without the key in our registry there is nothing to hand over.
    started.wineRegistryKey = QStringLiteral("Software\\Nothing");
    qputenv("ZANDREL_STUB_REGEDIT_FAILS", "1");
    EXPECT_TRUE(process::Start(started));
    qunsetenv("ZANDREL_STUB_REGEDIT_FAILS");
}

// regedit ends with 0 even when it imported nothing, so what arrived is read
// back; settings that did not arrive stop the start with a message.
TEST(Process, AHandOverThatLeftWinesRegistryUnchangedIsReportedAndNothingStarts)
{
    const StartRequest started = windowsProgramWithSettings();
    const QString emu = folderIn(QStringLiteral("emu"));
    PathForTest path(PathForTest::WithFakeWine);
    const QString notStarted = QStringLiteral("Unable to hand the settings of the program to wine:\r") + emu
        + QStringLiteral("/EMU.EXE\r");

    qputenv("ZANDREL_STUB_REGEDIT_IGNORES", "1");
    EXPECT_FALSE(process::Start(started));
    qunsetenv("ZANDREL_STUB_REGEDIT_IGNORES");
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              notStarted + QStringLiteral("wine's registry does not hold the settings after the import.\r"
                                          "The program was not started."));

    // A temporary folder that wine can't reach by its name: the user's remedy is another TMPDIR.
    const QString unreachable = folderIn(QStringLiteral("back\\slash"));
    {
        const TemporaryFolderForTest tmpdir(unreachable);
        EXPECT_FALSE(process::Start(started));
    }
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              notStarted + QStringLiteral("The temporary folder (TMPDIR) is ") + unreachable
                  + QStringLiteral("\rThe name \"back\\slash\" holds the character \\, which a Windows program under "
                                   "wine cannot open.\rSet TMPDIR to another folder.\rThe program was not started."));
    EXPECT_TRUE(testsupport::processStarts().launches.isEmpty());

    EXPECT_TRUE(process::Start(started)) << testsupport::messageBoxes().last().prompt.toStdString();
    EXPECT_EQ(testsupport::processStarts().launches.size(), 1);
}

// Wine keeps a text value with a terminator added where it lacks one, and
// exports it cut at its first NUL with its line breaks, "\\" and "\"" escaped:
// such values arrived, and the program starts.
TEST(Process, TextValuesThatWineExportsInItsOwnFormArrive)
{
    const QString key = QStringLiteral("Software\\Emu");
    registry::CreateKey(registry::Hive::CurrentUser, key);
    const std::pair<const char *, registry::Value> values[] = {
        {"Nl", registry::Value::fromString(QStringLiteral("a\nb"))},
        {"Escapes", registry::Value::fromString(QStringLiteral("C:\\\"x\"\r\n"))},
        {"Nul", registry::Value{registry::REG_SZ, QByteArray("a\0b\0", 4)}},
        {"Unended", registry::Value{registry::REG_SZ, QByteArray("ab")}},
        {"Empty", registry::Value{registry::REG_SZ, QByteArray()}},
        {"Path", registry::Value::fromString(QStringLiteral("%HOME%"), registry::REG_EXPAND_SZ)},
    };
    for (const auto &[name, value] : values)
        ASSERT_TRUE(registry::SetValue(registry::Hive::CurrentUser, key, QLatin1String(name), value));
    StartRequest started = request(testsupport::writeWindowsProgram(folderIn(QStringLiteral("emu")) + QStringLiteral("/EMU.EXE")));
    started.wineRegistryKey = key;
    PathForTest path(PathForTest::WithFakeWine);

    EXPECT_TRUE(process::Start(started)) << testsupport::messageBoxes().last().prompt.toStdString();
    EXPECT_EQ(testsupport::processStarts().launches.size(), 1);
}

// While wine takes the settings a modal progress window shows. Its Cancel,
// Escape or its close button, as the user works them, stop wine and the
// start, without a message; the window manager's request to close another
// window meanwhile is refused, and not made once the wait is over.
TEST(Process, TheHandOversProgressWindowCancelsTheStart)
{
    const StartRequest started = windowsProgramWithSettings();
    PathForTest path(PathForTest::WithFakeWine);
    QWidget window;
    window.show();
    struct Way {
        const char *name;
        std::function<void(QWidget &progress)> cancel;
    };
    const Way ways[] = {
        {"its close button", [](QWidget &progress) { testsupport::requestClose(progress); }},
        {"Escape", [](QWidget &progress) { testsupport::typeKey(progress, Qt::Key_Escape); }},
        {"Cancel", [](QWidget &progress) { testsupport::clickWithMouse(*progress.findChild<QPushButton *>()); }},
        {"Tab to Cancel, then Space",
         [](QWidget &progress) {
             testsupport::typeKey(progress, Qt::Key_Tab);
             testsupport::typeKey(progress, Qt::Key_Space);
         }},
    };
    qputenv("ZANDREL_STUB_REGEDIT_WAIT_MS", "30000");
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        QString shown;
        QTimer::singleShot(0, [&] {
            forms::ProgressWindow *progress = shownProgressWindow();
            if (!progress)
                return;
            shown = progress->windowTitle() + QLatin1Char('|') + progress->findChild<QLabel *>()->text();
            EXPECT_EQ(progress->windowModality(), Qt::ApplicationModal);
            testsupport::requestClose(window);
            way.cancel(*progress);
        });
        EXPECT_FALSE(process::Start(started));
        QCoreApplication::processEvents();
        EXPECT_EQ(shown, QStringLiteral("Starting the program|Handing the settings to wine\u2026"));
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(shownProgressWindow());
    }
    qunsetenv("ZANDREL_STUB_REGEDIT_WAIT_MS");
    EXPECT_TRUE(testsupport::processStarts().launches.isEmpty());
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

// A killed hand-over leaves its folder, with the user's settings, in the
// temporary folder; the next hand-over removes it, and its own when it ends.
// Only folders of our name go, and never one that a live hand-over holds.
TEST(Process, TheNextHandOverClearsWhatAKilledOneLeftInTheTemporaryFolder)
{
    const StartRequest started = windowsProgramWithSettings();
    PathForTest path(PathForTest::WithFakeWine);
    const QString tmp = folderIn(QStringLiteral("tmp"));
    const QStringList kept = {QStringLiteral("zandrel-wine-Live42"), QStringLiteral("zandrel-wine-notes!"),
                              QStringLiteral("zandrel-wine-Ab3xY"),  QStringLiteral("zandrel-wine-Ab3xY9z"),
                              QStringLiteral("other-Ab3xY9"),        QStringLiteral("zandrel-wine-File12"),
                              QStringLiteral("zandrel-wine-Link12")};
    for (const QString &name : {QStringLiteral("zandrel-wine-Ab3xY9"), kept[0], kept[1], kept[2], kept[3], kept[4]})
        testsupport::writeFile(QStringLiteral("tmp/") + name + QStringLiteral("/settings.reg"), "the user's settings");
    testsupport::writeFile(QStringLiteral("tmp/") + kept[5], "a file");
    const QString linked = testsupport::writeFile(QStringLiteral("elsewhere/settings.reg"), "not ours");
    ASSERT_EQ(::symlink(QFile::encodeName(paths::FolderOf(linked)).constData(),
                        QFile::encodeName(tmp + QLatin1Char('/') + kept[6]).constData()),
              0);
    // A live hand-over holds its folder.
    const int live = ::open(QFile::encodeName(tmp + QLatin1Char('/') + kept[0]).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    {
        const TemporaryFolderForTest tmpdir(tmp);
        EXPECT_TRUE(process::Start(started)) << testsupport::messageBoxes().last().prompt.toStdString();
    }
    ::close(live);
    QStringList left;
    for (const paths::FolderEntry &entry : paths::ListFolder(tmp))
        left << entry.name;
    left.sort();
    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(left, expected);
    EXPECT_TRUE(paths::IsFile(linked));
}

// Wine reaches a name holding \ " ? * < > | only by a DOS name it makes up,
// refuses one holding a control character, a Windows name loses a last dot
// or blank, and a device name ("nul.vb") opens the device: such a path is
// never handed to a Windows program.
TEST(Process, APathThatWineCannotOpenIsNotHandedToAWindowsProgram)
{
    const QString emu = folderIn(QStringLiteral("emu"));
    testsupport::writeWindowsProgram(emu + QStringLiteral("/EMU.EXE"));
    testsupport::installStub(emu, QStringLiteral("native"));
    PathForTest path(PathForTest::WithFakeWine);
    struct Case {
        const char *rom;
        const char *fault; // "" for a path wine opens
    };
    const Case cases[] = {
        {"/roms/back\\slash.vb", "\"back\\slash.vb\" holds the character \\"},
        {"/roms/quo\"te.vb", "\"quo\"te.vb\" holds the character \""},
        {"/roms/What?.vb", "\"What?.vb\" holds the character ?"},
        {"/roms/a*.vb", "\"a*.vb\" holds the character *"},
        {"/roms/<a>.vb", "\"<a>.vb\" holds the character <"},
        {"/roms/a>.vb", "\"a>.vb\" holds the character >"},
        {"/roms/a|b.vb", "\"a|b.vb\" holds the character |"},
        {"/roms/caf\xE9.vb", "\"caf\xE9.vb\" is not UTF-8 text"},
        {"/roms/game.", "\"game.\" ends in a dot"},
        {"/roms/game.vb ", "\"game.vb \" ends in a blank"},
        {"/roms./game.vb", "\"roms.\" ends in a dot"},
        {"/my roms /game.vb", "\"my roms \" ends in a blank"},
        {"/roms/tab\there.vb", "\"tab\there.vb\" holds the control character U+0009"},
        {"/roms/\x1F.vb", "\"\x1F.vb\" holds the control character U+001F"},
        {"/roms/nul.vb", "\"nul.vb\" is taken by Windows for its device NUL"},
        {"/roms/Com1.vb", "\"Com1.vb\" is taken by Windows for its device COM1"},
        {"/roms/aux.vb", "\"aux.vb\" is taken by Windows for its device AUX"},
        {"/roms/CON", "\"CON\" is taken by Windows for its device CON"},
        {"/roms/prn .tar.vb", "\"prn .tar.vb\" is taken by Windows for its device PRN"},
        {"/LPT9/game.vb", "\"LPT9\" is taken by Windows for its device LPT9"},
        {"/roms/nul/game.vb", "\"nul\" is taken by Windows for its device NUL"},
        {"/roms/null.vb", ""},
        {"/roms/com10.vb", ""},
        {"/roms/lpt0.vb", ""},
        {"/roms/console.vb", ""},
        {"/roms/my.nul.vb", ""},
        {"/roms/../my roms/./.game.vb", ""},
        {"/roms/a.b c.vb", ""},
        {"/roms/caf\xC3\xA9 \xF0\x9F\x8E\xAE.vb", ""},
    };
    for (const Case &c : cases) {
        const QString rom = paths::DecodeFileName(c.rom);
        const process::Prepared underWine = process::Prepare(request(emu + QStringLiteral("/EMU"), {Argument::Path(rom)}));
        if (!*c.fault) {
            EXPECT_TRUE(underWine.launch) << c.rom << underWine.failure.toStdString();
            continue;
        }
        EXPECT_FALSE(underWine.launch) << c.rom;
        EXPECT_TRUE(underWine.failure.startsWith(QStringLiteral("Unable to start the program \"EMU\" through wine:\r") + rom
                                                 + QStringLiteral("\rThe name ") + paths::DecodeFileName(c.fault)))
            << underWine.failure.toStdString();
        EXPECT_TRUE(underWine.failure.endsWith(
            QStringLiteral(", which a Windows program under wine cannot open.\rRename it (or its folder) to use it.")))
            << underWine.failure.toStdString();
        EXPECT_TRUE(process::Prepare(request(emu + QStringLiteral("/native"), {Argument::Path(rom)})).launch)
            << "a native program opens any name";
        EXPECT_TRUE(process::Prepare(request(emu + QStringLiteral("/EMU"), {Argument::Word(rom)})).launch)
            << "a word that is no path goes as it is";
    }
    const QString oddFolder = folderIn(QStringLiteral("odd\"emu"));
    testsupport::writeWindowsProgram(oddFolder + QStringLiteral("/EMU.EXE"));
    EXPECT_FALSE(process::Prepare(request(oddFolder + QStringLiteral("/EMU"))).launch);
}

// Wine runs a program whose working folder it can't open in a folder of its
// own, silently: the folder the program would get is refused like a path,
// whether the request names it, it is handed on, or it is our current folder.
TEST(Process, AWorkingFolderThatWineCannotOpenIsRefused)
{
    const QString emu = folderIn(QStringLiteral("emu"));
    testsupport::writeWindowsProgram(emu + QStringLiteral("/EMU.EXE"));
    testsupport::installStub(emu, QStringLiteral("native"));
    const QString plain = folderIn(QStringLiteral("plain"));
    const QString backslash = folderIn(QStringLiteral("a\\b"));
    const QString dotted = folderIn(QStringLiteral("work."));
    const QString device = folderIn(QStringLiteral("aux"));
    PathForTest path(PathForTest::WithFakeWine);
    const QString ourFolder = paths::CurrentFolder();
    struct Case {
        QString current;
        QString handedOn;
        QString requested;
        QString refused; // the folder named in the refusal; "" for a start
    };
    const Case cases[] = {
        {backslash, {}, {}, backslash},  {backslash, plain, {}, {}},   {backslash, {}, plain, {}},
        {plain, dotted, {}, dotted},     {plain, {}, dotted, dotted},  {plain, backslash, plain, {}},
        {device, {}, {}, device},        {plain, {}, device, device},  {plain, device, {}, device},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(paths::MakeCurrentFolder(c.current));
        std::optional<process::HandOnWorkingFolder> handOn;
        if (!c.handedOn.isEmpty())
            handOn.emplace(c.handedOn);
        const process::Prepared underWine = process::Prepare(request(emu + QStringLiteral("/EMU"), {}, c.requested));
        const process::Prepared native = process::Prepare(request(emu + QStringLiteral("/native"), {}, c.requested));
        handOn.reset();
        ASSERT_TRUE(paths::MakeCurrentFolder(ourFolder));
        const std::string what = (c.current + QLatin1Char('|') + c.handedOn + QLatin1Char('|') + c.requested).toStdString();
        EXPECT_TRUE(native.launch) << what << ": a native program runs in any folder";
        if (c.refused.isEmpty()) {
            EXPECT_TRUE(underWine.launch) << what << underWine.failure.toStdString();
            continue;
        }
        EXPECT_FALSE(underWine.launch) << what;
        EXPECT_TRUE(underWine.failure.startsWith(QStringLiteral("Unable to start the program \"EMU\" through wine in its "
                                                                "working folder:\r")
                                                 + c.refused + QStringLiteral("\rThe name \"")))
            << underWine.failure.toStdString();
        EXPECT_TRUE(underWine.failure.endsWith(QStringLiteral("\rRename it (or its folder) to use it.")));
    }
}

// A pipe of the program's name is refused at once, not opened and waited on
// for a writer that never comes.
TEST(Process, APipeNamedLikeTheProgramIsRefusedWithoutWaiting)
{
    const QString dir = folderIn(QStringLiteral("emu"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + QStringLiteral("/rboy")).constData(), 0700), 0);
    const process::Prepared refused = process::Prepare(request(dir + QStringLiteral("/RBOY")));
    EXPECT_FALSE(refused.launch);
    // Only a regular file can be the program: the pipe is not taken for it.
    EXPECT_EQ(refused.failure, QStringLiteral("Unable to find the program \"RBOY\" in the folder:\r") + dir);
}
