#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include "FrontendFixture.h"
#include "RedDragonLists.h"
#include "RedDragonOptionsFile.h"
#include "SaveFile.h"
#include "TestSupport.h"

using reddragon::OptionsText;
using reddragon::ReadOptionsText;

namespace {

// The lines of an option file, each ended by CR LF.
QByteArray lines(std::initializer_list<const char *> texts)
{
    QByteArray text;
    for (const char *line : texts)
        text += QByteArray(line) + "\r\n";
    return text;
}

const QByteArray kDefaultKeyLines = "lu=0005\r\nld=0003\r\nll=0019\r\nlr=0006\r\nru=0009\r\nrd=0072\r\nrl=0010\r\n"
                                    "rr=0012\r\nba=0013\r\nbb=0014\r\nst=0002\r\nsl=0022\r\ntl=0007\r\ntr=0008\r\n";

} // namespace

TEST(RedDragonOptionsFile, TheDefaultsWriteTheEmulatorsOwnKeys)
{
    EXPECT_EQ(OptionsText(RedDragonOptions{}),
              "platform=0000\r\nfrmskip=0000\r\ndspmode=0000\r\ndspswap=0000\r\npalmod=0000\r\nscrx=0640\r\nscry=0480\r\n"
              "scrmode=0000\r\n"
                  + kDefaultKeyLines);
}

TEST(RedDragonOptionsFile, EveryValueGoesToItsLineInFourCharacters)
{
    RedDragonOptions o;
    o.platform = 1;
    o.frmskip = 9;
    o.dspmode = 5;
    o.dspswap = 1;
    o.palmod = 4;
    o.scrsize = QStringLiteral("1280x1024");
    o.scrmode = 10;
    o.setKeys({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 110, 114});
    const QByteArray text = OptionsText(o);
    EXPECT_EQ(text, "platform=0001\r\nfrmskip=0009\r\ndspmode=0005\r\ndspswap=0001\r\npalmod=0004\r\nscrx=1280\r\n"
                    "scry=1024\r\nscrmode=0010\r\nlu=0005\r\nld=0006\r\nll=0007\r\nlr=0008\r\nru=0009\r\nrd=0010\r\n"
                    "rl=0011\r\nrr=0012\r\nba=0001\r\nbb=0002\r\nst=0110\r\nsl=0114\r\ntl=0003\r\ntr=0004\r\n");
    EXPECT_EQ(text.count("\r\n"), 22);
    // What is written reads back whole, the palette too.
    EXPECT_EQ(ReadOptionsText(text), o);

    o.scrsize = QStringLiteral("  80x80");
    o.dspmode = -1;
    const QByteArray odd = OptionsText(o);
    EXPECT_TRUE(odd.contains("\r\nscrx=0080\r\nscry=0080\r\n"));
    EXPECT_TRUE(odd.contains("\r\ndspmode=00-1\r\n"));
}

