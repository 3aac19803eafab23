#include "frmRealityBoy.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "Choices.h"
#include "Controls.h"
#include "FrontendHelp.h"
#include "FrontendMenus.h"
#include "HelpTopics.h"
#include "MsgBox.h"
#include "NumberBoxPair.h"
#include "RevertQuestions.h"
#include "RomSelection.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "frmControlConfig.h"

namespace {

constexpr int kClientWidth = 7590;
constexpr int kClientHeight = 4860;
constexpr int kFrameSkipMax = 9;
constexpr int kBrightnessMax = 127;
const QString kEmulatorName = QStringLiteral("Reality Boy");

constexpr std::array<const char *, 7> kDspModeCaptions{
    "Normal (No 3D Effects)",          "Red/Blue (Standard 3D Glasses)", "Red/Green (Alt. R/B Glasses)",
    "Interlace (Shutter Glasses)",     "Over/Under (Quality 3D Glasses)", "Side By Side (Frenzel Lens)",
    "Vertically Mirrored (CyberScope)"};
constexpr std::array<const char *, 7> kDisplayCaptions{"320x200",          "640x480", "640x480 (VESA 2)", "800x600",
                                                       "800x600 (VESA 2)", "1024x768", "1024x768 (VESA 2)"};
constexpr std::array<const char *, 5> kPaletteCaptions{"Grayscale", "Redscale (VB Colors)", "Red/Blue", "Red/Green",
                                                       "Red/Cyan"};

// Option buttons stacked in a frame, index 0 at the top.
template <size_t N>
void placeOptions(QGroupBox *frame, std::array<QRadioButton *, N> &buttons, const std::array<const char *, N> &captions,
                  int width)
{
    for (size_t i = 0; i < N; ++i)
        buttons[i] = controls::Place<QRadioButton>(frame, 120, 255 + int(i) * 285, width, 255,
                                                   QString::fromLatin1(captions[i]));
}

} // namespace

frmRealityBoy::frmRealityBoy(QWidget *parent)
    : Form(parent)
{
    setWindowTitle(QStringLiteral("Reality Boy Frontend"));
    setClientSizeTwips(kClientWidth, kClientHeight);
    createOptionControls();
    createButtons();
    createMenus();

    txtHelp = frontendhelp::CreateHelpBox(client(), kEmulatorName, QStringLiteral("RealityBoyHelp.txt"));

    controls::FitCaptions(this);
}

