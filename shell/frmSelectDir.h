#pragma once
// The folder picker: a drive list, a directory list and Select/Cancel. It
// opens in the folder a caller put into the Tag mailbox, else in the stored
// "Base Directory", and answers in its own Tag: the chosen folder, or ""
// when the user cancelled. Every folder it opens becomes the process's
// current folder, which later windows rely on.

#include "Forms.h"

class DirectoryList;
class DriveList;
class QLabel;
class QPushButton;

class frmSelectDir : public forms::Form {
    Q_OBJECT
public:
    explicit frmSelectDir(QWidget *parent = nullptr);

    // The whole exchange as every caller makes it: puts the start folder (if
    // any) into the mailbox, shows the picker modally over `parent` and
    // returns its answer.
    static QString ChooseFolder(QWidget *parent, const QString &startFolder = QString());

    QLabel *lblLookIn;
    DriveList *drvDrive;
    QPushButton *cmdSelect;
    QPushButton *cmdCancel;
    DirectoryList *dirDirectory;
    QLabel *lblFileName1;
    QLabel *lblFilename;

    // The stored "Base Directory".
    QString BaseDirectory;

    void GetRegistry();
    void drvDrive_Change();
    void dirDirectory_Change();
    void cmdSelect_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
};
