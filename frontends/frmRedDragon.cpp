#include "frmRedDragon.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include "Choices.h"
#include "Controls.h"
#include "FileMessages.h"
#include "Fonts.h"
#include "FrontendHelp.h"
#include "FrontendMenus.h"
#include "HelpTopics.h"
#include "MsgBox.h"
#include "Paths.h"
#include "Process.h"
#include "RedDragonLists.h"
#include "RevertQuestions.h"
#include "RomSelection.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "VbText.h"
#include "frmControlConfig.h"

namespace {

constexpr int kClientWidth = 9495;
constexpr int kClientHeight = 3930;
const QString kEmulatorName = QStringLiteral("Red Dragon");

// The label and the control of one row of the emulation options.
constexpr int kRowTop[] = {300, 705, 1110, 1515, 1920, 2325};
constexpr int kLabelLeft = 120;
constexpr int kLabelWidth = 1455;
constexpr int kControlLeft = 1620;
constexpr int kControlWidth = 1755;

void fill(QComboBox *combo, const QStringList &items)
{
    const QSignalBlocker quiet(combo);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

void fill(QListWidget *list, const QStringList &items)
{
    const QSignalBlocker quiet(list);
    list->addItems(items);
    list->setCurrentRow(-1);
}

} // namespace

frmRedDragon::frmRedDragon(QWidget *parent)
    : Form(parent)
{
    setWindowTitle(QStringLiteral("Red Dragon Frontend"));
    setClientSizeTwips(kClientWidth, kClientHeight);
    createEmulationOptions();
    createGraphicsMode();
    createRomRowAndButtons();
    createMenus();

    lstControls = new QListWidget(client());
    lstControls->setVisible(false);
    txtOptions = new QPlainTextEdit(client());
    txtOptions->setVisible(false);
    txtOptions->setFont(QFont(QStringLiteral("Courier New")));
    txtHelp = frontendhelp::CreateHelpBox(client(), kEmulatorName, QStringLiteral("RedDragonHelp.txt"));

    controls::FitCaptions(this);
}

void frmRedDragon::createEmulationOptions()
{
    using controls::Place;
    QWidget *c = client();
    fraEmulationOptions = Place<QGroupBox>(c, 120, 60, 3495, 2775, QStringLiteral("Emulation Options"));
    auto label = [this](int row, const char *caption) {
        return Place<QLabel>(fraEmulationOptions, kLabelLeft, kRowTop[row] + 30, kLabelWidth, 255,
                             QString::fromLatin1(caption));
    };
    lblVersion = label(0, "Version");
    lblFrameskip = label(1, "Frameskip:");
    lblDisplayMode = label(2, "Display Mode:");
    lblBrightnessHack = label(3, "Brightness Hack:");
    lblPalette = label(4, "Palette:");
    lblSwap3D = label(5, "Swap 3D:");

    // The version belongs to the window, beside its label in the frame.
    cmbVersion = Place<QComboBox>(c, 120 + kControlLeft, 60 + kRowTop[0], kControlWidth, 315);
    sliFrameskip = Place<QSlider>(fraEmulationOptions, kControlLeft, kRowTop[1], kControlWidth, 315, Qt::Horizontal);
    sliFrameskip->setRange(0, 9);
    sliFrameskip->setPageStep(1);
    sliFrameskip->setTickPosition(QSlider::TicksBelow);
    cmbDisplayMode = Place<QComboBox>(fraEmulationOptions, kControlLeft, kRowTop[2], kControlWidth, 315);
    optBrightness[0] = Place<QRadioButton>(fraEmulationOptions, kControlLeft, kRowTop[3] + 30, 795, 255,
                                           QStringLiteral("Off"));
    optBrightness[1] = Place<QRadioButton>(fraEmulationOptions, kControlLeft + 900, kRowTop[3] + 30, 795, 255,
                                           QStringLiteral("On"));
    cmbPalette = Place<QComboBox>(fraEmulationOptions, kControlLeft, kRowTop[4], kControlWidth, 315);
    chkSwap3D = Place<QCheckBox>(fraEmulationOptions, kControlLeft, kRowTop[5] + 30, 315, 255);
    chkSwap3D->setAccessibleName(QStringLiteral("Swap 3D"));
    lblVersion->setBuddy(cmbVersion);
    lblFrameskip->setBuddy(sliFrameskip);
    lblDisplayMode->setBuddy(cmbDisplayMode);
    lblPalette->setBuddy(cmbPalette);
    lblSwap3D->setBuddy(chkSwap3D);

    connect(sliFrameskip, &QSlider::valueChanged, this, &frmRedDragon::sliFrameskip_Change);
}

void frmRedDragon::createGraphicsMode()
{
    using controls::Place;
    fraGraphicsMode = Place<QGroupBox>(client(), 3720, 60, 5655, 2775, QStringLiteral("Graphics Mode"));
    lstScreenMode = Place<QListWidget>(fraGraphicsMode, 120, 300, 1935, 2340);
    lstScreenSize = Place<QListWidget>(fraGraphicsMode, 2160, 300, 1275, 2340);
    lstScreenCols = Place<QListWidget>(fraGraphicsMode, 3540, 300, 1995, 2340);
    lstScreenMode->setAccessibleName(QStringLiteral("Screen mode"));
    lstScreenSize->setAccessibleName(QStringLiteral("Screen size"));
    lstScreenCols->setAccessibleName(QStringLiteral("Colour depth"));

    // A mouse press moves the current row before it selects the clicked one, so
    // the sizes follow the selection, which the keys and code move alike.
    connect(lstScreenMode, &QListWidget::itemSelectionChanged, this, &frmRedDragon::lstScreenMode_Click);
    connect(lstScreenSize, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            LastScreenSize = lstScreenSize->item(row)->text();
    });
}

