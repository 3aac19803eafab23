#include "frmOptions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "Controls.h"
#include "FolderSettings.h"
#include "MsgBox.h"
#include "Registry.h"
#include "SettingsStore.h"
#include "frmSelectDir.h"

namespace {

using msgbox::CR;
const QChar LF(u'\n');

constexpr int kDefaultRecentCount = 4;
// Room between a folder label's border and its text, in pixels.
constexpr int kFolderLabelIndent = 3;

} // namespace

FolderLabel::FolderLabel(QWidget *parent)
    : ChangeLabel(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setIndent(kFolderLabelIndent);
}

frmOptions::frmOptions(QWidget *parent)
    : Form(parent)
{
    using controls::Place;
    setWindowTitle(QStringLiteral("Zandrel Utilities Options..."));
    setClientSizeTwips(9240, 4080);

    createGeneralFrame();
    fraEmus = Place<QGroupBox>(client(), 120, 1800, 4455, 1815, QStringLiteral("Emulator Frontends:"));
    createInfoDatabaseViewerFrame();
    fraUtils = Place<QGroupBox>(client(), 4680, 1800, 4455, 2175, QStringLiteral("Virtual Boy Utilities:"));
    createToolRows();

    cmdCancel = Place<QPushButton>(client(), 120, 3720, 1335, 255, QStringLiteral("Cancel"));
    cmdDefault = Place<QPushButton>(client(), 1560, 3720, 1455, 255, QStringLiteral("Revert to default"));
    cmdApply = Place<QPushButton>(client(), 3120, 3720, 1455, 255, QStringLiteral("Apply"));

    connectHandlers();
    // Enter on a box or a folder must not press "Change..." or Apply.
    setNoDefaultButton();
    setCancelButton(cmdCancel);
    controls::FitCaptions(client());
}

void frmOptions::createGeneralFrame()
{
    using controls::Place;
    fraGeneral = Place<QGroupBox>(client(), 120, 120, 4455, 1575, QStringLiteral("General Options:"));
    lblBaseDir1 = Place<QLabel>(fraGeneral, 120, 240, 2295, 255, QStringLiteral("Virtual Boy ROM base directory:"));
    lblBaseDir = Place<FolderLabel>(fraGeneral, 120, 480, kBaseLabelWidth, 255);
    cmdBaseDir = Place<QPushButton>(fraGeneral, 3480, 480, 855, 285, QStringLiteral("Change..."));
    chkIntro = Place<QCheckBox>(fraGeneral, 120, 840, 1935, 255, QStringLiteral("Virtual Boy main menu"));
    optThemeCol[1] = Place<QRadioButton>(fraGeneral, 2040, 840, 1095, 255, QStringLiteral("VB Colours"));
    optThemeCol[0] = Place<QRadioButton>(fraGeneral, 3240, 840, 1095, 255, QStringLiteral("Greyscale"));
    chkMruItems = Place<QCheckBox>(fraGeneral, 120, 1215, 2055, 255, QStringLiteral("Recently used ROM list:"));
    lblMruItems = Place<QLabel>(fraGeneral, 2160, 1200, 375, 255);
    lblMruItems->setAlignment(Qt::AlignCenter);
    lblMruItems->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    vscMruItems = Place<controls::UpwardScrollBar>(fraGeneral, 2520, 1200, 255, 255);
    vscMruItems->setRange(1, 10);
    vscMruItems->setSingleStep(1);
    vscMruItems->setPageStep(1);
    vscMruItems->setAccessibleName(QStringLiteral("Recently used ROM entries"));
    lblMruItems1 = Place<QLabel>(fraGeneral, 2880, 1230, 615, 255, QStringLiteral("entries"));
    cmdMruItems = Place<QPushButton>(fraGeneral, 3480, 1200, 855, 255, QStringLiteral("Clear"));

    for (QRadioButton *option : optThemeCol)
        option->setEnabled(false);
    // The scroll bar too: the count only counts while the list is on.
    setMruControlsEnabled(false);
}

