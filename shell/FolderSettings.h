#pragma once
// The folders of the emulators and developer tools: the six tools with their
// settings and the programs their folders must hold, the checks that a
// folder holds what it should, and the shortened caption of a path too wide
// for its label. The options dialog sets them; the emulator chooser and the
// developer-tool launcher read them. No widgets here.

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "SettingsRecord.h"

// One emulator or developer tool: its settings and what its folder must hold.
struct ToolDefinition {
    QStringList programFiles; // any one will do; versions oldest first
    QString missingText;      // first line of the warning when none is there
    QString missingTitle;
    bool SettingsRecord::*enabled;
    QString SettingsRecord::*folder;
    QString enabledKey; // the settings behind `enabled` and `folder`
    QString folderKey;
    QString pickedMissingText = {}; // the launcher's wording, where it differs

    // The first line of the warning when the tool is picked and not there.
    const QString &missingTextWhenPicked() const
    {
        return pickedMissingText.isEmpty() ? missingText : pickedMissingText;
    }
};

// Reality Boy, Virtual-E, Red Dragon, V-E C Compiler, V-Environment, VB Dev Kit.
const std::array<ToolDefinition, 6> &ToolDefinitions();

// A tool by name: its place in ToolDefinitions().
enum class ToolId { RealityBoy, VirtualE, RedDragon, VECCompiler, VEnvironment, VBDevKit };
const ToolDefinition &ToolDefinitionOf(ToolId id);

// A tool's two settings, for a window that only reads them.
struct ToolSetting {
    bool enabled = false;
    QString folder;
};
// Reads the tool's enabled and folder keys (in that order), with the
// defaults and conversions of the settings record.
ToolSetting ReadToolSetting(ToolId id);

// True when the folder holds one of the programs, each looked up as every
// start looks a program up (process::FindProgram: any letter case, with or
// without ".exe"). An empty or missing folder holds nothing.
bool FolderHoldsAnyOf(const QString &folder, const QStringList &fileNames);
// The folder joined to the last of the names that it holds a program for (so
// the newest version of a program whose names are listed oldest first), the
// name as the list spells it (the start looks it up again the same way); ""
// when it holds none, or is empty or missing.
QString NewestProgramIn(const QString &folder, const QStringList &fileNames);
// True when the folder holds a ROM image ("*.VB" in any letter case).
bool FolderHoldsRoms(const QString &folder);

// The caption a label shows for `path` within `limit`: the path itself when
// it fits, else its longest beginning that fits with "..." behind it, and
// "..." alone when not even that fits. `widthOf` measures a caption.
QString FitPathCaption(const QString &path, int limit, const std::function<int(const QString &)> &widthOf);
