#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "Controls.h"
#include "PaletteFile.h"
#include "PictureBox.h"
#include "Registry.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "TilePalette.h"
#include "frmLoadPal.h"
#include "frmPalette.h"

using tilepalette::Values;

// Failures show texts, not code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr Values kStored{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};

QStringList texts(const Values &values)
{
    QStringList list;
    for (int16_t v : values)
        list << QString::number(v);
    return list;
}

class PaletteEditor : public ::testing::Test {
protected:
    frmPalette editor;

    void open(const Values &stored = kStored)
    {
        tilepalette::Save(stored);
        editor.load();
    }

    QStringList boxTexts() const
    {
        QStringList list;
        for (controls::NumberBox *box : editor.paletteBoxes())
            list << box->text();
        return list;
    }

    QColor preview(int shade) const
    {
        const controls::PictureBox *previews[] = {editor.picCol1Preview, editor.picCol2Preview,
                                                  editor.picCol3Preview, editor.picCol4Preview};
        return QColor::fromRgb(controls::RgbFromColour(previews[shade]->BackColor()));
    }

    // Presses Load and then `button` in the loader; true when the loader closed.
    bool pressInLoader(QPushButton *frmLoadPal::*button)
    {
        bool closed = false;
        testsupport::modalWindows().on<frmLoadPal>([&](frmLoadPal &loader) {
            EXPECT_EQ(loader.windowTitle(), QStringLiteral("Load Palette..."));
            (loader.*button)->click();
            closed = loader.isUnloaded();
        });
        editor.cmdLoad->click();
        testsupport::modalWindows().clear();
        return closed;
    }

    // "Load custom palette" with the open dialog answering `path` (nullopt: Cancel).
    bool loadCustom(std::optional<QString> path)
    {
        testsupport::fileDialogs().answerNext(std::move(path));
        return pressInLoader(&frmLoadPal::cmdLoadCustom);
    }

    static QString storedText(int index) { return settings::Get(tilepalette::SettingKeys()[size_t(index)]); }
};

} // namespace

TEST_F(PaletteEditor, OpensWithTheStoredPaletteAndItsOwnDefaultsForMissingKeys)
{
    tilepalette::Save(kStored);
    registry::DeleteValue(registry::Hive::CurrentUser,
                          QStringLiteral("Software\\VB and VBA Program Settings\\Zandrel Utils\\Settings"),
                          QStringLiteral("Black Tile Red"));
    // A value no writer of ours stores counts as missing.
    settings::Save(QStringLiteral("White Tile Green"), QStringLiteral("300"));
    settings::Save(QStringLiteral("Base Directory"), QStringLiteral("/roms"));
    editor.load();

    EXPECT_EQ(boxTexts(), QStringList({"10", "255", "30", "40", "50", "60", "70", "80", "90", "0", "110", "120"}));
    EXPECT_EQ(editor.BlackTileRed, 0);
    EXPECT_EQ(editor.WhiteTileGreen, 255);
    EXPECT_EQ(editor.BaseDirectory, QStringLiteral("/roms"));
    EXPECT_EQ(preview(0), QColor(10, 255, 30));
    EXPECT_EQ(preview(3), QColor(0, 110, 120));
    for (controls::NumberBox *box : editor.paletteBoxes())
        EXPECT_EQ(box->cursorPosition(), box->text().size());
    EXPECT_EQ(editor.focusWidget(), editor.cmdCancel);
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Palette..."));
}

TEST_F(PaletteEditor, ATypedValueIsNormalisedAndKeptWithinABytesRange)
{
    open();
    const struct {
        QString typed;
        QString shown;
        int red; // the preview's red
    } cases[] = {
        {"007", "7", 7},         {"-5", "0", 0},          {"-0.4", "0", 0},     {"300", "255", 255},
        {"255.4", "255", 255},   {"1e3", "255", 255},     {"abc", "0", 0},      {"12abc", "12", 12},
        {"&H80", "128", 128},    {"", "", 0},             {" 12", " 12", 12},   {"  12", "12", 12},
        {"12.5", "12.5", 12},    {"13.5", "13.5", 14},    {"99999999", "255", 255},
    };
    for (const auto &c : cases) {
        editor.txtCol1R->setText(c.typed);
        EXPECT_EQ(editor.txtCol1R->text(), c.shown) << c.typed.toStdString();
        EXPECT_EQ(preview(0), QColor(c.red, 20, 30)) << c.typed.toStdString();
        if (c.typed != c.shown) {
            EXPECT_EQ(editor.txtCol1R->cursorPosition(), c.shown.size()) << c.typed.toStdString();
        }
    }
}

