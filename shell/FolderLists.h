#pragma once
// The drive list and the directory list of the folder picker, on Linux: the
// "drives" are the root folder and the mounted file systems the user can
// read; the directory list shows the open folder below its parent folders,
// with its subfolders under it, and opens a folder on double-click or Enter.

#include <QComboBox>
#include <QTreeWidget>

// Lists the drives and keeps one selected; its change signal is
// currentIndexChanged.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);

    // The selected drive's root folder ("/", "/media/stick").
    QString drive() const;
    // Selects the drive that holds the folder: the one with the longest root
    // that contains it.
    void setDriveOf(const QString &folder);
};

class DirectoryList : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirectoryList(QWidget *parent = nullptr);

    // The open folder, absolute and without a trailing "/" (except "/").
    QString path() const { return m_path; }
    // Opens the folder and lists it afresh; emits pathChanged when the open
    // folder changes. A folder that no longer exists is not opened.
    void setPath(const QString &folder);

signals:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill();

    QString m_path;
};
