#pragma once
// The main window: start-up checks, the settings record, and the launcher of
// every tool window, in its classic look (menus and six buttons) or its
// graphical look (a picture menu, in frmMainGraphicalLook.cpp).

#include <QString>
#include <array>
#include <cstdint>

#include "Forms.h"
#include "ImageControl.h"
#include "SettingsRecord.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

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

    // Graphical look: a picture surface with three screens and an image
    // menu. Element v of an array belongs to picture set v (0 grey, 1 red).
    using ImageArray = std::array<controls::ImageControl *, 2>;
    using PictureStore = std::array<controls::Picture, 2>;
    ImageArray imgPrecaution{};
    ImageArray imgTitle{};
    ImageArray imgMenu{};
    ImageArray imgLowBat{};
    controls::ImageControl *imgPower;
    controls::ImageControl *imgClose;
    controls::ImageControl *imgHelp;
    controls::ImageControl *imgAbout;
    controls::ImageControl *imgRomInfo;
    controls::ImageControl *imgTileViewer;
    controls::ImageControl *imgVbRomDatabase;
    controls::ImageControl *imgEmus;
    controls::ImageControl *imgUtils;
    controls::ImageControl *imgOptions;
    // Each button's highlighted (...Enabled) and normal (...Disabled) pictures.
    PictureStore imgPowerEnabled, imgPowerDisabled;
    PictureStore imgCloseEnabled, imgCloseDisabled;
    PictureStore imgHelpEnabled, imgHelpDisabled;
    PictureStore imgAboutEnabled, imgAboutDisabled;
    PictureStore imgRomInfoEnabled, imgRomInfoDisabled;
    PictureStore imgTileViewerEnabled, imgTileViewerDisabled;
    PictureStore imgVbRomDatabaseEnabled, imgVbRomDatabaseDisabled;
    PictureStore imgEmusEnabled, imgEmusDisabled;
    PictureStore imgUtilsEnabled, imgUtilsDisabled;
    PictureStore imgOptionsEnabled, imgOptionsDisabled;
    // The custom mouse pointer of each set.
    PictureStore imgPointer;
    // Blinks the low-battery lamp once the power switch has been pushed too often.
    QTimer *tmrLowBat;

public slots:
    void mnuFileRom_Click();
    void cmdRomInfo_Click();
    void mnuFileViewer_Click();
    void cmdTileViewer_Click();
    void mnuFileDatabase_Click();
    void cmdRomDatabase_Click();
    void mnuFileRealityBoy_Click();
    void mnuFileVirtualE_Click();
    void cmdEmus_Click();
    void mnuFileRedDragon_Click();
    void cmdUtils_Click();
    // Each starts its developer tool as the launcher's pick of it does.
    void mnuFileVECC_Click();
    void mnuFileVirtualEnvironment_Click();
    void mnuFileVBDevKit_Click();
    void cmdOptions_Click();
    void mnuFileOptions_Click();
    void mnuFileQuit_Click();
    void mnuHelpHelp_Click();
    void mnuHelpCodes_Click();
    void mnuHelpAbout_Click();

    void imgPrecaution_Click(int16_t Index);
    void imgTitle_Click(int16_t Index);
    void imgMenu_Click(int16_t Index);
    void imgLowBat_Click(int16_t Index);
    void imgPower_Click();
    void imgClose_Click();
    void imgHelp_Click();
    void imgAbout_Click();
    void imgRomInfo_Click();
    void imgTileViewer_Click();
    void imgVbRomDatabase_Click();
    void imgEmus_Click();
    void imgUtils_Click();
    void imgOptions_Click();
    void imgPower_MouseMove();
    void imgClose_MouseMove();
    void imgHelp_MouseMove();
    void imgAbout_MouseMove();
    void imgRomInfo_MouseMove();
    void imgTileViewer_MouseMove();
    void imgVbRomDatabase_MouseMove();
    void imgEmus_MouseMove();
    void imgUtils_MouseMove();
    void imgOptions_MouseMove();
    void imgMenu_MouseMove(int16_t Index);
    void imgLowBat_MouseMove(int16_t Index);
    void tmrLowBat_Timer();

protected:
    void Form_Load() override;

private:
    void createMenus();
    void createButtons();
    bool checkRequiredFiles();
    void applyEnabledSettings();
    void applyClassicLook();
    // The menu bar and the six command buttons.
    void setClassicControlsVisible(bool visible);

    // Graphical look.
    // One image button: its pictures and the classic entry it stands for
    // (none for the power switch), whose Enabled state it follows.
    struct ImageButton {
        controls::ImageControl *control;
        const PictureStore *highlighted;
        const PictureStore *normal;
        PictureStore unavailable;
        QObject *entry;
    };
    void createPictureMenu();
    void createImageButtons();
    // 1 when "VB Theme Colours" is set, else 0; evaluated afresh by each caller.
    int pictureSet() const;
    // Menus and command buttons away, surface size and custom pointer.
    void enterGraphicalLayout();
    // At load the user starts on the precaution screen; after the options
    // dialog the image menu shows at once.
    void applyGraphicalLookAtLoad();
    void applyGraphicalLookAfterOptions();
    void showImageButtons();
    // Hides the emulators and developer tools buttons when none is enabled.
    void hideButtonsWithoutEntries();
    void hidePictureSurface();
    // Gives `lit` its highlighted picture and every other button its normal one.
    void lightImageButton(const controls::ImageControl *lit);
    // Once the power switch is out, any click ends the program: true then.
    bool quitWhenPowerIsOut();
    // Runs a classic entry as its menu item or button would.
    static void runEntry(QObject *entry);

    SettingsRecord m_settings;
    bool m_mustEnd = false;
    std::array<ImageButton, 10> m_imageButtons{};
};
