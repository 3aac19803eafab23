#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

#include "PaletteFile.h"
#include "SaveFile.h"
#include "TestSupport.h"
#include "TilePalette.h"

using palettefile::PaletteCheck;
using tilepalette::Values;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

TEST(PaletteFile, BuiltInPalettesEncodeToTheirFifteenBytes)
{
    EXPECT_EQ(palettefile::Encode(tilepalette::kVbPalette), hex("50414CFF0000C00000800000400000"));
    EXPECT_EQ(palettefile::Encode(tilepalette::kGreyPalette), hex("50414CFFFFFFC0C0C0808080404040"));
}

TEST(PaletteFile, ComponentsBecomeBytesRoundedHalfToEvenAndBounded)
{
    const struct {
        double value;
        int byte;
    } cases[] = {{12.5, 12}, {13.5, 14}, {12.4, 12}, {254.5, 254}, {-0.4, 0}, {-7, 0}, {255.4, 255}, {1e20, 255}};
    for (const auto &c : cases)
        EXPECT_EQ(tilepalette::ComponentByte(c.value), c.byte) << c.value;
}

TEST(PaletteFile, DecodesWhatStartsWithPalAndRefusesTheRest)
{
    const struct {
        const char *name;
        QByteArray bytes;
        PaletteCheck result;
        Values values;
    } cases[] = {
        {"exact", hex("50414C0102030405060708090A0B0C"), PaletteCheck::Ok, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"magic only", "PAL", PaletteCheck::Ok, {}},
        {"short", hex("50414CFF80"), PaletteCheck::Ok, {255, 128}},
        {"longer", hex("50414C0102030405060708090A0B0CEEEEEEEEEE"), PaletteCheck::Ok,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"lower case", "pal\x01\x02", PaletteCheck::NotPalette, {}},
        {"mixed case", "Pal", PaletteCheck::NotPalette, {}},
        {"two bytes", "PA", PaletteCheck::NotPalette, {}},
        {"empty", "", PaletteCheck::Missing, {}},
    };
    for (const auto &c : cases) {
        const palettefile::ReadPalette read = palettefile::Decode(c.bytes);
        EXPECT_EQ(read.result, c.result) << c.name;
        EXPECT_EQ(read.values, c.values) << c.name;
    }
}

TEST(PaletteFile, ReadingCreatesAndDeletesNothing)
{
    const QString missing = QDir(testsupport::tempDir()).filePath(QStringLiteral("none.pvb"));
    EXPECT_EQ(palettefile::Read(missing).result, PaletteCheck::Missing);
    EXPECT_FALSE(QFileInfo::exists(missing));

    const QString empty = testsupport::writeFile(QStringLiteral("empty.pvb"), QByteArray());
    EXPECT_EQ(palettefile::Read(empty).result, PaletteCheck::Missing);
    EXPECT_TRUE(QFileInfo::exists(empty));

    const QString palette = testsupport::writeFile(QStringLiteral("grey.pvb"), palettefile::Encode(tilepalette::kGreyPalette));
    const palettefile::ReadPalette read = palettefile::Read(palette);
    EXPECT_EQ(read.result, PaletteCheck::Ok);
    EXPECT_EQ(read.values, tilepalette::kGreyPalette);
}

TEST(PaletteFile, AFolderIsUnreadableWithAReason)
{
    const palettefile::ReadPalette read = palettefile::Read(testsupport::tempDir());
    EXPECT_EQ(read.result, PaletteCheck::Unreadable);
    EXPECT_FALSE(read.reason.isEmpty());
}

// Opening a pipe for reading would wait for a writer: it is refused unopened,
// as a device is, each named for what it is.
TEST(PaletteFile, APipeOrADeviceIsRefusedUnopenedWithItsKind)
{
    const QString pipe = testsupport::tempDir() + QStringLiteral("/pipe.pvb");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString zero = testsupport::tempDir() + QStringLiteral("/zero.pvb");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const std::pair<QString, const char *> cases[] = {
        {pipe, "It is a pipe, not a file."},
        {zero, "It is a device, not a file."},
        {testsupport::tempDir(), "It is a folder, not a file."},
    };
    for (const auto &[path, reason] : cases) {
        const palettefile::ReadPalette read = palettefile::Read(path);
        EXPECT_EQ(read.result, PaletteCheck::Unreadable) << path.toStdString();
        EXPECT_EQ(read.reason, QLatin1String(reason));
    }
    // A file without end (and which takes reads of whole records only) is read at its start alone.
    EXPECT_EQ(palettefile::Read(QStringLiteral("/proc/self/pagemap")).result, PaletteCheck::NotPalette);
}

TEST(PaletteFile, WritingReplacesALongerFileWithExactlyFifteenBytes)
{
    const QString path = testsupport::writeFile(QStringLiteral("old.pvb"), QByteArray(400, 'x'));
    EXPECT_EQ(palettefile::Write(path, tilepalette::kVbPalette), std::nullopt);
    EXPECT_EQ(testsupport::readFile(path), palettefile::Encode(tilepalette::kVbPalette));
    // Only the palette is left in the folder: no temporary file stays behind.
    EXPECT_EQ(QDir(testsupport::tempDir()).entryList(QDir::Files), QStringList{QStringLiteral("old.pvb")});
}

TEST(PaletteFile, AFailedWriteLeavesTheOldFileAndSaysWhy)
{
    // A folder in the way of the name: nothing can be renamed over it.
    const QString folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("taken.pvb"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto failure = palettefile::Write(folder, tilepalette::kVbPalette);
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());

    const QString nowhere = QDir(testsupport::tempDir()).filePath(QStringLiteral("no/such/folder.pvb"));
    EXPECT_TRUE(palettefile::Write(nowhere, tilepalette::kVbPalette).has_value());

    // A disk that fills up before the palette reaches it.
    const QByteArray old(40, 'o');
    const QString path = testsupport::writeFile(QStringLiteral("old.pvb"), old);
    savefile::SetFaultHook([](savefile::Step step) { return step == savefile::Step::Sync ? ENOSPC : 0; });
    EXPECT_EQ(palettefile::Write(path, tilepalette::kGreyPalette), savefile::ErrorText(ENOSPC));
    EXPECT_EQ(testsupport::readFile(path), old);
}
