// Zandrel.dll exercised through the program's binding: loaded from the
// program folder on the first call, boxes shown through the program.

#include "ZandrelLibrary.h"

#include "MsgBox.h"
#include "Paths.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr int kChunk = 524288;
constexpr int kPixels = 384 * 224;

QByteArray filled(int size, char value)
{
    return QByteArray(size, value);
}

// The checksum read byte by byte, 524288 reads per chunk, as the format
// defines it: the oracle for the library's shortcut.
QString literalChecksum(const QByteArray &image, bool wholeImage)
{
    uint32_t sums[8] = {};
    const qsizetype length = image.size();
    for (qsizetype c = 0; c < length; c += kChunk) {
        uint32_t sum = 0;
        qsizetype i = 0;
        for (int n = 0; n < kChunk; ++n) {
            const qsizetype p = c + i;
            if (wholeImage || p < length - 544 || p > length - 513)
                sum += static_cast<uint8_t>(image[p]);
            if (c + ++i == length)
                i = 0;
        }
        for (uint32_t &slot : sums) {
            if (slot == 0) {
                slot = sum;
                break;
            }
        }
    }
    uint32_t total = 0;
    for (uint32_t slot : sums)
        total += slot;
    return QStringLiteral("%1").arg(total, 8, 16, QLatin1Char('0')).toUpper();
}

class RomLibBinding : public ::testing::Test {
protected:
    void SetUp() override { zandrel::ResetBinding(); }
    void TearDown() override
    {
        paths::OverrideProgramFolder(QString());
        paths::OverrideWindowsFolder(QString());
        zandrel::ResetBinding();
    }

    static QString emptyFolder()
    {
        const QString dir = QDir(testsupport::tempDir()).filePath(QStringLiteral("empty"));
        QDir().mkpath(dir);
        return dir;
    }
};

// --- GetVbRomChecksum ------------------------------------------------------

struct ChecksumCase {
    const char *name;
    QByteArray image;
    bool wholeImage;
    const char *expected;
};

QByteArray chunksOf(const std::vector<char> &values)
{
    QByteArray image;
    for (char v : values)
        image += filled(kChunk, v);
    return image;
}

