#include <gtest/gtest.h>

#include <QDir>

#include "Process.h"
#include "RealityBoyCommand.h"
#include "TestSupport.h"

namespace {

QString emulatorFolder(const char *programFile)
{
    const QString dir = QDir(testsupport::tempDir()).filePath(QStringLiteral("reality boy"));
    QDir().mkpath(dir);
    if (*programFile)
        testsupport::writeFile(QStringLiteral("reality boy/") + QLatin1String(programFile), "MZ");
    return dir;
}

QString commandLine(const QString &folder, const RealityBoyOptions &options, bool debug = false)
{
    return process::CommandLine(RealityBoyCommand(folder, QStringLiteral("/roms/wario.vb"), options, debug));
}

} // namespace

TEST(RealityBoyCommand, DefaultOptionsGiveTheEmulatorItsFullCommandLine)
{
    const QString folder = emulatorFolder("RBOY.EXE");
    const process::StartRequest request = RealityBoyCommand(folder, QStringLiteral("/roms/wario.vb"), {}, false);
    EXPECT_EQ(process::CommandLine(request),
              folder + QStringLiteral("/RBOY /roms/wario.vb -display 640 -dspmode normal -frmskip 0 -pallet normal -brite 64"));
    EXPECT_EQ(request.windowStyle, process::vbNormalFocus);
    EXPECT_TRUE(request.workingFolder.isEmpty()); // it inherits ours
    ASSERT_FALSE(request.arguments.isEmpty());
    EXPECT_TRUE(request.arguments[0].isPath);
    EXPECT_FALSE(request.arguments[1].isPath);
}

TEST(RealityBoyCommand, ProgramWordIsRboyWhereTheFolderHoldsItInAnyCaseElseVb98)
{
    struct Case {
        const char *file; // "" for an empty folder
        const char *word;
    };
    const Case cases[] = {{"RBOY.EXE", "RBOY"}, {"rboy.exe", "RBOY"}, {"Rboy.Exe", "RBOY"},
                          {"rboy", "RBOY"},     {"VB_98.exe", "VB_98"}, {"", "VB_98"}};
    for (const Case &c : cases) {
        QDir(testsupport::tempDir()).removeRecursively();
        const QString folder = emulatorFolder(c.file);
        EXPECT_EQ(RealityBoyProgramWord(folder), QLatin1String(c.word)) << c.file;
        EXPECT_TRUE(commandLine(folder, {}).startsWith(folder + QLatin1Char('/') + QLatin1String(c.word) + QLatin1Char(' ')))
            << c.file;
    }
    // The root folder is followed directly by the word.
    EXPECT_TRUE(commandLine(QStringLiteral("/"), {}).startsWith(QStringLiteral("/VB_98 /roms/wario.vb ")));
}

TEST(RealityBoyCommand, EveryChoiceHasItsWordInItsPlace)
{
    const QString folder = emulatorFolder("RBOY.EXE");
    const QString head = folder + QStringLiteral("/RBOY /roms/wario.vb");
    struct Case {
        RealityBoyOptions options;
        const char *tail;
    };
    auto with = [](auto change) {
        RealityBoyOptions o;
        change(o);
        return o;
    };
    const QList<Case> cases = {
        {with([](auto &o) { o.resolution = 0; }), " -display 320 -dspmode normal -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.resolution = 2; }), " -display 640v2 -dspmode normal -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.resolution = 3; }), " -display 800 -dspmode normal -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.resolution = 4; }), " -display 800v2 -dspmode normal -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.resolution = 5; }), " -display 1024 -dspmode normal -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.resolution = 6; }), " -display 1024v2 -dspmode normal -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.displayMode = 1; o.palette = 2; }), " -display 640 -dspmode red_blue -frmskip 0 -pallet rb -brite 64"},
        {with([](auto &o) { o.displayMode = 2; o.palette = 3; }), " -display 640 -dspmode red_blue -frmskip 0 -pallet rg -brite 64"},
        {with([](auto &o) { o.displayMode = 3; }), " -display 640 -dspmode interlace -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.displayMode = 4; }), " -display 640 -dspmode over_under -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.displayMode = 5; }), " -display 640 -dspmode side -frmskip 0 -pallet normal -brite 64"},
        {with([](auto &o) { o.displayMode = 6; o.palette = 1; }), " -display 640 -dspmode cscope -frmskip 0 -pallet red -brite 64"},
        {with([](auto &o) { o.displayMode = 1; o.palette = 4; }), " -display 640 -dspmode red_blue -frmskip 0 -pallet rbg -brite 64"},
        {with([](auto &o) { o.frameSkip = 9; o.brightness = 127; }), " -display 640 -dspmode normal -frmskip 9 -pallet normal -brite 127"},
        {with([](auto &o) { o.flip = true; o.fixPalette = true; }),
         " -display 640 -dspmode normal -frmskip 0 -pallet normal -brite 64 -flip -fixpal"},
        // A group with no chosen button adds nothing.
        {with([](auto &o) { o.resolution = -1; o.displayMode = -1; o.palette = -1; }), " -frmskip 0 -brite 64"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(commandLine(folder, c.options), head + QLatin1String(c.tail));
}

TEST(RealityBoyCommand, DebugModeAddsItsWordBetweenFlipAndFixpal)
{
    const QString folder = emulatorFolder("RBOY.EXE");
    RealityBoyOptions options;
    EXPECT_TRUE(commandLine(folder, options, true).endsWith(QStringLiteral(" -brite 64 -debug")));
    options.flip = options.fixPalette = true;
    EXPECT_TRUE(commandLine(folder, options, true).endsWith(QStringLiteral(" -brite 64 -flip -debug -fixpal")));
    EXPECT_TRUE(commandLine(folder, options, false).endsWith(QStringLiteral(" -brite 64 -flip -fixpal")));
}
