#include "RomInfoFixture.h"

#include <QStringList>

#include "Fonts.h"
#include "MainWindowState.h"
#include "Paths.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "VbRomHeader.h"
#include "frmRomInfo.h"

namespace rominfotest {

QByteArray image(int length, const QByteArray &title, const QByteArray &maker, const QByteArray &gameId,
                 uint8_t version, char fill)
{
    QByteArray bytes(length, fill);
    bytes.replace(length - 544, 32, QByteArray(32, '\0'));
    VbRomHeader header;
    header.title = title;
    header.makerCode = maker;
    header.gameId = gameId;
    header.version = version;
    header.writeTo(bytes);
    return bytes;
}

// The checksum of an image of exactly 512 KiB takes every byte once (one
// chunk, one pass). So bytes outside the header that add up to a row's
// header-excluded checksum hit that column, and the row's published header
// then adds its own byte sum, which is what the whole-image column holds.
QByteArray knownImage(const KnownRom &rom)
{
    constexpr int kLength = 524288;
    constexpr int kCounted = kLength - 32;
    const uint32_t target = rom.headerExcludedChecksum.toUInt(nullptr, 16);
    const uint32_t base = target / kCounted;
    EXPECT_LE(base, 254u) << "checksum too large for a 512 KiB image";
    uint32_t extra = target % kCounted;
    QByteArray bytes = image(kLength, rom.headerTitle, rom.makerCode.toLatin1(), rom.gameId.toLatin1(), 0, char(base));
    // One more in each of the first `extra` bytes, all far before the header.
    for (int i = 0; extra > 0; ++i, --extra)
        bytes[i] = char(base + 1);
    return bytes;
}

void RomInfoForm::SetUp()
{
    mainwindow::Tag().clear();
    mainwindow::dlgZandrel() = commondialog::CommonDialog{};
    fonts::RegisterKatakanaFont(paths::AppendFileToDir(paths::FontsFolder(), QStringLiteral("MSGOKATA.TTF")));
    settings::Save(QStringLiteral("Base Directory"), testsupport::tempDir());
}

void RomInfoForm::TearDown()
{
    mainwindow::Tag().clear();
}

void RomInfoForm::setAutoDetect(bool on)
{
    settings::SaveBoolean(QStringLiteral("Auto Detect ROM"), on);
}

void RomInfoForm::storeRecent(const QStringList &entries, int count)
{
    settings::SaveInteger(QStringLiteral("Recent ROMs number"), count);
    for (int i = 0; i < 10; ++i)
        settings::Save(QStringLiteral("Recent ROM #%1").arg(i + 1), entries.value(i));
}

QStringList RomInfoForm::storedRecent() const
{
    QStringList all;
    for (int i = 0; i < 10; ++i)
        all << settings::Get(QStringLiteral("Recent ROM #%1").arg(i + 1));
    return all;
}

void RomInfoForm::open(frmRomInfo &window, const QString &path)
{
    testsupport::fileDialogs().answerNext(path);
    window.mnuFileOpen_Click();
}

} // namespace rominfotest
