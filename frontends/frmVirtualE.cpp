#include "frmVirtualE.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "Choices.h"
#include "Controls.h"
#include "FrontendHelp.h"
#include "FrontendMenus.h"
#include "HelpTopics.h"
#include "ImageControl.h"
#include "MsgBox.h"
#include "NumberBoxPair.h"
#include "Paths.h"
#include "Process.h"
#include "RevertQuestions.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "VirtualEPictures.h"
#include "frmControlConfig.h"

using controls::Place;

namespace {

const QString kEmulatorName = QStringLiteral("Virtual-E");
using msgbox::CR;

constexpr int kClientWidth = 7800;
constexpr int kClientHeight = 5190;
constexpr int kCountMax = 32767;

const char *const kPriorityCaptions[] = {"Idle Priority", "Normal Priority", "High Priority", "Real Time Priority"};

// Option buttons 1..N stacked in a frame.
QMap<int, QRadioButton *> stackedOptions(QGroupBox *frame)
{
    QMap<int, QRadioButton *> buttons;
    for (int i = 1; i <= 4; ++i)
        buttons.insert(i, Place<QRadioButton>(frame, 120, 30 + 240 * i, 2310, 240,
                                              QString::fromLatin1(kPriorityCaptions[i - 1])));
    return buttons;
}

} // namespace

frmVirtualE::frmVirtualE(QWidget *parent)
    : Form(parent)
{
    setWindowTitle(QStringLiteral("Virtual-E Frontend"));
    setClientSizeTwips(kClientWidth, kClientHeight);
    createCoreControls();
    createOptionControls();
    createButtonsAndPictures();
    createMenus();
    txtHelp = frontendhelp::CreateHelpBox(client(), kEmulatorName, QStringLiteral("VirtualEHelp.txt"));
    controls::FitCaptions(this);
}

void frmVirtualE::createCoreControls()
{
    fraCore = Place<QGroupBox>(client(), 120, 660, 5460, 2490, QStringLiteral("Core Emulation"));
    fraDisplayThread = Place<QGroupBox>(fraCore, 120, 270, 2550, 1320, QStringLiteral("Display Thread"));
    optDisplay = stackedOptions(fraDisplayThread);
    fraEmulatorThread = Place<QGroupBox>(fraCore, 2790, 270, 2550, 1320, QStringLiteral("Emulator Thread"));
    optEmulator = stackedOptions(fraEmulatorThread);

    lblFrameSkip = Place<QLabel>(fraCore, 120, 1740, 1050, 270, QStringLiteral("Frame Skip:"));
    txtFrameSkip = Place<controls::NumberBox>(fraCore, 1200, 1710, 900, 330);
    vscFrameSkip = Place<controls::UpwardScrollBar>(fraCore, 2100, 1680, 240, 390);
    lblFps = Place<QLabel>(fraCore, 2790, 1740, 600, 270, QStringLiteral("FPS:"));
    txtFps = Place<controls::NumberBox>(fraCore, 3480, 1710, 900, 330);
    vscFps = Place<controls::UpwardScrollBar>(fraCore, 4380, 1680, 240, 390);
    lblFrameSkip->setBuddy(txtFrameSkip);
    lblFps->setBuddy(txtFps);
    for (QScrollBar *bar : {vscFrameSkip, vscFps}) {
        bar->setRange(1, kCountMax);
        bar->setSingleStep(1);
        bar->setPageStep(10);
        bar->setValue(1);
    }

    chkIgnoreDisplayIrq = Place<QCheckBox>(fraCore, 120, 2130, 1770, 270, QStringLiteral("Ignore Display IRQ"));
    chkIgnoreTimerIrq = Place<QCheckBox>(fraCore, 1920, 2130, 1680, 270, QStringLiteral("Ignore Timer IRQ"));
    chkIgnoreControlIrq = Place<QCheckBox>(fraCore, 3630, 2130, 1770, 270, QStringLiteral("Ignore Control IRQ"));

    connect(txtFrameSkip, &controls::NumberBox::numberChanged, this, &frmVirtualE::txtFrameSkip_Change);
    connect(txtFps, &controls::NumberBox::numberChanged, this, &frmVirtualE::txtFps_Change);
    connect(vscFrameSkip, &QScrollBar::valueChanged, this, &frmVirtualE::vscFrameSkip_Change);
    connect(vscFps, &QScrollBar::valueChanged, this, &frmVirtualE::vscFps_Change);
    // The boxes show the bars' first value too.
    vscFrameSkip_Change();
    vscFps_Change();
}

