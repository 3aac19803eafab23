// The tile viewer window: its load step and settings, loading images and
// the three rejections, the file and edit menus, auto-update, the palette
// button, key presses, help, and commands that arrive while a redraw lets
// events run.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "Controls.h"
#include "MainWindowState.h"
#include "Paths.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "TilePalette.h"
#include "VbRomHeader.h"
#include "TileViewerFixture.h"
#include "frmHelp.h"
#include "frmLoadPal.h"
#include "frmPalette.h"
#include "frmTileViewer.h"

using namespace viewertest;

namespace {

const QString kNoRom = QStringLiteral("ROM Tile Viewer - [No ROM loaded]");
const QString kTitled = QStringLiteral("ROM Tile Viewer - [VB TILES]");

QString setting(const char *key)
{
    return settings::Get(QString::fromLatin1(key));
}

// Runs `command` at the first moment the window lets events run.
void atNextYield(frmTileViewer &w, std::function<void()> command)
{
    QMetaObject::invokeMethod(&w, std::move(command), Qt::QueuedConnection);
}

} // namespace

// --- Load step and settings -------------------------------------------------

TEST_F(TileViewerForm, OpensWithNoImageInTheDesignedState)
{
    frmTileViewer w;
    w.load();
    EXPECT_EQ(w.windowTitle(), kNoRom);
    EXPECT_EQ(w.lblOffset->text(), QStringLiteral("0"));
    EXPECT_EQ(w.lblWidth->text(), QStringLiteral("48"));
    EXPECT_EQ(w.ViewWidth, 48);
    EXPECT_EQ(w.lblWidth1->text(), QStringLiteral("Width (tiles)"));
    EXPECT_TRUE(w.optDspMode[0]->isChecked());
    EXPECT_FALSE(w.optDspMode[0]->isEnabled());
    EXPECT_FALSE(w.optDspMode[1]->isEnabled());
    EXPECT_FALSE(w.chkAutoUpdate->isChecked());
    EXPECT_EQ(enabledRedrawControls(w), 1); // only Palette
    EXPECT_TRUE(w.cmdChangePalette->isEnabled());
    for (QAction *a : {w.mnuFileClose, w.mnuEditCopy, w.mnuEditSave})
        EXPECT_FALSE(a->isEnabled());
    for (QLabel *l : {w.lblOffset1, w.lblWidth1, static_cast<QLabel *>(w.lblOffset), static_cast<QLabel *>(w.lblWidth)})
        EXPECT_FALSE(l->isEnabled());
    EXPECT_EQ(w.picCol1->toolTip(), QStringLiteral("Bright Red"));
    EXPECT_EQ(w.picCol4->toolTip(), QStringLiteral("Black"));
    EXPECT_EQ(w.picCol2->BackColor(), controls::RGB(192, 0, 0));
    // The load writes the display mode and auto-update settings back.
    EXPECT_EQ(setting("Tile Display Mode"), QStringLiteral("0"));
    EXPECT_EQ(setting("AutoUpdate Viewer"), QStringLiteral("False"));
    EXPECT_EQ(w.txtHelp->toPlainText().split(QLatin1Char('\n')).size(), 47); // 46 lines, each ended
}

TEST_F(TileViewerForm, ReadsItsSettingsAndFallsBackOnValuesOutOfRange)
{
    const struct {
        const char *autoUpdate;
        bool ticked;
    } autoUpdates[] = {{"True", true}, {"-1", true}, {"False", false}, {"0", false}, {"maybe", false}, {nullptr, false}};
    for (const auto &a : autoUpdates) {
        if (a.autoUpdate)
            settings::Save(QStringLiteral("AutoUpdate Viewer"), QString::fromLatin1(a.autoUpdate));
        settings::Save(QStringLiteral("Tile Display Mode"), QStringLiteral("1"));
        settings::Save(QStringLiteral("White Tile Green"), QStringLiteral("300"));
        settings::Save(QStringLiteral("Black Tile Blue"), QStringLiteral("abc"));
        settings::Save(QStringLiteral("D Grey Tile Blue"), QStringLiteral("77"));
        frmTileViewer w;
        w.load();
        EXPECT_EQ(w.chkAutoUpdate->isChecked(), a.ticked) << (a.autoUpdate ? a.autoUpdate : "(none)");
        EXPECT_FALSE(w.cmdUpdate->isEnabled());
        EXPECT_EQ(w.WhiteTileGreen, 0);
        EXPECT_EQ(w.BlackTileBlue, 0);
        EXPECT_EQ(w.picCol3->BackColor(), controls::RGB(128, 0, 77));
        EXPECT_EQ(w.lblWidth->text(), QStringLiteral("48"));
        EXPECT_EQ(setting("Tile Display Mode"), QStringLiteral("0"));
    }
}