void frmRealityBoy::createOptionControls()
{
    using controls::Place;
    QWidget *c = client();

    fraDspMode = Place<QGroupBox>(c, 120, 60, 3135, 2340, QStringLiteral("3D Display Mode"));
    placeOptions(fraDspMode, optDspMode, kDspModeCaptions, 2895);
    fraDisplay = Place<QGroupBox>(c, 3360, 60, 2055, 2340, QStringLiteral("Display Resolution"));
    placeOptions(fraDisplay, optDisplay, kDisplayCaptions, 1815);
    fraOptions = Place<QGroupBox>(c, 120, 2460, 3135, 1740, QStringLiteral("General Options"));
    fraPalette = Place<QGroupBox>(c, 3360, 2460, 2055, 1740, QStringLiteral("Display Color Palette"));
    placeOptions(fraPalette, optPalette, kPaletteCaptions, 1815);

    lblFrameSkip = Place<QLabel>(fraOptions, 120, 315, 1095, 255, QStringLiteral("Frame Skip:"));
    txtFrameSkip = Place<controls::NumberBox>(fraOptions, 1320, 270, 615, 315);
    vscFrameSkip = Place<controls::UpwardScrollBar>(fraOptions, 1935, 270, 255, 315);
    lblBrightness = Place<QLabel>(fraOptions, 120, 675, 1095, 255, QStringLiteral("Brightness:"));
    txtBrightness = Place<controls::NumberBox>(fraOptions, 1320, 630, 615, 315);
    vscBrightness = Place<controls::UpwardScrollBar>(fraOptions, 1935, 630, 255, 315);
    chkPalette = Place<QCheckBox>(fraOptions, 120, 1095, 2895, 255, QStringLiteral("Ignore VB Palette Info"));
    chkFlip = Place<QCheckBox>(fraOptions, 120, 1380, 2895, 255, QStringLiteral("Flip 3D Effects"));
    lblFrameSkip->setBuddy(txtFrameSkip);
    lblBrightness->setBuddy(txtBrightness);

    vscFrameSkip->setRange(0, kFrameSkipMax);
    vscBrightness->setRange(0, kBrightnessMax);
    for (QScrollBar *bar : {vscFrameSkip, vscBrightness}) {
        bar->setSingleStep(1);
        bar->setPageStep(10);
    }
    vscBrightness->setValue(64);
    txtFrameSkip->setText(QStringLiteral("0"));
    txtBrightness->setText(QStringLiteral("64"));

    lblRomToRun = Place<QLabel>(c, 120, 4395, 975, 255, QStringLiteral("ROM to run:"));
    cmbFilename = Place<QComboBox>(c, 1095, 4350, 4320, 315);
    lblFilename = Place<QLabel>(c, 1095, 4350, 4320, 315);
    cmdOpen = Place<QPushButton>(c, 5520, 4320, 1950, 375, QStringLiteral("Select ROM..."));
    lblRomToRun->setBuddy(cmbFilename);

    for (size_t i = 0; i < optDspMode.size(); ++i)
        connect(optDspMode[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optDspMode_Click(int(i));
        });
    connect(txtFrameSkip, &controls::NumberBox::numberChanged, this, &frmRealityBoy::txtFrameSkip_Change);
    connect(txtBrightness, &controls::NumberBox::numberChanged, this, &frmRealityBoy::txtBrightness_Change);
    connect(vscFrameSkip, &QScrollBar::valueChanged, this, &frmRealityBoy::vscFrameSkip_Change);
    connect(vscBrightness, &QScrollBar::valueChanged, this, &frmRealityBoy::vscBrightness_Change);
}

void frmRealityBoy::createButtons()
{
    using controls::Place;
    QWidget *c = client();
    cmdControlConfig = Place<QPushButton>(c, 5520, 120, 1950, 435, QStringLiteral("Control Configuration..."));
    cmdSaveSettings = Place<QPushButton>(c, 5520, 660, 1950, 435, QStringLiteral("Save Settings"));
    cmdRevertSettings = Place<QPushButton>(c, 5520, 1200, 1950, 435, QStringLiteral("Revert Settings"));
    cmdRevertDefault = Place<QPushButton>(c, 5520, 1740, 1950, 435, QStringLiteral("Revert to Default"));
    cmdRunDebugMode = Place<controls::CommandButton>(c, 5520, 2520, 1950, 795,
                                                     QStringLiteral("Run Reality Boy Debug Mode..."));
    cmdRunRealityBoy = Place<controls::CommandButton>(c, 5520, 3405, 1950, 795, QStringLiteral("Run Reality Boy..."));
    // Enter in a number box must never start anything.
    setNoDefaultButton();
    setRunEnabled(false);

    RomChoice = new RomSelection(cmbFilename, lblFilename, cmdOpen, RomSelection::Options{},
                                 [this](bool enabled) { setRunEnabled(enabled); }, this);

    connect(cmdControlConfig, &QPushButton::clicked, this, &frmRealityBoy::cmdControlConfig_Click);
    connect(cmdSaveSettings, &QPushButton::clicked, this, &frmRealityBoy::cmdSaveSettings_Click);
    connect(cmdRevertSettings, &QPushButton::clicked, this, &frmRealityBoy::cmdRevertSettings_Click);
    connect(cmdRevertDefault, &QPushButton::clicked, this, &frmRealityBoy::cmdRevertDefault_Click);
    connect(cmdRunDebugMode, &QPushButton::clicked, this, &frmRealityBoy::cmdRunDebugMode_Click);
    connect(cmdRunRealityBoy, &QPushButton::clicked, this, &frmRealityBoy::cmdRunRealityBoy_Click);
}