void frmRedDragon::createRomRowAndButtons()
{
    using controls::Place;
    QWidget *c = client();
    cmdControlConfig = Place<QPushButton>(c, 120, 2955, 2220, 435, QStringLiteral("Control Configuration..."));
    cmdRevertSettings = Place<QPushButton>(c, 2460, 2955, 2220, 435, QStringLiteral("Revert Settings"));
    cmdRevertDefault = Place<QPushButton>(c, 4800, 2955, 2220, 435, QStringLiteral("Revert to Default"));
    cmdRunRedDragon = Place<QPushButton>(c, 7155, 2955, 2220, 435, QStringLiteral("Run Red Dragon..."));
    QFont bold = cmdRunRedDragon->font();
    bold.setBold(true);
    cmdRunRedDragon->setFont(bold);

    lblRomToRun = Place<QLabel>(c, 120, 3555, 975, 255, QStringLiteral("ROM to run:"));
    cmbFilename = Place<QComboBox>(c, 1095, 3510, 5925, 315);
    lblFilename = Place<QLabel>(c, 1095, 3510, 5925, 315);
    cmdOpen = Place<QPushButton>(c, 7155, 3480, 2220, 375, QStringLiteral("Select ROM..."));
    lblRomToRun->setBuddy(cmbFilename);

    // Enter in a list never starts the emulator.
    setNoDefaultButton();

    RomSelection::Options options;
    options.runsWithoutRom = true;
    options.toolTipFollowsRow = true;
    RomChoice = new RomSelection(cmbFilename, lblFilename, cmdOpen, options,
                                 [this](bool enabled) { cmdRunRedDragon->setEnabled(enabled); }, this);

    connect(cmdRunRedDragon, &QPushButton::clicked, this, &frmRedDragon::cmdRunRedDragon_Click);
    connect(cmdControlConfig, &QPushButton::clicked, this, &frmRedDragon::cmdControlConfig_Click);
    connect(cmdRevertSettings, &QPushButton::clicked, this, &frmRedDragon::cmdRevertSettings_Click);
    connect(cmdRevertDefault, &QPushButton::clicked, this, &frmRedDragon::cmdRevertDefault_Click);
}