// --- Loading ------------------------------------------------------------------

TEST_F(TileViewerForm, OpeningAnImageEnablesItsControlsAndDrawsNothingWithoutAutoUpdate)
{
    const QString path = rom(QStringLiteral("tiles.vb"), romImage(545, 0, 1));
    frmTileViewer w;
    w.load();
    w.lblOffset->setCaption(QStringLiteral("16"));
    open(w, path);

    EXPECT_EQ(testsupport::fileDialogs().requests.last().filter, RomFileFilter);
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
    EXPECT_TRUE(w.imageOpen());
    EXPECT_EQ(w.windowTitle(), kTitled);
    EXPECT_EQ(w.lblFileLen->text(), QStringLiteral("545"));
    EXPECT_EQ(w.lblFilename->text(), path);
    EXPECT_EQ(w.lblOffset->text(), QStringLiteral("0"));
    EXPECT_EQ(w.RomLength, 545);
    EXPECT_TRUE(mainwindow::dlgZandrel().FileName.isEmpty());
    EXPECT_EQ(enabledRedrawControls(w), 17);
    for (QAction *a : {w.mnuFileClose, w.mnuEditCopy, w.mnuEditSave})
        EXPECT_TRUE(a->isEnabled());
    EXPECT_TRUE(w.lblOffset->isEnabled());
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 9), ".........");
    EXPECT_EQ(storedRecent(), QStringList{path});
}

TEST_F(TileViewerForm, WithAutoUpdateAnOpenedImageIsDrawnAtOnce)
{
    settings::Save(QStringLiteral("AutoUpdate Viewer"), QStringLiteral("True"));
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096, char(0x1B), 1)));
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 7, 12), "WWWWWWWWWLDB");
    EXPECT_FALSE(w.cmdUpdate->isEnabled());
    EXPECT_TRUE(w.cmdUpdate->text().startsWith(QStringLiteral("Update Screen: ")));
    EXPECT_EQ(w.windowTitle(), kTitled);

    // Framed squares whose shades turn from tile to tile, for a person to look at.
    QByteArray squares = romImage(65536);
    for (int tile = 0; tile < 4000; ++tile)
        for (int line = 0; line < 8; ++line)
            for (int half = 0; half < 2; ++half) {
                int byte = 0;
                for (int k = 0; k < 4; ++k) {
                    const int x = 4 * half + k;
                    byte |= ((std::min({x, line, 7 - x, 7 - line}) + tile) & 3) << (2 * k);
                }
                squares[16 * tile + 2 * line + half] = char(byte);
            }
    open(w, rom(QStringLiteral("squares.vb"), squares));
    testsupport::saveScreenshot(w, QStringLiteral("frmTileViewer"));
}

TEST_F(TileViewerForm, ASecondImageKeepsTheWidthAndStartsAtOffsetZero)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096)));
    w.cmdTileHalf->click();
    w.cmdOffsetUp->click();
    open(w, rom(QStringLiteral("b.vb"), romImage(2048, 0, 0, "SECOND")));
    EXPECT_EQ(w.lblWidth->text(), QStringLiteral("24"));
    EXPECT_EQ(w.lblOffset->text(), QStringLiteral("0"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Tile Viewer - [SECOND]"));
}

TEST_F(TileViewerForm, CancellingTheOpenDialogChangesNothing)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096)));
    w.cmdOffsetUp->click();
    testsupport::fileDialogs().answerNext(std::nullopt);
    w.mnuFileOpen->trigger();
    EXPECT_TRUE(w.imageOpen());
    EXPECT_EQ(w.lblOffset->text(), QStringLiteral("1"));
    EXPECT_EQ(enabledRedrawControls(w), 17);
}

