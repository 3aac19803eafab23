#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "SaveFile.h"
#include "TestSupport.h"
#include "VbRomHeader.h"

#include <sys/stat.h>

namespace {

// An image of `length` bytes of `fill` whose reserved header bytes are zero.
QByteArray image(int length, char fill = '\x55')
{
    QByteArray bytes(length, fill);
    bytes.replace(length - 544 + 20, 5, QByteArray(5, '\0'));
    return bytes;
}

struct BadFile {
    const char *name;
    QByteArray bytes;
    RomCheck result;
    const char *prompt;
    const char *title;
};

} // namespace

TEST(VbRomHeader, ReadsTheFieldsOfTheSmallestImage)
{
    QByteArray rom = image(545, '\0');
    rom.replace(1, 20, "PANIC BOMBER        ");
    rom.replace(26, 6, "01VH2E");
    rom[32] = char(10);
    const auto header = VbRomHeader::read(rom);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->title, QByteArray("PANIC BOMBER"));
    EXPECT_EQ(header->makerCode, QByteArray("01"));
    EXPECT_EQ(header->gameId, QByteArray("VH2E"));
    EXPECT_EQ(header->versionText(), QStringLiteral("1.10"));
    EXPECT_FALSE(VbRomHeader::read(QByteArray(544, ' ')));
}

TEST(VbRomHeader, KeepsEveryTrailingByteButSpaces)
{
    QByteArray rom = image(1024);
    const int at = 1024 - 544;
    rom.replace(at, 20, QByteArray("ABC").leftJustified(20, '\0'));
    rom.replace(at + 25, 2, "E ");
    EXPECT_EQ(VbRomHeader::read(rom)->title, QByteArray("ABC").leftJustified(20, '\0'));
    EXPECT_EQ(VbRomHeader::read(rom)->makerCode, QByteArray("E"));
}

TEST(VbRomHeader, VersionTextIsDecimal)
{
    for (auto [byte, text] : {std::pair{0, "1.0"}, {10, "1.10"}, {255, "1.255"}}) {
        VbRomHeader h;
        h.version = uint8_t(byte);
        EXPECT_EQ(h.versionText(), QString::fromLatin1(text));
    }
}

TEST(VbRomHeader, WritingPadsFieldsAndKeepsEveryOtherByte)
{
    QByteArray rom(2048, '\x77');
    rom.replace(2048 - 544 + 20, 5, QByteArray("\x01\x02\x03\x04\x05"));
    const QByteArray before = rom;
    VbRomHeader h;
    h.title = "ABC";
    h.makerCode = "E";
    h.gameId = "VT  ";
    h.version = 12;
    h.writeTo(rom);

    const int at = 2048 - 544;
    EXPECT_EQ(rom.mid(at, 32), QByteArray("ABC                 \x01\x02\x03\x04\x05" "E VT  \x0C"));
    EXPECT_EQ(rom.left(at), before.left(at));
    EXPECT_EQ(rom.mid(at + 32), before.mid(at + 32));
}

TEST(CheckVbRomImage, AcceptsAValidImageAndChangesNothing)
{
    const QByteArray rom = image(545);
    const QString path = testsupport::writeFile(QStringLiteral("ok.vb"), rom);
    const CheckedImage checked = CheckVbRomImage(path);
    EXPECT_EQ(checked.result, RomCheck::Ok);
    EXPECT_EQ(checked.image, rom);
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
    EXPECT_EQ(testsupport::readFile(path), rom);
}

TEST(CheckVbRomImage, AcceptsAnyHeaderBytesWhenTheReservedOnesAreZero)
{
    QByteArray rom = image(4096, '\xFF');
    const CheckedImage checked = CheckVbRomImage(testsupport::writeFile(QStringLiteral("ff.vb"), rom));
    EXPECT_EQ(checked.result, RomCheck::Ok);
}