void frmRedDragon::createMenus()
{
    std::tie(mnuFile, mnuFileBack, mnuHelp, mnuHelpHelp) =
        frontendmenus::Create(this, QStringLiteral("Red Dragon Frontend &Help..."),
                              &frmRedDragon::mnuFileBack_Click, &frmRedDragon::mnuHelpHelp_Click);
}

void frmRedDragon::Form_Load()
{
    fillFixedLists();
    GetRegistry();
    ReadOptionsFile();
    RomChoice->SetUp();
    sliFrameskip_Change();
}

void frmRedDragon::fillFixedLists()
{
    const QFont listFont = fonts::KatakanaFont(8.25);
    for (QWidget *w : std::initializer_list<QWidget *>{lstScreenMode, lstScreenSize, lstScreenCols, cmbDisplayMode,
                                                       cmbPalette, cmbVersion})
        w->setFont(listFont);
    fill(lstScreenMode, reddragon::ScreenModes());
    fill(lstScreenCols, reddragon::ColourDepths());
    fill(cmbDisplayMode, reddragon::DisplayModes());
    fill(cmbPalette, reddragon::Palettes());
    fill(cmbVersion, reddragon::Versions());
}

void frmRedDragon::GetRegistry()
{
    RomChoice->GetRegistry();
    RedDragonDirectory = settings::Get(QStringLiteral("Red Dragon Directory"), DefaultFolder());
}

void frmRedDragon::ReadOptionsFile()
{
    const reddragon::LoadedOptions loaded = reddragon::LoadOptionsFile(RedDragonDirectory, RedDragonOptions);
    if (!loaded.failure.isEmpty())
        filemessages::ReportNotRead(reddragon::OptionsFilePath(RedDragonDirectory), loaded.failure);
    RedDragonOptions = loaded.options;
    showOptions(RedDragonOptions, MissingSize::Add);
}

void frmRedDragon::showOptions(const ::RedDragonOptions &options, MissingSize missingSize)
{
    // Numbers of no mode leave the mode (and its sizes) as they are.
    if (const int position = reddragon::ModePosition(options.scrmode); position >= 0)
        chooseScreenMode(position);
    chooseScreenSize(options.scrsize);
    if (chosenRow(lstScreenSize) < 0 && missingSize == MissingSize::Add) {
        lstScreenSize->addItem(options.scrsize);
        lstScreenSize->setCurrentRow(lstScreenSize->count() - 1);
    }
    choices::Choose(lstScreenCols, options.colours);
    sliFrameskip->setValue(options.frmskip);
    choices::Choose(cmbDisplayMode, options.dspmode);
    if (options.brightness >= 0 && options.brightness < int(optBrightness.size()))
        optBrightness[size_t(options.brightness)]->setChecked(true);
    choices::Choose(cmbPalette, options.palmod);
    chkSwap3D->setChecked(options.dspswap != 0);
    choices::Choose(cmbVersion, options.platform);
}

void frmRedDragon::chooseScreenMode(int position)
{
    const bool sameMode = position == chosenRow(lstScreenMode);
    choices::Choose(lstScreenMode, position);
    // "Autodetect" chosen again still gets its sizes afresh.
    if (sameMode && position == 0)
        lstScreenMode_Click();
}

void frmRedDragon::chooseScreenSize(const QString &sizeText)
{
    int last = -1;
    for (int row = 0; row < lstScreenSize->count(); ++row)
        if (lstScreenSize->item(row)->text() == sizeText)
            last = row;
    choices::Choose(lstScreenSize, last);
}

int frmRedDragon::chosenRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> chosen = list->selectedItems();
    return chosen.isEmpty() ? -1 : list->row(chosen.first());
}

void frmRedDragon::lstScreenMode_Click()
{
    const int row = chosenRow(lstScreenMode);
    const std::optional<QStringList> sizes =
        reddragon::SizesOfMode(row >= 0 ? lstScreenMode->item(row)->text() : QString());
    if (!sizes)
        return;
    // Refilled with nothing chosen: the user picks the new mode's size.
    const QSignalBlocker quiet(lstScreenSize);
    lstScreenSize->clear();
    lstScreenSize->addItems(*sizes);
    lstScreenSize->setCurrentRow(-1);
}