void frmRealityBoy::createMenus()
{
    std::tie(mnuFile, mnuFileBack, mnuHelp, mnuHelpHelp) =
        frontendmenus::Create(this, QStringLiteral("Reality Boy Frontend &Help..."),
                              &frmRealityBoy::mnuFileBack_Click, &frmRealityBoy::mnuHelpHelp_Click);
}

void frmRealityBoy::Form_Load()
{
    GetRegistry();
    showOptions(DisplayMode, Resolution, Palette, FrameSkip, Brightness, IgnorePalette, Flip3D);
    RomChoice->SetUp();
}

void frmRealityBoy::GetRegistry()
{
    RomChoice->GetRegistry();
    // A stored value outside its control's range reads as the default.
    DisplayMode = settings::GetInteger(QStringLiteral("Reality Boy Display Mode"), 0, 0, 6);
    Resolution = settings::GetInteger(QStringLiteral("Reality Boy Resolution"), 1, 0, 6);
    Palette = settings::GetInteger(QStringLiteral("Reality Boy Palette"), 0, 0, 4);
    FrameSkip = settings::GetInteger(QStringLiteral("Reality Boy Frame Skip"), 0, 0, kFrameSkipMax);
    Brightness = settings::GetInteger(QStringLiteral("Reality Boy Brightness"), 64, 0, kBrightnessMax);
    IgnorePalette = settings::GetBoolean(QStringLiteral("Reality Boy Ignore Palette"), false);
    Flip3D = settings::GetBoolean(QStringLiteral("Reality Boy Flip 3D Effects"), false);
    RealityBoyDirectory = settings::Get(QStringLiteral("Reality Boy Directory"), DefaultFolder());
}

void frmRealityBoy::SaveRegistry()
{
    settings::SaveInteger(QStringLiteral("Reality Boy Display Mode"), DisplayMode);
    settings::SaveInteger(QStringLiteral("Reality Boy Resolution"), Resolution);
    settings::SaveInteger(QStringLiteral("Reality Boy Palette"), Palette);
    settings::SaveInteger(QStringLiteral("Reality Boy Frame Skip"), FrameSkip);
    settings::SaveInteger(QStringLiteral("Reality Boy Brightness"), Brightness);
    settings::SaveBoolean(QStringLiteral("Reality Boy Ignore Palette"), IgnorePalette);
    settings::SaveBoolean(QStringLiteral("Reality Boy Flip 3D Effects"), Flip3D);
}

void frmRealityBoy::showOptions(int displayMode, int resolution, int palette, int frameSkip, int brightness,
                                bool ignorePalette, bool flip3D)
{
    // The display mode first: its palette rule runs, and the palette given
    // here is chosen after it, even where the rule disabled it.
    choices::Choose(optDspMode, displayMode);
    choices::Choose(optDisplay, resolution);
    choices::Choose(optPalette, palette);
    chkPalette->setCheckState(ignorePalette ? Qt::Checked : Qt::Unchecked);
    chkFlip->setCheckState(flip3D ? Qt::Checked : Qt::Unchecked);
    vscFrameSkip->setValue(frameSkip);
    vscBrightness->setValue(brightness);
    ShowFrameSkipValue();
    ShowBrightnessValue();
}

void frmRealityBoy::ShowFrameSkipValue()
{
    txtFrameSkip->setTextAtEnd(QString::number(vscFrameSkip->value()));
}

void frmRealityBoy::ShowBrightnessValue()
{
    txtBrightness->setTextAtEnd(QString::number(vscBrightness->value()));
}

RealityBoyOptions frmRealityBoy::currentOptions() const
{
    RealityBoyOptions options;
    options.resolution = choices::ChosenIndex(optDisplay, -1);
    options.displayMode = choices::ChosenIndex(optDspMode, -1);
    options.palette = choices::ChosenIndex(optPalette, -1);
    options.frameSkip = vscFrameSkip->value();
    options.brightness = vscBrightness->value();
    // The greyed state counts as clear.
    options.flip = chkFlip->checkState() == Qt::Checked;
    options.fixPalette = chkPalette->checkState() == Qt::Checked;
    return options;
}

