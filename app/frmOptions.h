#pragma once
// The options dialog: edits its own copy of the settings record and writes
// it to the store, all at once, only when the user applies. Folders are
// chosen through the folder picker and checked for what they should hold.

#include <QLabel>
#include <array>
#include <functional>
#include <tuple>

#include "Controls.h"
#include "Forms.h"
#include "SettingsRecord.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QScrollBar;
struct ToolDefinition;

// A folder label: shows a path (shortened when too wide) with the whole path
// as its tooltip. Setting a different caption runs its Change handler.
class FolderLabel : public controls::ChangeLabel {
    Q_OBJECT
public:
    explicit FolderLabel(QWidget *parent = nullptr);

    // The whole path the label stands for.
    QString path() const { return toolTip(); }
};

class frmOptions : public forms::Form {
    Q_OBJECT
public:
    explicit frmOptions(QWidget *parent = nullptr);

    // What Apply writes: the record as loaded, plus what Revert to default
    // and Clear changed in it.
    const SettingsRecord &settingsCopy() const { return m_settings; }
    // One flag for all seven folder labels: FitPathLabel's own caption
    // changes must not run it again.
    bool PathLabelBusy = false;

    QGroupBox *fraGeneral;
    QLabel *lblBaseDir1;
    FolderLabel *lblBaseDir;
    QPushButton *cmdBaseDir;
    QCheckBox *chkIntro;
    std::array<QRadioButton *, 2> optThemeCol; // 0 "Greyscale", 1 "VB Colours"
    QCheckBox *chkMruItems;
    QLabel *lblMruItems;
    QScrollBar *vscMruItems;
    QLabel *lblMruItems1;
    QPushButton *cmdMruItems;

    QGroupBox *fraEmus;
    QLabel *lblRboyDir1;
    QCheckBox *chkRboyEnabled;
    FolderLabel *lblRboyDir;
    QPushButton *cmdRboyDir;
    QLabel *lblVirteDir1;
    QCheckBox *chkVirteEnabled;
    FolderLabel *lblVirteDir;
    QPushButton *cmdVirteDir;
    QLabel *lblRdragDir1;
    QCheckBox *chkRdragEnabled;
    FolderLabel *lblRdragDir;
    QPushButton *cmdRdragDir;

    QGroupBox *fraInfoDatabaseViewer;
    QCheckBox *chkDetectRom;
    QCheckBox *chkDetailedList;
    QCheckBox *chkRenameRoms;
    QCheckBox *chkChangeLog;
    QCheckBox *chkMoveRoms;
    QCheckBox *chkAutoUpdate;

    QGroupBox *fraUtils;
    QLabel *lblVECCDir1;
    QCheckBox *chkVECCEnabled;
    FolderLabel *lblVECCDir;
    QPushButton *cmdVECCDir;
    QLabel *lblEnvironmentDir1;
    QCheckBox *chkEnvironmentEnabled;
    FolderLabel *lblEnvironmentDir;
    QPushButton *cmdEnvironmentDir;
    QLabel *lblVBDKDir1;
    QCheckBox *chkVBDKEnabled;
    FolderLabel *lblVBDKDir;
    QPushButton *cmdVBDKDir;

    QPushButton *cmdCancel;
    QPushButton *cmdDefault;
    QPushButton *cmdApply;

    void GetRegistry();
    void SaveRegistry();
    // Shows the label's path whole when it fits the width limit, else
    // shortened with "..."; the tooltip keeps the whole path.
    void FitPathLabel(FolderLabel *label, int limitTwips);

    void chkRboyEnabled_Click() { toolEnabled_Click(0); }
    void chkVirteEnabled_Click() { toolEnabled_Click(1); }
    void chkRdragEnabled_Click() { toolEnabled_Click(2); }
    void chkVECCEnabled_Click() { toolEnabled_Click(3); }
    void chkEnvironmentEnabled_Click() { toolEnabled_Click(4); }
    void chkVBDKEnabled_Click() { toolEnabled_Click(5); }
    void chkIntro_Click();
    void chkRenameRoms_Click();
    void chkMruItems_Click();
    void vscMruItems_Change();
    void lblBaseDir_Change() { FitPathLabel(lblBaseDir, kBaseLabelWidth); }
    void lblRboyDir_Change() { FitPathLabel(lblRboyDir, kToolLabelWidth); }
    void lblVirteDir_Change() { FitPathLabel(lblVirteDir, kToolLabelWidth); }
    void lblRdragDir_Change() { FitPathLabel(lblRdragDir, kToolLabelWidth); }
    void lblVECCDir_Change() { FitPathLabel(lblVECCDir, kToolLabelWidth); }
    void lblEnvironmentDir_Change() { FitPathLabel(lblEnvironmentDir, kToolLabelWidth); }
    void lblVBDKDir_Change() { FitPathLabel(lblVBDKDir, kToolLabelWidth); }
    void cmdBaseDir_Click();
    void cmdRboyDir_Click() { toolDir_Click(0); }
    void cmdVirteDir_Click() { toolDir_Click(1); }
    void cmdRdragDir_Click() { toolDir_Click(2); }
    void cmdVECCDir_Click() { toolDir_Click(3); }
    void cmdEnvironmentDir_Click() { toolDir_Click(4); }
    void cmdVBDKDir_Click() { toolDir_Click(5); }
    void cmdDefault_Click();
    void cmdMruItems_Click();
    void cmdCancel_Click();
    void cmdApply_Click();

    static constexpr int kBaseLabelWidth = 3225;
    static constexpr int kToolLabelWidth = 2265;

protected:
    void Form_Load() override;

private:
    // One tool's row of controls, in the order of ToolDefinitions().
    struct ToolRow {
        const ToolDefinition *tool;
        QCheckBox *chkEnabled;
        FolderLabel *lblDir;
        QPushButton *cmdDir;
    };

    void createGeneralFrame();
    void createInfoDatabaseViewerFrame();
    // The caption label, enable box, folder label and change button of a row.
    std::tuple<QLabel *, QCheckBox *, FolderLabel *, QPushButton *> createToolRow(QGroupBox *frame, int top,
                                                                                   const QString &caption,
                                                                                   int captionWidth);
    void createToolRows();
    void connectHandlers();
    void toolEnabled_Click(int tool);
    void toolDir_Click(int tool);
    void setMruControlsEnabled(bool enabled);
    void controlsToCopy();

    SettingsRecord m_settings;
    std::array<ToolRow, 6> m_tools{};
};
