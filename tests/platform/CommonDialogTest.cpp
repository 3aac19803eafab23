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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
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

// A deep folder shows whole in the "Look in" line's text and tip, and never
// widens the dialog: on an 800 pixel screen, Open and Cancel stay on it.
TEST(CommonDialog, ADeepFolderLeavesTheDialogOnTheScreen)
{
    QString deep = testsupport::tempDir();
    for (int level = 1; level <= 12; ++level)
        deep += QStringLiteral("/a-folder-with-a-long-name-%1").arg(level);
    ASSERT_TRUE(QDir().mkpath(deep));
    commondialog::FileDialog dialog(commondialog::Kind::Open, kRomFilter, deep, QString());
    dialog.show();
    QApplication::processEvents();
    const QRect screen = dialog.screen()->availableGeometry();
    ASSERT_LE(screen.width(), 800);
    EXPECT_LE(dialog.minimumSizeHint().width(), screen.width());
    EXPECT_LE(dialog.minimumWidth(), screen.width());
    for (const QWidget *button : {static_cast<QWidget *>(dialog.cmdAccept), static_cast<QWidget *>(dialog.cmdCancel)})
        EXPECT_TRUE(screen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())))
            << button->mapToGlobal(QPoint(0, 0)).x() << " on a screen " << screen.width() << " wide";
    EXPECT_EQ(dialog.lblFolder->text(), deep);
    EXPECT_EQ(dialog.lblFolder->toolTip(), deep);
}

// A file dialog's keyboard habits: Backspace in the list opens the folder
// above; a typed pattern, with Enter or Open, lists the files it matches and
// chooses none, until a type is picked again. A file whose name only looks
// like a pattern is chosen.
TEST(CommonDialog, BackspaceGoesUpAndATypedPatternListsWhatItMatches)
{
    const QDir temp(testsupport::tempDir());
    temp.mkpath(QStringLiteral("roms/inner"));
    for (const char *name : {"a.txt", "B.TXT", "game.vb", "notes.md", "what?.vb"})
        testsupport::writeFile(QStringLiteral("roms/") + QLatin1String(name), "x");
    commondialog::FileDialog dialog(commondialog::Kind::Open, kRomFilter, temp.filePath(QStringLiteral("roms")),
                                    QString());
    dialog.show();
    const auto type = [&](const QString &text) {
        dialog.txtFileName->clear();
        QTest::keyClicks(dialog.txtFileName, text);
    };

    type(QStringLiteral("inner"));
    QTest::keyClick(dialog.txtFileName, Qt::Key_Return);
    ASSERT_EQ(dialog.folder(), temp.filePath(QStringLiteral("roms/inner")));
    QTest::keyClick(dialog.lstFiles, Qt::Key_Backspace);
    EXPECT_EQ(dialog.folder(), temp.filePath(QStringLiteral("roms")));

    type(QStringLiteral("*.txt"));
    QTest::keyClick(dialog.txtFileName, Qt::Key_Return);
    EXPECT_EQ(column(*dialog.lstFiles, 0), (QStringList{"inner", "a.txt", "B.TXT"}));
    EXPECT_EQ(dialog.txtFileName->text(), QStringLiteral("*.txt"));
    type(QStringLiteral("*.md;*.VB"));
    QTest::mouseClick(dialog.cmdAccept, Qt::LeftButton);
    EXPECT_EQ(column(*dialog.lstFiles, 0), (QStringList{"inner", "game.vb", "notes.md", "what?.vb"}));
    type(QStringLiteral("inner/*.txt"));
    QTest::keyClick(dialog.txtFileName, Qt::Key_Return);
    EXPECT_EQ(dialog.folder(), temp.filePath(QStringLiteral("roms/inner")));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.chosenPath().isEmpty());

    QTest::keyClick(dialog.lstFiles, Qt::Key_Backspace); // the pattern holds in the folder above
    EXPECT_EQ(dialog.folder(), temp.filePath(QStringLiteral("roms")));
    EXPECT_EQ(column(*dialog.lstFiles, 0), (QStringList{"inner", "a.txt", "B.TXT"}));
    QTest::keyClick(dialog.cmbFileType, Qt::Key_Down); // "All Files (*.*)"
    EXPECT_EQ(column(*dialog.lstFiles, 0).size(), 6);

    type(QStringLiteral("what?.vb"));
    QTest::keyClick(dialog.txtFileName, Qt::Key_Return);
    EXPECT_EQ(dialog.chosenPath(), temp.filePath(QStringLiteral("roms/what?.vb")));
}

// The windows answer a name that does not exist with their own message, so
// the Open dialog hands it over rather than refusing it.
TEST(CommonDialog, OpenReturnsATypedNameThatDoesNotExist)
{
    const QString typed = QDir(testsupport::tempDir()).filePath(QStringLiteral("missing.vb"));
    commondialog::SetResponder({});
    // Should an assertion below stop the user's part, the dialog still closes.
    testsupport::ModalWindowTimeout timeout;
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