void frmRealityBoy::optDspMode_Click(int Index)
{
    // The red/green mode always brings the red/green palette.
    if (optDspMode[2]->isChecked())
        optPalette[3]->setChecked(true);
    const bool anaglyph = Index == 1 || Index == 2;
    // Anaglyph modes take the colour pairs (2-4), every other mode a 2D palette (0-1).
    const int firstOffered = anaglyph ? 2 : 0;
    const int lastOffered = anaglyph ? 4 : 1;
    bool offeredChosen = false;
    for (int i = 0; i < int(optPalette.size()); ++i) {
        const bool offered = i >= firstOffered && i <= lastOffered;
        optPalette[size_t(i)]->setEnabled(offered);
        offeredChosen = offeredChosen || (offered && optPalette[size_t(i)]->isChecked());
    }
    if (!offeredChosen)
        optPalette[size_t(firstOffered)]->setChecked(true);
}

void frmRealityBoy::txtFrameSkip_Change()
{
    numberboxpair::BoxChanged(txtFrameSkip, vscFrameSkip, kFrameSkipMax);
}

void frmRealityBoy::txtBrightness_Change()
{
    numberboxpair::BoxChanged(txtBrightness, vscBrightness, kBrightnessMax);
}

void frmRealityBoy::vscFrameSkip_Change()
{
    numberboxpair::BarChanged(vscFrameSkip, txtFrameSkip);
}

void frmRealityBoy::vscBrightness_Change()
{
    numberboxpair::BarChanged(vscBrightness, txtBrightness);
}

void frmRealityBoy::cmdSaveSettings_Click()
{
    // A group with no chosen button keeps its saved value.
    if (const int i = choices::ChosenIndex(optDspMode, -1); i >= 0)
        DisplayMode = int16_t(i);
    if (const int i = choices::ChosenIndex(optDisplay, -1); i >= 0)
        Resolution = int16_t(i);
    if (const int i = choices::ChosenIndex(optPalette, -1); i >= 0)
        Palette = int16_t(i);
    FrameSkip = int16_t(vscFrameSkip->value());
    Brightness = int16_t(vscBrightness->value());
    IgnorePalette = chkPalette->checkState() != Qt::Unchecked;
    Flip3D = chkFlip->checkState() != Qt::Unchecked;
    SaveRegistry();
}

void frmRealityBoy::cmdRevertSettings_Click()
{
    if (revertquestions::AskRevertToSaved())
        showOptions(DisplayMode, Resolution, Palette, FrameSkip, Brightness, IgnorePalette, Flip3D);
}

void frmRealityBoy::cmdRevertDefault_Click()
{
    if (revertquestions::AskRevertToDefault())
        showOptions(0, 1, 0, 0, 64, false, false);
}

void frmRealityBoy::cmdRunRealityBoy_Click()
{
    run(false);
}

void frmRealityBoy::cmdRunDebugMode_Click()
{
    run(true);
}

void frmRealityBoy::run(bool debug)
{
    if (RomChoice->chosenRom().isEmpty()) {
        msgbox::MsgBox(QStringLiteral("Select a ROM image to run."), msgbox::vbOKOnly + msgbox::vbExclamation,
                       QStringLiteral("Select ROM"));
        return;
    }
    // The image may have gone since it was chosen.
    if (const std::optional<QString> romPath = RomChoice->romToRun())
        process::Start(RealityBoyCommand(RealityBoyDirectory, *romPath, currentOptions(), debug));
}

void frmRealityBoy::cmbFilename_Click()
{
    RomChoice->cmbFilename_Click();
}

void frmRealityBoy::cmdOpen_Click()
{
    RomChoice->cmdOpen_Click();
}

void frmRealityBoy::cmdControlConfig_Click()
{
    frmControlConfig::ShowFor(kEmulatorName, this);
}

void frmRealityBoy::mnuHelpHelp_Click()
{
    help::ShowTopic(kEmulatorName);
}

void frmRealityBoy::mnuFileBack_Click()
{
    close();
}

void frmRealityBoy::setRunEnabled(bool enabled)
{
    cmdRunRealityBoy->setEnabled(enabled);
    cmdRunDebugMode->setEnabled(enabled);
}