void frmOptions::createInfoDatabaseViewerFrame()
{
    using controls::Place;
    fraInfoDatabaseViewer = Place<QGroupBox>(client(), 4680, 120, 4455, 1575,
                                             QStringLiteral("ROM Information/Database/Tile Viewer:"));
    QGroupBox *f = fraInfoDatabaseViewer;
    chkDetectRom = Place<QCheckBox>(f, 120, 240, 3135, 255, QStringLiteral("Automatically identify ROM information"));
    chkDetailedList = Place<QCheckBox>(f, 120, 600, 2415, 255, QStringLiteral("Detailed VB ROM lists"));
    chkRenameRoms = Place<QCheckBox>(f, 2640, 600, 1695, 255, QStringLiteral("Rename VB ROMs"));
    chkChangeLog = Place<QCheckBox>(f, 120, 855, 2415, 255, QStringLiteral("Create VB ROM change log"));
    chkMoveRoms = Place<QCheckBox>(f, 2640, 855, 1695, 255, QStringLiteral("Move VB ROMs"));
    chkAutoUpdate = Place<QCheckBox>(f, 120, 1200, 3615, 255,
                                     QStringLiteral("Automatically update ROM tile viewer display"));
    chkMoveRoms->setEnabled(false);
}

std::tuple<QLabel *, QCheckBox *, FolderLabel *, QPushButton *>
frmOptions::createToolRow(QGroupBox *frame, int top, const QString &caption, int captionWidth)
{
    using controls::Place;
    auto *captionLabel = Place<QLabel>(frame, 120, top, captionWidth, 255, caption);
    auto *enabled = Place<QCheckBox>(frame, 120, top + 240, 975, 255, QStringLiteral("Enabled"));
    auto *folder = Place<FolderLabel>(frame, 1080, top + 240, kToolLabelWidth, 255);
    auto *change = Place<QPushButton>(frame, 3480, top + 240, 855, 285, QStringLiteral("Change..."));
    folder->setEnabled(false);
    change->setEnabled(false);
    return {captionLabel, enabled, folder, change};
}

void frmOptions::createToolRows()
{
    std::tie(lblRboyDir1, chkRboyEnabled, lblRboyDir, cmdRboyDir) =
        createToolRow(fraEmus, 240, QStringLiteral("Reality Boy directory:"), 1575);
    std::tie(lblVirteDir1, chkVirteEnabled, lblVirteDir, cmdVirteDir) =
        createToolRow(fraEmus, 720, QStringLiteral("Virtual-E directory:"), 1335);
    std::tie(lblRdragDir1, chkRdragEnabled, lblRdragDir, cmdRdragDir) =
        createToolRow(fraEmus, 1200, QStringLiteral("Red Dragon directory:"), 1695);
    std::tie(lblVECCDir1, chkVECCEnabled, lblVECCDir, cmdVECCDir) =
        createToolRow(fraUtils, 240, QStringLiteral("Virtual-E C Compiler directory:"), 2175);
    std::tie(lblEnvironmentDir1, chkEnvironmentEnabled, lblEnvironmentDir, cmdEnvironmentDir) =
        createToolRow(fraUtils, 720, QStringLiteral("Virtual-Environment directory:"), 2175);
    std::tie(lblVBDKDir1, chkVBDKEnabled, lblVBDKDir, cmdVBDKDir) =
        createToolRow(fraUtils, 1200, QStringLiteral("VB Development Kit directory:"), 2295);

    const auto &tools = ToolDefinitions();
    m_tools = {{
        {&tools[0], chkRboyEnabled, lblRboyDir, cmdRboyDir},
        {&tools[1], chkVirteEnabled, lblVirteDir, cmdVirteDir},
        {&tools[2], chkRdragEnabled, lblRdragDir, cmdRdragDir},
        {&tools[3], chkVECCEnabled, lblVECCDir, cmdVECCDir},
        {&tools[4], chkEnvironmentEnabled, lblEnvironmentDir, cmdEnvironmentDir},
        {&tools[5], chkVBDKEnabled, lblVBDKDir, cmdVBDKDir},
    }};
}