TEST_F(RomLibBinding, ChecksumExamples)
{
    const QByteArray ones1024 = filled(1024, 1);
    const QByteArray ones512k = filled(kChunk, 1);
    const QByteArray onesThenTwos = filled(kChunk, 1) + filled(kChunk / 2, 2);
    const QByteArray zeroChunkFirst = chunksOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    const QByteArray ones5m = filled(10 * kChunk, 1);
    const ChecksumCase cases[] = {
        // 992 counted bytes on each of 512 passes
        {"1024 ones, header out", ones1024, false, "0007C000"},
        {"1024 ones, whole", ones1024, true, "00080000"},
        {"empty, header out", QByteArray(), false, "00000000"},
        {"empty, whole", QByteArray(), true, "00000000"},
        {"512 KiB read once, whole", ones512k, true, "00080000"},
        {"512 KiB read once, header out", ones512k, false, "0007FFE0"},
        // last 256 KiB read twice, its header window skipped on both passes
        {"768 KiB, whole", onesThenTwos, true, "00180000"},
        {"768 KiB, header out", onesThenTwos, false, "0017FF80"},
        // 524 passes of 968 bytes, then 288 bytes before the header window
        {"1000 bytes, remainder before header", filled(1000, 1), false, "0007BE80"},
        // 873 passes of 568 bytes, then 488 bytes that hold the header window
        {"600 bytes, remainder holds header", filled(600, 1), false, "000792C0"},
        // header window 0..31: 963 passes of 512 bytes, then 416 of which 384 count
        {"544 bytes, header at start", filled(544, 1), false, "00078780"},
        // the zero chunk takes no slot: chunks 1..8 count, 9..11 don't
        {"zero chunk gives way, whole", zeroChunkFirst, true, "01200000"},
        {"zero chunk gives way, header out", zeroChunkFirst, false, "01200000"},
        {"5 MiB counts 4 MiB, whole", ones5m, true, "00400000"},
        {"5 MiB counts 4 MiB, header out", ones5m, false, "00400000"},
    };
    for (const ChecksumCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(zandrel::GetVbRomChecksum(c.image, c.wholeImage), QString::fromLatin1(c.expected));
    }
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

// Odd lengths put the wrap remainder and the header window everywhere.
TEST_F(RomLibBinding, ChecksumMatchesByteByByteReading)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    const int lengths[] = {1,      7,          511,           530,           543,          545,
                           560,    1000,       65536,         100000,        kChunk - 1,   kChunk + 1,
                           kChunk + 300,       2 * kChunk + 777,            9 * kChunk + 12345};
    // The library as built, and built without its AVX2 sum.
    for (const QString &folder : {QString(), QStringLiteral(ROMLIB_WITHOUT_AVX2_DIR)}) {
        zandrel::ResetBinding();
        paths::OverrideProgramFolder(folder);
        for (int length : lengths) {
            QByteArray image(length, Qt::Uninitialized);
            for (char &b : image)
                b = static_cast<char>(byte(random));
            for (bool wholeImage : {false, true}) {
                SCOPED_TRACE(testing::Message() << folder.toStdString() << " length " << length << " wholeImage "
                                                << wholeImage);
                EXPECT_EQ(zandrel::GetVbRomChecksum(image, wholeImage), literalChecksum(image, wholeImage));
            }
        }
    }
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

// Both checksums from one read in 512 KiB pieces are the library's checksums
// of the whole image: lengths where the header window straddles two pieces,
// zero pieces that take no slot, more than eight pieces.
TEST_F(RomLibBinding, ChecksumsFromPiecesAreThoseOfTheWholeImage)
{
    std::mt19937 random(19950821);
    std::uniform_int_distribution<int> byte(0, 255);
    const int lengths[] = {1,          545,        1000,       kChunk - 1,          kChunk,
                           kChunk + 1, kChunk + 31, kChunk + 300, kChunk + 543,     kChunk + 544,
                           kChunk + 600, 3 * kChunk, 3 * kChunk + 100, 10 * kChunk + 7};
    for (int length : lengths) {
        for (bool zeroFirst : {false, true}) {
            QByteArray image(length, Qt::Uninitialized);
            for (char &b : image)
                b = static_cast<char>(byte(random));
            if (zeroFirst)
                image.replace(0, std::min(length, kChunk), QByteArray(std::min(length, kChunk), '\0'));
            SCOPED_TRACE(testing::Message() << "length " << length << " zero first " << zeroFirst);
            zandrel::ImageChecksums sums(length);
            for (qsizetype at = 0; at < length; at += kChunk)
                ASSERT_TRUE(sums.add(QByteArrayView(image).sliced(at, std::min<qsizetype>(kChunk, length - at))));
            EXPECT_EQ(sums.headerExcluded(), zandrel::GetVbRomChecksum(image, false));
            EXPECT_EQ(sums.wholeImage(), zandrel::GetVbRomChecksum(image, true));
        }
    }
}

// --- DisplayVbTiles ------------------------------------------------------

struct TilesCase {
    const char *name;
    int length;
    char fill;
    int32_t offset;
    int noDataPixels;                   // pixels with value 4
    std::vector<std::pair<int, int>> probes; // output position, pixel
};

TEST_F(RomLibBinding, LinearDecode)
{
    const int full = 96 * 224;
    const TilesCase cases[] = {
        // 0x1B = 00 01 10 11: the two highest bits are the leftmost pixel
        {"whole picture", full, 0x1B, 0, 0, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {384, 0}, {kPixels - 1, 3}}},
        {"whole picture, other order", full, char(0xE4), 0, 0, {{0, 3}, {1, 2}, {2, 1}, {3, 0}}},
        // 100 bytes: row 0, then 4 bytes (16 pixels) of row 1
        {"short image", 100, char(0xE4), 0, kPixels - 400, {{383, 0}, {384, 3}, {384 + 15, 0}, {384 + 16, 4}, {768, 4}}},
        {"offset near the end", full, 0x1B, full - 10, kPixels - 40, {{0, 0}, {39, 3}, {40, 4}}},
        {"negative offset", full, 0x1B, -1, 4, {{0, 4}, {3, 4}, {4, 0}, {7, 3}, {kPixels - 1, 3}}},
        {"offset past a 32-bit wrap", full, 0x1B, std::numeric_limits<int32_t>::max() - 50, kPixels, {{0, 4}}},
        {"empty image", 0, 0, 0, kPixels, {}},
    };
    for (const TilesCase &c : cases) {
        SCOPED_TRACE(c.name);
        const auto pixels = zandrel::DisplayVbTiles(filled(c.length, c.fill), c.offset, 384, false);
        ASSERT_TRUE(pixels.has_value());
        ASSERT_EQ(pixels->size(), kPixels);
        EXPECT_EQ(pixels->count('\x04'), c.noDataPixels);
        for (char p : *pixels)
            ASSERT_LE(p, 4) << "every pixel is 0-3 or 4";
        for (const auto &[at, value] : c.probes)
            EXPECT_EQ(pixels->at(at), value) << "at " << at;
    }
}