void frmVirtualE::createOptionControls()
{
    fraOptions = Place<QGroupBox>(client(), 120, 3240, 5460, 1830, QStringLiteral("General Options"));
    lblBrightness = Place<QLabel>(fraOptions, 120, 330, 1650, 270, QStringLiteral("Display Brightness:"));
    sliBrightness = Place<QSlider>(fraOptions, 1860, 270, 2100, 360, Qt::Horizontal);
    sliBrightness->setRange(virtualepictures::kLowestBrightness, virtualepictures::kHighestBrightness);
    sliBrightness->setPageStep(1);
    sliBrightness->setTickInterval(1);
    sliBrightness->setTickPosition(QSlider::TicksBelow);
    lblBrightness->setBuddy(sliBrightness);
    for (size_t i = 0; i < imgBrightness.size(); ++i) {
        imgBrightness[i] = Place<controls::ImageControl>(fraOptions, 1950, 660, 1935, 255);
        imgBrightness[i]->setPicture(virtualepictures::Brightness(int(i) + virtualepictures::kLowestBrightness));
        imgBrightness[i]->setFocusPolicy(Qt::NoFocus);
        imgBrightness[i]->setVisible(false);
    }

    lblStyle = Place<QLabel>(fraOptions, 120, 1080, 1200, 270, QStringLiteral("Layout Style:"));
    optStyle.insert(1, Place<QRadioButton>(fraOptions, 1440, 1050, 1140, 300, QStringLiteral("Standard")));
    optStyle.insert(2, Place<QRadioButton>(fraOptions, 2640, 1050, 960, 300, QStringLiteral("Small")));
    optStyle.insert(3, Place<QRadioButton>(fraOptions, 3660, 1050, 1500, 300, QStringLiteral("Full Screen")));

    chkEnableSram = Place<QCheckBox>(fraOptions, 120, 1440, 1650, 270, QStringLiteral("Enable SRAM"));
    chkIgnoreRomPalette = Place<QCheckBox>(fraOptions, 1860, 1440, 1800, 270, QStringLiteral("Ignore VB Palette"));
    chkEnableSound = Place<QCheckBox>(fraOptions, 3750, 1440, 1590, 270, QStringLiteral("Enable Sound"));

    connect(sliBrightness, &QSlider::valueChanged, this, &frmVirtualE::sliBrightness_Change);
}