void frmOptions::connectHandlers()
{
    // Check boxes and the scroll bar signal only real changes, so setting one
    // from code runs its handler exactly as the user's action does.
    connect(chkRboyEnabled, &QCheckBox::toggled, this, &frmOptions::chkRboyEnabled_Click);
    connect(chkVirteEnabled, &QCheckBox::toggled, this, &frmOptions::chkVirteEnabled_Click);
    connect(chkRdragEnabled, &QCheckBox::toggled, this, &frmOptions::chkRdragEnabled_Click);
    connect(chkVECCEnabled, &QCheckBox::toggled, this, &frmOptions::chkVECCEnabled_Click);
    connect(chkEnvironmentEnabled, &QCheckBox::toggled, this, &frmOptions::chkEnvironmentEnabled_Click);
    connect(chkVBDKEnabled, &QCheckBox::toggled, this, &frmOptions::chkVBDKEnabled_Click);
    connect(chkIntro, &QCheckBox::toggled, this, &frmOptions::chkIntro_Click);
    connect(chkRenameRoms, &QCheckBox::toggled, this, &frmOptions::chkRenameRoms_Click);
    connect(chkMruItems, &QCheckBox::toggled, this, &frmOptions::chkMruItems_Click);
    connect(vscMruItems, &QScrollBar::valueChanged, this, &frmOptions::vscMruItems_Change);

    connect(lblBaseDir, &FolderLabel::captionChanged, this, &frmOptions::lblBaseDir_Change);
    connect(lblRboyDir, &FolderLabel::captionChanged, this, &frmOptions::lblRboyDir_Change);
    connect(lblVirteDir, &FolderLabel::captionChanged, this, &frmOptions::lblVirteDir_Change);
    connect(lblRdragDir, &FolderLabel::captionChanged, this, &frmOptions::lblRdragDir_Change);
    connect(lblVECCDir, &FolderLabel::captionChanged, this, &frmOptions::lblVECCDir_Change);
    connect(lblEnvironmentDir, &FolderLabel::captionChanged, this, &frmOptions::lblEnvironmentDir_Change);
    connect(lblVBDKDir, &FolderLabel::captionChanged, this, &frmOptions::lblVBDKDir_Change);

    connect(cmdBaseDir, &QPushButton::clicked, this, &frmOptions::cmdBaseDir_Click);
    connect(cmdRboyDir, &QPushButton::clicked, this, &frmOptions::cmdRboyDir_Click);
    connect(cmdVirteDir, &QPushButton::clicked, this, &frmOptions::cmdVirteDir_Click);
    connect(cmdRdragDir, &QPushButton::clicked, this, &frmOptions::cmdRdragDir_Click);
    connect(cmdVECCDir, &QPushButton::clicked, this, &frmOptions::cmdVECCDir_Click);
    connect(cmdEnvironmentDir, &QPushButton::clicked, this, &frmOptions::cmdEnvironmentDir_Click);
    connect(cmdVBDKDir, &QPushButton::clicked, this, &frmOptions::cmdVBDKDir_Click);
    connect(cmdDefault, &QPushButton::clicked, this, &frmOptions::cmdDefault_Click);
    connect(cmdMruItems, &QPushButton::clicked, this, &frmOptions::cmdMruItems_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);
}

void frmOptions::GetRegistry()
{
    m_settings.read();
}

void frmOptions::SaveRegistry()
{
    // "Version Number" is the program's, not the dialog's: keep what is stored.
    m_settings.VersionNumber = settings::Get(QStringLiteral("Version Number"), QStringLiteral("1.0"));
    m_settings.writeAllButVersion();
}

void frmOptions::Form_Load()
{
    GetRegistry();
    const SettingsRecord &s = m_settings;
    lblBaseDir->setCaption(s.BaseDirectory);

    chkIntro->setChecked(s.VbMainMenuTheme);
    chkIntro_Click();
    optThemeCol[s.VbThemeColours ? 1 : 0]->setChecked(true);

    if (s.RecentRomsNumber > 0) {
        setMruControlsEnabled(true);
        chkMruItems->setChecked(true);
        vscMruItems->setValue(s.RecentRomsNumber);
    } else {
        lblMruItems->setText(QStringLiteral("0"));
    }

    for (int i = 0; i < int(m_tools.size()); ++i) {
        const ToolRow &row = m_tools[i];
        row.lblDir->setCaption(s.*(row.tool->folder));
        row.chkEnabled->setChecked(s.*(row.tool->enabled));
        toolEnabled_Click(i);
    }

    chkDetectRom->setChecked(s.AutoDetectRom);
    chkDetailedList->setChecked(s.DetailedRomLists != 0);
    chkMoveRoms->setChecked(s.MoveRoms != 0);
    chkRenameRoms->setChecked(s.RenameRoms != 0);
    chkChangeLog->setChecked(s.CreateChangeLog != 0);
    chkAutoUpdate->setChecked(s.AutoUpdateViewer);
}

