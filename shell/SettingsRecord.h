#pragma once
// The program's 46 settings as one record, in the order they are read and
// written. The main window keeps one copy, the options dialog another.

#include <QString>
#include <array>
#include <cstdint>

struct TileShade {
    int16_t Red = 0;
    int16_t Green = 0;
    int16_t Blue = 0;

    bool operator==(const TileShade &) const = default;
};

struct SettingsRecord {
    QString VersionNumber;
    bool VbMainMenuTheme = false;
    bool VbThemeColours = false;
    QString BaseDirectory;
    bool AutoDetectRom = false;
    int16_t RecentRomsNumber = 4;
    std::array<QString, 10> RecentRoms; // "Recent ROM #1" ... "#10"
    int16_t TileDisplayMode = 0;
    bool AutoUpdateViewer = false;
    TileShade WhiteTile, LGreyTile, DGreyTile, BlackTile;
    bool RealityBoyEnabled = false;
    QString RealityBoyDirectory;
    bool VirtualEEnabled = false;
    QString VirtualEDirectory;
    bool RedDragonEnabled = false;
    QString RedDragonDirectory;
    bool VECCompilerEnabled = false;
    QString VECCompilerDirectory;
    bool VEnvironmentEnabled = false;
    QString VEnvironmentDirectory;
    bool VBDevKitEnabled = false;
    QString VBDevKitDirectory;
    int16_t DetailedRomLists = 0;
    int16_t RenameRoms = 0;
    int16_t MoveRoms = 0;
    int16_t CreateChangeLog = 0;

    // All 46 keys, each with its default where it is missing or unreadable.
    void read();
    // All 46 keys in order ("Version Number" first).
    void write() const;
    // The 45 keys behind "Version Number", in order.
    void writeAllButVersion() const;
    // Every key at its default, as an empty store reads.
    static SettingsRecord Defaults();

    bool anyEmulatorEnabled() const { return RealityBoyEnabled || VirtualEEnabled || RedDragonEnabled; }
    bool anyToolEnabled() const { return VECCompilerEnabled || VEnvironmentEnabled || VBDevKitEnabled; }

    bool operator==(const SettingsRecord &) const = default;
};

// The keys in store order, as stored ("Version Number" ... "Create Change Log").
const std::array<QString, 46> &SettingsKeyNames();

// The folder a Windows-style "C:\" default stands for: the user's home folder.
QString DefaultFolder();
