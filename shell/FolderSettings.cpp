#include "FolderSettings.h"

#include <algorithm>

#include "Paths.h"
#include "Process.h"
#include "SettingsStore.h"

const std::array<ToolDefinition, 6> &ToolDefinitions()
{
    static const QString emulatorMissing = QStringLiteral("Emulator not found");
    static const QString utilityMissing = QStringLiteral("Utility not found");
    static const std::array<ToolDefinition, 6> tools{{
        {{QStringLiteral("Rboy.exe"), QStringLiteral("VB_98.exe")},
         QStringLiteral("Can't find Rboy.exe or VB_98.exe in directory:"), emulatorMissing,
         &SettingsRecord::RealityBoyEnabled, &SettingsRecord::RealityBoyDirectory,
         QStringLiteral("Reality Boy Enabled"), QStringLiteral("Reality Boy Directory")},
        {{QStringLiteral("VirtualE.exe")}, QStringLiteral("Can't find VirtualE.exe in directory:"), emulatorMissing,
         &SettingsRecord::VirtualEEnabled, &SettingsRecord::VirtualEDirectory,
         QStringLiteral("Virtual-E Enabled"), QStringLiteral("Virtual-E Directory")},
        {{QStringLiteral("rdragon.exe")}, QStringLiteral("Can't find RDRAGON.EXE in directory:"), emulatorMissing,
         &SettingsRecord::RedDragonEnabled, &SettingsRecord::RedDragonDirectory,
         QStringLiteral("Red Dragon Enabled"), QStringLiteral("Red Dragon Directory")},
        {{QStringLiteral("Vecc.exe")}, QStringLiteral("Can't find Vecc.exe in directory:"), utilityMissing,
         &SettingsRecord::VECCompilerEnabled, &SettingsRecord::VECCompilerDirectory,
         QStringLiteral("V-E C Compiler Enabled"), QStringLiteral("V-E C Compiler Directory"),
         QStringLiteral("Can't find VECC.EXE in directory:")},
        {{QStringLiteral("VIDE.EXE")}, QStringLiteral("Can't find VIDE.EXE in directory:"), utilityMissing,
         &SettingsRecord::VEnvironmentEnabled, &SettingsRecord::VEnvironmentDirectory,
         QStringLiteral("V-Environment Enabled"), QStringLiteral("V-Environment Directory")},
        {{QStringLiteral("Vbdk.exe"), QStringLiteral("Vbdk00.exe"), QStringLiteral("Vbdk01.exe"),
          QStringLiteral("Vbdk02.exe"), QStringLiteral("Vbdk03.exe"), QStringLiteral("Vbdk04.exe"),
          QStringLiteral("Vbdk05.exe"), QStringLiteral("Vbdk06.exe"), QStringLiteral("Vbdk07.exe"),
          QStringLiteral("Vbdk08.exe"), QStringLiteral("Vbdk09.exe")},
         QStringLiteral("Can't find Vbdk.exe or Vbdk0?.exe in directory:"), utilityMissing,
         &SettingsRecord::VBDevKitEnabled, &SettingsRecord::VBDevKitDirectory,
         QStringLiteral("VB Dev Kit Enabled"), QStringLiteral("VB Dev Kit Directory")},
    }};
    return tools;
}

const ToolDefinition &ToolDefinitionOf(ToolId id)
{
    return ToolDefinitions()[size_t(id)];
}

ToolSetting ReadToolSetting(ToolId id)
{
    const ToolDefinition &tool = ToolDefinitionOf(id);
    ToolSetting setting;
    setting.enabled = settings::GetBoolean(tool.enabledKey, false);
    setting.folder = settings::Get(tool.folderKey, DefaultFolder());
    return setting;
}

namespace {

// An empty path would otherwise mean the current folder.
bool isFolder(const QString &folder)
{
    return paths::IsFolder(folder);
}

} // namespace

bool FolderHoldsAnyOf(const QString &folder, const QStringList &fileNames)
{
    return !NewestProgramIn(folder, fileNames).isEmpty();
}

QString NewestProgramIn(const QString &folder, const QStringList &fileNames)
{
    if (!isFolder(folder))
        return QString();
    for (auto name = fileNames.crbegin(); name != fileNames.crend(); ++name)
        if (!process::FindProgram(folder, *name).isEmpty())
            return paths::AppendFileToDir(folder, *name);
    return QString();
}

bool FolderHoldsRoms(const QString &folder)
{
    if (!isFolder(folder))
        return false; // an empty path is no folder, not the current one
    const QList<paths::FolderEntry> entries = paths::ListFolder(folder);
    return std::any_of(entries.cbegin(), entries.cend(), [](const paths::FolderEntry &entry) {
        return !entry.isFolder && entry.name.endsWith(QLatin1String(".vb"), Qt::CaseInsensitive);
    });
}

QString FitPathCaption(const QString &path, int limit, const std::function<int(const QString &)> &widthOf)
{
    if (widthOf(path) <= limit)
        return path;
    QString beginning = path;
    QString caption;
    do {
        beginning.chop(1);
        caption = beginning + QStringLiteral("...");
    } while (!beginning.isEmpty() && widthOf(caption) > limit);
    return caption;
}