void frmOptions::toolEnabled_Click(int tool)
{
    const ToolRow &row = m_tools[tool];
    row.lblDir->setEnabled(row.chkEnabled->isChecked());
    row.cmdDir->setEnabled(row.chkEnabled->isChecked());
}

void frmOptions::chkIntro_Click()
{
    for (QRadioButton *option : optThemeCol)
        option->setEnabled(chkIntro->isChecked());
}

void frmOptions::chkRenameRoms_Click()
{
    if (chkRenameRoms->isChecked()) {
        chkMoveRoms->setEnabled(true);
    } else {
        chkMoveRoms->setEnabled(false);
        chkMoveRoms->setChecked(false);
    }
}

void frmOptions::setMruControlsEnabled(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(lblMruItems), static_cast<QWidget *>(vscMruItems),
                       static_cast<QWidget *>(lblMruItems1), static_cast<QWidget *>(cmdMruItems)})
        w->setEnabled(enabled);
}

void frmOptions::chkMruItems_Click()
{
    if (chkMruItems->isChecked()) {
        setMruControlsEnabled(true);
        vscMruItems->setValue(m_settings.RecentRomsNumber < 1 ? kDefaultRecentCount : m_settings.RecentRomsNumber);
        lblMruItems->setText(QString::number(vscMruItems->value()));
    } else {
        setMruControlsEnabled(false);
        lblMruItems->setText(QStringLiteral("0"));
    }
}

void frmOptions::vscMruItems_Change()
{
    // An unticked list has no entries, whatever the scroll bar keeps.
    if (chkMruItems->isChecked())
        lblMruItems->setText(QString::number(vscMruItems->value()));
}

void frmOptions::FitPathLabel(FolderLabel *label, int limitTwips)
{
    if (PathLabelBusy)
        return;
    PathLabelBusy = true;
    const QString path = label->text();
    const QFontMetrics metrics(label->font());
    const int padding = 2 * (label->frameWidth() + label->indent());
    label->setToolTip(path);
    label->setCaption(FitPathCaption(path, forms::Px(limitTwips), [&](const QString &caption) {
        return metrics.horizontalAdvance(caption) + padding;
    }));
    PathLabelBusy = false;
}

void frmOptions::cmdBaseDir_Click()
{
    const QString chosen = frmSelectDir::ChooseFolder(this);
    lblBaseDir->setCaption(chosen.isEmpty() ? m_settings.BaseDirectory : chosen);
    if (!FolderHoldsRoms(lblBaseDir->path()))
        msgbox::MsgBox(QStringLiteral("No ROMs found in directory:") + CR + lblBaseDir->text() + CR
                           + QStringLiteral("Please choose another directory."),
                       msgbox::vbExclamation, QStringLiteral("No ROMs found"));
}

void frmOptions::toolDir_Click(int tool)
{
    const ToolRow &row = m_tools[tool];
    const QString chosen = frmSelectDir::ChooseFolder(this, row.lblDir->path());
    row.lblDir->setCaption(chosen.isEmpty() ? m_settings.*(row.tool->folder) : chosen);
    const QString folder = row.lblDir->path();
    if (!FolderHoldsAnyOf(folder, row.tool->programFiles))
        msgbox::MsgBox(row.tool->missingText + CR + folder + CR + QStringLiteral("Please choose another directory."),
                       msgbox::vbExclamation, row.tool->missingTitle);
}

