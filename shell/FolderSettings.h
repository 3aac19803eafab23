#pragma once
// The folders the options dialog keeps: the six tools with the programs their
// folders must hold, the checks that a folder holds what it should, and the
// shortened caption of a path too wide for its label. No widgets here.

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "SettingsRecord.h"

// One emulator or developer tool: its settings and what its folder must hold.
struct ToolDefinition {
    QStringList programFiles; // any one of them will do
    QString missingText;      // first line of the warning when none is there
    QString missingTitle;
    bool SettingsRecord::*enabled;
    QString SettingsRecord::*folder;
};

// Reality Boy, Virtual-E, Red Dragon, V-E C Compiler, V-Environment, VB Dev Kit.
const std::array<ToolDefinition, 6> &ToolDefinitions();

// True when the folder holds one of the files (names compare without regard
// to letter case). An empty or missing folder holds nothing.
bool FolderHoldsAnyOf(const QString &folder, const QStringList &fileNames);
// True when the folder holds a ROM image ("*.VB" in any letter case).
bool FolderHoldsRoms(const QString &folder);

// The caption a label shows for `path` within `limit`: the path itself when
// it fits, else its longest beginning that fits with "..." behind it, and
// "..." alone when not even that fits. `widthOf` measures a caption.
QString FitPathCaption(const QString &path, int limit, const std::function<int(const QString &)> &widthOf);
