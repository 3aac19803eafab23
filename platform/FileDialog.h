#pragma once
// The program's own open and save dialog, behind CommonDialog. It lists a
// folder through paths::ListFolder, so that a name that is not UTF-8 shows
// and opens as it does everywhere else in the program, and filters by the
// Windows patterns the windows give it: "*.*" matches every name, with a dot
// or without, and letter case never matters. A pattern typed as the file name
// lists what it matches instead, and Backspace in the list opens the folder
// above, as in any file dialog.

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "CommonDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace commondialog {

// One entry of the type list: the text shown, as the window wrote it, and
// the patterns whose names it lists.
struct FileType {
    QString label;
    QStringList patterns;
    bool matches(const QString &name) const;
};

// "Text|*.ext|Text|*.a;*.b" as its entries.
QList<FileType> ParseFilter(const QString &filter);

class FileDialog : public QDialog {
    Q_OBJECT
public:
    FileDialog(Kind kind, const QString &filter, const QString &folder, const QString &fileName,
               QWidget *parent = nullptr);

    // The folder listed now.
    QString folder() const { return m_folder; }
    void openFolder(const QString &folder);
    // The path chosen with Open or Save; empty until then.
    QString chosenPath() const { return m_chosen; }

    QLabel *lblFolder;
    QPushButton *cmdUp;
    QTreeWidget *lstFiles;
    QLineEdit *txtFileName;
    QComboBox *cmbFileType;
    QPushButton *cmdAccept;
    QPushButton *cmdCancel;

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    void enter(QTreeWidgetItem *item);
    void openParent();
    void showChosenType();
    bool applyTypedPattern(const QString &path);

    QList<FileType> m_types;
    std::optional<FileType> m_typedPattern; // lists in place of the chosen type
    QString m_folder;
    QString m_chosen;
};

} // namespace commondialog
