#include "frmMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>

#include "Controls.h"
#include "Fonts.h"
#include "HelpTopics.h"
#include "MsgBox.h"
#include "Paths.h"
#include "Registry.h"
#include "cRegistry.h"
#include "frmAbout.h"
#include "frmEmus.h"
#include "frmOptions.h"
#include "frmRealityBoy.h"
#include "frmRedDragon.h"
#include "frmRomInfo.h"
#include "frmTileViewer.h"
#include "frmUtils.h"
#include "frmVbRomDatabase.h"
#include "frmVirtualE.h"

namespace {

constexpr int kClassicClientWidth = 3720;
constexpr int kClassicClientHeight = 1320;

using msgbox::CR;

QString folderWithSeparator(const QString &folder)
{
    return folder.size() > 3 && !folder.endsWith(QLatin1Char('/')) ? folder + QLatin1Char('/') : folder;
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : Form(parent)
{
    setWindowTitle(QStringLiteral("Zandrel Utilities"));
    setClientSizeTwips(kClassicClientWidth, kClassicClientHeight);
    createMenus();
    createButtons();
    createPictureMenu();

    txtHelp = new QPlainTextEdit(client());
    txtHelp->setVisible(false);
    QFile text(QStringLiteral(":/help/MainHelp.txt"));
    if (text.open(QIODevice::ReadOnly))
        txtHelp->setPlainText(QString::fromUtf8(text.readAll()));
    help::RegisterSource(QStringLiteral("Zandrel"), txtHelp);
}

void frmMain::createMenus()
{
    auto item = [this](QMenu *menu, const char *caption, const QKeySequence &shortcut) {
        QAction *a = menu->addAction(QString::fromLatin1(caption));
        a->setShortcut(shortcut);
        return a;
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileRom = item(mnuFile, "View/Edit ROM &Info...", QKeySequence(Qt::CTRL | Qt::Key_I));
    mnuFileViewer = item(mnuFile, "ROM &Tile Viewer...", QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuFileDatabase = item(mnuFile, "VB ROM &Database...", QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuFileEmus = mnuFile->addMenu(QStringLiteral("Virtual Boy &Emulators"));
    mnuFileRealityBoy = item(mnuFileEmus, "Reality &Boy Frontend...", QKeySequence(Qt::CTRL | Qt::Key_B));
    mnuFileVirtualE = item(mnuFileEmus, "&Virtual-E Frontend...", QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuFileRedDragon = item(mnuFileEmus, "&Red Dragon Frontend...", QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuFileUtils = mnuFile->addMenu(QStringLiteral("Virtual Boy &Utilities"));
    mnuFileVECC = item(mnuFileUtils, "Virtual-E &C Compiler...", QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuFileVirtualEnvironment = item(mnuFileUtils, "Virtual-&Environment...", QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuFileVBDevKit = item(mnuFileUtils, "Virtual Boy Development &Kit...", QKeySequence(Qt::CTRL | Qt::Key_K));
    mnuFile->addSeparator();
    mnuFileOptions = item(mnuFile, "Zandrel Utils &Options...", QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFile->addSeparator();
    mnuFileQuit = item(mnuFile, "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelpHelp = item(mnuHelp, "Zandrel Utilities &Help...", QKeySequence(Qt::Key_F1));
    mnuHelp->addSeparator();
    mnuHelpCodes = item(mnuHelp, "ROM &Identification Codes...", QKeySequence(Qt::SHIFT | Qt::Key_F1));
    mnuHelp->addSeparator();
    mnuHelpAbout = item(mnuHelp, "&About Zandrel Utils...", QKeySequence(Qt::CTRL | Qt::Key_F1));

    connect(mnuFileRom, &QAction::triggered, this, &frmMain::mnuFileRom_Click);
    connect(mnuFileViewer, &QAction::triggered, this, &frmMain::mnuFileViewer_Click);
    connect(mnuFileDatabase, &QAction::triggered, this, &frmMain::mnuFileDatabase_Click);
    connect(mnuFileRealityBoy, &QAction::triggered, this, &frmMain::mnuFileRealityBoy_Click);
    connect(mnuFileVirtualE, &QAction::triggered, this, &frmMain::mnuFileVirtualE_Click);
    connect(mnuFileVECC, &QAction::triggered, this, &frmMain::mnuFileVECC_Click);
    connect(mnuFileVirtualEnvironment, &QAction::triggered, this, &frmMain::mnuFileVirtualEnvironment_Click);
    connect(mnuFileVBDevKit, &QAction::triggered, this, &frmMain::mnuFileVBDevKit_Click);
    connect(mnuFileRedDragon, &QAction::triggered, this, &frmMain::mnuFileRedDragon_Click);
    connect(mnuFileOptions, &QAction::triggered, this, &frmMain::mnuFileOptions_Click);
    connect(mnuFileQuit, &QAction::triggered, this, &frmMain::mnuFileQuit_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmMain::mnuHelpHelp_Click);
    connect(mnuHelpCodes, &QAction::triggered, this, &frmMain::mnuHelpCodes_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::createButtons()
{
    using controls::CommandButton;
    using controls::Place;
    cmdRomInfo = Place<CommandButton>(client(), 120, 120, 1095, 495, QStringLiteral("View/Edit ROM Info..."));
    cmdTileViewer = Place<CommandButton>(client(), 1320, 120, 1095, 495, QStringLiteral("ROM Tile Viewer..."));
    cmdRomDatabase = Place<CommandButton>(client(), 2520, 120, 1095, 495, QStringLiteral("VB ROM Database..."));
    cmdEmus = Place<CommandButton>(client(), 120, 720, 1095, 495, QStringLiteral("Vrtual Boy Emulators..."));
    cmdUtils = Place<CommandButton>(client(), 1320, 720, 1095, 495, QStringLiteral("Virtual Boy Utilities..."));
    cmdOptions = Place<CommandButton>(client(), 2520, 720, 1095, 495, QStringLiteral("Zandrel Utils Options..."));
    // Tab order follows the reading order of the two rows.
    setTabOrder(cmdRomInfo, cmdTileViewer);
    setTabOrder(cmdTileViewer, cmdRomDatabase);
    setTabOrder(cmdRomDatabase, cmdEmus);
    setTabOrder(cmdEmus, cmdUtils);
    setTabOrder(cmdUtils, cmdOptions);

    connect(cmdRomInfo, &QPushButton::clicked, this, &frmMain::cmdRomInfo_Click);
    connect(cmdTileViewer, &QPushButton::clicked, this, &frmMain::cmdTileViewer_Click);
    connect(cmdRomDatabase, &QPushButton::clicked, this, &frmMain::cmdRomDatabase_Click);
    connect(cmdEmus, &QPushButton::clicked, this, &frmMain::cmdEmus_Click);
    connect(cmdUtils, &QPushButton::clicked, this, &frmMain::cmdUtils_Click);
    connect(cmdOptions, &QPushButton::clicked, this, &frmMain::cmdOptions_Click);
}

void frmMain::GetRegistry()
{
    m_settings.read();
}

void frmMain::SaveRegistry()
{
    m_settings.write();
}

bool frmMain::checkRequiredFiles()
{
    cRegistry reg;
    reg.setClassKey(cRegistry::HKEY_LOCAL_MACHINE);
    reg.setSectionKey(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion"));
    reg.setValueKey(QStringLiteral("SystemRoot"));
    reg.setValueType(cRegistry::REG_SZ);
    const QString windowsFolder = folderWithSeparator(reg.Value().toString());

    reg.setClassKey(cRegistry::HKEY_USERS);
    reg.setSectionKey(QStringLiteral(".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"));
    reg.setValueKey(QStringLiteral("Fonts"));
    reg.setValueType(cRegistry::REG_SZ);
    const QString fontsFolder = folderWithSeparator(reg.Value().toString());

    const QString programFolder = folderWithSeparator(paths::ProgramFolder());

    if (!paths::FileExistsNoCase(windowsFolder, QStringLiteral("Zandrel.dll"))
        && !paths::FileExistsNoCase(programFolder, QStringLiteral("Zandrel.dll"))) {
        msgbox::MsgBox(QStringLiteral("Unable to find Zandrel.dll library file.") + CR
                           + QStringLiteral("Please copy Zandrel.dll to the directory where this program is located.")
                           + CR + CR + QStringLiteral("Zandrel Utilities will terminate now."),
                       msgbox::vbCritical, QStringLiteral("Library file not found"));
        return false;
    }

    const QString fontFile = paths::FindFileNoCase(fontsFolder, QStringLiteral("MSGOKATA.TTF"));
    if (fontFile.isEmpty()) {
        msgbox::MsgBox(QStringLiteral("Unable to find MSGOKATA.TTF font file.") + CR
                           + QStringLiteral("Please copy MSGOKATA.TTF to the Fonts directory:") + CR + fontsFolder + CR
                           + CR + QStringLiteral("Zandrel Utilities will terminate now."),
                       msgbox::vbCritical, QStringLiteral("Font file not found"));
        return false;
    }
    fonts::RegisterKatakanaFont(fontFile);
    return true;
}

void frmMain::Form_Load()
{
    if (!checkRequiredFiles()) {
        m_mustEnd = true;
        return;
    }

    registry::RemoveLeftoversOfKilledSaves();
    GetRegistry();
    SaveRegistry();
    // What went wrong reading or writing the store, in one box.
    if (const QString problem = registry::TakeStoreProblem(); !problem.isEmpty())
        msgbox::MsgBox(problem, msgbox::vbExclamation, QStringLiteral("Settings"));

    PowerState = 0;
    applyEnabledSettings();
    if (m_settings.VbMainMenuTheme)
        applyGraphicalLookAtLoad();

    msgbox::MsgBox(QStringLiteral("Thankyou for beta testing Zandrel Utilities.") + CR
                       + QStringLiteral("Please note that the tile viewer and the Virtual-E") + CR
                       + QStringLiteral("C compiler frontend are not yet complete.") + CR + CR
                       + QStringLiteral("If you find any bugs, please email me at:") + CR
                       + QStringLiteral("zandrel-utils@example.org") + CR + CR + QString(18, QLatin1Char(' '))
                       + QStringLiteral("The Zandrel Utilities developers"),
                   msgbox::vbExclamation, QStringLiteral("Zandrel Utilities beta version 0.9"));
    forms::DoEvents();
}

void frmMain::applyEnabledSettings()
{
    const SettingsRecord &s = m_settings;
    mnuFileEmus->setEnabled(s.anyEmulatorEnabled());
    cmdEmus->setEnabled(s.anyEmulatorEnabled());
    mnuFileRealityBoy->setEnabled(s.RealityBoyEnabled);
    mnuFileVirtualE->setEnabled(s.VirtualEEnabled);
    mnuFileRedDragon->setEnabled(s.RedDragonEnabled);

    mnuFileUtils->setEnabled(s.anyToolEnabled());
    cmdUtils->setEnabled(s.anyToolEnabled());
    mnuFileVECC->setEnabled(s.VECCompilerEnabled);
    mnuFileVirtualEnvironment->setEnabled(s.VEnvironmentEnabled);
    mnuFileVBDevKit->setEnabled(s.VBDevKitEnabled);
}

void frmMain::applyClassicLook()
{
    setClientSizeTwips(kClassicClientWidth, kClassicClientHeight);
    setClassicControlsVisible(true);
    hidePictureSurface();
    unsetCursor();
    centre();
}

void frmMain::setClassicControlsVisible(bool visible)
{
    mnuFile->menuAction()->setVisible(visible);
    mnuHelp->menuAction()->setVisible(visible);
    for (QPushButton *b : {cmdRomInfo, cmdTileViewer, cmdRomDatabase, cmdEmus, cmdUtils, cmdOptions})
        b->setVisible(visible);
}

void frmMain::cmdRomInfo_Click()
{
    mnuFileRom_Click();
}

void frmMain::mnuFileRom_Click()
{
    frmRomInfo window(this);
    forms::ShowModal(window);
}

void frmMain::cmdTileViewer_Click()
{
    mnuFileViewer_Click();
}

void frmMain::mnuFileViewer_Click()
{
    frmTileViewer window(this);
    forms::ShowModal(window);
}

void frmMain::cmdRomDatabase_Click()
{
    mnuFileDatabase_Click();
}

void frmMain::mnuFileDatabase_Click()
{
    frmVbRomDatabase window(this);
    forms::ShowModal(window);
}

void frmMain::mnuFileRealityBoy_Click()
{
    frmRealityBoy window(this);
    forms::ShowModal(window);
}

void frmMain::mnuFileVirtualE_Click()
{
    frmVirtualE window(this);
    forms::ShowModal(window);
}

void frmMain::cmdEmus_Click()
{
    frmEmus window(this);
    forms::ShowModal(window);
}

void frmMain::cmdUtils_Click()
{
    frmUtils window(this);
    forms::ShowModal(window);
}

void frmMain::mnuFileVECC_Click()
{
    frmUtils::PickTool(ToolId::VECCompiler, m_settings.VECCompilerDirectory);
}

void frmMain::mnuFileVirtualEnvironment_Click()
{
    frmUtils::PickTool(ToolId::VEnvironment, m_settings.VEnvironmentDirectory);
}

void frmMain::mnuFileVBDevKit_Click()
{
    frmUtils::PickTool(ToolId::VBDevKit, m_settings.VBDevKitDirectory);
}

void frmMain::mnuFileRedDragon_Click()
{
    frmRedDragon window(this);
    forms::ShowModal(window);
}

void frmMain::cmdOptions_Click()
{
    mnuFileOptions_Click();
}

void frmMain::mnuFileOptions_Click()
{
    frmOptions options(this);
    forms::ShowModal(options);
    GetRegistry();
    PowerState = 0;
    applyEnabledSettings();
    if (m_settings.VbMainMenuTheme)
        applyGraphicalLookAfterOptions();
    else
        applyClassicLook();
    forms::DoEvents();
}

void frmMain::mnuFileQuit_Click()
{
    close();
    QCoreApplication::quit();
}

void frmMain::mnuHelpHelp_Click()
{
    help::ShowTopic(QStringLiteral("Zandrel"));
}

void frmMain::mnuHelpCodes_Click()
{
    help::ShowTopic(QStringLiteral("ROM ID Codes"));
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(this);
    forms::ShowModal(about);
}
