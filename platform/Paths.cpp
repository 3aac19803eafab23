#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace paths {
namespace {

QString g_programFolder;
QString g_windowsFolder;
QString g_fontsFolder;

QString withoutTrailingSlash(QString dir)
{
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

} // namespace

QString AppendFileToDir(const QString &dir, const QString &fileName)
{
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/')))
        return dir + fileName;
    return dir + QLatin1Char('/') + fileName;
}

QString FindFileNoCase(const QString &dir, const QString &fileName)
{
    const QString exact = AppendFileToDir(dir, fileName);
    if (QFileInfo(exact).isFile())
        return exact;
    QDir folder(dir.isEmpty() ? QStringLiteral(".") : dir);
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            return AppendFileToDir(dir, name);
    return QString();
}

bool FileExistsNoCase(const QString &dir, const QString &fileName)
{
    return !FindFileNoCase(dir, fileName).isEmpty();
}

QString HomeFolder()
{
    return QDir::homePath();
}

QString ProgramFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    return withoutTrailingSlash(QCoreApplication::applicationDirPath());
}

QString WindowsFolder()
{
    if (!g_windowsFolder.isEmpty())
        return g_windowsFolder;
    return ProgramFolder();
}

QString FontsFolder()
{
    if (!g_fontsFolder.isEmpty())
        return g_fontsFolder;
    return AppendFileToDir(ProgramFolder(), QStringLiteral("fonts"));
}

void OverrideProgramFolder(const QString &dir) { g_programFolder = withoutTrailingSlash(dir); }
void OverrideWindowsFolder(const QString &dir) { g_windowsFolder = withoutTrailingSlash(dir); }
void OverrideFontsFolder(const QString &dir) { g_fontsFolder = withoutTrailingSlash(dir); }

} // namespace paths