TEST_F(TileViewerForm, TheThreeRejectionsSayWhyAndLeaveTheWindowClosed)
{
    QByteArray invalid = romImage(4096);
    invalid[4096 - 544 + 22] = 1;
    const struct {
        const char *name;
        std::optional<QByteArray> bytes; // nullopt: no file at all
        const char *prompt;
        const char *title;
    } cases[] = {
        {"missing.vb", std::nullopt, "File does not exist.", "Invalid filename"},
        {"empty.vb", QByteArray(), "File does not exist.", "Invalid filename"},
        {"small.vb", romImage(545).left(544), "File too small to be a VB ROM image.", "Invalid VB ROM"},
        {"invalid.vb", invalid, "Invalid VB ROM image.", "Invalid VB ROM"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString good = rom(QStringLiteral("good.vb"), romImage(2048, char(0x55)));
        const QString path = c.bytes ? rom(QString::fromLatin1(c.name), *c.bytes)
                                     : QDir(testsupport::tempDir()).filePath(QString::fromLatin1(c.name));
        storeRecent({path, good});
        frmTileViewer w;
        w.load();
        open(w, good);
        testsupport::messageBoxes() = testsupport::MessageBoxes{};
        open(w, path);

        ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
        const msgbox::Call box = testsupport::messageBoxes().last();
        EXPECT_EQ(box.prompt, QLatin1String(c.prompt));
        EXPECT_EQ(box.title, QLatin1String(c.title));
        EXPECT_EQ(box.style, msgbox::vbOKOnly | msgbox::vbExclamation);
        // Checked without creating or deleting anything.
        EXPECT_EQ(QFileInfo::exists(path), c.bytes.has_value());
        EXPECT_EQ(storedRecent(), QStringList{good});
        EXPECT_TRUE(mainwindow::dlgZandrel().FileName.isEmpty());
        // Closed, the earlier image's labels and caption shown, its data kept.
        EXPECT_FALSE(w.imageOpen());
        EXPECT_EQ(enabledRedrawControls(w), 1);
        EXPECT_FALSE(w.mnuEditCopy->isEnabled());
        EXPECT_EQ(w.lblFileLen->text(), QStringLiteral("2048"));
        EXPECT_EQ(w.lblFilename->text(), good);
        EXPECT_EQ(w.windowTitle(), kTitled);
        EXPECT_EQ(w.RomData, romImage(2048, char(0x55)));
    }
}

TEST_F(TileViewerForm, ARecentEntryLoadsAndAMissingOneIsDroppedQuietly)
{
    const QString a = rom(QStringLiteral("a.vb"), romImage(1024));
    const QString b = rom(QStringLiteral("b.vb"), romImage(1024, 0, 0, "BEE"));
    const QString gone = QDir(testsupport::tempDir()).filePath(QStringLiteral("gone.vb"));
    storeRecent({a, gone, QStringLiteral("/x/c.vb"), b});
    frmTileViewer w;
    w.load();
    open(w, a);
    EXPECT_EQ(w.mnuFileRecentItems[1]->text(), QStringLiteral("&1 ") + gone);

    w.mnuFileRecentItems[1]->trigger();
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
    EXPECT_EQ(storedRecent(), (QStringList{a, QStringLiteral("/x/c.vb"), b}));
    EXPECT_TRUE(w.imageOpen());
    EXPECT_EQ(w.mnuFileRecentItems[1]->text(), QStringLiteral("&1 /x/c.vb"));

    w.mnuFileRecentItems[2]->trigger();
    EXPECT_EQ(storedRecent(), (QStringList{b, a, QStringLiteral("/x/c.vb")}));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Tile Viewer - [BEE]"));
    EXPECT_EQ(w.lblFilename->text(), b);
    EXPECT_TRUE(mainwindow::dlgZandrel().FileName.isEmpty());
}

// A ROM named in Latin-1 opens from the recent menu as any other does,
// rather than being dropped from it as missing.
TEST_F(TileViewerForm, ARecentRomNamedInLatin1OpensByItsBytes)
{
    const QString cafe = rom(paths::DecodeFileName("caf\xE9.vb"), romImage(1024, 0, 0, "CAFE"));
    const QString b = rom(QStringLiteral("b.vb"), romImage(1024, 0, 0, "BEE"));
    frmTileViewer w;
    w.load();
    open(w, cafe);
    open(w, b);
    ASSERT_EQ(storedRecent(), (QStringList{b, cafe}));

    w.mnuFileRecentItems[1]->trigger();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Tile Viewer - [CAFE]"));
    EXPECT_EQ(paths::EncodeFileName(w.lblFilename->text()), paths::EncodeFileName(cafe));
    EXPECT_EQ(storedRecent(), (QStringList{cafe, b}));
}

TEST_F(TileViewerForm, CloseDisablesTheImagesControlsAndClearsThePicture)
{
    settings::Save(QStringLiteral("AutoUpdate Viewer"), QStringLiteral("True"));
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096, 0, 1)));
    w.mnuFileClose->trigger();
    EXPECT_FALSE(w.imageOpen());
    EXPECT_EQ(enabledRedrawControls(w), 1);
    for (QAction *a : {w.mnuFileClose, w.mnuEditCopy, w.mnuEditSave})
        EXPECT_FALSE(a->isEnabled());
    EXPECT_TRUE(w.lblOffset->isEnabled());
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 9), ".........");
    EXPECT_EQ(w.lblFileLen->text(), QStringLiteral("4096"));
    EXPECT_EQ(w.windowTitle(), kTitled);
}