void frmOptions::cmdDefault_Click()
{
    using namespace msgbox;
    if (MsgBox(QStringLiteral("Do you wish to revert to default settings?") + CR
                   + QStringLiteral("NOTE: This will reset ALL settings.") + CR + CR
                   + QStringLiteral("Do you wish to continue?"),
               vbYesNo | vbQuestion | vbDefaultButton2, QStringLiteral("Revert to default"))
        != vbYes)
        return;
    if (MsgBox(QStringLiteral("Are you SURE to wish to revert to default settings???"),
               vbYesNo | vbExclamation | vbDefaultButton2, QStringLiteral("Confirm revert to default"))
        != vbYes)
        return;

    // The controls take their defaults and their handlers bring the rest into
    // line; what no control shows is reset in the copy. The copy's folders
    // stay as loaded, for a cancelled picker to fall back on.
    const SettingsRecord defaults = SettingsRecord::Defaults();
    m_settings.VersionNumber = defaults.VersionNumber;
    lblBaseDir->setCaption(DefaultFolder());
    chkIntro->setChecked(false);
    optThemeCol[0]->setChecked(true);
    chkMruItems->setChecked(false);
    vscMruItems->setValue(kDefaultRecentCount);
    m_settings.RecentRoms = defaults.RecentRoms;
    auto resetTool = [](const ToolRow &row) {
        row.chkEnabled->setChecked(false);
        row.lblDir->setCaption(DefaultFolder());
    };
    for (int i = 0; i < 3; ++i)
        resetTool(m_tools[i]);
    for (QCheckBox *box : {chkDetectRom, chkDetailedList, chkRenameRoms, chkChangeLog, chkMoveRoms, chkAutoUpdate})
        box->setChecked(false);
    m_settings.TileDisplayMode = defaults.TileDisplayMode;
    m_settings.WhiteTile = defaults.WhiteTile;
    m_settings.LGreyTile = defaults.LGreyTile;
    m_settings.DGreyTile = defaults.DGreyTile;
    m_settings.BlackTile = defaults.BlackTile;
    for (int i = 3; i < 6; ++i)
        resetTool(m_tools[i]);
}

void frmOptions::cmdMruItems_Click()
{
    if (msgbox::MsgBox(QStringLiteral("Are you sure you want to clear all") + LF
                           + QStringLiteral("existing recent ROM entries?"),
                       msgbox::vbYesNo | msgbox::vbExclamation | msgbox::vbDefaultButton2,
                       QStringLiteral("Clear recent files?"))
        == msgbox::vbNo)
        return;
    m_settings.RecentRoms.fill(QString());
}

void frmOptions::cmdCancel_Click()
{
    close();
}

void frmOptions::controlsToCopy()
{
    SettingsRecord &s = m_settings;
    s.VbMainMenuTheme = chkIntro->isChecked();
    s.VbThemeColours = optThemeCol[1]->isChecked();
    s.BaseDirectory = lblBaseDir->path();
    s.AutoDetectRom = chkDetectRom->isChecked();
    s.RecentRomsNumber = chkMruItems->isChecked() ? vscMruItems->value() : 0;
    s.AutoUpdateViewer = chkAutoUpdate->isChecked();
    for (const ToolRow &row : m_tools) {
        s.*(row.tool->enabled) = row.chkEnabled->isChecked();
        s.*(row.tool->folder) = row.lblDir->path();
    }
    s.DetailedRomLists = chkDetailedList->isChecked() ? 1 : 0;
    s.RenameRoms = chkRenameRoms->isChecked() ? 1 : 0;
    s.MoveRoms = chkMoveRoms->isChecked() ? 1 : 0;
    s.CreateChangeLog = chkChangeLog->isChecked() ? 1 : 0;
}

void frmOptions::cmdApply_Click()
{
    using namespace msgbox;
    if (!FolderHoldsRoms(lblBaseDir->path())
        && MsgBox(QStringLiteral("NOTE: No ROMs found in directory:") + CR + lblBaseDir->text() + CR
                      + QStringLiteral("Do you wish to continue?"),
                  vbYesNo | vbExclamation | vbDefaultButton2, QStringLiteral("No ROMs found"))
               == vbNo)
        return;

    // Every enabled tool is checked, so the user hears of every wrong folder at once.
    bool failed = false;
    for (const ToolRow &row : m_tools) {
        const QString folder = row.lblDir->path();
        if (!row.chkEnabled->isChecked() || FolderHoldsAnyOf(folder, row.tool->programFiles))
            continue;
        MsgBox(row.tool->missingText + CR + folder + CR
                   + QStringLiteral("Please choose another directory or disable this option."),
               vbExclamation, row.tool->missingTitle);
        failed = true;
    }
    if (failed)
        return;

    controlsToCopy();
    registry::TakeStoreProblem(); // an older problem is not this write's
    SaveRegistry();
    // A store that could not be written must not look applied: the dialog
    // stays open so that nothing the user set is lost.
    if (const QString problem = registry::TakeStoreProblem(); !problem.isEmpty()) {
        MsgBox(problem + CR + QStringLiteral("The options were not saved."), vbExclamation,
               QStringLiteral("Options not saved"));
        return;
    }
    close();
}