void frmVirtualE::createButtonsAndPictures()
{
    QWidget *c = client();
    cmdControlConfig = Place<QPushButton>(c, 5940, 120, 1740, 450, QStringLiteral("Control Configuration..."));
    cmdSaveSettings = Place<QPushButton>(c, 5940, 690, 1740, 450, QStringLiteral("Save Settings"));
    cmdRevertSettings = Place<QPushButton>(c, 5940, 1260, 1740, 450, QStringLiteral("Revert Settings"));
    cmdRevertDefault = Place<QPushButton>(c, 5940, 1830, 1740, 450, QStringLiteral("Revert to Default"));
    cmdRunVirtualE = Place<controls::CommandButton>(c, 5940, 4170, 1740, 900, QStringLiteral("Run Virtual-E..."));
    // Enter in a number box must never start anything.
    setNoDefaultButton();

    connect(cmdControlConfig, &QPushButton::clicked, this, &frmVirtualE::cmdControlConfig_Click);
    connect(cmdSaveSettings, &QPushButton::clicked, this, &frmVirtualE::cmdSaveSettings_Click);
    connect(cmdRevertSettings, &QPushButton::clicked, this, &frmVirtualE::cmdRevertSettings_Click);
    connect(cmdRevertDefault, &QPushButton::clicked, this, &frmVirtualE::cmdRevertDefault_Click);
    connect(cmdRunVirtualE, &QPushButton::clicked, this, &frmVirtualE::cmdRunVirtualE_Click);

    imgVirtualE2 = Place<controls::ImageControl>(c, 120, 90, 360, 360);
    imgVirtualE1 = Place<controls::ImageControl>(c, 600, 60, 4500, 420);
    imgVirtualE3 = Place<controls::ImageControl>(c, 5220, 90, 360, 360);
    imgVirtualE1->setPicture(virtualepictures::Banner());
    imgVirtualE2->setPicture(virtualepictures::Lens());
    imgVirtualE3->setPicture(virtualepictures::Lens());
    for (controls::ImageControl *image : {imgVirtualE1, imgVirtualE2, imgVirtualE3})
        image->setFocusPolicy(Qt::NoFocus);
    linVirtualE1 = Place<QFrame>(c, 120, 555, 5460, 30);
    linVirtualE1->setFrameShape(QFrame::HLine);
    linVirtualE2 = Place<QFrame>(c, 5745, 120, 30, 4950);
    linVirtualE2->setFrameShape(QFrame::VLine);
    for (QFrame *line : {linVirtualE1, linVirtualE2})
        line->setFrameShadow(QFrame::Sunken);
}

void frmVirtualE::createMenus()
{
    std::tie(mnuFile, mnuFileBack, mnuHelp, mnuHelpHelp) =
        frontendmenus::Create(this, QStringLiteral("Virtual-E Frontend &Help..."),
                              &frmVirtualE::mnuFileBack_Click, &frmVirtualE::mnuHelpHelp_Click);
}

void frmVirtualE::Form_Load()
{
    GetAnyRegistry();
    showInControls(Saved);
    // Also when the slider already stood at the stored brightness.
    sliBrightness_Change();
}

void frmVirtualE::GetAnyRegistry()
{
    VirtualEDir = settings::Get(QStringLiteral("Virtual-E Directory"), DefaultFolder());
    Saved = virtuale::ReadOptions();
}

bool frmVirtualE::SaveAnyRegistry()
{
    const QString problem = virtuale::SaveOptions(Saved);
    if (problem.isEmpty())
        return true;
    msgbox::MsgBox(problem + CR + QStringLiteral("The Virtual-E settings were not saved."), msgbox::vbExclamation,
                   QStringLiteral("Settings not saved"));
    return false;
}

virtuale::Options frmVirtualE::controlsState() const
{
    virtuale::Options options = Saved;
    options.Display = int16_t(choices::ChosenIndex(optDisplay, Saved.Display));
    options.CPU = int16_t(choices::ChosenIndex(optEmulator, Saved.CPU));
    options.Brtness = int16_t(sliBrightness->value());
    options.Style = int16_t(choices::ChosenIndex(optStyle, Saved.Style));
    options.Skip = int16_t(vscFrameSkip->value());
    options.FPS = int16_t(vscFps->value());
    options.DisplayInt = chkIgnoreDisplayIrq->isChecked();
    options.TimeInt = chkIgnoreTimerIrq->isChecked();
    options.KeyInt = chkIgnoreControlIrq->isChecked();
    options.RAM = chkEnableSram->isChecked();
    options.NPalette = chkIgnoreRomPalette->isChecked();
    options.Sound = chkEnableSound->isChecked();
    return options;
}

