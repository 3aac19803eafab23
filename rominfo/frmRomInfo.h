#pragma once
// The ROM information window: opens one Virtual Boy image, shows its size
// and header, identifies it against the known-ROM catalogue, edits the
// header and saves the image in place or under a new name.

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

#include "Forms.h"
#include "RecentRomList.h"

namespace controls {
class ChangeLabel;
}
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class HeaderTextValidator;
class RecentRomMenu;

class frmRomInfo : public forms::Form {
    Q_OBJECT
public:
    explicit frmRomInfo(QWidget *parent = nullptr);
    ~frmRomInfo() override;

    // Settings, read when the window loads.
    QString BaseDirectory;
    bool AutoDetectRom = false;
    // The loaded image, whole; its header lies at size - 544.
    QByteArray RomData;
    // This window's copy of the recent-ROM list and its count.
    RecentRomList RecentRoms;

    QGroupBox *fraMbit;
    QLabel *lblMbit;
    QGroupBox *fraTitle;
    controls::ChangeLabel *lblTitle;
    QPushButton *cmdJapaneseIme;
    QGroupBox *fraManufacturer;
    QComboBox *cmbManufacturer;
    QLineEdit *txtManufacturer;
    QGroupBox *fraVersion;
    QComboBox *cmbVersion;
    QGroupBox *fraRomId;
    QLineEdit *txtRomId;
    QGroupBox *fraIdentify;
    QLabel *lblIdentify;
    QPushButton *cmdRevert;
    QLabel *imgZARavo;
    // Hidden state: the header-excluded checksum found by identification
    // (what Revert looks up) and the path that Save writes.
    QLabel *lblChecksum;
    QLabel *lblFilename;
    // Hidden: the text the help viewer shows for "ROM Info".
    QPlainTextEdit *txtHelp;

    QMenu *mnuFile;
    QAction *mnuFileOpen;
    QAction *mnuFileClose;
    QAction *mnuFileSep1;
    QAction *mnuFileSave;
    QAction *mnuFileSaveAs;
    QAction *mnuFileSep2;
    QMenu *mnuFileRecent;
    // The items "&0 " ... "&9 " (mnuFileRecent0 ... mnuFileRecent9).
    std::array<QAction *, 10> mnuFileRecentItems{};
    QAction *mnuFileSep3;
    QAction *mnuFileBack;
    QMenu *mnuHelp;
    QAction *mnuHelpHelp;
    QAction *MnuSep1;
    QAction *mnuHelpCodes;

    void GetRegistry();
    void ClearRomInfo();
    void LoadRomFile(const QString &path);
    // Puts a known ROM's published header into the fields; an unknown title
    // changes nothing.
    void RestoreKnownHeader(const QString &title);
    void UpdateRecentMenu();

public slots:
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileBack_Click();
    // Item N of the recent files (mnuFileRecent0_Click ... mnuFileRecent9_Click).
    void mnuFileRecent_Click(int index);
    void mnuHelpHelp_Click();
    void mnuHelpCodes_Click();
    void cmdJapaneseIme_Click();
    void cmdRevert_Click();
    void cmbManufacturer_Click();
    void txtManufacturer_Change();
    void txtRomId_Change();
    void lbltitle_Change();

protected:
    void Form_Load() override;

private:
    void createControls();
    void createMenus();
    void setHeaderControlsEnabled(bool enabled);
    void showCaption(const QString &romaji);
    // Sets the label's text and tool tip and fits its frame to it.
    void showFitted(QLabel *label, const QString &text);
    QString titleRomaji() const;
    void Identify();
    // The image with the edited header fields written into it.
    QByteArray editedImage() const;
    // Writes the edited image to `path`; on failure says so and changes nothing.
    bool writeEditedImage(const QString &path);
    // Shows header bytes read from the image in their box; whatever they
    // are, they stay editable there.
    static void showHeaderText(QLineEdit *box, HeaderTextValidator *validator, const QByteArray &bytes);

    std::unique_ptr<RecentRomMenu> m_recentMenu;
    HeaderTextValidator *m_makerCodeValidator = nullptr;
    HeaderTextValidator *m_gameIdValidator = nullptr;
};