TEST(RedDragonOptionsFile, TheReaderTakesTheLinesAsTheEmulatorDoes)
{
    struct Case {
        QByteArray text;
        int16_t RedDragonOptions::*field;
        int16_t expected;
    };
    const Case cases[] = {
        {lines({"palmode=0003"}), &RedDragonOptions::palmod, 3},
        {lines({"palmod=0002"}), &RedDragonOptions::palmod, 2},
        {lines({"frmskip=5"}), &RedDragonOptions::frmskip, 0}, // last four characters "ip=5"
        {lines({"frmskip=0005"}), &RedDragonOptions::frmskip, 5},
        {lines({"FRMSKIP=0003"}), &RedDragonOptions::frmskip, 3},
        {lines({" frmskip=0003"}), &RedDragonOptions::frmskip, 0},
        {lines({"lu=0001=0002"}), &RedDragonOptions::lu, 2},
        {lines({"scrmode=lu=0007"}), &RedDragonOptions::lu, 7},
        {lines({"scrmode=lu=0007"}), &RedDragonOptions::scrmode, 0},
        {lines({"scrmode=0006"}), &RedDragonOptions::scrmode, 6},
        {lines({"scrmode=0003"}), &RedDragonOptions::scrmode, 3},
        {lines({"dspswap=0001"}), &RedDragonOptions::dspswap, 1},
        {lines({"frmskip=0002", "frmskip=0004"}), &RedDragonOptions::frmskip, 4},
        {"dspmode=0002\rplatform=0001\r", &RedDragonOptions::dspmode, 2}, // a lone CR ends a line
        {"dspmode=0002\rplatform=0001", &RedDragonOptions::platform, 1},
        {lines({"dspmode=&H03"}), &RedDragonOptions::dspmode, 3},
        {lines({"dspmode= 2.5"}), &RedDragonOptions::dspmode, 2}, // halves go to even
        // A lone LF ends no line: the value comes from the end of the whole line.
        {"dspmode=0002\nplatform=0001\r\n", &RedDragonOptions::dspmode, 1},
        {"dspmode=0002\nplatform=0001\r\n", &RedDragonOptions::platform, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadOptionsText(c.text).*c.field, c.expected) << c.text.toStdString();
}

TEST(RedDragonOptionsFile, AValueNoControlCanShowTakesItsDefault)
{
    RedDragonOptions before;
    before.frmskip = 4;
    before.lu = 40;
    const RedDragonOptions read = ReadOptionsText(
        lines({"platform=0002", "frmskip=0010", "dspmode=  -1", "dspswap=0002", "palmod=0005", "lu=0115", "rd=1E10",
               "sl=0114"}),
        before);
    EXPECT_EQ(read.platform, 0);
    EXPECT_EQ(read.frmskip, 0);
    EXPECT_EQ(read.dspmode, 0);
    EXPECT_EQ(read.dspswap, 0);
    EXPECT_EQ(read.palmod, 0);
    EXPECT_EQ(read.lu, 5);
    EXPECT_EQ(read.rd, 72);
    EXPECT_EQ(read.sl, 114);
    // Keys the file does not give keep their values.
    EXPECT_EQ(ReadOptionsText(lines({"ba=0001"}), before).lu, 40);
}

TEST(RedDragonOptionsFile, TheScreenSizeIsRebuiltFromWidthAndHeight)
{
    struct Case {
        QByteArray text;
        const char *size;
    };
    const Case cases[] = {
        {lines({"scrx=0640", "scry=0480"}), " 640x480"},
        {lines({"scrx=0080", "scry=0080"}), "  80x80"},
        {lines({"scrx=1280", "scry=1024"}), "1280x1024"},
        {lines({"scrx=12345", "scry=0480"}), "2345x480"}, // the last four digits
        {lines({"platform=0001"}), "   0x0"},
        {lines({"scrx= -40", "scry=0480"}), " 640x480"}, // a negative width takes the default's
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadOptionsText(c.text).scrsize, QLatin1String(c.size)) << c.text.toStdString();
    // The colour depth and the brightness hack are not in the file.
    RedDragonOptions before;
    before.colours = 3;
    before.brightness = 1;
    const RedDragonOptions read = ReadOptionsText(QByteArray(), before);
    EXPECT_EQ(read.colours, 0);
    EXPECT_EQ(read.brightness, 0);
}

TEST(RedDragonOptionsFile, TheFileIsFoundInAnyCaseAndWrittenWhole)
{
    const QString folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("red dragon"));
    QDir().mkpath(folder);
    EXPECT_EQ(reddragon::OptionsFilePath(folder), folder + QStringLiteral("/options.dat"));
    const reddragon::LoadedOptions none = reddragon::LoadOptionsFile(folder, RedDragonOptions{});
    EXPECT_TRUE(none.failure.isEmpty());
    EXPECT_EQ(none.options.scrsize, QStringLiteral(" 640x480"));

    testsupport::writeFile(QStringLiteral("red dragon/OPTIONS.DAT"), lines({"frmskip=0007"}));
    EXPECT_EQ(reddragon::OptionsFilePath(folder), folder + QStringLiteral("/OPTIONS.DAT"));
    const reddragon::LoadedOptions found = reddragon::LoadOptionsFile(folder, RedDragonOptions{});
    EXPECT_EQ(found.options.frmskip, 7);

    const QByteArray text = OptionsText(RedDragonOptions{});
    EXPECT_FALSE(reddragon::SaveOptionsFile(folder, text));
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/OPTIONS.DAT")), text);

    // A save that fails leaves the old file as it was.
    savefile::SetFaultHook([](savefile::Step step) { return step == savefile::Step::Write ? ENOSPC : 0; });
    const std::optional<QString> failure = reddragon::SaveOptionsFile(folder, lines({"frmskip=0001"}));
    savefile::SetFaultHook({});
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, savefile::ErrorText(ENOSPC));
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/OPTIONS.DAT")), text);
}