TEST_F(PaletteEditor, TypingInsideANumberLeavesTheCaretAtItsEnd)
{
    open();
    editor.txtCol2G->setText(QStringLiteral("12"));
    editor.txtCol2G->setCursorPosition(1);
    QTest::keyClick(editor.txtCol2G, Qt::Key_3);
    EXPECT_EQ(editor.txtCol2G->text(), QStringLiteral("132"));
    EXPECT_EQ(editor.txtCol2G->cursorPosition(), 3);
    editor.txtCol2G->setCursorPosition(0);
    QTest::keyClick(editor.txtCol2G, Qt::Key_9);
    EXPECT_EQ(editor.txtCol2G->text(), QStringLiteral("255"));
    EXPECT_EQ(editor.txtCol2G->cursorPosition(), 3);
    EXPECT_EQ(preview(1), QColor(40, 255, 60));
}

TEST_F(PaletteEditor, ApplyStoresAllTwelveAsWholeNumbersAndCloses)
{
    open();
    editor.txtCol1G->clear();
    editor.txtCol2R->setText(QStringLiteral("12.5"));
    editor.txtCol2G->setText(QStringLiteral("13.5"));
    editor.txtCol4B->setText(QStringLiteral(" 7"));
    editor.cmdApply->click();

    EXPECT_TRUE(editor.isUnloaded());
    const QStringList expected{"10", "0", "30", "12", "14", "60", "70", "80", "90", "100", "110", "7"};
    for (int i = 0; i < tilepalette::kValueCount; ++i)
        EXPECT_EQ(storedText(i), expected[i]) << i;
    EXPECT_EQ(editor.LGreyTileGreen, 14);
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST_F(PaletteEditor, CancelEscapeAndTheCloseBoxStoreNothing)
{
    const std::function<void(frmPalette &)> leave[] = {
        [](frmPalette &e) { e.cmdCancel->click(); },
        [](frmPalette &e) { QTest::keyClick(e.txtCol3B, Qt::Key_Escape); },
        [](frmPalette &e) { e.close(); },
    };
    tilepalette::Save(kStored);
    for (const auto &how : leave) {
        frmPalette edited;
        edited.load();
        edited.show();
        for (controls::NumberBox *box : edited.paletteBoxes())
            box->setText(QStringLiteral("1"));
        how(edited);
        EXPECT_TRUE(edited.isUnloaded());
        EXPECT_EQ(tilepalette::Read(tilepalette::kEditorDefaults), kStored);
    }
}

TEST_F(PaletteEditor, EnterInABoxPressesNoButton)
{
    open();
    editor.show();
    editor.txtCol1R->setText(QStringLiteral("99"));
    editor.txtCol1R->setFocus();
    QTest::keyClick(editor.txtCol1R, Qt::Key_Return);
    EXPECT_FALSE(editor.isUnloaded());
    EXPECT_EQ(editor.txtCol1R->text(), QStringLiteral("99")); // no Revert either
    EXPECT_TRUE(testsupport::fileDialogs().requests.isEmpty());
}

TEST_F(PaletteEditor, ApplyThatCannotBeStoredSaysSoAndStaysOpen)
{
    open();
    editor.txtCol1R->setText(QStringLiteral("99"));
    // The settings folder becomes a file: nothing can be written there.
    const QString folder = QFileInfo(registry::StoreFilePath()).absolutePath();
    QDir(folder).removeRecursively();
    testsupport::writeFile(QStringLiteral("config/zandrel"), "not a folder");

    editor.cmdApply->click();
    EXPECT_FALSE(editor.isUnloaded());
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Palette not saved"));
    EXPECT_EQ(editor.txtCol1R->text(), QStringLiteral("99"));
    // Revert still knows the palette the window opened with.
    editor.cmdCol1Revert->click();
    EXPECT_EQ(editor.txtCol1R->text(), QStringLiteral("10"));
}

TEST_F(PaletteEditor, BuiltInPalettesFillTheBoxesAndCloseTheLoader)
{
    const struct {
        QPushButton *frmLoadPal::*button;
        Values values;
    } cases[] = {{&frmLoadPal::cmdRevertRed, tilepalette::kVbPalette},
                 {&frmLoadPal::cmdRevertGrey, tilepalette::kGreyPalette}};
    open();
    for (const auto &c : cases) {
        EXPECT_TRUE(pressInLoader(c.button));
        EXPECT_EQ(boxTexts(), texts(c.values));
        EXPECT_EQ(preview(3), tilepalette::ShadeColour(c.values, 3));
    }
}

TEST_F(PaletteEditor, GreyThenApplyStoresSixtyFourForTheBlackShade)
{
    open();
    pressInLoader(&frmLoadPal::cmdRevertGrey);
    editor.cmdApply->click();
    EXPECT_EQ(tilepalette::Read(tilepalette::kEditorDefaults), tilepalette::kGreyPalette);
    EXPECT_EQ(storedText(9), QStringLiteral("64"));
}

TEST_F(PaletteEditor, RevertBringsBackTheShadeTheWindowOpenedWith)
{
    open();
    pressInLoader(&frmLoadPal::cmdRevertRed);
    editor.txtCol2B->setText(QStringLiteral("5"));
    editor.cmdCol2Revert->click();
    QStringList expected = texts(tilepalette::kVbPalette);
    expected[3] = "40", expected[4] = "50", expected[5] = "60";
    EXPECT_EQ(boxTexts(), expected);
    EXPECT_EQ(preview(1), QColor(40, 50, 60));
    EXPECT_EQ(preview(0), QColor(255, 0, 0));
}

TEST_F(PaletteEditor, ACustomPaletteFileFillsTheBoxes)
{
    settings::Save(QStringLiteral("Base Directory"), QStringLiteral("/roms"));
    open();
    // A longer file: its bytes after the fifteenth are ignored.
    const QString path = testsupport::writeFile(QStringLiteral("mine.pvb"),
                                                QByteArray::fromHex("50414C0102030405060708090A0B0CEEEEEE"));
    EXPECT_TRUE(loadCustom(path));
    EXPECT_EQ(boxTexts(), texts({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    ASSERT_EQ(testsupport::fileDialogs().requests.size(), 1);
    const commondialog::Request &asked = testsupport::fileDialogs().requests.first();
    EXPECT_EQ(asked.kind, commondialog::Kind::Open);
    EXPECT_EQ(asked.filter, QStringLiteral("Zandrel Utils Palette File (*.pvb)|*.pvb|All Files (*.*)|*.*"));
    EXPECT_EQ(asked.initDir, QStringLiteral("/roms"));
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
    // Nothing reaches the store before Apply.
    EXPECT_EQ(tilepalette::Read(tilepalette::kEditorDefaults), kStored);
}

TEST_F(PaletteEditor, AFileThatIsNoPaletteIsRefusedAndChangesNothing)
{
    const QString dir = testsupport::tempDir();
    const struct {
        const char *name;
        QString path;
        QString prompt;
        QString title;
    } cases[] = {
        {"missing", QDir(dir).filePath("none.pvb"), "File does not exist.", "Invalid filename"},
        {"empty", testsupport::writeFile("empty.pvb", ""), "File does not exist.", "Invalid filename"},
        {"lower case", testsupport::writeFile("lower.pvb", "pal\x01\x02\x03"), "File is not a Zandrel palette file.",
         "Invalid Zandrel palette"},
        {"two bytes", testsupport::writeFile("short.pvb", "PA"), "File is not a Zandrel palette file.",
         "Invalid Zandrel palette"},
        {"folder", dir, "Unable to read the file:\r" + dir + "\rIt is a folder, not a file.", "File error"},
    };
    open();
    for (const auto &c : cases) {
        testsupport::messageBoxes() = {};
        EXPECT_TRUE(loadCustom(c.path)) << c.name;
        EXPECT_EQ(boxTexts(), texts(kStored)) << c.name;
        ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1) << c.name;
        EXPECT_EQ(testsupport::messageBoxes().last().prompt, c.prompt) << c.name;
        EXPECT_EQ(testsupport::messageBoxes().last().title, c.title) << c.name;
        EXPECT_EQ(testsupport::messageBoxes().last().style, msgbox::vbExclamation) << c.name;
    }
    // Checking a file creates and deletes nothing.
    EXPECT_FALSE(QFileInfo::exists(QDir(dir).filePath("none.pvb")));
    EXPECT_TRUE(QFileInfo::exists(QDir(dir).filePath("empty.pvb")));
}

TEST_F(PaletteEditor, ACancelledOpenClosesTheLoaderAndChangesNothing)
{
    open();
    EXPECT_TRUE(loadCustom(std::nullopt));
    EXPECT_EQ(boxTexts(), texts(kStored));
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST_F(PaletteEditor, SaveWritesTheBoxesAsShownAndLoadingGivesThemBack)
{
    settings::Save(QStringLiteral("Base Directory"), QStringLiteral("/roms"));
    open();
    editor.txtCol1R->clear();
    editor.txtCol1G->setText(QStringLiteral("12.5"));
    editor.txtCol1B->setText(QStringLiteral("13.5"));
    const QString path = QDir(testsupport::tempDir()).filePath(QStringLiteral("saved.pvb"));
    testsupport::fileDialogs().answerNext(path);
    editor.cmdSave->click();

    EXPECT_EQ(testsupport::readFile(path), QByteArray::fromHex("50414C000C0E28323C46505A646E78"));
    const commondialog::Request &asked = testsupport::fileDialogs().requests.first();
    EXPECT_EQ(asked.kind, commondialog::Kind::Save);
    EXPECT_EQ(asked.filter, palettefile::kFilter);
    EXPECT_EQ(asked.initDir, QStringLiteral("/roms"));
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
    EXPECT_FALSE(editor.isUnloaded());
    EXPECT_EQ(tilepalette::Read(tilepalette::kEditorDefaults), kStored);

    loadCustom(path);
    EXPECT_EQ(boxTexts(), QStringList({"0", "12", "14", "40", "50", "60", "70", "80", "90", "100", "110", "120"}));
}

TEST_F(PaletteEditor, SavingOverAFileAsksFirst)
{
    open();
    pressInLoader(&frmLoadPal::cmdRevertGrey);
    const QByteArray old(40, 'o');
    const QString path = testsupport::writeFile(QStringLiteral("old.pvb"), old);

    testsupport::fileDialogs().answerNext(path);
    testsupport::messageBoxes().answerNext(msgbox::vbNo);
    editor.cmdSave->click();
    EXPECT_EQ(testsupport::readFile(path), old);
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    const msgbox::Call question = testsupport::messageBoxes().last();
    EXPECT_EQ(question.prompt, path + " already exists.\rDo you wish to replace it?");
    EXPECT_EQ(question.title, QStringLiteral("Save File As"));
    EXPECT_EQ(question.style, msgbox::vbYesNo | msgbox::vbExclamation | msgbox::vbDefaultButton2);

    testsupport::fileDialogs().answerNext(path);
    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    editor.cmdSave->click();
    EXPECT_EQ(testsupport::readFile(path), QByteArray::fromHex("50414CFFFFFFC0C0C0808080404040"));

    // A cancelled dialog writes nothing and asks nothing.
    testsupport::fileDialogs().answerNext(std::nullopt);
    editor.cmdSave->click();
    EXPECT_EQ(testsupport::messageBoxes().calls.size(), 2);
}

TEST_F(PaletteEditor, ASaveThatFailsNamesTheFileAndKeepsTheEditorOpen)
{
    open();
    const QString path = QDir(testsupport::tempDir()).filePath(QStringLiteral("no/such/folder/p.pvb"));
    testsupport::fileDialogs().answerNext(path);
    editor.cmdSave->click();
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    EXPECT_TRUE(testsupport::messageBoxes().last().prompt.startsWith("Unable to save the file:\r" + path + "\r"));
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("File error"));
    EXPECT_FALSE(editor.isUnloaded());
}
