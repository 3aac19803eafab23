// The shared file dialog: its type list, its listing, and the real dialog
// answering a typed name.

#include "CommonDialog.h"
#include "FileDialog.h"
#include "Paths.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const QString kRomFilter = QStringLiteral("Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*");

QStringList column(const QTreeWidget &list, int column)
{
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        texts << list.topLevelItem(i)->text(column);
    return texts;
}

// A file whose name is the very bytes given.
void touch(const QByteArray &path, qsizetype size = 0)
{
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    if (size > 0) {
        ASSERT_EQ(::ftruncate(fd, size), 0);
    }
    ::close(fd);
}

} // namespace

// Each type shows as the window wrote it, and "*.*" lists every name, with a
// dot or without, as on Windows.
TEST(CommonDialog, EachTypeShowsAsWrittenAndAllFilesMeansEveryFile)
{
    const QList<commondialog::FileType> types = commondialog::ParseFilter(kRomFilter);
    ASSERT_EQ(types.size(), 2);
    EXPECT_EQ(types[0].label, QStringLiteral("Virtual Boy ROM Image (*.vb)"));
    EXPECT_EQ(types[1].label, QStringLiteral("All Files (*.*)"));
    const struct {
        const char *name;
        bool rom, any;
    } cases[] = {{"game.vb", true, true}, {"GAME.VB", true, true}, {"game.vbx", false, true},
                 {"README", false, true}, {"notes.txt", false, true}};
    for (const auto &c : cases) {
        EXPECT_EQ(types[0].matches(QLatin1String(c.name)), c.rom) << c.name;
        EXPECT_EQ(types[1].matches(QLatin1String(c.name)), c.any) << c.name;
    }
    const auto pictures = commondialog::ParseFilter(QStringLiteral("Pictures (*.bmp;*.png)|*.bmp;*.png"));
    EXPECT_TRUE(pictures[0].matches(QStringLiteral("a.PNG")));
    EXPECT_FALSE(pictures[0].matches(QStringLiteral("a.gif")));
}

// Names that are not UTF-8 are listed and chosen by their real bytes, as the
// ROM database lists them; folders come first; size and type show whole.
TEST(CommonDialog, TheDialogListsEveryNameAndHandsBackItsRealBytes)
{
    const QByteArray folder = paths::EncodeFileName(testsupport::tempDir());
    ASSERT_EQ(::mkdir((folder + "/sub\xE9").constData(), 0755), 0);
    touch(folder + "/caf\xE9.vb", 557056);
    touch(folder + "/game.vb", 544);
    touch(folder + "/README");
    touch(folder + "/.hidden.vb");

    commondialog::FileDialog dialog(commondialog::Kind::Open, kRomFilter, testsupport::tempDir(), QString());
    dialog.show();
    QStringList names = column(*dialog.lstFiles, 0);
    ASSERT_EQ(names.size(), 3) << names.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(paths::EncodeFileName(names[0]), QByteArray("sub\xE9"));
    EXPECT_EQ(paths::EncodeFileName(names[1]), QByteArray("caf\xE9.vb"));
    EXPECT_EQ(names[2], QStringLiteral("game.vb"));
    EXPECT_EQ(column(*dialog.lstFiles, 2), (QStringList{"File folder", "VB File", "VB File"}));
    const QFontMetrics metrics(dialog.lstFiles->font());
    for (int c : {1, 2})
        for (const QString &text : column(*dialog.lstFiles, c))
            EXPECT_GT(dialog.lstFiles->header()->sectionSize(c), metrics.horizontalAdvance(text)) << text.toStdString();

    testsupport::saveScreenshot(dialog, QStringLiteral("FileDialog"));

    dialog.cmbFileType->setCurrentIndex(1);
    EXPECT_EQ(column(*dialog.lstFiles, 0).size(), 4);

    dialog.lstFiles->setCurrentItem(dialog.lstFiles->topLevelItem(1));
    dialog.accept();
    EXPECT_EQ(paths::EncodeFileName(dialog.chosenPath()), folder + "/caf\xE9.vb");
}

// A folder given without its path is found in the current folder, which the
// folder picker may have made a folder named in Latin-1; the name is then
// handed back with that folder's real bytes.
TEST(CommonDialog, ARelativeFolderOpensInTheCurrentFolderByItsBytes)
{
    const QByteArray folder = paths::EncodeFileName(testsupport::tempDir()) + "/roms\xE9";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    touch(folder + "/caf\xE9.vb");
    const QString ourFolder = paths::CurrentFolder();
    ASSERT_TRUE(paths::MakeCurrentFolder(paths::DecodeFileName(folder)));

    commondialog::FileDialog dialog(commondialog::Kind::Open, kRomFilter, QStringLiteral("."), QString());
    paths::MakeCurrentFolder(ourFolder);
    EXPECT_EQ(paths::EncodeFileName(dialog.folder()), folder);
    ASSERT_EQ(column(*dialog.lstFiles, 0).size(), 1);
    dialog.lstFiles->setCurrentItem(dialog.lstFiles->topLevelItem(0));
    testsupport::pressKey(dialog.lstFiles, Qt::Key_Return);
    EXPECT_EQ(paths::EncodeFileName(dialog.chosenPath()), folder + "/caf\xE9.vb");
}

// A folder's name opens the folder; Enter in the list enters the highlighted
// folder and chooses nothing.
TEST(CommonDialog, AFolderNameOpensTheFolder)
{
    QDir(testsupport::tempDir()).mkpath(QStringLiteral("roms/inner"));
    commondialog::FileDialog dialog(commondialog::Kind::Open, kRomFilter, testsupport::tempDir(), QString());
    dialog.show();
    dialog.txtFileName->setText(QStringLiteral("roms"));
    testsupport::pressKey(dialog.txtFileName, Qt::Key_Return);
    EXPECT_EQ(dialog.folder(), testsupport::tempDir() + QStringLiteral("/roms"));
    EXPECT_TRUE(dialog.isVisible());
    dialog.lstFiles->setCurrentItem(dialog.lstFiles->topLevelItem(0));
    testsupport::pressKey(dialog.lstFiles, Qt::Key_Return);
    EXPECT_EQ(dialog.folder(), testsupport::tempDir() + QStringLiteral("/roms/inner"));
    EXPECT_TRUE(dialog.isVisible());
    dialog.cmdUp->click();
    EXPECT_EQ(dialog.folder(), testsupport::tempDir() + QStringLiteral("/roms"));
    EXPECT_TRUE(dialog.chosenPath().isEmpty());
}

// The windows answer a name that does not exist with their own message, so
// the Open dialog hands it over rather than refusing it.
TEST(CommonDialog, OpenReturnsATypedNameThatDoesNotExist)
{
    const QString typed = QDir(testsupport::tempDir()).filePath(QStringLiteral("missing.vb"));
    commondialog::SetResponder({});
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<commondialog::FileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->txtFileName->setText(typed);
        testsupport::pressKey(dialog->txtFileName, Qt::Key_Return);
        if (dialog->isVisible())
            dialog->reject();
    });
    commondialog::CommonDialog dialog;
    dialog.Filter = kRomFilter;
    dialog.InitDir = testsupport::tempDir();
    dialog.ShowOpen();
    EXPECT_EQ(dialog.FileName, typed);
}