void frmVirtualE::showInControls(const virtuale::Options &options)
{
    choices::Choose(optDisplay, options.Display);
    choices::Choose(optEmulator, options.CPU);
    sliBrightness->setValue(options.Brtness);
    choices::Choose(optStyle, options.Style);
    vscFrameSkip->setValue(options.Skip);
    vscFps->setValue(options.FPS);
    chkIgnoreDisplayIrq->setChecked(options.DisplayInt);
    chkIgnoreTimerIrq->setChecked(options.TimeInt);
    chkIgnoreControlIrq->setChecked(options.KeyInt);
    chkEnableSram->setChecked(options.RAM);
    chkIgnoreRomPalette->setChecked(options.NPalette);
    chkEnableSound->setChecked(options.Sound);
}

void frmVirtualE::sliBrightness_Change()
{
    const int value = sliBrightness->value();
    const QString text = QString::number(value);
    for (size_t i = 0; i < imgBrightness.size(); ++i) {
        const bool shown = int(i) == value - virtualepictures::kLowestBrightness;
        imgBrightness[i]->setVisible(shown);
        imgBrightness[i]->setToolTip(shown ? text : QString());
    }
    sliBrightness->setToolTip(text);
}

void frmVirtualE::txtFrameSkip_Change()
{
    numberboxpair::BoxChanged(txtFrameSkip, vscFrameSkip, 1, kCountMax);
}

void frmVirtualE::txtFps_Change()
{
    numberboxpair::BoxChanged(txtFps, vscFps, 1, kCountMax);
}

void frmVirtualE::vscFrameSkip_Change()
{
    numberboxpair::BarChanged(vscFrameSkip, txtFrameSkip);
}

void frmVirtualE::vscFps_Change()
{
    numberboxpair::BarChanged(vscFps, txtFps);
}

void frmVirtualE::cmdSaveSettings_Click()
{
    Saved = controlsState();
    SaveAnyRegistry();
}

void frmVirtualE::cmdRevertDefault_Click()
{
    if (revertquestions::AskRevertToDefault())
        showInControls(virtuale::Options{});
}

void frmVirtualE::cmdRevertSettings_Click()
{
    if (revertquestions::AskRevertToSaved())
        showInControls(Saved);
}

void frmVirtualE::cmdRunVirtualE_Click()
{
    const virtuale::Options current = controlsState();
    if (current == Saved) {
        // Written again: the options key may not exist yet.
        if (!SaveAnyRegistry())
            return;
    } else if (msgbox::MsgBox(QStringLiteral("Settings have changed since last save.") + CR
                                  + QStringLiteral("Do you wish to save & use current settings?"),
                              msgbox::vbOKCancel | msgbox::vbQuestion | msgbox::vbDefaultButton2,
                              QStringLiteral("Save setting changes"))
               == msgbox::vbOK) {
        Saved = current;
        // The emulator would not run with what the user asked for.
        if (!SaveAnyRegistry())
            return;
    }
    startEmulator();
}

void frmVirtualE::startEmulator()
{
    process::StartRequest request;
    request.program = paths::AppendFileToDir(VirtualEDir, QStringLiteral("VIRTUALE.EXE"));
    request.windowStyle = process::vbMinimizedFocus;
    request.wineRegistryKey = virtuale::kEmulatorKey;
    // Handing the settings to wine takes a while: Run can't be pressed again
    // until this start has ended.
    const bool hadFocus = cmdRunVirtualE->hasFocus();
    cmdRunVirtualE->setEnabled(false);
    process::Start(request);
    cmdRunVirtualE->setEnabled(true);
    if (hadFocus)
        cmdRunVirtualE->setFocus();
}

void frmVirtualE::cmdControlConfig_Click()
{
    frmControlConfig::ShowFor(kEmulatorName, this);
}

void frmVirtualE::mnuHelpHelp_Click()
{
    help::ShowTopic(kEmulatorName);
}

void frmVirtualE::mnuFileBack_Click()
{
    close();
}