// Each failure shows its box (exclamation, OK) and leaves the file system as
// it was: nothing is created, nothing deleted.
TEST(CheckVbRomImage, RejectsBadFilesWithTheirMessages)
{
    QByteArray reservedSet = image(1024);
    reservedSet[1024 - 544 + 22] = '\x01';
    const BadFile cases[] = {
        {"empty.vb", QByteArray(), RomCheck::Missing, "File does not exist.", "Invalid filename"},
        {"one.vb", QByteArray(1, '\0'), RomCheck::TooSmall, "File too small to be a VB ROM image.", "Invalid VB ROM"},
        {"small.vb", QByteArray(544, '\0'), RomCheck::TooSmall, "File too small to be a VB ROM image.",
         "Invalid VB ROM"},
        {"reserved.vb", reservedSet, RomCheck::Invalid, "Invalid VB ROM image.", "Invalid VB ROM"},
    };
    for (const BadFile &c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::messageBoxes().calls.clear();
        const QString path = testsupport::writeFile(QString::fromLatin1(c.name), c.bytes);
        const CheckedImage checked = CheckVbRomImage(path);
        EXPECT_EQ(checked.result, c.result);
        EXPECT_TRUE(checked.image.isEmpty());
        ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
        EXPECT_EQ(testsupport::messageBoxes().last().prompt, QString::fromLatin1(c.prompt));
        EXPECT_EQ(testsupport::messageBoxes().last().title, QString::fromLatin1(c.title));
        EXPECT_EQ(testsupport::messageBoxes().last().style, 48);
        // The empty file is kept, not deleted.
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_EQ(testsupport::readFile(path), c.bytes);
    }
}

TEST(CheckVbRomImage, AMissingFileIsReportedAndNotCreated)
{
    const QString path = QDir(testsupport::tempDir()).filePath(QStringLiteral("gone.vb"));
    EXPECT_EQ(CheckVbRomImage(path).result, RomCheck::Missing);
    EXPECT_EQ(testsupport::messageBoxes().last().prompt, QStringLiteral("File does not exist."));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(CheckVbRomImage(QString()).result, RomCheck::Missing);
}

TEST(CheckVbRomImage, AFolderIsAFailureWithAClearMessage)
{
    const QString dir = testsupport::tempDir();
    EXPECT_EQ(CheckVbRomImage(dir).result, RomCheck::Unreadable);
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.style, 48);
    EXPECT_TRUE(box.prompt.startsWith(QStringLiteral("Unable to read the file:\r") + dir + QChar(u'\r')))
        << box.prompt.toStdString();
}