TEST_F(RomLibBinding, LinearDecodeReadsRowsOf96BytesFromOffset)
{
    // Row r of the image is filled with r % 4 in every pixel.
    QByteArray image;
    for (int r = 0; r < 300; ++r)
        image += filled(96, char((r % 4) * 0x55));
    const auto pixels = zandrel::DisplayVbTiles(image, 96 * 3, 96, false);
    ASSERT_TRUE(pixels.has_value());
    for (int r = 0; r < 224; ++r)
        for (int x : {0, 191, 383})
            ASSERT_EQ(pixels->at(384 * r + x), (r + 3) % 4) << "row " << r << " x " << x;
}

TEST_F(RomLibBinding, TileModeShowsItsBoxAndLeavesThePixelsAlone)
{
    const auto pixels = zandrel::DisplayVbTiles(filled(96 * 224, 0x1B), 0, 64, true);
    ASSERT_TRUE(pixels.has_value());
    // The buffer the binding made: NUL bytes, which read as pixel value 0.
    EXPECT_EQ(*pixels, QByteArray(kPixels, '\0'));
    const auto &boxes = testsupport::messageBoxes().calls;
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].prompt, QStringLiteral("TILES"));
    EXPECT_EQ(boxes[0].style, msgbox::vbOKOnly);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Zandrel"));
}

// --- FlipVbRomTiles ------------------------------------------------------

TEST_F(RomLibBinding, FlipReversesEachNibble)
{
    QByteArray bytes("\x12\xC3\x80\xF0\x01\x00", 6);
    ASSERT_TRUE(zandrel::FlipVbRomTiles(bytes));
    EXPECT_EQ(bytes, QByteArray("\x84\x3C\x10\xF0\x08\x00", 6));

    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    QByteArray twice = all;
    ASSERT_TRUE(zandrel::FlipVbRomTiles(twice));
    EXPECT_NE(twice, all);
    ASSERT_TRUE(zandrel::FlipVbRomTiles(twice));
    EXPECT_EQ(twice, all);

    QByteArray empty;
    EXPECT_TRUE(zandrel::FlipVbRomTiles(empty));
    EXPECT_TRUE(empty.isEmpty());
}

// --- Finding and binding the library -----------------------------------------

enum class Folder { Empty, Built, Stub, StubOtherCase, StubInLatin1 };

struct FolderCase {
    const char *name;
    Folder program;
    Folder windows;
    bool expectStub;
};

