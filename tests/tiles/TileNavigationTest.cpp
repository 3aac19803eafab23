// The viewer's twelve navigation buttons and the go-to dialog: the exact
// arithmetic and bounds, the keystrokes of the dialog, and when the view
// is redrawn.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "Controls.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "TileViewerFixture.h"
#include "frmGoto.h"
#include "frmTileViewer.h"

using namespace viewertest;

namespace {

using Handler = void (frmTileViewer::*)();

struct Move {
    const char *button;
    Handler handler;
    int length;
    const char *offset;
    const char *width;
    const char *expectedOffset;
    const char *expectedWidth;
};

#define BUTTON(name) #name, &frmTileViewer::name##_Click

const Move kMoves[] = {
    // Backward offset buttons stop at 0 and never look at the length.
    {BUTTON(cmdOffsetDown), 1000, "0", "48", "0", "48"},
    {BUTTON(cmdOffsetDownTile), 1000, "0", "48", "0", "48"},
    {BUTTON(cmdUp), 1000, "0", "48", "0", "48"},
    {BUTTON(cmdPageUp), 1000, "0", "48", "0", "48"},
    {BUTTON(cmdUp), 1000, "5", "48", "0", "48"},
    {BUTTON(cmdOffsetDown), 1000, "10", "48", "9", "48"},
    {BUTTON(cmdOffsetDownTile), 1000, "100", "48", "84", "48"},
    {BUTTON(cmdUp), 1000, "999", "1", "983", "1"},
    {BUTTON(cmdPageUp), 100000, "30000", "48", "8496", "48"},
    // Forward ones stop at the length less 1 (a byte) or 16 (the rest).
    {BUTTON(cmdPageDown), 1000, "0", "48", "984", "48"},
    {BUTTON(cmdDown), 1000, "0", "48", "768", "48"},
    {BUTTON(cmdDown), 1000, "768", "48", "984", "48"},
    {BUTTON(cmdDown), 1000, "984", "48", "984", "48"},
    {BUTTON(cmdPageDown), 1000, "984", "48", "984", "48"},
    {BUTTON(cmdOffsetUpTile), 1000, "984", "48", "984", "48"},
    {BUTTON(cmdOffsetUp), 1000, "984", "48", "985", "48"},
    {BUTTON(cmdOffsetUp), 1000, "999", "48", "999", "48"},
    {BUTTON(cmdOffsetUpTile), 1000, "990", "48", "984", "48"},
    {BUTTON(cmdDown), 1000, "995", "48", "984", "48"},
    {BUTTON(cmdPageDown), 100000, "0", "48", "21504", "48"},
    {BUTTON(cmdDown), 100000, "0", "32767", "99984", "32767"},
    {BUTTON(cmdOffsetUp), 1000, "10.5", "48", "11.5", "48"},
    // Width buttons keep 1 to 32767.
    {BUTTON(cmdTileLeft), 1000, "0", "1", "0", "1"},
    {BUTTON(cmdTileHalf), 1000, "0", "1", "0", "1"},
    {BUTTON(cmdTileDouble), 1000, "0", "1", "0", "2"},
    {BUTTON(cmdTileRight), 1000, "0", "1", "0", "2"},
    {BUTTON(cmdTileRight), 1000, "0", "32767", "0", "32767"},
    {BUTTON(cmdTileDouble), 1000, "0", "32767", "0", "32767"},
    {BUTTON(cmdTileLeft), 1000, "0", "32767", "0", "32766"},
    {BUTTON(cmdTileHalf), 1000, "0", "32767", "0", "16383"},
    {BUTTON(cmdTileDouble), 1000, "0", "16383", "0", "32766"},
    {BUTTON(cmdTileDouble), 1000, "0", "16384", "0", "32767"},
    {BUTTON(cmdTileDouble), 1000, "0", "48", "0", "96"},
    {BUTTON(cmdTileHalf), 1000, "0", "48", "0", "24"},
    // Halving rounds first, halves to even.
    {BUTTON(cmdTileHalf), 1000, "0", "2.5", "0", "1"},
    {BUTTON(cmdTileHalf), 1000, "0", "3.5", "0", "2"},
    {BUTTON(cmdTileHalf), 1000, "0", "7", "0", "3"},
};

#undef BUTTON

} // namespace

TEST_F(TileViewerForm, NavigationButtonsMoveAndResizeWithinTheirBounds)
{
    for (const Move &m : kMoves) {
        SCOPED_TRACE(std::string(m.button) + " at offset " + m.offset + ", width " + m.width + ", length "
                     + std::to_string(m.length));
        frmTileViewer w;
        w.load();
        open(w, rom(QStringLiteral("nav.vb"), romImage(m.length)));
        w.lblOffset->setCaption(QString::fromLatin1(m.offset));
        w.lblWidth->setCaption(QString::fromLatin1(m.width));
        (w.*m.handler)();
        EXPECT_EQ(w.lblOffset->text(), QLatin1String(m.expectedOffset));
        EXPECT_EQ(w.lblWidth->text(), QLatin1String(m.expectedWidth));
        EXPECT_EQ(w.ViewWidth, QString::fromLatin1(m.expectedWidth).toInt());
    }
}

TEST_F(TileViewerForm, NavigationRedrawsOnlyWithAutoUpdate)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("nav.vb"), romImage(4096, 0, 2)));
    w.cmdOffsetUpTile->click();
    EXPECT_EQ(w.lblOffset->text(), QStringLiteral("16"));
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 1), ".");

    w.chkAutoUpdate->click();
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 9), "WWWWWWWWB"); // the tile at 16
    w.cmdOffsetUpTile->click();
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 1), "B");
}

// --- Go-to dialog ----------------------------------------------------------------