// A device or a pipe named like a ROM is refused before it is opened: a
// link to /dev/zero would be read for ever, and opening a pipe waits for a
// writer that never comes.
TEST(CheckVbRomImage, WhatIsNotARegularFileIsRefusedUnopened)
{
    const QDir dir(testsupport::tempDir());
    const QString zero = dir.filePath(QStringLiteral("zero.vb"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString pipe = dir.filePath(QStringLiteral("pipe.vb"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString pipeLink = dir.filePath(QStringLiteral("pipe link.vb"));
    ASSERT_TRUE(QFile::link(pipe, pipeLink));
    const std::pair<QString, const char *> cases[] = {
        {zero, "It is a device, not a file."},
        {pipe, "It is a pipe, not a file."},
        {pipeLink, "It is a pipe, not a file."},
    };
    for (const auto &[path, reason] : cases) {
        SCOPED_TRACE(path.toStdString());
        testsupport::messageBoxes().calls.clear();
        EXPECT_EQ(CheckVbRomImage(path).result, RomCheck::Unreadable);
        ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
        EXPECT_EQ(testsupport::messageBoxes().last().prompt,
                  QStringLiteral("Unable to read the file:\r") + path + QStringLiteral("\r") + QLatin1String(reason));
        EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("File error"));
    }
}

// A file that is there but reports no length (as those under /proc do) is
// not missing: the check calls it unreadable and says why, as the ROM
// database's scan calls it unreadable.
TEST(CheckVbRomImage, AFileThatReportsNoLengthIsThereButUnreadable)
{
    for (const QString &path : {QStringLiteral("/proc/self/pagemap"), QStringLiteral("/proc/self/status")}) {
        SCOPED_TRACE(path.toStdString());
        if (!QFileInfo::exists(path))
            GTEST_SKIP() << path.toStdString() << " is not on this system: nothing here reports no length";
        testsupport::messageBoxes().calls.clear();
        EXPECT_EQ(CheckVbRomImage(path).result, RomCheck::Unreadable);
        ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
        EXPECT_EQ(testsupport::messageBoxes().last().prompt,
                  QStringLiteral("Unable to read the file:\r") + path + QStringLiteral("\rThe file reports no length."));
        EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("File error"));
        EXPECT_EQ(ScanVbRomImage(path, 512, [](QByteArrayView, qint64, qint64) {}).result, RomCheck::Unreadable);
    }
}

// The scan reads the file once, piece by piece, and judges it as the check
// does, without a message.
TEST(ScanVbRomImage, HandsOverEveryPieceInOrderAndJudgesAsTheCheckDoes)
{
    for (int length : {545, 1000, 524288 + 100}) {
        SCOPED_TRACE(length);
        QByteArray rom(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            rom[i] = char(i * 7);
        rom.replace(length - 544 + 20, 5, QByteArray(5, '\0'));
        QByteArray seen;
        const ScannedImage scanned =
            ScanVbRomImage(testsupport::writeFile(QStringLiteral("rom.vb"), rom), 512,
                           [&](QByteArrayView piece, qint64 offset, qint64 total) {
                               EXPECT_EQ(offset, seen.size());
                               EXPECT_EQ(total, length);
                               EXPECT_LE(piece.size(), 512);
                               seen.append(piece);
                           });
        EXPECT_EQ(scanned.result, RomCheck::Ok);
        EXPECT_EQ(seen, rom);
        EXPECT_EQ(scanned.length, length);
        EXPECT_EQ(scanned.header, rom.mid(length - 544, 32));
    }

    QByteArray reservedSet = image(1024);
    reservedSet[1024 - 524] = '\x01';
    const QString zero = QDir(testsupport::tempDir()).filePath(QStringLiteral("zero.vb"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const std::pair<QString, RomCheck> bad[] = {
        {testsupport::writeFile(QStringLiteral("a.vb"), reservedSet), RomCheck::Invalid},
        {testsupport::writeFile(QStringLiteral("b.vb"), QByteArray(544, 'x')), RomCheck::TooSmall},
        {testsupport::writeFile(QStringLiteral("c.vb"), QByteArray()), RomCheck::Missing},
        {testsupport::tempDir() + QStringLiteral("/none.vb"), RomCheck::Missing},
        {zero, RomCheck::Unreadable},
    };
    for (const auto &[path, result] : bad) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(ScanVbRomImage(path, 512, [](QByteArrayView, qint64, qint64) {}).result, result);
    }
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST(CheckVbRomImage, WithoutMessagesTheSameTestsApplySilently)
{
    QByteArray reservedSet = image(1024);
    reservedSet[1024 - 524] = '\x01';
    EXPECT_EQ(CheckVbRomImage(testsupport::writeFile(QStringLiteral("a.vb"), reservedSet), false).result,
              RomCheck::Invalid);
    EXPECT_EQ(CheckVbRomImage(testsupport::writeFile(QStringLiteral("b.vb"), QByteArray(10, 'x')), false).result,
              RomCheck::TooSmall);
    EXPECT_EQ(CheckVbRomImage(testsupport::tempDir() + QStringLiteral("/none.vb"), false).result, RomCheck::Missing);
    EXPECT_EQ(CheckVbRomImage(testsupport::tempDir(), false).result, RomCheck::Unreadable);
    EXPECT_EQ(CheckVbRomImage(testsupport::writeFile(QStringLiteral("c.vb"), image(600)), false).result,
              RomCheck::Ok);
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST(RomSizeText, BytesAndMegabits)
{
    const std::pair<qint64, const char *> cases[] = {
        {524288, "524288 Bytes  (4 MBit)"},
        {65536, "65536 Bytes  (0.5 MBit)"},
        {131072, "131072 Bytes  (1 MBit)"},
        {196608, "196608 Bytes  (1.5 MBit)"},
        {545, "545 Bytes  (0.00415802001953125 MBit)"},
        {2097152, "2097152 Bytes  (16 MBit)"},
        {1000000, "1000000 Bytes  (7.62939453125 MBit)"},
    };
    for (const auto &[length, text] : cases)
        EXPECT_EQ(RomSizeText(length), QString::fromLatin1(text));
}

TEST(WriteVbRomImage, ReplacesTheWholeFileAndKeepsItsPermissions)
{
    const QString path = testsupport::writeFile(QStringLiteral("long.vb"), QByteArray(5000, 'x'));
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(path, permissions);
    EXPECT_FALSE(WriteVbRomImage(path, QByteArray(1000, 'y')));
    EXPECT_EQ(testsupport::readFile(path), QByteArray(1000, 'y'));
    // Owner, group and others; the "user" bits only mirror them for us.
    EXPECT_EQ(QFile::permissions(path) & 0x7077, permissions);
}

TEST(WriteVbRomImage, AFailureNamesItsReasonAndLeavesNoFileBehind)
{
    const QString dir = testsupport::tempDir();
    const auto intoMissingFolder = WriteVbRomImage(dir + QStringLiteral("/no/such/folder/a.vb"), QByteArray(600, 'y'));
    ASSERT_TRUE(intoMissingFolder);
    EXPECT_FALSE(intoMissingFolder->isEmpty());
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/no")));

    const QString folder = dir + QStringLiteral("/folder.vb");
    QDir().mkpath(folder);
    EXPECT_TRUE(WriteVbRomImage(folder, QByteArray(600, 'y')));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST(WriteVbRomImage, AFullDiskKeepsTheOldImageAndSaysWhy)
{
    testsupport::SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = disk.path() + QStringLiteral("/game.vb");
    ASSERT_FALSE(WriteVbRomImage(path, image(8192, 'a')));

    disk.leaveFree(1);
    const auto failure = WriteVbRomImage(path, image(8192, 'b'));
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->contains(savefile::ErrorText(ENOSPC))) << failure->toStdString();
    EXPECT_EQ(testsupport::readFile(path), image(8192, 'a'));
}

TEST(WriteVbRomImage, AFailedWriteKeepsTheOldImageAndSaysWhy)
{
    const QString path = testsupport::writeFile(QStringLiteral("game.vb"), image(8192, 'a'));
    savefile::SetFaultHook([](savefile::Step step) { return step == savefile::Step::Sync ? EIO : 0; });
    EXPECT_EQ(WriteVbRomImage(path, image(8192, 'b')), savefile::ErrorText(EIO));
    EXPECT_EQ(testsupport::readFile(path), image(8192, 'a'));
}

TEST(WriteVbRomImage, WhereNoTemporaryFileCanBeMadeTheHeaderIsWrittenInPlace)
{
    SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST();
    const QString folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("roms"));
    const QByteArray original = image(4096, 'a');
    QByteArray edited = original;
    edited.replace(4096 - 544, 12, "EDITED TITLE");
    QByteArray other = image(4096, 'o');

    struct Case {
        const char *what;
        bool readOnlyFolder; // or the seam refuses the temporary file
        const QByteArray &onDisk;
        const QByteArray &expected;
    };
    const Case cases[] = {
        {"read-only folder", true, original, edited},
        {"no temporary file", false, original, edited},
        // Only the header may differ, or writing it alone would not give the image.
        {"another file", false, other, other},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        const QString path = testsupport::writeFile(QStringLiteral("roms/game.vb"), c.onDisk);
        ::chmod(QFile::encodeName(path).constData(), 0640);
        if (c.readOnlyFolder)
            ::chmod(QFile::encodeName(folder).constData(), 0555);
        else
            savefile::SetFaultHook([](savefile::Step s) { return s == savefile::Step::CreateTemporary ? EACCES : 0; });
        std::optional<QString> failure;
        {
            testsupport::OrdinaryUser user;
            failure = WriteVbRomImage(path, edited);
        }
        savefile::SetFaultHook(nullptr);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        EXPECT_EQ(failure.value_or(QString()), c.expected == edited ? QString() : savefile::ErrorText(EACCES));
        EXPECT_EQ(testsupport::readFile(path), c.expected);
        EXPECT_EQ(QFileInfo(path).permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                                     QFile::WriteUser | QFile::ReadGroup);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"game.vb"});
    }
}