TEST_F(RomLibBinding, LibraryIsLookedUpInProgramFolderThenWindowsFolder)
{
    const QString stubDir = QStringLiteral(ROMLIB_STUB_DIR);
    const QString otherCaseDir = QDir(testsupport::tempDir()).filePath(QStringLiteral("othercase"));
    QDir().mkpath(otherCaseDir);
    ASSERT_TRUE(QFile::copy(QDir(stubDir).filePath(QStringLiteral("Zandrel.dll")),
                            QDir(otherCaseDir).filePath(QStringLiteral("zANDREL.DLL"))));
    // An install whose folder is named in Latin-1.
    const QString latin1Dir = paths::FolderOf(testsupport::writeFile(
        paths::DecodeFileName("\xE9mulateur/Zandrel.dll"), testsupport::readFile(stubDir + QStringLiteral("/Zandrel.dll"))));
    const QString builtDir = QCoreApplication::applicationDirPath();
    auto folder = [&](Folder f) {
        switch (f) {
        case Folder::Empty: return emptyFolder();
        case Folder::Built: return builtDir;
        case Folder::Stub: return stubDir;
        case Folder::StubOtherCase: return otherCaseDir;
        case Folder::StubInLatin1: return latin1Dir;
        }
        return QString();
    };
    const FolderCase cases[] = {
        {"program folder wins", Folder::Stub, Folder::Built, true},
        {"windows folder when the program folder has none", Folder::Empty, Folder::Stub, true},
        {"name in other letter case", Folder::StubOtherCase, Folder::Empty, true},
        {"folder named in Latin-1", Folder::StubInLatin1, Folder::Empty, true},
        {"built library", Folder::Built, Folder::Stub, false},
    };
    for (const FolderCase &c : cases) {
        SCOPED_TRACE(c.name);
        zandrel::ResetBinding();
        paths::OverrideProgramFolder(folder(c.program));
        paths::OverrideWindowsFolder(folder(c.windows));
        const auto checksum = zandrel::GetVbRomChecksum(filled(1024, 1), true);
        EXPECT_EQ(checksum, c.expectStub ? QStringLiteral("DEADBEEF") : QStringLiteral("00080000"));
    }
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST_F(RomLibBinding, MissingLibraryIsReportedOncePerFunction)
{
    const QString empty = emptyFolder();
    paths::OverrideProgramFolder(empty);
    paths::OverrideWindowsFolder(empty);
    const QByteArray image = filled(1024, 1);
    QByteArray buffer("\x12", 1);

    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(zandrel::GetVbRomChecksum(image, false), std::nullopt);
        EXPECT_EQ(zandrel::DisplayVbTiles(image, 0, 384, false), std::nullopt);
        EXPECT_FALSE(zandrel::FlipVbRomTiles(buffer));
    }
    EXPECT_EQ(buffer, QByteArray("\x12", 1));

    const auto &boxes = testsupport::messageBoxes().calls;
    ASSERT_EQ(boxes.size(), 3);
    const char *functions[] = {"GetVbRomChecksum", "DisplayVbTiles", "FlipVbRomTiles"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(functions[i]);
        EXPECT_EQ(boxes[i].style, msgbox::vbCritical);
        EXPECT_EQ(boxes[i].title, QStringLiteral("Library function not available"));
        EXPECT_TRUE(boxes[i].prompt.contains(QLatin1String(functions[i])));
        EXPECT_TRUE(boxes[i].prompt.contains(QStringLiteral("Zandrel.dll")));
        EXPECT_TRUE(boxes[i].prompt.contains(empty)) << "names where it looked";
    }

    // Once the library is back and the binding is reset, calls work again.
    paths::OverrideProgramFolder(QString());
    paths::OverrideWindowsFolder(QString());
    zandrel::ResetBinding();
    EXPECT_EQ(zandrel::GetVbRomChecksum(image, false), QStringLiteral("0007C000"));
    EXPECT_EQ(boxes.size(), 3);
}

TEST_F(RomLibBinding, UnloadableLibraryOrMissingFunctionSaysWhy)
{
    const QString badDir = QDir(testsupport::tempDir()).filePath(QStringLiteral("bad"));
    testsupport::writeFile(QStringLiteral("bad/Zandrel.dll"), QByteArray("MZ this is no ELF file"));
    struct {
        const char *name;
        QString folder;
        QString reasonMentions;
    } const cases[] = {
        {"not a library", badDir, QDir(badDir).filePath(QStringLiteral("Zandrel.dll"))},
        {"function not exported", QStringLiteral(ROMLIB_STUB_DIR), QStringLiteral("DisplayVbTiles")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        zandrel::ResetBinding();
        testsupport::messageBoxes().calls.clear();
        paths::OverrideProgramFolder(c.folder);
        paths::OverrideWindowsFolder(emptyFolder());

        EXPECT_EQ(zandrel::DisplayVbTiles(filled(96, 1), 0, 384, false), std::nullopt);
        EXPECT_EQ(zandrel::DisplayVbTiles(filled(96, 1), 0, 384, false), std::nullopt);
        const auto &boxes = testsupport::messageBoxes().calls;
        ASSERT_EQ(boxes.size(), 1);
        const QStringList lines = boxes[0].prompt.split(QLatin1Char('\r'));
        ASSERT_GE(lines.size(), 2);
        EXPECT_TRUE(lines[0].contains(QStringLiteral("DisplayVbTiles")));
        EXPECT_TRUE(lines[1].contains(c.reasonMentions)) << lines[1].toStdString();
        EXPECT_EQ(boxes[0].style, msgbox::vbCritical);
    }
    // The stub's own function binds although another one did not.
    EXPECT_EQ(zandrel::GetVbRomChecksum(filled(8, 1), true), QStringLiteral("DEADBEEF"));
}

} // namespace
