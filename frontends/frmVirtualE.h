#pragma once
// The Virtual-E front-end: the emulator's twelve options, which the emulator
// reads from its own registry key (VirtualERegistry.h) and which this window
// reads when it opens and writes when the user saves or runs; the start of
// "VIRTUALE.EXE" from the "Virtual-E Directory" folder; and the key
// configuration dialog for Virtual-E's keys.

#include <QMap>
#include <QString>

#include <array>
#include <cstdint>

#include "Forms.h"
#include "VirtualERegistry.h"

namespace controls {
class ImageControl;
class NumberBox;
}
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;

class frmVirtualE : public forms::Form {
    Q_OBJECT
public:
    explicit frmVirtualE(QWidget *parent = nullptr);

    // The saved options, as last read from the registry or saved; the
    // controls are the working copy.
    virtuale::Options Saved;
    QString VirtualEDir;

    // Option arrays by their index: optDisplay and optEmulator 1..4,
    // optStyle 1..3.
    QGroupBox *fraCore;
    QGroupBox *fraDisplayThread;
    QMap<int, QRadioButton *> optDisplay;
    QGroupBox *fraEmulatorThread;
    QMap<int, QRadioButton *> optEmulator;
    QLabel *lblFrameSkip;
    controls::NumberBox *txtFrameSkip;
    QScrollBar *vscFrameSkip;
    QLabel *lblFps;
    controls::NumberBox *txtFps;
    QScrollBar *vscFps;
    QCheckBox *chkIgnoreDisplayIrq;
    QCheckBox *chkIgnoreTimerIrq;
    QCheckBox *chkIgnoreControlIrq;
    QGroupBox *fraOptions;
    QLabel *lblBrightness;
    QSlider *sliBrightness;
    // Index = brightness + 5; exactly one is visible.
    std::array<controls::ImageControl *, 11> imgBrightness{};
    QLabel *lblStyle;
    QMap<int, QRadioButton *> optStyle;
    QCheckBox *chkEnableSram;
    QCheckBox *chkIgnoreRomPalette;
    QCheckBox *chkEnableSound;
    QPushButton *cmdControlConfig;
    QPushButton *cmdSaveSettings;
    QPushButton *cmdRevertSettings;
    QPushButton *cmdRevertDefault;
    QPushButton *cmdRunVirtualE;
    controls::ImageControl *imgVirtualE1;
    controls::ImageControl *imgVirtualE2;
    controls::ImageControl *imgVirtualE3;
    QFrame *linVirtualE1;
    QFrame *linVirtualE2;
    QMenu *mnuFile;
    QAction *mnuFileBack;
    QMenu *mnuHelp;
    QAction *mnuHelpHelp;
    // Hidden: the window's help text.
    QPlainTextEdit *txtHelp;

public slots:
    void cmdSaveSettings_Click();
    void cmdRevertDefault_Click();
    void cmdRevertSettings_Click();
    void cmdRunVirtualE_Click();
    void cmdControlConfig_Click();
    void mnuHelpHelp_Click();
    void mnuFileBack_Click();
    void sliBrightness_Change();
    void txtFps_Change();
    void txtFrameSkip_Change();
    void vscFps_Change();
    void vscFrameSkip_Change();

protected:
    void Form_Load() override;

private:
    void createCoreControls();
    void createOptionControls();
    void createButtonsAndPictures();
    void createMenus();

    // Registry and setting into the fields; fields into the registry (false,
    // with the user told, when the registry could not be written).
    void GetAnyRegistry();
    bool SaveAnyRegistry();

    // The options as the controls show them; a group with no chosen
    // button keeps the saved value.
    virtuale::Options controlsState() const;
    void showInControls(const virtuale::Options &options);

    // Starts VIRTUALE.EXE from the emulator's folder.
    void startEmulator();
};
