#pragma once
// The tile viewer: shows a ROM image's bytes as 2-bit 8 x 8 character tiles
// in the four palette shades, moves through the image by byte, tile, row and
// screen, changes the view width, opens the palette editor and the go-to
// dialog, and copies or saves the picture. The drawing is the tile engine's.

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "Forms.h"
#include "RecentRomList.h"

namespace controls {
class ChangeLabel;
class CommandButton;
class PictureBox;
} // namespace controls
namespace tiles {
struct ScreenBuffers;
}
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class RecentRomMenu;

class frmTileViewer : public forms::Form {
    Q_OBJECT
public:
    explicit frmTileViewer(QWidget *parent = nullptr);
    ~frmTileViewer() override;

    // The image shown, whole, and its length; both change only when a new
    // image has passed its check.
    QByteArray RomData;
    int32_t RomLength = 0;
    // The width in lblWidth as a whole number.
    int16_t ViewWidth = 0;
    // The tile palette: red, green and blue of White, L Grey, D Grey, Black.
    int16_t WhiteTileRed = 0, WhiteTileGreen = 0, WhiteTileBlue = 0;
    int16_t LGreyTileRed = 0, LGreyTileGreen = 0, LGreyTileBlue = 0;
    int16_t DGreyTileRed = 0, DGreyTileGreen = 0, DGreyTileBlue = 0;
    int16_t BlackTileRed = 0, BlackTileGreen = 0, BlackTileBlue = 0;
    bool AutoUpdate = false;
    int16_t TileDisplayMode = 0;
    QString BaseDirectory;
    // This window's copy of the recent-ROM list and its count.
    RecentRomList RecentRoms;

    controls::PictureBox *picTileViewer;
    controls::PictureBox *picCol1, *picCol2, *picCol3, *picCol4;
    QPushButton *cmdChangePalette;
    QCheckBox *chkAutoUpdate;
    controls::CommandButton *cmdUpdate;
    std::array<QRadioButton *, 2> optDspMode{};
    QLabel *lblOffset1;
    QLabel *lblWidth1;
    controls::ChangeLabel *lblOffset;
    controls::ChangeLabel *lblWidth;
    // Hidden: the path last opened, the length last loaded, the title from
    // its header (one character per byte) and what the go-to dialog edits.
    QLabel *lblFilename;
    QLabel *lblFileLen;
    QLabel *lblRomLabel;
    QLabel *lblGotoWhat;
    // Hidden: the text the help viewer shows for "Tile View".
    QPlainTextEdit *txtHelp;

    QPushButton *cmdGotoWidth, *cmdTileHalf, *cmdTileDouble, *cmdTileLeft, *cmdTileRight, *cmdUp, *cmdPageUp;
    QPushButton *cmdGotoOffset, *cmdOffsetDown, *cmdOffsetUp, *cmdOffsetDownTile, *cmdOffsetUpTile, *cmdDown,
        *cmdPageDown;

    QMenu *mnuFile;
    QAction *mnuFileOpen;
    QAction *mnuFileClose;
    QAction *mnuFileSep1;
    QMenu *mnuFileRecent;
    // The items "&0 " ... "&9 " (mnuFileRecent0 ... mnuFileRecent9).
    std::array<QAction *, 10> mnuFileRecentItems{};
    QAction *mnuFileSep2;
    QAction *mnuFileBack;
    QMenu *mnuEdit;
    QAction *mnuEditCopy;
    QAction *mnuEditSave;
    QMenu *mnuHelp;
    QAction *mnuHelpHelp;

    void GetRegistry();
    void SaveRegistry();
    // Reads and checks the image; a new image replaces the shown one only
    // when it passes. The shared dialog's FileName is emptied on a failure.
    void LoadRomFile(const QString &path);
    void UpdateRecentMenu();
    // True from a successful load until Close or a failed load: the one sign
    // that an image is loaded (lblFilename and lblFileLen keep the last
    // image's path and length after it closes).
    bool imageOpen() const { return m_imageOpen; }

    // Draws the view; while a redraw runs, asking again stops it and draws
    // afresh once it has unwound.
    void RedrawTiles();
    // The bulk roads, which no control reaches, and their buffers.
    void RedrawTilesBuffered();
    QString RedrawTilesLibrary();
    void BlitOnly();
    tiles::ScreenBuffers &screen() { return *m_screen; }

public slots:
    void mnuFileOpen_Click();
    // Item N of the recent files (mnuFileRecent0_Click ... mnuFileRecent9_Click).
    void mnuFileRecent_Click(int index);
    void mnuFileClose_Click();
    void mnuFileBack_Click();
    void mnuEditCopy_Click();
    void mnuEditSave_Click();
    void mnuHelpHelp_Click();
    void chkAutoUpdate_Click();
    void cmdUpdate_Click();
    void cmdChangePalette_Click();
    void optDspMode_Click(int index);
    void lblWidth_Change();
    void picTileViewer_KeyPress(int keyAscii);

    void cmdOffsetDown_Click();
    void cmdOffsetUp_Click();
    void cmdOffsetDownTile_Click();
    void cmdOffsetUpTile_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdPageUp_Click();
    void cmdPageDown_Click();
    void cmdTileLeft_Click();
    void cmdTileRight_Click();
    void cmdTileDouble_Click();
    void cmdTileHalf_Click();
    void cmdGotoOffset_Click();
    void cmdGotoWidth_Click();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

private:
    class EngineSeam;

    void createPicture();
    void createNavigation();
    void createOptions();
    void createHiddenState();
    void createMenus();

    void finishLoad();
    void colourSwatches();
    void setNavigationEnabled(bool enabled);
    // Asks a running walk to stop at its next yield.
    void stopWalk();
    int autoUpdateValue() const;
    void redrawWhenAutoUpdating();
    void moveOffsetBack(double step);
    void moveOffsetForward(double step, int lastTileBytes);
    void setWidth(double width);
    void showGoto(const QString &what);
    // Runs a redraw road; an error it raises is reported, not passed on.
    void runRoad(const std::function<void()> &road);

    std::unique_ptr<EngineSeam> m_seam;
    std::unique_ptr<tiles::ScreenBuffers> m_screen;
    std::unique_ptr<RecentRomMenu> m_recentMenu;
    bool m_imageOpen = false;
    // The live redraw: none, running, or asked to stop at its next yield and
    // then do nothing more, draw afresh, or close the window.
    enum class Walk { None, Running, Stop, StopAndRedraw, StopAndClose };
    Walk m_walk = Walk::None;
    QElapsedTimer m_lastRepaint;
};
