#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "MainWindowState.h"
#include "TestSupport.h"
#include "frmMain.h"
#include "frmTileViewer.h"

// The main window's menu item and button both show the tile viewer modally,
// loaded afresh each time: no image carries over from an earlier showing.
TEST(MainWindowTileViewer, MenuItemAndButtonOpenAFreshTileViewer)
{
    mainwindow::Tag().clear();
    QByteArray image(1024, '\0');
    const QString path = testsupport::writeFile(QStringLiteral("a.vb"), image);
    QStringList seen;
    testsupport::modalWindows().on<frmTileViewer>([&](frmTileViewer &w) {
        seen << w.windowTitle();
        testsupport::fileDialogs().answerNext(path);
        w.mnuFileOpen->trigger();
    });
    frmMain main;
    EXPECT_TRUE(main.mnuFileViewer->isEnabled());
    EXPECT_TRUE(main.cmdTileViewer->isEnabled());

    main.mnuFileViewer->trigger();
    main.cmdTileViewer->click();
    const QString fresh = QStringLiteral("ROM Tile Viewer - [No ROM loaded]");
    EXPECT_EQ(seen, QStringList({fresh, fresh}));
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}
