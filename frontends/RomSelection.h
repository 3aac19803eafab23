#pragma once
// The ROM chooser of an emulator front-end: the drop-down of recently used
// images (its first row the placeholder "Please select a file name..."), or,
// when the recent list is switched off, a label in its place; the "Select
// ROM..." button with the shared open dialog; and the image check that
// every choice passes before it becomes the ROM to run. The window keeps
// its own controls; this holds the logic between them and the recent list,
// and tells the window when its Run buttons may be used.

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include "RecentRomList.h"

class QComboBox;
class QLabel;
class QPushButton;

class RomSelection : public QObject {
    Q_OBJECT
public:
    struct Options {
        // The emulator also runs with no ROM: Run is available from the start,
        // and only a failed check in the label takes it away.
        bool runsWithoutRom = false;
        // The drop-down's tool tip shows the chosen row's text.
        bool toolTipFollowsRow = false;
    };

    static const QString kPlaceholder;

    RomSelection(QComboBox *cmbFilename, QLabel *lblFilename, QPushButton *cmdOpen, Options options,
                 std::function<void(bool)> enableRun, QObject *parent = nullptr);

    // "Base Directory", the open dialog's start folder.
    QString BaseDirectory;
    // The window's copy of the recent-ROM list; its count decides the mode.
    RecentRomList RecentRoms;
    // True from the end of a refill of the drop-down until a handler clears
    // it; meanwhile a row selected from code is not handled.
    bool ComboRefilled = false;

    // Reads "Base Directory" and the recent list.
    void GetRegistry();
    // The window's load step: the drop-down filled with the placeholder
    // chosen, or the label shown instead.
    void SetUp();
    bool listMode() const { return RecentRoms.count() >= 1; }

    // The path of the ROM to run; "" while none is chosen.
    QString chosenRom() const;
    // The chosen ROM in the form its command line carries ("" while none is
    // chosen), or nullopt when the image has gone since it was chosen, which
    // is reported ("File does not exist.").
    std::optional<QString> romToRun() const;

    void FillRecentCombo();
    // Checks the image and makes it the ROM to run, or reports it and
    // drops it from the recent list. Reads the file only; true when it passed.
    bool ValidateRomFile(const QString &path);
    void cmbFilename_Click();
    void cmdOpen_Click();

private:
    // Selects a row from code; handled as a pick unless ComboRefilled.
    void selectRow(int row);
    int rowOf(const QString &path) const;
    void followRowInToolTip();

    QComboBox *m_combo;
    QLabel *m_label;
    QPushButton *m_open;
    Options m_options;
    std::function<void(bool)> m_enableRun;
};
