#pragma once
// The main window: start-up checks, the settings record, and the launcher of
// every tool window (classic look: menus and six buttons).

#include <QSet>
#include <QString>
#include <cstdint>

#include "Forms.h"
#include "SettingsRecord.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;

class frmMain : public forms::Form {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);

    // True when a start-up check failed and the program must end.
    bool mustEnd() const { return m_mustEnd; }

    // The settings record as the main window holds it.
    const SettingsRecord &settingsRecord() const { return m_settings; }
    int16_t PowerState = 0;

    void GetRegistry();
    void SaveRegistry();

    // Classic look controls.
    QPushButton *cmdRomInfo;
    QPushButton *cmdTileViewer;
    QPushButton *cmdRomDatabase;
    QPushButton *cmdEmus;
    QPushButton *cmdUtils;
    QPushButton *cmdOptions;

    QMenu *mnuFile;
    QAction *mnuFileRom;
    QAction *mnuFileViewer;
    QAction *mnuFileDatabase;
    QMenu *mnuFileEmus;
    QAction *mnuFileRealityBoy;
    QAction *mnuFileVirtualE;
    QAction *mnuFileRedDragon;
    QMenu *mnuFileUtils;
    QAction *mnuFileVECC;
    QAction *mnuFileVirtualEnvironment;
    QAction *mnuFileVBDevKit;
    QAction *mnuFileOptions;
    QAction *mnuFileQuit;
    QMenu *mnuHelp;
    QAction *mnuHelpHelp;
    QAction *mnuHelpCodes;
    QAction *mnuHelpAbout;

    // Hidden: the main help text that the help viewer shows.
    QPlainTextEdit *txtHelp;

public slots:
    void mnuFileRom_Click();
    void cmdRomInfo_Click();
    void cmdOptions_Click();
    void mnuFileOptions_Click();
    void mnuFileQuit_Click();
    void mnuHelpHelp_Click();
    void mnuHelpCodes_Click();

protected:
    void Form_Load() override;

private:
    void createMenus();
    void createButtons();
    bool checkRequiredFiles();
    void applyEnabledSettings();
    void applyClassicLook();
    // Enables a menu entry or button unless the window behind it is not part
    // of the program yet.
    void setEntryEnabled(QObject *entry, bool enabled);

    SettingsRecord m_settings;
    bool m_mustEnd = false;
    QSet<QObject *> m_notYetBuilt;
};
