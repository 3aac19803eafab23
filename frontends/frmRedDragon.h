#pragma once
// The Red Dragon front-end: the emulator's emulation options and graphics
// mode, kept only in its own option file "options.dat", its 14 keys, the ROM
// to run (or none), and the start of the emulator in its folder once the
// option file is written.

#include <QString>

#include <array>

#include "Forms.h"
#include "RedDragonOptionsFile.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class RomSelection;

class frmRedDragon : public forms::Form {
    Q_OBJECT
public:
    explicit frmRedDragon(QWidget *parent = nullptr);

    QString RedDragonDirectory;
    // The ROM to run: "Base Directory", the recent list and the drop-down.
    RomSelection *RomChoice;
    // The option values read from the option file when the window loaded
    // (what "Revert Settings" brings back), and the keys as they stand now.
    ::RedDragonOptions RedDragonOptions;
    // The screen size last chosen: written while a new graphics mode has no
    // size chosen yet.
    QString LastScreenSize;

    QLabel *lblVersion;
    QComboBox *cmbVersion;
    QGroupBox *fraEmulationOptions;
    QLabel *lblFrameskip;
    QSlider *sliFrameskip;
    QLabel *lblDisplayMode;
    QComboBox *cmbDisplayMode;
    QLabel *lblBrightnessHack;
    std::array<QRadioButton *, 2> optBrightness{};
    QLabel *lblPalette;
    QComboBox *cmbPalette;
    QLabel *lblSwap3D;
    QCheckBox *chkSwap3D;
    QGroupBox *fraGraphicsMode;
    QListWidget *lstScreenMode;
    QListWidget *lstScreenSize;
    QListWidget *lstScreenCols;

    QLabel *lblRomToRun;
    QComboBox *cmbFilename;
    QLabel *lblFilename;
    QPushButton *cmdOpen;
    QPushButton *cmdRunRedDragon;
    QPushButton *cmdControlConfig;
    QPushButton *cmdRevertSettings;
    QPushButton *cmdRevertDefault;

    // Hidden: the keys handed to the key configuration, the option file's
    // text as last written, and the help page.
    QListWidget *lstControls;
    QPlainTextEdit *txtOptions;
    QPlainTextEdit *txtHelp;

    QMenu *mnuFile;
    QAction *mnuFileBack;
    QMenu *mnuHelp;
    QAction *mnuHelpHelp;

    void GetRegistry();
    void ReadOptionsFile();
    // Writes the option file from the controls and the keys; false (after
    // saying why) when it could not be written.
    bool WriteOptionsFile();
    // The options as the controls show them now, with the current keys.
    ::RedDragonOptions currentOptions() const;

public slots:
    void cmdRunRedDragon_Click();
    void cmdControlConfig_Click();
    void cmdRevertDefault_Click();
    void cmdRevertSettings_Click();
    void sliFrameskip_Change();
    void lstScreenMode_Click();
    void cmbFilename_Click();
    void cmdOpen_Click();
    void mnuHelpHelp_Click();
    void mnuFileBack_Click();

protected:
    void Form_Load() override;

private:
    void createEmulationOptions();
    void createGraphicsMode();
    void createRomRowAndButtons();
    void createMenus();
    void fillFixedLists();
    // Puts option values into the controls: on loading (where a size the
    // mode does not offer is added to the sizes) and for both reverts.
    enum class MissingSize { Add, LeaveUnchosen };
    void showOptions(const ::RedDragonOptions &options, MissingSize missingSize);
    // Selects the mode at a list position (none for -1), refilling the sizes.
    void chooseScreenMode(int position);
    // Selects the last size item of that text; none when there is none.
    void chooseScreenSize(const QString &sizeText);
    // The chosen item of a list box, or -1.
    static int chosenRow(const QListWidget *list);
};