// --- Auto-update, palette, keys, help -------------------------------------------

TEST_F(TileViewerForm, TheAutoUpdateBoxSwitchesUpdateScreenAndRedrawsWhenTicked)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096, 0, 1)));
    w.chkAutoUpdate->click();
    EXPECT_FALSE(w.cmdUpdate->isEnabled());
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 9), "WWWWWWWWB");
    EXPECT_EQ(setting("AutoUpdate Viewer"), QStringLiteral("True"));

    w.picTileViewer->surface().Cls();
    w.chkAutoUpdate->click();
    EXPECT_TRUE(w.cmdUpdate->isEnabled());
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 1), ".");
    EXPECT_EQ(setting("AutoUpdate Viewer"), QStringLiteral("False"));

    w.cmdUpdate->click();
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 9), "WWWWWWWWB");
}

TEST_F(TileViewerForm, ThePaletteEditorsShadesShowInTheSwatchesAndThePicture)
{
    settings::Save(QStringLiteral("AutoUpdate Viewer"), QStringLiteral("True"));
    tilepalette::Save(tilepalette::kVbPalette); // as the main window leaves the store
    testsupport::modalWindows().on<frmPalette>([](frmPalette &editor) {
        editor.txtCol1G->setText(QStringLiteral("200"));
        editor.cmdApply->click();
    });
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096, 0, 1)));
    w.cmdChangePalette->click();
    EXPECT_EQ(testsupport::modalWindows().shown, QStringList{QStringLiteral("frmPalette")});
    EXPECT_EQ(w.WhiteTileGreen, 200);
    EXPECT_EQ(w.picCol1->BackColor(), controls::RGB(255, 200, 0));
    EXPECT_EQ(w.picTileViewer->surface().Point(0, 0), controls::RGB(255, 200, 0));
}

// The whole road through the real editor and loader: all twelve settings
// are written and every swatch follows them.
TEST_F(TileViewerForm, AGreyPaletteAppliedInTheEditorReachesEverySettingAndSwatch)
{
    tilepalette::Save(tilepalette::kVbPalette);
    testsupport::modalWindows().on<frmLoadPal>([](frmLoadPal &loader) { loader.cmdRevertGrey->click(); });
    testsupport::modalWindows().on<frmPalette>([](frmPalette &editor) {
        editor.cmdLoad->click();
        editor.cmdApply->click();
    });
    frmTileViewer w;
    w.load();
    w.cmdChangePalette->click();

    EXPECT_EQ(testsupport::modalWindows().shown, QStringList({"frmPalette", "frmLoadPal"}));
    for (int i = 0; i < tilepalette::kValueCount; ++i)
        EXPECT_EQ(settings::Get(tilepalette::SettingKeys()[size_t(i)]), QString::number(tilepalette::kGreyPalette[size_t(i)]))
            << i;
    EXPECT_EQ(w.picCol1->BackColor(), controls::RGB(255, 255, 255));
    EXPECT_EQ(w.picCol2->BackColor(), controls::RGB(192, 192, 192));
    EXPECT_EQ(w.picCol3->BackColor(), controls::RGB(128, 128, 128));
    EXPECT_EQ(w.picCol4->BackColor(), controls::RGB(64, 64, 64));
}

