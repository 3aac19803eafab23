// The shared file dialog: its type list, and the real dialog answering a
// typed name.

#include "CommonDialog.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

TEST(CommonDialog, EachTypeShowsItsPatternOnceAndAllFilesMeansEveryFile)
{
    struct Case {
        const char *filter;
        QStringList shown;
    };
    const Case cases[] = {
        {"Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*", {"Virtual Boy ROM Image (*.vb)", "All Files (*)"}},
        {"Palette|*.pvb", {"Palette (*.pvb)"}},
        {"Pictures (*.bmp;*.png)|*.bmp;*.png", {"Pictures (*.bmp *.png)"}},
        {"Pictures|*.bmp;*.png", {"Pictures (*.bmp *.png)"}},
        // Words in brackets that are not the patterns stay words.
        {"Option file (Red Dragon)|options.dat", {"Option file (Red Dragon) (options.dat)"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(commondialog::ToNameFilters(QString::fromLatin1(c.filter)), c.shown) << c.filter;
}

// The windows answer a name that does not exist with their own message, so
// the Open dialog hands it over rather than refusing it.
TEST(CommonDialog, OpenReturnsATypedNameThatDoesNotExist)
{
    const QString typed = QDir(testsupport::tempDir()).filePath(QStringLiteral("missing.vb"));
    commondialog::SetResponder({});
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // A refusal comes as a box of its own: close it, then the dialog.
        QTimer::singleShot(0, [] {
            if (auto *refusal = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                refusal->reject();
        });
        QLineEdit *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(typed);
        testsupport::pressKey(name, Qt::Key_Return);
        if (dialog->isVisible())
            dialog->reject();
    });
    commondialog::CommonDialog dialog;
    dialog.Filter = QStringLiteral("Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*");
    dialog.InitDir = testsupport::tempDir();
    dialog.ShowOpen();
    EXPECT_EQ(dialog.FileName, typed);
}
