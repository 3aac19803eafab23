#pragma once
// The Reality Boy front-end: the emulator's options (3D display mode,
// resolution, palette, frame skip, brightness, two switches) kept under the
// "Reality Boy ..." settings, the ROM to run, and the start of the emulator
// with its command line, normally or in its debug mode.

#include <QString>

#include <array>
#include <cstdint>

#include "Forms.h"
#include "RealityBoyCommand.h"

namespace controls {
class NumberBox;
}
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class RomSelection;

class frmRealityBoy : public forms::Form {
    Q_OBJECT
public:
    explicit frmRealityBoy(QWidget *parent = nullptr);

    // The saved options, as the settings store holds them; the controls are
    // the working copy.
    int16_t DisplayMode = 0;
    int16_t Resolution = 1;
    int16_t Palette = 0;
    int16_t FrameSkip = 0;
    int16_t Brightness = 64;
    bool IgnorePalette = false;
    bool Flip3D = false;
    QString RealityBoyDirectory;
    // The ROM to run: "Base Directory", the recent list and the drop-down.
    RomSelection *RomChoice;

    QGroupBox *fraDspMode;
    std::array<QRadioButton *, 7> optDspMode{};
    QGroupBox *fraDisplay;
    std::array<QRadioButton *, 7> optDisplay{};
    QGroupBox *fraOptions;
    QLabel *lblFrameSkip;
    controls::NumberBox *txtFrameSkip;
    QScrollBar *vscFrameSkip;
    QLabel *lblBrightness;
    controls::NumberBox *txtBrightness;
    QScrollBar *vscBrightness;
    QCheckBox *chkPalette;
    QCheckBox *chkFlip;
    QGroupBox *fraPalette;
    std::array<QRadioButton *, 5> optPalette{};

    QPushButton *cmdControlConfig;
    QPushButton *cmdSaveSettings;
    QPushButton *cmdRevertSettings;
    QPushButton *cmdRevertDefault;
    QPushButton *cmdRunDebugMode;
    QPushButton *cmdRunRealityBoy;

    QLabel *lblRomToRun;
    QComboBox *cmbFilename;
    QLabel *lblFilename;
    QPushButton *cmdOpen;

    QMenu *mnuFile;
    QAction *mnuFileBack;
    QMenu *mnuHelp;
    QAction *mnuHelpHelp;

    // Hidden: the text the help viewer shows for "Reality Boy".
    QPlainTextEdit *txtHelp;

    void GetRegistry();
    void SaveRegistry();
    void ShowFrameSkipValue();
    void ShowBrightnessValue();
    // The options as the controls show them now.
    RealityBoyOptions currentOptions() const;

public slots:
    void optDspMode_Click(int Index);
    void txtFrameSkip_Change();
    void txtBrightness_Change();
    void vscFrameSkip_Change();
    void vscBrightness_Change();
    void cmdControlConfig_Click();
    void cmdSaveSettings_Click();
    void cmdRevertSettings_Click();
    void cmdRevertDefault_Click();
    void cmdRunRealityBoy_Click();
    void cmdRunDebugMode_Click();
    void cmbFilename_Click();
    void cmdOpen_Click();
    void mnuHelpHelp_Click();
    void mnuFileBack_Click();

protected:
    void Form_Load() override;

private:
    void createOptionControls();
    void createButtons();
    void createMenus();
    // Puts option values into the controls (load and both reverts).
    void showOptions(int displayMode, int resolution, int palette, int frameSkip, int brightness, bool ignorePalette,
                     bool flip3D);
    void setRunEnabled(bool enabled);
    void run(bool debug);
};