TEST_F(TileViewerForm, LeavingThePaletteEditorByCancelStillRereadsTheShades)
{
    testsupport::modalWindows().on<frmPalette>([](frmPalette &editor) {
        tilepalette::Save(tilepalette::kGreyPalette); // written meanwhile, e.g. by another window
        editor.cmdCancel->click();
    });
    frmTileViewer w;
    w.load();
    w.cmdChangePalette->click();
    EXPECT_EQ(w.picCol2->BackColor(), controls::RGB(192, 192, 192));
}

// A closed image stays closed: a palette change neither draws it nor brings
// its navigation back.
TEST_F(TileViewerForm, APaletteChangeAfterCloseDrawsNothing)
{
    settings::Save(QStringLiteral("AutoUpdate Viewer"), QStringLiteral("True"));
    testsupport::modalWindows().on<frmPalette>([](frmPalette &editor) { editor.cmdApply->click(); });
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096, 0, 1)));
    w.mnuFileClose->trigger();
    w.cmdChangePalette->click();
    EXPECT_EQ(enabledRedrawControls(w), 1);
    EXPECT_EQ(w.picTileViewer->surface().Point(0, 0), kTeal);
}

TEST_F(TileViewerForm, AKeyPressedOnThePictureShowsItsCharacterCode)
{
    frmTileViewer w;
    w.load();
    QTest::keyClick(w.picTileViewer, 'A');
    QTest::keyClick(w.picTileViewer, Qt::Key_Shift);
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    EXPECT_EQ(testsupport::messageBoxes().last().prompt, QStringLiteral("65"));
    EXPECT_EQ(testsupport::messageBoxes().last().style, msgbox::vbOKOnly);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Zandrel")); // the program's name
}

TEST_F(TileViewerForm, HelpShowsTheViewersText)
{
    QString caption, text;
    testsupport::modalWindows().on<frmHelp>([&](frmHelp &help) {
        caption = help.windowTitle();
        text = help.txtHelp->toPlainText();
    });
    frmTileViewer w;
    w.load();
    w.mnuHelpHelp->trigger();
    EXPECT_EQ(caption, QStringLiteral("ROM Tile Viewer Help"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("ROM Tile Viewer:\n================\nUse this to view")));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
}

// --- Copy and Save ----------------------------------------------------------------

TEST_F(TileViewerForm, CopyPutsThePictureOnTheClipboard)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096, 0, 1)));
    w.mnuEditCopy->trigger(); // right after opening: the blank picture
    EXPECT_EQ(QGuiApplication::clipboard()->image().pixel(10, 10), qRgb(0, 128, 128));
    w.cmdUpdate->click();
    w.mnuEditCopy->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(384, 224));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), w.picTileViewer->surface().image());
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.prompt, QStringLiteral("Image copied to clipboard."));
    EXPECT_EQ(box.title, QStringLiteral("Copied to clipboard"));
    EXPECT_EQ(box.style, msgbox::vbOKOnly | msgbox::vbInformation);
}

TEST_F(TileViewerForm, SaveWritesABitmapOfThePictureAndAsksBeforeReplacing)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096, char(0x1B), 1)));
    w.cmdUpdate->click();
    const QString path = QDir(testsupport::tempDir()).filePath(QStringLiteral("tiles.bmp"));
    testsupport::fileDialogs().answerNext(path);
    w.mnuEditSave->trigger();

    const commondialog::Request request = testsupport::fileDialogs().requests.last();
    EXPECT_EQ(request.kind, commondialog::Kind::Save);
    EXPECT_EQ(request.filter, QStringLiteral("OS/2 or Windows Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*"));
    EXPECT_EQ(testsupport::messageBoxes().last().prompt, QStringLiteral("Image saved to file:\r") + path);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Saved to file"));
    EXPECT_EQ(mainwindow::dlgZandrel().FileName, path);
    QImage saved(path, "BMP");
    ASSERT_EQ(saved.size(), QSize(384, 224));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), w.picTileViewer->surface().image());
    EXPECT_EQ(saved.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(saved.pixel(9, 0), qRgb(192, 0, 0));

    // No keeps the file; Yes replaces it.
    const QByteArray first = testsupport::readFile(path);
    w.mnuFileClose->trigger();
    for (int answer : {int(msgbox::vbNo), int(msgbox::vbYes)}) {
        testsupport::messageBoxes() = testsupport::MessageBoxes{};
        testsupport::messageBoxes().answerNext(answer);
        testsupport::fileDialogs().answerNext(path);
        w.mnuEditSave_Click();
        const msgbox::Call question = testsupport::messageBoxes().calls.first();
        EXPECT_EQ(question.prompt, path + QStringLiteral(" already exists.\rDo you wish to replace it?"));
        EXPECT_EQ(question.style, msgbox::vbYesNo | msgbox::vbExclamation | msgbox::vbDefaultButton2);
        EXPECT_EQ(testsupport::readFile(path) == first, answer == msgbox::vbNo);
    }

    // A cancelled dialog writes nothing.
    testsupport::messageBoxes() = testsupport::MessageBoxes{};
    w.mnuEditSave_Click();
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST_F(TileViewerForm, ABitmapThatCannotBeWrittenIsReportedByName)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096)));
    const QString path = QDir(testsupport::tempDir()).filePath(QStringLiteral("no/such/folder/tiles.bmp"));
    testsupport::fileDialogs().answerNext(path);
    w.mnuEditSave->trigger();
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_TRUE(box.prompt.startsWith(QStringLiteral("Unable to save the file:\r") + path + QLatin1Char('\r')));
    EXPECT_FALSE(QFileInfo::exists(path));
}