// The option file has a fixed name in the emulator's folder: a link there is
// replaced by the saved file, and the file it pointed to stays as it was.
TEST(RedDragonOptionsFile, ALinkNamedLikeTheFileIsReplacedNotWrittenThrough)
{
    const QString folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("red dragon"));
    const QString elsewhere = testsupport::writeFile(QStringLiteral("notes.txt"), "frmskip=0003\r\n");
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::link(elsewhere, folder + QStringLiteral("/options.dat")));
    EXPECT_EQ(reddragon::LoadOptionsFile(folder, RedDragonOptions{}).options.frmskip, 3); // read through it

    const QByteArray text = OptionsText(RedDragonOptions{});
    EXPECT_FALSE(reddragon::SaveOptionsFile(folder, text));
    EXPECT_EQ(testsupport::readFile(elsewhere), QByteArray("frmskip=0003\r\n"));
    EXPECT_FALSE(QFileInfo(folder + QStringLiteral("/options.dat")).isSymLink());
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/options.dat")), text);
}

// What is not a regular file is named for what it is and never opened; a
// file that reports no length (as /proc's do) is read no further than an
// option file can go.
TEST(RedDragonOptionsFile, AnOptionFileThatIsNoFileOrHasNoEndIsRefusedWithItsReason)
{
    const QString folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("red dragon"));
    QDir().mkpath(folder);
    const QString pipe = testsupport::tempDir() + QStringLiteral("/pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const std::pair<QString, const char *> cases[] = {
        {QStringLiteral("/dev/zero"), "It is a device, not a file."},
        {pipe, "It is a pipe, not a file."},
        {testsupport::tempDir(), "It is a folder, not a file."},
        {QStringLiteral("/proc/self/pagemap"), "The file is too large to be an option file."},
    };
    for (const auto &[target, reason] : cases) {
        SCOPED_TRACE(target.toStdString());
        QFile::remove(folder + QStringLiteral("/options.dat"));
        ASSERT_TRUE(QFile::link(target, folder + QStringLiteral("/options.dat")));
        const reddragon::LoadedOptions loaded = reddragon::LoadOptionsFile(folder, RedDragonOptions{});
        EXPECT_EQ(loaded.failure, QLatin1String(reason));
        EXPECT_EQ(loaded.options, reddragon::LoadOptionsFile(testsupport::tempDir() + "/none", {}).options);
    }
}

TEST(RedDragonLists, EachModeOffersItsSizesInTheirOrder)
{
    const QStringList &modes = reddragon::ScreenModes();
    ASSERT_EQ(modes.size(), 9);
    for (const QString &mode : modes) {
        const QStringList sizes = *reddragon::SizesOfMode(mode);
        const qsizetype position = modes.indexOf(mode);
        const qsizetype expected = position == 8 ? 33 : (position >= 3 && position <= 5 ? 10 : 32);
        EXPECT_EQ(sizes.size(), expected) << mode.toStdString();
        for (const QString &size : sizes)
            EXPECT_EQ(size.at(4), QLatin1Char('x')) << size.toStdString();
    }
    EXPECT_EQ(reddragon::SizesOfMode(QStringLiteral("GDI"))->last(), QStringLiteral(" 384x224"));
    EXPECT_EQ(reddragon::SizesOfMode(QStringLiteral("DirectDraw soft"))->last(), QStringLiteral("1024x768"));
    EXPECT_EQ(reddragon::SizesOfMode(QStringLiteral("DirectDraw window"))->last(), QStringLiteral(" 400x600"));
    EXPECT_EQ(reddragon::SizesOfMode(QStringLiteral("Autodetect"))->indexOf(reddragon::kDefaultSize), 3);
    EXPECT_FALSE(reddragon::SizesOfMode(QStringLiteral("gdi")));
    EXPECT_FALSE(reddragon::SizesOfMode(QString()));

    const int numbers[] = {0, 1, 2, 4, 6, 7, 8, 9, 10};
    for (int position = 0; position < 9; ++position) {
        EXPECT_EQ(reddragon::ModeNumber(position), numbers[position]);
        EXPECT_EQ(reddragon::ModePosition(numbers[position]), position);
    }
    EXPECT_EQ(reddragon::ModeNumber(-1), 0);
    for (int number : {3, 5, 11, -1})
        EXPECT_EQ(reddragon::ModePosition(number), -1);
}
