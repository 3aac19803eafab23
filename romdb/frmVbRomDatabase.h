#pragma once
// The ROM database window: lists the ".vb" files of a folder, identifies
// them all against the known-ROM catalogue with progress and cancel, can
// give each identified file its title as its name and move it, and shows
// and saves the collected, missing and duplicates lists and the change log.
// The engine (RomDatabase) holds one record per file; the window shows it.

#include <QString>
#include <cstdint>
#include <memory>

#include "Forms.h"
#include "RunHooks.h"

namespace controls {
class TextRowList;
}
namespace romdb {
class RomDatabase;
}
class ProgressPicture;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

class frmVbRomDatabase : public forms::Form {
    Q_OBJECT
public:
    explicit frmVbRomDatabase(QWidget *parent = nullptr);
    ~frmVbRomDatabase() override;

    // Settings, read when the window loads; the four options follow their
    // check boxes and are written at every change.
    QString BaseDirectory;
    int16_t DetailedLists = 0;
    int16_t RenameRoms = 0;
    int16_t MoveRoms = 0;
    int16_t CreateChangeLog = 0;

    QLabel *lblRomDir;
    controls::TextRowList *lstFileIdentify;
    ProgressPicture *picPercent;
    QLabel *lblPercent;
    QPushButton *cmdIdentifyRoms;
    QPushButton *cmdCancelIdentify;
    QPushButton *cmdVboyHave;
    QPushButton *cmdVboyMiss;
    QPushButton *cmdVBoyDupes;
    QPushButton *cmdVBoyLog;
    QPushButton *cmdSaveVboy;
    QCheckBox *chkDetailedList;
    QCheckBox *chkRenameRoms;
    QCheckBox *chkMoveRoms;
    QCheckBox *chkChangeLog;
    QPushButton *cmdSelectDir;
    QPushButton *cmdRefresh;
    // Hidden: the texts the help viewer shows for "ROM DB Have", "ROM DB
    // Miss", "ROM DB Dupes", "ROM DB Log" and "VB ROM DB".
    QPlainTextEdit *txtVBoyHave;
    QPlainTextEdit *txtVBoyMiss;
    QPlainTextEdit *txtVBoyDupes;
    QPlainTextEdit *txtVBoyLog;
    QPlainTextEdit *txtHelp;

    QMenu *mnuFile;
    QAction *mnuFileBack;
    QMenu *mnuHelp;
    QAction *mnuHelpHelp;
    QAction *MnuHelpSep1;
    QAction *mnuHelpCodes;

    // The listed folder, its file records and the list texts.
    const romdb::RomDatabase &database() const { return *m_database; }
    // True from the confirmation of a run until it has unwound.
    bool runInProgress() const { return m_runInProgress; }

    void GetRegistry();
    void SaveRegistry();
    // Lists `path`, as setting the file list's path does.
    void setFilFilePath(const QString &path);
    // Shows `percent`, brought into 0-100 (the caller's variable too).
    void DrawProgress(int32_t &percent);

public slots:
    void filFile_PathChange();
    void cmdRefresh_Click();
    void cmdSelectDir_Click();
    void cmdIdentifyRoms_Click();
    void cmdCancelIdentify_Click();
    void chkDetailedList_Click();
    void chkRenameRoms_Click();
    void chkMoveRoms_Click();
    void chkChangeLog_Click();
    void cmdVboyHave_Click();
    void cmdVboyMiss_Click();
    void cmdVBoyDupes_Click();
    void cmdVBoyLog_Click();
    void cmdSaveVboy_Click();
    void lstFileIdentify_DblClick();
    void mnuFileBack_Click();
    void mnuHelpHelp_Click();
    void mnuHelpCodes_Click();

protected:
    void Form_Load() override;
    // Closing during a run asks the run to stop; the window closes once it has.
    void Form_Unload(bool &cancel) override;

private:
    void createControls();
    void createHiddenTexts();
    void createMenus();
    void connectHandlers();
    romdb::RunHooks runHooks();

    void showListing();
    void showFileLine(int32_t index);
    void showListTexts();
    void showChangeLog();
    void centrePercentLabel();
    void showNoRomsFound();

    romdb::RunOutcome identifyAndRename();
    void finishRun(romdb::RunOutcome outcome);
    void setRunControls(bool running);
    void setResultButtonsEnabled(bool enabled);
    void offerChangeLogOnly();
    void requestCancel();
    QString completionMessage() const;
    QString movedToText() const;
    void showSummary(const QString &text, const QString &title, const QString &topic);

    std::unique_ptr<romdb::RomDatabase> m_database;
    bool m_runInProgress = false;
    bool m_closeWhenRunEnds = false;
    // A run that renamed files but built no lists: its change log alone is
    // there to show and save.
    bool m_onlyChangeLog = false;
};