::RedDragonOptions frmRedDragon::currentOptions() const
{
    ::RedDragonOptions options = RedDragonOptions;
    options.platform = int16_t(cmbVersion->currentIndex());
    options.frmskip = int16_t(sliFrameskip->value());
    options.dspmode = int16_t(cmbDisplayMode->currentIndex());
    options.dspswap = chkSwap3D->isChecked() ? 1 : 0;
    options.palmod = int16_t(cmbPalette->currentIndex());
    const int size = chosenRow(lstScreenSize);
    options.scrsize = size >= 0 ? lstScreenSize->item(size)->text() : LastScreenSize;
    options.scrmode = int16_t(reddragon::ModeNumber(chosenRow(lstScreenMode)));
    options.colours = int16_t(chosenRow(lstScreenCols));
    options.brightness = optBrightness[1]->isChecked() ? 1 : 0;
    return options;
}

bool frmRedDragon::WriteOptionsFile()
{
    const QByteArray text = reddragon::OptionsText(currentOptions());
    // The box holds the lines as the file does, less the last line end.
    txtOptions->setPlainText(QString::fromLatin1(text.chopped(2)));
    if (const std::optional<QString> failure = reddragon::SaveOptionsFile(RedDragonDirectory, text)) {
        filemessages::ReportNotSaved(reddragon::OptionsFilePath(RedDragonDirectory), *failure);
        return false;
    }
    return true;
}

void frmRedDragon::cmdRunRedDragon_Click()
{
    process::StartRequest request;
    request.program = paths::AppendFileToDir(RedDragonDirectory, QStringLiteral("RDRAGON"));
    request.workingFolder = RedDragonDirectory;
    request.windowStyle = process::vbNormalFocus;
    // The image may have gone since it was chosen; with no ROM chosen the
    // emulator starts without one.
    const std::optional<QString> romPath = RomChoice->romToRun();
    if (!romPath)
        return;
    if (!romPath->isEmpty())
        request.arguments << process::Argument::Path(*romPath);
    // The option file is complete before the emulator starts.
    process::Start(request, [this] { return WriteOptionsFile(); });
}

void frmRedDragon::cmdControlConfig_Click()
{
    // The dialog reads the keys from the hidden list and rewrites it on OK.
    lstControls->clear();
    for (const int16_t key : RedDragonOptions.keys())
        lstControls->addItem(QString::number(key));
    frmControlConfig::ShowForRedDragon(*lstControls, this);

    std::array<int16_t, ::RedDragonOptions::kKeyCount> keys = RedDragonOptions.keys();
    for (int slot = 0; slot < int(keys.size()) && slot < lstControls->count(); ++slot) {
        const std::optional<int16_t> key = vb::CInt(vb::Val(lstControls->item(slot)->text()));
        if (key && *key >= 0 && *key <= ::RedDragonOptions::kLastKeyIndex)
            keys[size_t(slot)] = *key;
    }
    RedDragonOptions.setKeys(keys);
}

void frmRedDragon::cmdRevertDefault_Click()
{
    if (revertquestions::AskRevertToDefault())
        showOptions(::RedDragonOptions{}, MissingSize::LeaveUnchosen);
}

void frmRedDragon::cmdRevertSettings_Click()
{
    if (revertquestions::AskRevertToSaved())
        showOptions(RedDragonOptions, MissingSize::LeaveUnchosen);
}

void frmRedDragon::sliFrameskip_Change()
{
    sliFrameskip->setToolTip(QString::number(sliFrameskip->value()));
}

void frmRedDragon::cmbFilename_Click()
{
    RomChoice->cmbFilename_Click();
}

void frmRedDragon::cmdOpen_Click()
{
    RomChoice->cmdOpen_Click();
}

void frmRedDragon::mnuHelpHelp_Click()
{
    help::ShowTopic(kEmulatorName);
}

void frmRedDragon::mnuFileBack_Click()
{
    close();
}
