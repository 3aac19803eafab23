#include "FrontendFixture.h"

#include <QComboBox>
#include <QDir>

#include "Fonts.h"
#include "MainWindowState.h"
#include "Paths.h"
#include "SettingsStore.h"
#include "TestSupport.h"

namespace frontendtest {

QByteArray image(int length, bool valid)
{
    QByteArray bytes(length, '\x5A');
    bytes.replace(length - 544, 32, QByteArray(32, ' '));
    bytes.replace(length - 524, 5, QByteArray(5, '\0'));
    if (!valid)
        bytes[length - 522] = '\x01';
    return bytes;
}

QString writeRom(const QString &name, const QByteArray &bytes)
{
    return testsupport::writeFile(name, bytes);
}

void FrontendForm::SetUp()
{
    mainwindow::Tag().clear();
    mainwindow::dlgZandrel() = commondialog::CommonDialog{};
    fonts::RegisterKatakanaFont(paths::AppendFileToDir(paths::FontsFolder(), QStringLiteral("MSGOKATA.TTF")));
    settings::Save(QStringLiteral("Base Directory"), testsupport::tempDir());
}

void FrontendForm::TearDown()
{
    mainwindow::Tag().clear();
}

void FrontendForm::storeRecent(const QStringList &entries, int count)
{
    settings::SaveInteger(QStringLiteral("Recent ROMs number"), count);
    for (int i = 0; i < 10; ++i)
        settings::Save(QStringLiteral("Recent ROM #%1").arg(i + 1), entries.value(i));
}

QStringList FrontendForm::storedRecent()
{
    QStringList all;
    for (int i = 0; i < 10; ++i)
        all << settings::Get(QStringLiteral("Recent ROM #%1").arg(i + 1), QStringLiteral("<missing>"));
    return all;
}

QStringList FrontendForm::rows(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QString FrontendForm::emulatorFolder(const QString &name)
{
    const QString dir = QDir(testsupport::tempDir()).filePath(name);
    QDir().mkpath(dir);
    return dir;
}

} // namespace frontendtest
