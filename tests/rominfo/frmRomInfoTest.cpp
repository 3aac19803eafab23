#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include "Controls.h"
#include "Fonts.h"
#include "MainWindowState.h"
#include "Paths.h"
#include "RomInfoFixture.h"
#include "TestSupport.h"
#include "VbRomHeader.h"
#include "ZandrelLibrary.h"
#include "frmHelp.h"
#include "frmRomInfo.h"

using rominfotest::image;
using rominfotest::knownImage;
using rominfotest::RomInfoForm;

namespace {

const QByteArray kPanicBomberTitle("\xC4\xCB\xDE\xC0\xDE\xBE!\xCA\xDF\xC6\xCE\xDE\xDD");
const QString kNoRom = QStringLiteral("ROM Information - [No ROM Loaded]");

const KnownRom &tetris()
{
    return *FindKnownRom(QStringLiteral("3D Tetris (U) [!]"));
}

int headerOffset(const QByteArray &rom)
{
    return int(rom.size()) - 544;
}

} // namespace

TEST_F(RomInfoForm, OpensWithNoRomAndTheDesignedState)
{
    frmRomInfo w;
    w.load();
    EXPECT_EQ(w.windowTitle(), kNoRom);
    EXPECT_EQ(w.cmbVersion->count(), 256);
    EXPECT_EQ(w.cmbVersion->itemText(255), QStringLiteral("1.255"));
    EXPECT_EQ(w.cmbManufacturer->count(), 13);
    EXPECT_EQ(w.cmbManufacturer->itemText(10), QStringLiteral("Atlus"));
    EXPECT_EQ(w.cmbManufacturer->currentIndex(), -1);
    EXPECT_TRUE(w.txtManufacturer->text().isEmpty());
    for (QAction *a : {w.mnuFileClose, w.mnuFileSave, w.mnuFileSaveAs})
        EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(w.fraTitle->isEnabled());
    EXPECT_FALSE(w.cmdRevert->isEnabled());
    EXPECT_EQ(w.lblTitle->font().family(), fonts::KatakanaFont(10).family());
}

