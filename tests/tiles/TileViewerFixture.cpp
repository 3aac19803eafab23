#include "TileViewerFixture.h"

#include <QCheckBox>
#include <QPushButton>

#include "Controls.h"
#include "MainWindowState.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmTileViewer.h"

namespace viewertest {

QByteArray romImage(int length, char fill, int whiteTiles, const QByteArray &title)
{
    QByteArray image(length, fill);
    image.replace(0, 16 * whiteTiles, QByteArray(16 * whiteTiles, char(0xFF)));
    const int header = length - 544;
    image.replace(header, 20, title.leftJustified(20, ' ', true));
    image.replace(header + 20, 5, QByteArray(5, '\0'));
    return image;
}

std::string Shades(const controls::PictureSurface &picture, int x, int y, int count)
{
    std::string letters;
    for (int i = 0; i < count; ++i) {
        switch (picture.Point(x + i, y)) {
        case kWhite: letters += 'W'; break;
        case kLGrey: letters += 'L'; break;
        case kDGrey: letters += 'D'; break;
        case kBlack: letters += 'B'; break;
        case kTeal: letters += '.'; break;
        default: letters += '?'; break;
        }
    }
    return letters;
}

void TileViewerForm::SetUp()
{
    mainwindow::Tag().clear();
    mainwindow::dlgZandrel() = commondialog::CommonDialog{};
}

void TileViewerForm::TearDown()
{
    mainwindow::Tag().clear();
    mainwindow::dlgZandrel() = commondialog::CommonDialog{};
}

QString TileViewerForm::rom(const QString &name, const QByteArray &bytes)
{
    return testsupport::writeFile(name, bytes);
}

void TileViewerForm::open(frmTileViewer &window, const QString &path)
{
    testsupport::fileDialogs().answerNext(path);
    window.mnuFileOpen->trigger();
}

void TileViewerForm::storeRecent(const QStringList &entries, int count)
{
    settings::Save(QStringLiteral("Recent ROMs number"), QString::number(count));
    for (int n = 0; n < 10; ++n)
        settings::Save(QStringLiteral("Recent ROM #%1").arg(n + 1), entries.value(n));
}

QStringList TileViewerForm::storedRecent() const
{
    QStringList entries;
    for (int n = 0; n < 10; ++n)
        entries << settings::Get(QStringLiteral("Recent ROM #%1").arg(n + 1));
    while (!entries.isEmpty() && entries.last().isEmpty())
        entries.removeLast();
    return entries;
}

int TileViewerForm::enabledRedrawControls(const frmTileViewer &w) const
{
    int on = 0;
    for (const QWidget *c : std::initializer_list<const QWidget *>{
             w.cmdGotoWidth, w.cmdGotoOffset, w.cmdTileHalf, w.cmdTileDouble, w.cmdOffsetDown, w.cmdOffsetUp,
             w.cmdTileLeft, w.cmdTileRight, w.cmdOffsetDownTile, w.cmdOffsetUpTile, w.cmdUp, w.cmdDown,
             w.cmdPageUp, w.cmdPageDown, w.cmdUpdate, w.chkAutoUpdate, w.cmdChangePalette})
        on += c->isEnabled() ? 1 : 0;
    return on;
}

} // namespace viewertest
