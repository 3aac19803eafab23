#include "frmVbRomDatabase.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

#include "CollectionSummaries.h"
#include "Controls.h"
#include "HelpTopics.h"
#include "IdentificationReport.h"
#include "ListFiles.h"
#include "MsgBox.h"
#include "Paths.h"
#include "ProgressPicture.h"
#include "RomDatabase.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "frmSelectDir.h"

// Resources of a static library are registered by name, outside any namespace.
static void registerRomDbResources()
{
    Q_INIT_RESOURCE(romdb);
}

namespace {

using msgbox::CR;
const QChar LF(u'\n');

const QString kDetailedKey = QStringLiteral("Detailed ROM Lists");
const QString kRenameKey = QStringLiteral("Rename ROMs");
const QString kMoveKey = QStringLiteral("Move ROMs");
const QString kChangeLogKey = QStringLiteral("Create Change Log");

const QString kSaveListsCaption = QStringLiteral("Save Have/Miss/ Duplicates Lists");
const QString kSaveListsAndLogCaption = QStringLiteral("Save Have/Miss/ Duplicates/Log Lists");

constexpr int kExclamationYesNo = msgbox::vbYesNo | msgbox::vbExclamation | msgbox::vbDefaultButton2;
constexpr int kInformationYesNo = msgbox::vbYesNo | msgbox::vbInformation | msgbox::vbDefaultButton2;

int16_t CheckValue(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

QPlainTextEdit *HiddenText(QWidget *parent, const QString &text)
{
    auto *box = new QPlainTextEdit(text, parent);
    box->setVisible(false);
    box->setReadOnly(true);
    return box;
}

QString ResourceText(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

frmVbRomDatabase::frmVbRomDatabase(QWidget *parent)
    : Form(parent)
    , m_database(std::make_unique<romdb::RomDatabase>(runHooks()))
{
    registerRomDbResources();
    setWindowTitle(QStringLiteral("VB ROM Database"));
    setClientSizeTwips(6600, 4920);
    createControls();
    createHiddenTexts();
    createMenus();
    connectHandlers();
}

frmVbRomDatabase::~frmVbRomDatabase() = default;

romdb::RunHooks frmVbRomDatabase::runHooks()
{
    romdb::RunHooks hooks;
    hooks.cancelRequested = [this] { return Tag == romdb::kCancelMarker; };
    hooks.doEvents = [] { forms::DoEvents(); };
    hooks.drawProgress = [this](int32_t percent) { DrawProgress(percent); };
    hooks.fileChanged = [this](int32_t index) { showFileLine(index); };
    hooks.listingChanged = [this] { showListing(); };
    return hooks;
}

void frmVbRomDatabase::createControls()
{
    using controls::Place;
    QWidget *c = client();

    lblRomDir = Place<QLabel>(c, 120, 0, 4575, 255);
    lstFileIdentify = Place<controls::TextRowList>(c, 120, 240, 4575, 4260);
    picPercent = Place<ProgressPicture>(c, 120, 4560, 4575, 255);
    lblPercent = Place<QLabel>(picPercent, 2160, 0, 255, 195, QStringLiteral("0%"));

    cmdIdentifyRoms = Place<QPushButton>(c, 4800, 120, 1695, 495, QStringLiteral("Identify ROMs"));
    cmdCancelIdentify = Place<QPushButton>(c, 4800, 720, 1695, 375, QStringLiteral("Cancel Identify"));
    cmdVboyHave = Place<QPushButton>(c, 4800, 1200, 1695, 255, QStringLiteral("Display Collected"));
    cmdVboyMiss = Place<QPushButton>(c, 4800, 1560, 1695, 255, QStringLiteral("Display Missing"));
    cmdVBoyDupes = Place<QPushButton>(c, 4800, 1920, 1695, 255, QStringLiteral("Display Duplicates"));
    cmdVBoyLog = Place<QPushButton>(c, 4800, 2280, 1695, 255, QStringLiteral("Display Change Log"));
    // Its caption wraps over two lines.
    cmdSaveVboy = Place<controls::CommandButton>(c, 4800, 2640, 1695, 495, kSaveListsCaption);
    chkDetailedList = Place<QCheckBox>(c, 4800, 3180, 1815, 255, QStringLiteral("Detailed ROM Lists"));
    chkRenameRoms = Place<QCheckBox>(c, 4800, 3420, 1815, 255, QStringLiteral("Rename ROMs"));
    chkMoveRoms = Place<QCheckBox>(c, 4800, 3660, 1815, 255, QStringLiteral("Move ROMs"));
    chkChangeLog = Place<QCheckBox>(c, 4800, 3900, 1815, 255, QStringLiteral("Create Change Log"));
    cmdSelectDir = Place<QPushButton>(c, 4800, 4200, 1695, 255, QStringLiteral("ROM Directory..."));
    cmdRefresh = Place<QPushButton>(c, 4800, 4560, 1695, 255, QStringLiteral("Refresh List"));
    controls::FitCaptions(c);

    QFont listFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    listFont.setPointSizeF(8.25);
    lstFileIdentify->setFont(listFont);
    QPalette listColours = lstFileIdentify->palette();
    listColours.setColor(QPalette::Base, listColours.color(QPalette::Button));
    lstFileIdentify->setPalette(listColours);

    for (QWidget *bold : std::initializer_list<QWidget *>{lblPercent, cmdIdentifyRoms}) {
        QFont font = bold->font();
        font.setBold(true);
        bold->setFont(font);
    }
    lblPercent->adjustSize();

    // Enter in the file list presses no button: a run starts only on purpose.
    setNoDefaultButton();

    picPercent->setEnabled(false);
    lblPercent->setEnabled(false);
    cmdCancelIdentify->setEnabled(false);
    setResultButtonsEnabled(false);
    chkMoveRoms->setEnabled(false);

    QWidget *order[] = {cmdIdentifyRoms, cmdCancelIdentify, lstFileIdentify, cmdVboyHave, cmdVboyMiss,
                        cmdVBoyDupes, cmdVBoyLog, cmdSaveVboy, chkDetailedList, chkRenameRoms,
                        chkMoveRoms, chkChangeLog, cmdSelectDir, cmdRefresh};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmVbRomDatabase::createHiddenTexts()
{
    QWidget *c = client();
    txtVBoyHave = HiddenText(c, QStringLiteral("VBoyHave"));
    txtVBoyMiss = HiddenText(c, QStringLiteral("VBoyMiss"));
    txtVBoyDupes = HiddenText(c, QStringLiteral("VBoyDupes"));
    txtVBoyLog = HiddenText(c, QStringLiteral("VBoyLog"));
    txtHelp = HiddenText(c, ResourceText(QStringLiteral(":/romdb/RomDbHelp.txt")));
    help::RegisterSource(QStringLiteral("ROM DB Have"), txtVBoyHave);
    help::RegisterSource(QStringLiteral("ROM DB Miss"), txtVBoyMiss);
    help::RegisterSource(QStringLiteral("ROM DB Dupes"), txtVBoyDupes);
    help::RegisterSource(QStringLiteral("ROM DB Log"), txtVBoyLog);
    help::RegisterSource(QStringLiteral("VB ROM DB"), txtHelp);
}

void frmVbRomDatabase::createMenus()
{
    using controls::AddMenuItem;
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileBack = AddMenuItem(mnuFile, QStringLiteral("&Back to main menu"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                              this, &frmVbRomDatabase::mnuFileBack_Click);
    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelpHelp = AddMenuItem(mnuHelp, QStringLiteral("VB ROM Database &Help..."), QKeySequence(Qt::Key_F1),
                              this, &frmVbRomDatabase::mnuHelpHelp_Click);
    MnuHelpSep1 = mnuHelp->addSeparator();
    mnuHelpCodes = AddMenuItem(mnuHelp, QStringLiteral("ROM &Identification Codes..."),
                               QKeySequence(Qt::SHIFT | Qt::Key_F1), this, &frmVbRomDatabase::mnuHelpCodes_Click);
}

void frmVbRomDatabase::connectHandlers()
{
    connect(cmdIdentifyRoms, &QPushButton::clicked, this, &frmVbRomDatabase::cmdIdentifyRoms_Click);
    connect(cmdCancelIdentify, &QPushButton::clicked, this, &frmVbRomDatabase::cmdCancelIdentify_Click);
    connect(cmdVboyHave, &QPushButton::clicked, this, &frmVbRomDatabase::cmdVboyHave_Click);
    connect(cmdVboyMiss, &QPushButton::clicked, this, &frmVbRomDatabase::cmdVboyMiss_Click);
    connect(cmdVBoyDupes, &QPushButton::clicked, this, &frmVbRomDatabase::cmdVBoyDupes_Click);
    connect(cmdVBoyLog, &QPushButton::clicked, this, &frmVbRomDatabase::cmdVBoyLog_Click);
    connect(cmdSaveVboy, &QPushButton::clicked, this, &frmVbRomDatabase::cmdSaveVboy_Click);
    connect(cmdSelectDir, &QPushButton::clicked, this, &frmVbRomDatabase::cmdSelectDir_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmVbRomDatabase::cmdRefresh_Click);
    // toggled runs on a change from code as on a click, and not when the
    // value stays as it was.
    connect(chkDetailedList, &QCheckBox::toggled, this, &frmVbRomDatabase::chkDetailedList_Click);
    connect(chkRenameRoms, &QCheckBox::toggled, this, &frmVbRomDatabase::chkRenameRoms_Click);
    connect(chkMoveRoms, &QCheckBox::toggled, this, &frmVbRomDatabase::chkMoveRoms_Click);
    connect(chkChangeLog, &QCheckBox::toggled, this, &frmVbRomDatabase::chkChangeLog_Click);
    connect(lstFileIdentify, &QListWidget::itemDoubleClicked, this, &frmVbRomDatabase::lstFileIdentify_DblClick);
}

void frmVbRomDatabase::Form_Load()
{
    GetRegistry();
    setFilFilePath(BaseDirectory);
    chkDetailedList->setChecked(DetailedLists == 1);
    chkMoveRoms->setChecked(MoveRoms == 1);
    chkRenameRoms->setChecked(RenameRoms == 1);
    chkChangeLog->setChecked(CreateChangeLog == 1);
    centrePercentLabel();
}

void frmVbRomDatabase::Form_Unload(bool &cancel)
{
    if (!m_runInProgress)
        return;
    cancel = true;
    m_closeWhenRunEnds = true;
    requestCancel();
}

void frmVbRomDatabase::GetRegistry()
{
    BaseDirectory = settings::Get(QStringLiteral("Base Directory"), DefaultFolder());
    // A value other than 0 or 1 can't be a check box's: it reads as unticked.
    DetailedLists = settings::GetInteger(kDetailedKey, 0, 0, 1);
    RenameRoms = settings::GetInteger(kRenameKey, 0, 0, 1);
    MoveRoms = settings::GetInteger(kMoveKey, 0, 0, 1);
    CreateChangeLog = settings::GetInteger(kChangeLogKey, 0, 0, 1);
}

void frmVbRomDatabase::SaveRegistry()
{
    settings::SaveInteger(kDetailedKey, DetailedLists);
    settings::SaveInteger(kRenameKey, RenameRoms);
    settings::SaveInteger(kMoveKey, MoveRoms);
    settings::SaveInteger(kChangeLogKey, CreateChangeLog);
}

// ---- The folder listing -------------------------------------------------

void frmVbRomDatabase::setFilFilePath(const QString &path)
{
    // The folder can't change under a run; its buttons are disabled then.
    if (m_runInProgress || !m_database->ListFolder(path))
        return;
    if (m_database->fileCount() == 0) {
        showNoRomsFound();
        cmdIdentifyRoms->setEnabled(false);
    } else {
        cmdIdentifyRoms->setEnabled(true);
    }
    setResultButtonsEnabled(false);
}

void frmVbRomDatabase::filFile_PathChange()
{
    setFilFilePath(m_database->folder());
}

void frmVbRomDatabase::cmdRefresh_Click()
{
    filFile_PathChange();
}

void frmVbRomDatabase::cmdSelectDir_Click()
{
    const QString chosen = frmSelectDir::ChooseFolder(this);
    setFilFilePath(chosen.isEmpty() ? BaseDirectory : chosen);
}

void frmVbRomDatabase::showListing()
{
    lstFileIdentify->clear();
    for (int32_t i = 0; i < m_database->fileCount(); ++i)
        lstFileIdentify->addItem(m_database->fileLine(i));
    const QString pattern = paths::AppendFileToDir(m_database->folder(), QStringLiteral("*.vb"));
    lblRomDir->setText(pattern);
    lblRomDir->setToolTip(pattern);
}

void frmVbRomDatabase::showFileLine(int32_t index)
{
    if (QListWidgetItem *line = lstFileIdentify->item(index))
        line->setText(m_database->fileLine(index));
}

void frmVbRomDatabase::showNoRomsFound()
{
    msgbox::MsgBox(QStringLiteral("No ROMs found in directory:") + CR + m_database->folder() + CR +
                       QStringLiteral("Please choose another directory."),
                   msgbox::vbExclamation, QStringLiteral("No ROMs found"));
}

// ---- Options --------------------------------------------------------------

void frmVbRomDatabase::chkDetailedList_Click()
{
    DetailedLists = CheckValue(chkDetailedList);
    SaveRegistry();
}

void frmVbRomDatabase::chkRenameRoms_Click()
{
    if (chkRenameRoms->isChecked()) {
        chkMoveRoms->setEnabled(true);
    } else {
        chkMoveRoms->setEnabled(false);
        chkMoveRoms->setChecked(false);
    }
    RenameRoms = CheckValue(chkRenameRoms);
    SaveRegistry();
}

void frmVbRomDatabase::chkMoveRoms_Click()
{
    MoveRoms = CheckValue(chkMoveRoms);
    SaveRegistry();
}

void frmVbRomDatabase::chkChangeLog_Click()
{
    if (chkChangeLog->isChecked()) {
        cmdSaveVboy->setText(kSaveListsAndLogCaption);
        m_database->lists().InitChangeLog();
        showChangeLog();
    } else {
        cmdSaveVboy->setText(kSaveListsCaption);
        cmdVBoyLog->setEnabled(false);
    }
    CreateChangeLog = CheckValue(chkChangeLog);
    SaveRegistry();
}

// ---- The identification run ---------------------------------------------

void frmVbRomDatabase::cmdIdentifyRoms_Click()
{
    // A click that reached the window while a run let its events through.
    if (m_runInProgress)
        return;
    if (m_database->fileCount() == 0) {
        showNoRomsFound();
        return;
    }
    const QString confirmation =
        chkRenameRoms->isChecked()
            ? QStringLiteral("NOTE: Identifying ROMs may take a long while.") + LF +
                  QStringLiteral("Existing files will be overwritten. Please make sure you") + LF +
                  QStringLiteral("have any files you do not wish to lose backed up.") + LF + LF +
                  QStringLiteral("Do you still wish to continue?")
            : QStringLiteral("NOTE: Identifying ROMs may take a while.") + LF + LF +
                  QStringLiteral("Do you wish to continue?");
    if (msgbox::MsgBox(confirmation, kExclamationYesNo, QStringLiteral("Continue operation?")) == msgbox::vbNo)
        return;

    m_runInProgress = true;
    const romdb::RunOutcome outcome = identifyAndRename();
    finishRun(outcome);
    m_runInProgress = false;
    if (m_closeWhenRunEnds)
        close();
}

romdb::RunOutcome frmVbRomDatabase::identifyAndRename()
{
    const forms::BusyCursor busy;
    m_database->InitLists();
    showListTexts();
    Tag.clear();
    setRunControls(true);
    forms::DoEvents();

    m_database->ResetFileStates();
    int32_t percent = 0;
    DrawProgress(percent);
    const bool renaming = chkRenameRoms->isChecked();
    // Moving needs renaming: a stored "Move ROMs" without it moves nothing.
    const romdb::RunOutcome outcome = m_database->RunIdentification(renaming, renaming && chkMoveRoms->isChecked());
    if (renaming)
        showChangeLog();
    return outcome;
}

void frmVbRomDatabase::finishRun(romdb::RunOutcome outcome)
{
    setRunControls(false);
    int32_t percent = 0;
    if (const QString &recovery = m_database->renameRecovery(); !recovery.isEmpty())
        msgbox::MsgBox(recovery, msgbox::vbInformation, QStringLiteral("Interrupted renaming"));
    if (outcome == romdb::RunOutcome::Failed) {
        DrawProgress(percent);
        offerChangeLogOnly();
        msgbox::MsgBox(m_database->renameFailure(), msgbox::vbCritical, QStringLiteral("Rename failed"));
    } else if (outcome == romdb::RunOutcome::CancelledAfterRenaming) {
        DrawProgress(percent);
        offerChangeLogOnly();
        if (!m_closeWhenRunEnds)
            msgbox::MsgBox(QStringLiteral("The ROM files were renamed before the cancel took effect;") + LF +
                               QStringLiteral("only identifying them again was cancelled.") + movedToText() + LF + LF +
                               QStringLiteral("The change log shows every change."),
                           msgbox::vbExclamation, QStringLiteral("Cancelled"));
    } else if (Tag == romdb::kCancelMarker) {
        DrawProgress(percent);
        setResultButtonsEnabled(false);
        // Closing the window asked for the cancel: no box to answer on the way out.
        if (!m_closeWhenRunEnds)
            msgbox::MsgBox(QStringLiteral("ROM identiification aborted."), msgbox::vbExclamation,
                           QStringLiteral("Cancelled"));
    } else {
        m_database->BuildLists(chkDetailedList->isChecked());
        showListTexts();
        percent = 100;
        DrawProgress(percent);
        msgbox::MsgBox(completionMessage(), msgbox::vbExclamation, QStringLiteral("Complete"));
    }
    picPercent->setEnabled(false);
    lblPercent->setEnabled(false);

    Tag.clear();
    percent = 0;
    DrawProgress(percent);
}

QString frmVbRomDatabase::completionMessage() const
{
    if (!chkRenameRoms->isChecked())
        return QStringLiteral("ROM identification complete.");
    return QStringLiteral("ROM identification & rename complete.") + movedToText();
}

QString frmVbRomDatabase::movedToText() const
{
    if (!chkMoveRoms->isChecked())
        return QString();
    return QString(LF) + LF + QStringLiteral("Files moved to:") + LF + paths::AppendFileToDir(m_database->folder(), QString());
}

void frmVbRomDatabase::setRunControls(bool running)
{
    cmdCancelIdentify->setEnabled(running);
    for (QWidget *w : std::initializer_list<QWidget *>{cmdIdentifyRoms, cmdSelectDir, cmdRefresh, chkDetailedList,
                                                       chkRenameRoms, chkChangeLog})
        w->setEnabled(!running);
    chkMoveRoms->setEnabled(!running && chkRenameRoms->isChecked());
    if (running) {
        picPercent->setEnabled(true);
        lblPercent->setEnabled(true);
    }
    setResultButtonsEnabled(!running);
}

void frmVbRomDatabase::setResultButtonsEnabled(bool enabled)
{
    m_onlyChangeLog = false;
    for (QPushButton *button : {cmdVboyHave, cmdVboyMiss, cmdVBoyDupes, cmdSaveVboy})
        button->setEnabled(enabled);
    cmdVBoyLog->setEnabled(enabled && chkChangeLog->isChecked());
}

// The log says where each file went, so it stays within reach even when
// the run's lists were never built.
void frmVbRomDatabase::offerChangeLogOnly()
{
    setResultButtonsEnabled(false);
    m_onlyChangeLog = true;
    cmdVBoyLog->setEnabled(true);
    cmdSaveVboy->setEnabled(true);
}

void frmVbRomDatabase::cmdCancelIdentify_Click()
{
    if (msgbox::MsgBox(QStringLiteral("Do you wish to stop analysing ROMs?"), kExclamationYesNo,
                       QStringLiteral("Cancel operation?")) == msgbox::vbNo)
        return;
    requestCancel();
}

void frmVbRomDatabase::requestCancel()
{
    Tag = romdb::kCancelMarker;
    // Identify stays disabled until the run has unwound: no run inside a run.
    cmdCancelIdentify->setEnabled(false);
}

void frmVbRomDatabase::DrawProgress(int32_t &percent)
{
    percent = std::clamp(percent, 0, 100);
    lblPercent->setText(QString::number(percent) + QLatin1Char('%'));
    lblPercent->adjustSize();
    centrePercentLabel();
    QPalette colours = lblPercent->palette();
    const QColor text = picPercent->palette().color(percent >= 50 ? QPalette::HighlightedText : QPalette::ButtonText);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, QPalette::WindowText, text);
    lblPercent->setPalette(colours);
    picPercent->drawBar(percent);
}

void frmVbRomDatabase::centrePercentLabel()
{
    lblPercent->move(picPercent->width() / 2 - lblPercent->width() / 2,
                     (picPercent->height() - lblPercent->height()) / 2);
}

// ---- Lists, summaries, list files and the report ------------------------

void frmVbRomDatabase::showListTexts()
{
    const romdb::RomListTexts &texts = m_database->lists();
    txtVBoyHave->setPlainText(texts.haveText());
    txtVBoyMiss->setPlainText(texts.missText());
    txtVBoyDupes->setPlainText(texts.dupesText());
    showChangeLog();
}

void frmVbRomDatabase::showChangeLog()
{
    txtVBoyLog->setPlainText(m_database->lists().changeLog());
}

void frmVbRomDatabase::showSummary(const QString &text, const QString &title, const QString &topic)
{
    if (msgbox::MsgBox(text, kInformationYesNo, title) == msgbox::vbYes)
        help::ShowTopic(topic);
}

void frmVbRomDatabase::cmdVboyHave_Click()
{
    showSummary(romdb::HaveSummary(m_database->lists().counters()), QStringLiteral("Collected VB ROM details"),
                QStringLiteral("ROM DB Have"));
}

void frmVbRomDatabase::cmdVboyMiss_Click()
{
    showSummary(romdb::MissSummary(m_database->lists().counters()), QStringLiteral("Missing VB ROM details"),
                QStringLiteral("ROM DB Miss"));
}

void frmVbRomDatabase::cmdVBoyDupes_Click()
{
    showSummary(romdb::DupesSummary(m_database->lists().counters()), QStringLiteral("Duplicate VB ROM details"),
                QStringLiteral("ROM DB Dupes"));
}

void frmVbRomDatabase::cmdVBoyLog_Click()
{
    help::ShowTopic(QStringLiteral("ROM DB Log"));
}

void frmVbRomDatabase::cmdSaveVboy_Click()
{
    const QString folder = m_database->folder();
    const bool withLog = chkChangeLog->isChecked();
    const auto failure = m_onlyChangeLog ? romdb::SaveChangeLogFile(folder, m_database->lists())
                                         : romdb::SaveListFiles(folder, m_database->lists(), withLog);
    if (failure) {
        msgbox::MsgBox(QStringLiteral("Unable to save the list file:") + CR + failure->path + CR + failure->reason,
                       msgbox::vbExclamation, QStringLiteral("File error"));
        return;
    }
    QString saved;
    if (m_onlyChangeLog)
        saved = QStringLiteral("The change log has been saved to:") + CR +
                paths::AppendFileToDir(folder, QStringLiteral("VBoyLog.txt"));
    else
        saved = QStringLiteral("List files have been saved to:") + CR +
                (withLog ? QStringLiteral("VBoyHave.txt, VBoyMiss.txt") + CR + QStringLiteral("VBoyDupes.txt, VBoyLog.txt")
                         : QStringLiteral("VBoyHave.txt, VBoyMiss.txt, VBoyDupes.txt"));
    msgbox::MsgBox(saved, msgbox::vbInformation, QStringLiteral("Files saved"));
}

void frmVbRomDatabase::lstFileIdentify_DblClick()
{
    const QList<QListWidgetItem *> selected = lstFileIdentify->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = lstFileIdentify->row(selected.constFirst());
    if (index < 0 || index >= m_database->fileCount())
        return;
    // Copied: the box lets events run, and a run may replace the records.
    const romdb::RomFileRecord file = m_database->files().at(index);
    msgbox::MsgBox(romdb::IdentificationReport(file, QFontMetrics(client()->font())), msgbox::vbInformation,
                   QStringLiteral("ROM Identification:"));
    lstFileIdentify->clearSelection();
    lstFileIdentify->setCurrentRow(-1);
}

// ---- Menus ----------------------------------------------------------------

void frmVbRomDatabase::mnuFileBack_Click()
{
    close();
}

void frmVbRomDatabase::mnuHelpHelp_Click()
{
    help::ShowTopic(QStringLiteral("VB ROM DB"));
}

void frmVbRomDatabase::mnuHelpCodes_Click()
{
    help::ShowTopic(QStringLiteral("ROM ID Codes"));
}