namespace {

// Types `keys` into the dialog's box one keystroke at a time and returns the
// text after each.
QStringList typeInto(frmGoto &dialog, const QString &keys)
{
    QStringList after;
    for (QChar key : keys) {
        QTest::keyClicks(dialog.txtGoto, QString(key));
        after << dialog.txtGoto->text();
    }
    return after;
}

} // namespace

TEST(GotoDialog, KeepsTheTypedTextACleanNumberWithinItsUpperBound)
{
    const struct {
        const char *what;
        const char *keys;
        QStringList texts;
    } cases[] = {
        {"Width", "05", {"0", "5"}},
        {"Width", "1.", {"1", "1"}},
        {"Width", "-", {"0"}},
        {"Width", "1a", {"1", "1"}},
        {"Width", "40000", {"4", "40", "400", "4000", "32767"}},
        {"Offset", "2000", {"2", "20", "200", "999"}},
        {"Offset", "999", {"9", "99", "999"}},
    };
    for (const auto &c : cases) {
        frmGoto dialog(QString::fromLatin1(c.what), QString(), QStringLiteral("1000"));
        dialog.load();
        EXPECT_EQ(typeInto(dialog, QString::fromLatin1(c.keys)), c.texts) << c.what << " " << c.keys;
        EXPECT_EQ(dialog.txtGoto->cursorPosition(), dialog.txtGoto->text().size());
    }
}

TEST(GotoDialog, StartsFromTheViewersValueAndBoundsIt)
{
    frmGoto width(QStringLiteral("Width"), QStringLiteral("48"), QStringLiteral("1000"));
    width.load();
    EXPECT_EQ(width.windowTitle(), QStringLiteral("Goto specific width..."));
    EXPECT_EQ(width.lblGoto->text(), QStringLiteral("Width:"));
    EXPECT_EQ(width.txtGoto->text(), QStringLiteral("48"));

    frmGoto offset(QStringLiteral("Offset"), QStringLiteral("1000"), QStringLiteral("1000"));
    offset.load();
    EXPECT_EQ(offset.windowTitle(), QStringLiteral("Goto specific offset..."));
    EXPECT_EQ(offset.lblGoto->text(), QStringLiteral("Offset:"));
    EXPECT_EQ(offset.txtGoto->text(), QStringLiteral("999"));
    // Shown, the box has the focus with the caret after the number.
    offset.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(offset.focusWidget(), offset.txtGoto);
    EXPECT_FALSE(offset.txtGoto->hasSelectedText());
    EXPECT_EQ(offset.txtGoto->cursorPosition(), 3);
    testsupport::saveScreenshot(offset, QStringLiteral("frmGoto"));
}

TEST(GotoDialog, GotoAppliesTheLowerBoundAndCancelAcceptsNothing)
{
    const struct {
        const char *what;
        const char *pasted;
        std::optional<QString> accepted;
    } cases[] = {
        {"Width", "", QStringLiteral("1")},
        {"Width", "0", QStringLiteral("1")},
        {"Width", "1.5", QStringLiteral("1.5")}, // a pasted fraction is handed over as it is
        {"Offset", "", QStringLiteral("0")},
        {"Offset", "-5", QStringLiteral("0")},
        {"Offset", " 12", QStringLiteral(" 12")},
        {"Offset", "500", QStringLiteral("500")},
    };
    for (const auto &c : cases) {
        frmGoto dialog(QString::fromLatin1(c.what), QStringLiteral("7"), QStringLiteral("1000"));
        dialog.load();
        dialog.txtGoto->setText(QString::fromLatin1(c.pasted));
        dialog.cmdGoto->click();
        EXPECT_EQ(dialog.accepted(), c.accepted) << c.what << " '" << c.pasted << "'";
        EXPECT_TRUE(dialog.isUnloaded());
    }

    frmGoto cancelled(QStringLiteral("Width"), QStringLiteral("7"), QStringLiteral("1000"));
    cancelled.load();
    cancelled.txtGoto->setText(QStringLiteral("30"));
    cancelled.show();
    QTest::keyClick(cancelled.txtGoto, Qt::Key_Escape);
    EXPECT_TRUE(cancelled.isUnloaded());
    EXPECT_EQ(cancelled.accepted(), std::nullopt);
}

TEST_F(TileViewerForm, TheGoToButtonsSetTheViewAndRedrawWithAutoUpdateWhateverTheButton)
{
    frmTileViewer w;
    w.load();
    open(w, rom(QStringLiteral("nav.vb"), romImage(4096, 0, 1)));
    testsupport::modalWindows().on<frmGoto>([&](frmGoto &dialog) {
        EXPECT_EQ(w.lblGotoWhat->text(), dialog.windowTitle().contains(QLatin1String("width")) ? "Width" : "Offset");
        if (dialog.txtGoto->text() == QLatin1String("0")) {
            dialog.txtGoto->setText(QStringLiteral("32"));
            dialog.cmdGoto->click();
        } else {
            dialog.txtGoto->setText(QStringLiteral("5"));
            dialog.cmdCancel->click();
        }
    });
    w.cmdGotoOffset->click();
    EXPECT_EQ(w.lblOffset->text(), QStringLiteral("32"));
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 1), "."); // auto-update off: not redrawn

    w.chkAutoUpdate->click();
    w.picTileViewer->surface().Cls();
    w.cmdGotoWidth->click();
    EXPECT_EQ(w.lblWidth->text(), QStringLiteral("48"));
    EXPECT_EQ(Shades(w.picTileViewer->surface(), 0, 0, 1), "B"); // cancelled, and redrawn all the same
    EXPECT_EQ(testsupport::modalWindows().shown, QStringList({"frmGoto", "frmGoto"}));
}
