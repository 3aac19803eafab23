#include "frmSelectDir.h"

#include <QLabel>
#include <QPushButton>

#include "Controls.h"
#include "FolderLists.h"
#include "MainWindowState.h"
#include "Paths.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"

namespace {

// Where the picker opens when the folder it was given does not exist.
QString existingOrDefault(const QString &folder)
{
    return paths::IsFolder(folder) ? folder : DefaultFolder();
}

} // namespace

frmSelectDir::frmSelectDir(QWidget *parent)
    : Form(parent)
{
    using controls::Place;
    setWindowTitle(QStringLiteral("Select Directory..."));
    setClientSizeTwips(6000, 4500);

    lblLookIn = Place<QLabel>(client(), 120, 195, 615, 255, QStringLiteral("Look in:"));
    drvDrive = Place<DriveList>(client(), 840, 135, 3135, 315);
    cmdSelect = Place<QPushButton>(client(), 4080, 120, 855, 315, QStringLiteral("Select"));
    cmdCancel = Place<QPushButton>(client(), 5040, 120, 855, 315, QStringLiteral("Cancel"));
    dirDirectory = Place<DirectoryList>(client(), 120, 555, 5775, 3465);
    lblFileName1 = Place<QLabel>(client(), 120, 4125, 735, 255, QStringLiteral("Directory:"));
    lblFilename = Place<QLabel>(client(), 840, 4080, 5055, 315);
    lblFilename->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblFilename->setIndent(3);
    lblLookIn->setBuddy(drvDrive);
    lblFileName1->setBuddy(dirDirectory);

    setTabOrder(drvDrive, dirDirectory);
    setTabOrder(dirDirectory, cmdSelect);
    setTabOrder(cmdSelect, cmdCancel);

    connect(drvDrive, &QComboBox::currentIndexChanged, this, &frmSelectDir::drvDrive_Change);
    connect(dirDirectory, &DirectoryList::pathChanged, this, &frmSelectDir::dirDirectory_Change);
    connect(cmdSelect, &QPushButton::clicked, this, &frmSelectDir::cmdSelect_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectDir::cmdCancel_Click);
    // Enter opens folders in the list; only Select chooses one.
    setNoDefaultButton();
    setCancelButton(cmdCancel);
    controls::FitCaptions(client());
}

QString frmSelectDir::ChooseFolder(QWidget *parent, const QString &startFolder)
{
    if (!startFolder.isEmpty())
        mainwindow::Tag() = startFolder;
    frmSelectDir picker(parent);
    forms::ShowModal(picker);
    return std::exchange(picker.Tag, QString());
}

void frmSelectDir::GetRegistry()
{
    BaseDirectory = settings::Get(QStringLiteral("Base Directory"), DefaultFolder());
}

void frmSelectDir::Form_Load()
{
    GetRegistry();
    QString &mailbox = mainwindow::Tag();
    QString start;
    if (!mailbox.isEmpty()) {
        start = existingOrDefault(mailbox);
        mailbox.clear();
    } else {
        start = existingOrDefault(BaseDirectory);
    }
    lblFilename->setText(start);
    drvDrive->setDriveOf(start);
    dirDirectory->setPath(start);
}

void frmSelectDir::drvDrive_Change()
{
    dirDirectory->setPath(drvDrive->drive());
}

void frmSelectDir::dirDirectory_Change()
{
    paths::MakeCurrentFolder(dirDirectory->path());
    lblFilename->setText(dirDirectory->path());
}

void frmSelectDir::cmdSelect_Click()
{
    Tag = dirDirectory->path();
    hide();
}

void frmSelectDir::cmdCancel_Click()
{
    Tag.clear();
    close();
}