// --- Commands that arrive while a redraw lets events run ----------------------

TEST_F(TileViewerForm, ClosingTheWindowMidRedrawWaitsForTheWalkToUnwind)
{
    for (bool byMenu : {false, true}) {
        frmTileViewer w;
        w.load();
        open(w, rom(QStringLiteral("a.vb"), romImage(40000, char(0xFF))));
        bool openDuringTheWalk = false;
        atNextYield(w, [&] {
            if (byMenu)
                w.mnuFileBack->trigger();
            else
                w.close();
            openDuringTheWalk = !w.isUnloaded();
        });
        w.cmdUpdate->click();
        EXPECT_TRUE(openDuringTheWalk);
        EXPECT_TRUE(w.isUnloaded());
        // The walk stopped after its first tile.
        EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 9), "WWWWWWWW.");
    }
}

TEST_F(TileViewerForm, AnImageOpenedMidRedrawIsDrawnAfreshOnceTheWalkHasUnwound)
{
    const QString first = rom(QStringLiteral("a.vb"), romImage(40000, char(0xFF)));
    const QString second = rom(QStringLiteral("b.vb"), romImage(40000, char(0x00), 0, "SECOND"));
    for (bool autoUpdate : {false, true}) {
        SCOPED_TRACE(autoUpdate ? "auto-update" : "no auto-update");
        frmTileViewer w;
        w.load();
        open(w, first);
        atNextYield(w, [&] { open(w, second); });
        if (autoUpdate)
            w.chkAutoUpdate->click(); // ticking it redraws
        else
            w.cmdUpdate->click();
        EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Tile Viewer - [SECOND]"));
        EXPECT_EQ(w.RomData.left(16), QByteArray(16, char(0)));
        // Not one tile of the first image is left.
        const std::string expected = autoUpdate ? std::string(384, 'B') : std::string(384, '.');
        for (int y : {0, 100, 223})
            EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, y, 384), expected) << "line " << y;
        EXPECT_EQ(enabledRedrawControls(w), autoUpdate ? 16 : 17);
    }
}

TEST_F(TileViewerForm, CloseMidRedrawStopsTheWalkAndKeepsTheImageClosed)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(40000, char(0xFF))));
    atNextYield(w, [&] { w.mnuFileClose->trigger(); });
    w.cmdUpdate->click();
    EXPECT_FALSE(w.imageOpen());
    EXPECT_EQ(enabledRedrawControls(w), 1);
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 384), std::string(384, '.'));
    EXPECT_EQ(w.windowTitle(), kTitled);
}

// --- The roads no control reaches, on the window ------------------------------

TEST_F(TileViewerForm, TheBufferedRoadShowsScreenBytesAndReportsItsErrors)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("a.vb"), romImage(4096, char(0xE4))));
    w.RedrawTilesBuffered();
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 4), "DBWL"); // codes 2, 3, 0, 1
    EXPECT_EQ(enabledRedrawControls(w), 17);

    w.BlitOnly(); // nothing in ScreenBuffer yet
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Tile viewer"));
}