TEST_F(RomInfoForm, ShowsAKatakanaTitleAndItsReading)
{
    const QString path = testsupport::writeFile(QStringLiteral("panic.vb"), image(65536, kPanicBomberTitle, "eb", "vh2j", 7));
    frmRomInfo w;
    w.load();
    open(w, path);

    EXPECT_EQ(w.lblTitle->text(), fonts::DecodeTitle(kPanicBomberTitle));
    EXPECT_EQ(w.lblTitle->text().at(0), QChar(0xFF84)); // half-width TO
    EXPECT_EQ(w.lblTitle->toolTip(), QStringLiteral("Tobidase!panibon"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Information - [Tobidase!panibon]"));
    EXPECT_EQ(w.lblMbit->text(), QStringLiteral("65536 Bytes  (0.5 MBit)"));
    // Lower-case codes show in capitals and the maker list follows.
    EXPECT_EQ(w.txtManufacturer->text(), QStringLiteral("EB"));
    EXPECT_EQ(w.cmbManufacturer->currentText(), QStringLiteral("Atlus"));
    EXPECT_EQ(w.txtRomId->text(), QStringLiteral("VH2J"));
    EXPECT_EQ(w.cmbVersion->currentText(), QStringLiteral("1.7"));
    EXPECT_EQ(w.lblFilename->text(), path);
    for (QAction *a : {w.mnuFileClose, w.mnuFileSave, w.mnuFileSaveAs})
        EXPECT_TRUE(a->isEnabled());
    EXPECT_TRUE(w.fraTitle->isEnabled() && w.cmdJapaneseIme->isEnabled());
    EXPECT_EQ(storedRecent().value(0), path);
    EXPECT_EQ(testsupport::fileDialogs().requests.last().filter, RomFileFilter);
    EXPECT_EQ(testsupport::fileDialogs().requests.last().initDir, testsupport::tempDir());
    EXPECT_EQ(mainwindow::dlgZandrel().FileName, path);
    testsupport::saveScreenshot(w, QStringLiteral("frmRomInfo-katakana"));
}

TEST_F(RomInfoForm, MakerCodeAndListStayInStep)
{
    frmRomInfo w;
    w.load();
    open(w, testsupport::writeFile(QStringLiteral("a.vb"), image(1024, "ABC", "ZZ")));
    EXPECT_EQ(w.cmbManufacturer->currentIndex(), -1);
    w.cmbManufacturer->setCurrentIndex(1);
    EXPECT_EQ(w.txtManufacturer->text(), QStringLiteral("0B"));
    w.txtManufacturer->setText(QStringLiteral("d"));
    EXPECT_EQ(w.txtManufacturer->text(), QStringLiteral("D"));
    EXPECT_EQ(w.cmbManufacturer->currentIndex(), -1);
    w.txtManufacturer->setText(QStringLiteral("db"));
    EXPECT_EQ(w.cmbManufacturer->currentIndex(), 11);
    // Typing in the middle keeps the caret where it was.
    w.txtRomId->setText(QStringLiteral("VTBJ"));
    w.txtRomId->setCursorPosition(1);
    w.txtRomId->del();
    w.txtRomId->insert(QStringLiteral("x"));
    EXPECT_EQ(w.txtRomId->text(), QStringLiteral("VXBJ"));
    EXPECT_EQ(w.txtRomId->cursorPosition(), 2);
}

struct BadImage {
    const char *name;
    QByteArray bytes;
    const char *prompt;
    const char *title;
};

// Each failed load shows the check's message, drops the path from the
// recent list, clears the window and leaves the file as it was.
TEST_F(RomInfoForm, ABadImageIsRejectedClearedAndDroppedFromTheList)
{
    QByteArray reserved = image(1024, "ABC");
    reserved[1024 - 544 + 22] = '\x01';
    const BadImage cases[] = {
        {"empty.vb", QByteArray(), "File does not exist.", "Invalid filename"},
        {"small.vb", QByteArray(544, 'x'), "File too small to be a VB ROM image.", "Invalid VB ROM"},
        {"reserved.vb", reserved, "Invalid VB ROM image.", "Invalid VB ROM"},
    };
    const QString good = testsupport::writeFile(QStringLiteral("good.vb"), image(1024, "GOOD"));
    for (const BadImage &c : cases) {
        SCOPED_TRACE(c.name);
        const QString bad = testsupport::writeFile(QString::fromLatin1(c.name), c.bytes);
        storeRecent({bad, good});
        frmRomInfo w;
        w.load();
        open(w, good);
        open(w, bad);
        const msgbox::Call box = testsupport::messageBoxes().last();
        EXPECT_EQ(box.prompt, QString::fromLatin1(c.prompt));
        EXPECT_EQ(box.title, QString::fromLatin1(c.title));
        EXPECT_EQ(box.style, 48);
        EXPECT_EQ(storedRecent().mid(0, 2), QStringList({good, QString()}));
        EXPECT_EQ(w.windowTitle(), kNoRom);
        EXPECT_TRUE(w.lblTitle->text().isEmpty());
        EXPECT_TRUE(w.txtRomId->text().isEmpty());
        EXPECT_EQ(w.cmbVersion->currentIndex(), -1);
        EXPECT_FALSE(w.mnuFileSave->isEnabled());
        EXPECT_FALSE(w.fraTitle->isEnabled());
        EXPECT_EQ(testsupport::readFile(bad), c.bytes);
        EXPECT_TRUE(QFile::exists(bad));
    }
}

TEST_F(RomInfoForm, AMissingFileOrAFolderIsRejectedWithoutCreatingAnything)
{
    const QString missing = QDir(testsupport::tempDir()).filePath(QStringLiteral("gone.vb"));
    frmRomInfo w;
    w.load();
    open(w, missing);
    EXPECT_EQ(testsupport::messageBoxes().last().prompt, QStringLiteral("File does not exist."));
    EXPECT_FALSE(QFile::exists(missing));

    open(w, testsupport::tempDir());
    EXPECT_TRUE(testsupport::messageBoxes().last().prompt.startsWith(QStringLiteral("Unable to read the file:")));
    EXPECT_EQ(w.windowTitle(), kNoRom);

    // A device named like a ROM is refused with its reason, not read.
    const QString zero = QDir(testsupport::tempDir()).filePath(QStringLiteral("zero.vb"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    open(w, zero);
    EXPECT_TRUE(testsupport::messageBoxes().last().prompt.endsWith(QStringLiteral("It is a device, not a file.")));
    EXPECT_EQ(w.windowTitle(), kNoRom);
}

TEST_F(RomInfoForm, ACancelledOpenChangesNothing)
{
    frmRomInfo w;
    w.load();
    mainwindow::dlgZandrel().FileName = QStringLiteral("/left/over.vb");
    w.mnuFileOpen_Click(); // the scripted dialog cancels
    EXPECT_TRUE(testsupport::fileDialogs().requests.last().fileName.isEmpty());
    EXPECT_EQ(w.windowTitle(), kNoRom);
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST_F(RomInfoForm, IdentifiesAKnownImage)
{
    setAutoDetect(true);
    const QString path = testsupport::writeFile(QStringLiteral("tetris.vb"), knownImage(tetris()));
    frmRomInfo w;
    w.load();
    open(w, path);
    EXPECT_EQ(w.lblChecksum->text(), QStringLiteral("05F19DA2"));
    EXPECT_EQ(w.lblIdentify->text(), QStringLiteral("3D Tetris (U) [!]"));
    EXPECT_TRUE(w.cmdRevert->isEnabled());
    EXPECT_TRUE(w.fraIdentify->isEnabled());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Information - [POLYGOBLOCK]"));
    EXPECT_EQ(w.lblMbit->text(), QStringLiteral("524288 Bytes  (4 MBit)"));
}

TEST_F(RomInfoForm, AKnownImageWithAnotherHeaderIsHackedAndRevertsToThePublishedOne)
{
    setAutoDetect(true);
    const QByteArray published = knownImage(tetris());
    QByteArray hacked = published;
    VbRomHeader edited{"MY TETRIS", "8b", "VXXE", 3};
    edited.writeTo(hacked);
    const QString path = testsupport::writeFile(QStringLiteral("hacked.vb"), hacked);
    frmRomInfo w;
    w.load();
    open(w, path);
    EXPECT_EQ(w.lblIdentify->text(), QStringLiteral("3D Tetris (U) [h]"));
    ASSERT_TRUE(w.cmdRevert->isEnabled());
    testsupport::saveScreenshot(w, QStringLiteral("frmRomInfo-hacked"));

    w.cmdRevert->click();
    EXPECT_EQ(w.lblTitle->text(), QStringLiteral("POLYGOBLOCK"));
    EXPECT_EQ(w.txtManufacturer->text(), QStringLiteral("01"));
    EXPECT_EQ(w.cmbManufacturer->currentText(), QStringLiteral("Nintendo"));
    EXPECT_EQ(w.txtRomId->text(), QStringLiteral("VPBE"));
    EXPECT_EQ(w.cmbVersion->currentText(), QStringLiteral("1.0"));
    // Revert only changes the fields.
    EXPECT_EQ(testsupport::readFile(path), hacked);

    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w.mnuFileSave_Click();
    EXPECT_EQ(testsupport::readFile(path), published);
    open(w, path);
    EXPECT_EQ(w.lblIdentify->text(), QStringLiteral("3D Tetris (U) [!]"));
}

TEST_F(RomInfoForm, AnUnknownImageCantBeReverted)
{
    setAutoDetect(true);
    frmRomInfo w;
    w.load();
    open(w, testsupport::writeFile(QStringLiteral("tetris.vb"), knownImage(tetris())));
    ASSERT_TRUE(w.cmdRevert->isEnabled());
    open(w, testsupport::writeFile(QStringLiteral("odd.vb"), image(4096, "ODD")));
    EXPECT_EQ(w.lblIdentify->text(), QStringLiteral("[UNKNOWN VB ROM]  -  Please send me a copy."));
    EXPECT_FALSE(w.cmdRevert->isEnabled());
    w.cmdRevert_Click();
    EXPECT_EQ(w.lblTitle->text(), QStringLiteral("ODD"));
}

// The longest verdicts and sizes show whole, and each label carries its
// whole text as its tool tip besides.
TEST_F(RomInfoForm, LongVerdictsAndSizesShowWhole)
{
    setAutoDetect(true);
    QByteArray teleroboxer = knownImage(*FindKnownRom(QStringLiteral("Teleroboxer (JU) [T-German0.40b_Kalvex]")));
    VbRomHeader{"TELEROBOXER DE", "01", "VTBG", 0}.writeTo(teleroboxer);
    struct Case {
        const char *name;
        QByteArray image;
        QString verdict;
        QString size;
    };
    const Case cases[] = {
        {"smallest image", image(545, "TINY"), QStringLiteral("[UNKNOWN VB ROM]  -  Please send me a copy."),
         QStringLiteral("545 Bytes  (0.00415802001953125 MBit)")},
        {"hacked translation", teleroboxer, QStringLiteral("Teleroboxer (JU) [T-German0.40b_Kalvex] [h]"),
         QStringLiteral("524288 Bytes  (4 MBit)")},
    };
    frmRomInfo w;
    w.load();
    w.show();
    const auto showsWhole = [](const QLabel *label) {
        return label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                 : label->sizeHint().width() <= label->width();
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open(w, testsupport::writeFile(QStringLiteral("rom.vb"), c.image));
        EXPECT_EQ(w.lblIdentify->text(), c.verdict);
        EXPECT_EQ(w.lblMbit->text(), c.size);
        for (const QLabel *label : {w.lblIdentify, w.lblMbit}) {
            EXPECT_TRUE(showsWhole(label)) << label->text().toStdString();
            EXPECT_EQ(label->toolTip(), label->text());
        }
        testsupport::saveScreenshot(w, QStringLiteral("frmRomInfo-long-") + QString::fromLatin1(c.name).replace(' ', '-'));
    }
}

TEST_F(RomInfoForm, WithoutAutoDetectTheIdentifyFrameIsOutOfView)
{
    setAutoDetect(false);
    frmRomInfo w;
    w.load();
    open(w, testsupport::writeFile(QStringLiteral("tetris.vb"), knownImage(tetris())));
    EXPECT_EQ(w.client()->height(), forms::Px(2760));
    EXPECT_LE(w.client()->height(), w.fraIdentify->y());
    EXPECT_TRUE(w.lblChecksum->text().isEmpty());
    EXPECT_TRUE(w.lblIdentify->text().isEmpty());
    EXPECT_FALSE(w.cmdRevert->isEnabled());
}

TEST_F(RomInfoForm, WithoutTheLibraryAnImageIsNotIdentified)
{
    setAutoDetect(true);
    const QString empty = testsupport::tempDir() + QStringLiteral("/nolib");
    QDir().mkpath(empty);
    paths::OverrideProgramFolder(empty);
    paths::OverrideWindowsFolder(empty);
    zandrel::ResetBinding();
    {
        frmRomInfo w;
        w.load();
        open(w, testsupport::writeFile(QStringLiteral("tetris.vb"), knownImage(tetris())));
        EXPECT_EQ(w.lblIdentify->text(), QStringLiteral("[UNKNOWN VB ROM]  -  Please send me a copy."));
        EXPECT_FALSE(w.cmdRevert->isEnabled());
        EXPECT_EQ(w.lblTitle->text(), QStringLiteral("POLYGOBLOCK"));
    }
    paths::OverrideProgramFolder(QString());
    paths::OverrideWindowsFolder(QString());
    zandrel::ResetBinding();
}

// Save writes the edited fields into the 32 header bytes and nothing else.
TEST_F(RomInfoForm, SaveChangesExactlyTheHeader)
{
    QByteArray original(8192, '\0');
    for (int i = 0; i < original.size(); ++i)
        original[i] = char((i * 7 + 3) & 0xFF);
    const int at = headerOffset(original);
    original.replace(at, 32, QByteArray("OLD TITLE           \0\0\0\0\0" "01VOLD\x02", 32));
    const QString path = testsupport::writeFile(QStringLiteral("edit.vb"), original);
    frmRomInfo w;
    w.load();
    open(w, path);

    w.lblTitle->setCaption(QStringLiteral("ABC"));
    w.txtManufacturer->setText(QStringLiteral("eb"));
    w.txtRomId->setText(QStringLiteral("vtbj"));
    w.cmbVersion->setCurrentIndex(12);

    testsupport::messageBoxes().answerNext(msgbox::vbNo);
    w.mnuFileSave_Click();
    EXPECT_EQ(testsupport::readFile(path), original);
    const msgbox::Call question = testsupport::messageBoxes().last();
    EXPECT_EQ(question.prompt, QStringLiteral("Are you sure you want to save [ABC]?"));
    EXPECT_EQ(question.title, QStringLiteral("Save new ROM info?"));
    EXPECT_EQ(question.style, 292);

    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w.mnuFileSave_Click();
    QByteArray expected = original;
    expected.replace(at, 32, QByteArray("ABC                 \0\0\0\0\0" "EBVTBJ\x0C", 32));
    EXPECT_EQ(testsupport::readFile(path), expected);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Information - [ABC]"));
    EXPECT_EQ(storedRecent().value(0), path);
}

// The maker code and game ID boxes take only what a header byte holds, so
// what they show is what Save writes; the image's own characters stay.
TEST_F(RomInfoForm, MakerCodeAndGameIdTakeOnlyWhatTheHeaderCanHold)
{
    QByteArray original(8192, '\0');
    const int at = headerOffset(original);
    original.replace(at, 32, QByteArray("TITLE               \0\0\0\0\0" "0\xE9VOLD\x00", 32));
    const QString path = testsupport::writeFile(QStringLiteral("boxes.vb"), original);
    frmRomInfo w;
    w.load();
    open(w, path);
    ASSERT_EQ(w.txtManufacturer->text(), QStringLiteral("0\u00E9"));

    w.txtManufacturer->clear();
    for (QChar typed : QStringLiteral("\u00B0\u30A2\u00E9e"))
        w.txtManufacturer->insert(typed);
    EXPECT_EQ(w.txtManufacturer->text(), QStringLiteral("\u00E9E"));
    w.txtRomId->clear();
    for (QChar typed : QStringLiteral("v\u00A5b\u3042\uFF71j"))
        w.txtRomId->insert(typed);
    EXPECT_EQ(w.txtRomId->text(), QStringLiteral("VB\uFF71J"));

    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w.mnuFileSave_Click();
    EXPECT_EQ(testsupport::readFile(path).mid(at + 25, 6), QByteArray("\xE9" "EVB\xB1J"));
}

TEST_F(RomInfoForm, AFailedSaveReportsAndKeepsFileAndWindowAsTheyWere)
{
    const QString folder = testsupport::tempDir() + QStringLiteral("/roms");
    const QByteArray original = image(2048, "KEEP");
    testsupport::writeFile(QStringLiteral("roms/keep.vb"), original);
    const QString path = folder + QStringLiteral("/keep.vb");
    frmRomInfo w;
    w.load();
    open(w, path);
    w.lblTitle->setCaption(QStringLiteral("CHANGED"));

    // The file's folder went away: nothing can be written there.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w.mnuFileSave_Click();
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.style, 48);
    EXPECT_TRUE(box.prompt.startsWith(QStringLiteral("Unable to save the file:\r") + path)) << box.prompt.toStdString();
    EXPECT_FALSE(QFile::exists(folder));
    EXPECT_EQ(w.RomData, original);
    EXPECT_EQ(w.lblFilename->text(), path);

    // Save As onto a folder: asked, refused by the file system, nothing moves.
    const QString target = testsupport::tempDir() + QStringLiteral("/folder.vb");
    QDir().mkpath(target);
    testsupport::fileDialogs().answerNext(target);
    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w.mnuFileSaveAs_Click();
    EXPECT_TRUE(testsupport::messageBoxes().last().prompt.startsWith(QStringLiteral("Unable to save the file:\r") + target));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(w.lblFilename->text(), path);
    EXPECT_EQ(w.RomData, original);
    EXPECT_EQ(storedRecent().value(0), path);
}

TEST_F(RomInfoForm, SaveAsAsksBeforeReplacingAndMovesTheWindowToTheNewFile)
{
    const QByteArray original = image(2048, "ORIGINAL");
    const QString source = testsupport::writeFile(QStringLiteral("source.vb"), original);
    const QString target = testsupport::writeFile(QStringLiteral("target.vb"), QByteArray(9000, 'T'));
    frmRomInfo w;
    w.load();
    open(w, source);
    w.lblTitle->setCaption(QStringLiteral("COPY"));

    w.mnuFileSaveAs_Click(); // cancelled
    EXPECT_EQ(testsupport::fileDialogs().requests.last().kind, commondialog::Kind::Save);
    EXPECT_TRUE(testsupport::fileDialogs().requests.last().fileName.isEmpty());

    testsupport::fileDialogs().answerNext(target);
    testsupport::messageBoxes().answerNext(msgbox::vbNo);
    w.mnuFileSaveAs_Click();
    const msgbox::Call question = testsupport::messageBoxes().last();
    EXPECT_EQ(question.prompt, target + QStringLiteral(" already exists.\rDo you wish to replace it?"));
    EXPECT_EQ(question.title, QStringLiteral("Save File As"));
    EXPECT_EQ(question.style, 308);
    EXPECT_EQ(testsupport::readFile(target), QByteArray(9000, 'T'));

    testsupport::fileDialogs().answerNext(target);
    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w.mnuFileSaveAs_Click();
    EXPECT_EQ(testsupport::readFile(target), image(2048, "COPY"));
    EXPECT_EQ(testsupport::readFile(source), original);
    EXPECT_EQ(w.lblFilename->text(), target);
    EXPECT_EQ(storedRecent().mid(0, 2), QStringList({target, source}));

    // A new name is written without a question.
    const int boxes = int(testsupport::messageBoxes().calls.size());
    const QString fresh = testsupport::tempDir() + QStringLiteral("/fresh.vb");
    testsupport::fileDialogs().answerNext(fresh);
    w.mnuFileSaveAs_Click();
    EXPECT_EQ(testsupport::messageBoxes().calls.size(), boxes);
    EXPECT_EQ(testsupport::readFile(fresh), image(2048, "COPY"));
}

TEST_F(RomInfoForm, CloseAsksAndClears)
{
    frmRomInfo w;
    w.load();
    const QString path = testsupport::writeFile(QStringLiteral("a.vb"), image(1024, "ABC"));
    open(w, path);
    testsupport::messageBoxes().answerNext(msgbox::vbNo);
    w.mnuFileClose_Click();
    EXPECT_EQ(w.lblTitle->text(), QStringLiteral("ABC"));
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Close ROM?"));
    EXPECT_EQ(testsupport::messageBoxes().last().style, 292);

    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w.mnuFileClose_Click();
    EXPECT_EQ(w.windowTitle(), kNoRom);
    EXPECT_FALSE(w.mnuFileSave->isEnabled());
    EXPECT_TRUE(w.lblMbit->text().isEmpty());
    EXPECT_EQ(w.lblFilename->text(), path);
}

TEST_F(RomInfoForm, RecentMenuShowsOfferedEntriesAndReopensThem)
{
    const QString a = testsupport::writeFile(QStringLiteral("a.vb"), image(1024, "AAA"));
    const QString gone = testsupport::tempDir() + QStringLiteral("/gone.vb");
    const QString c = testsupport::writeFile(QStringLiteral("c & d.vb"), image(1024, "CCC"));
    storeRecent({a, gone, QString(), c, QStringLiteral("/behind/the/count.vb")}, 4);
    frmRomInfo w;
    w.load();
    EXPECT_TRUE(w.mnuFileRecent->menuAction()->isVisible());
    EXPECT_EQ(w.mnuFileRecentItems[0]->text(), QStringLiteral("&0 ") + a);
    EXPECT_EQ(w.mnuFileRecentItems[3]->text(), QStringLiteral("&3 ") + QString(c).replace(QStringLiteral("&"), QStringLiteral("&&")));
    const bool visible[] = {true, true, false, true, false, false, false, false, false, false};
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(w.mnuFileRecentItems[size_t(n)]->isVisible(), visible[n]) << n;
    // The refresh at load trimmed the list to the count.
    EXPECT_EQ(storedRecent().value(4), QString());

    w.mnuFileRecentItems[1]->trigger(); // its file is gone: dropped quietly
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
    EXPECT_EQ(storedRecent().mid(0, 4), QStringList({a, QString(), c, QString()}));
    EXPECT_EQ(w.windowTitle(), kNoRom);

    w.mnuFileRecentItems[2]->trigger();
    EXPECT_EQ(w.lblTitle->text(), QStringLiteral("CCC"));
    EXPECT_EQ(storedRecent().mid(0, 3), QStringList({c, a, QString()}));
}

TEST_F(RomInfoForm, AnEmptyFirstEntryHidesTheSubmenu)
{
    storeRecent({QString(), QStringLiteral("/x.vb")});
    frmRomInfo w;
    w.load();
    EXPECT_FALSE(w.mnuFileRecent->menuAction()->isVisible());
    EXPECT_FALSE(w.mnuFileSep3->isVisible());
}

TEST_F(RomInfoForm, HelpShowsTheWindowsOwnTextAndTheCodesSheet)
{
    QString caption, text;
    testsupport::modalWindows().on<frmHelp>([&](frmHelp &viewer) {
        caption = viewer.windowTitle();
        text = viewer.txtHelp->toPlainText();
    });
    frmRomInfo w;
    w.load();
    w.mnuHelpHelp_Click();
    EXPECT_EQ(caption, QStringLiteral("ROM Information Help"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("ROM Information:"))) << text.left(40).toStdString();
    EXPECT_TRUE(mainwindow::Tag().isEmpty());

    w.mnuHelpCodes_Click();
    EXPECT_EQ(caption, QStringLiteral("ROM Identification Codes"));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
}

TEST_F(RomInfoForm, BackClosesWithoutSaving)
{
    const QByteArray original = image(1024, "ABC");
    const QString path = testsupport::writeFile(QStringLiteral("a.vb"), original);
    frmRomInfo w;
    w.load();
    open(w, path);
    w.lblTitle->setCaption(QStringLiteral("XYZ"));
    w.mnuFileBack_Click();
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(testsupport::readFile(path), original);
}
