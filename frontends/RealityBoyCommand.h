#pragma once
// Reality Boy's command line: the emulator's program in its folder, the ROM,
// then its options in the order the emulator was always given them.

#include <QString>

#include "Process.h"

// The options as the front-end's controls hold them. An index of -1 means
// no button of that group is chosen, and the group adds nothing.
struct RealityBoyOptions {
    int resolution = 1;  // "Display Resolution", 0..6
    int displayMode = 0; // "3D Display Mode", 0..6
    int palette = 0;     // "Display Color Palette", 0..4
    int frameSkip = 0;   // 0..9
    int brightness = 64; // 0..127
    bool flip = false;       // "Flip 3D Effects"
    bool fixPalette = false; // "Ignore VB Palette Info"
};

// "RBOY" when the folder holds Reality Boy under that name ("RBOY.EXE", or a
// native build or wrapper "rboy"; letter case aside), else the name it ships
// under as VB-98, "VB_98".
QString RealityBoyProgramWord(const QString &folder);

// The start of the emulator in `folder` for the image `rom`; debug mode adds
// " -debug". It names no working folder: the emulator runs in the folder
// handed on by the window that led to it (the chooser hands on the
// emulator's folder), or else in our current folder, the one a folder picker
// made current last.
process::StartRequest RealityBoyCommand(const QString &folder, const QString &rom, const RealityBoyOptions &options,
                                        bool debug);
