#include "frmTileViewer.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <iterator>

#include "Controls.h"
#include "FileMessages.h"
#include "HelpTopics.h"
#include "KanaToRomaji.h"
#include "MainWindowState.h"
#include "MsgBox.h"
#include "Paths.h"
#include "PictureBox.h"
#include "RecentRomMenu.h"
#include "Registry.h"
#include "SaveFile.h"
#include "ScreenBlit.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "TilePalette.h"
#include "TileRedraw.h"
#include "VbError.h"
#include "VbRomHeader.h"
#include "VbText.h"
#include "frmGoto.h"
#include "frmPalette.h"

// Resources of a static library are registered by name, outside any namespace.
static void registerTileViewerResources()
{
    Q_INIT_RESOURCE(tileviewer);
}

namespace {

using msgbox::CR;
const QString kNoRomCaption = QStringLiteral("ROM Tile Viewer - [No ROM loaded]");
const QString kBitmapFilter = QStringLiteral("OS/2 or Windows Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*");
// The background a loaded image's picture shows where no tile is drawn.
constexpr int32_t kLoadedBackground = controls::RGB(0, 128, 128);
constexpr int kMaxWidth = 32767;
using tiles::kTileBytes;
// A screen is as many rows of tiles as the picture shows.
constexpr int kScreenRows = tiles::kTilesDown;
// While a walk lets events run, the picture repaints at most this often.
constexpr qint64 kRepaintMilliseconds = 15;

// Layout, in twips: the picture, under it the width row and the offset row,
// then the options, the palette and the update button.
constexpr int kClientWidth = 6060;
constexpr int kClientHeight = 5520;
constexpr int kWidthRowTop = 3720;
constexpr int kOffsetRowTop = 4080;
constexpr int kRowHeight = 255;
constexpr int kColumns[] = {2040, 2400, 3000, 3600, 4080, 4560, 5160};

constexpr int kColumnWidths[] = {255, 495, 495, 375, 375, 495, 615};

// The navigation buttons, in the engine's order: the member, its row and
// column, caption, tip and click handler.
struct NavigationButton {
    tiles::RedrawControl control;
    QPushButton *frmTileViewer::*button;
    int top;
    int column;
    const char *caption;
    const char *tip;
    void (frmTileViewer::*click)();
};

using C = tiles::RedrawControl;
using F = frmTileViewer;
constexpr NavigationButton kNavigationButtons[] = {
    {C::cmdGotoWidth, &F::cmdGotoWidth, kWidthRowTop, 0, "...", "Change view width...", &F::cmdGotoWidth_Click},
    {C::cmdGotoOffset, &F::cmdGotoOffset, kOffsetRowTop, 0, "...", "CHange file offset...", &F::cmdGotoOffset_Click},
    {C::cmdTileHalf, &F::cmdTileHalf, kWidthRowTop, 1, "<-/2", "Halve width", &F::cmdTileHalf_Click},
    {C::cmdTileDouble, &F::cmdTileDouble, kWidthRowTop, 2, "x2->", "Double width", &F::cmdTileDouble_Click},
    {C::cmdOffsetDown, &F::cmdOffsetDown, kOffsetRowTop, 1, "<-1", "Left 1 byte", &F::cmdOffsetDown_Click},
    {C::cmdOffsetUp, &F::cmdOffsetUp, kOffsetRowTop, 2, "1->", "Right 1 byte", &F::cmdOffsetUp_Click},
    {C::cmdTileLeft, &F::cmdTileLeft, kWidthRowTop, 3, "<<", "Decrease width", &F::cmdTileLeft_Click},
    {C::cmdTileRight, &F::cmdTileRight, kWidthRowTop, 4, ">>", "Increase width", &F::cmdTileRight_Click},
    {C::cmdOffsetDownTile, &F::cmdOffsetDownTile, kOffsetRowTop, 3, "<", "Left 1 tile", &F::cmdOffsetDownTile_Click},
    {C::cmdOffsetUpTile, &F::cmdOffsetUpTile, kOffsetRowTop, 4, ">", "Right 1 tile", &F::cmdOffsetUpTile_Click},
    {C::cmdUp, &F::cmdUp, kWidthRowTop, 5, "Up", "Up 1 tile", &F::cmdUp_Click},
    {C::cmdDown, &F::cmdDown, kOffsetRowTop, 5, "Dn", "Down 1 tile", &F::cmdDown_Click},
    {C::cmdPageUp, &F::cmdPageUp, kWidthRowTop, 6, "PgUp", "Up 1 screen", &F::cmdPageUp_Click},
    {C::cmdPageDown, &F::cmdPageDown, kOffsetRowTop, 6, "PgDn", "Down 1 screen", &F::cmdPageDown_Click},
};
static_assert(std::size(kNavigationButtons) == tiles::kNavigationCount);
static_assert([] {
    for (int i = 0; i < tiles::kNavigationCount; ++i)
        if (int(kNavigationButtons[i].control) != i)
            return false;
    return true;
}());

const QString kCaptionStart = QStringLiteral("ROM Tile Viewer - [");

QString titleCaption(const QByteArray &title)
{
    return kCaptionStart + KanaToRomaji(title) + QLatin1Char(']');
}

} // namespace

// The window as the tile engine sees it.
class frmTileViewer::EngineSeam : public tiles::TileViewerWindow {
public:
    explicit EngineSeam(frmTileViewer &window)
        : w(window)
    {
    }

    QByteArray romData() const override { return w.RomData; }
    QString offsetText() const override { return w.lblOffset->caption(); }
    void setOffsetText(const QString &text) override { w.lblOffset->setCaption(text); }
    QString widthText() const override { return w.lblWidth->caption(); }
    // The length label is the image's: LoadRomFile sets both together, so
    // the walk may draw every byte the image holds.
    QString fileLengthText() const override { return w.lblFileLen->text(); }
    QByteArray romTitle() const override { return w.lblRomLabel->text().toLatin1(); }
    void setViewWidth(int16_t width) override { w.ViewWidth = width; }
    void setCaption(const QString &caption) override { w.setWindowTitle(caption); }
    void setUpdateCaption(const QString &caption) override { w.cmdUpdate->setText(caption); }
    // A redraw gives its controls back as it ends; if the image was closed
    // while it drew, all but the palette button stay off.
    void setControlEnabled(tiles::RedrawControl control, bool enabled) override
    {
        setObjectEnabled(controlOf(control), enabled && (w.imageOpen() || control == C::cmdChangePalette));
    }
    int autoUpdateValue() const override { return w.autoUpdateValue(); }
    int displayMode() const override
    {
        if (w.optDspMode[0]->isChecked())
            return 0;
        return w.optDspMode[1]->isChecked() ? 1 : -1;
    }
    controls::PictureSurface &picture() override { return w.picTileViewer->surface(); }
    int32_t swatchColour(int index) const override
    {
        const controls::PictureBox *swatches[] = {w.picCol1, w.picCol2, w.picCol3, w.picCol4};
        return swatches[index - 1]->BackColor();
    }
    tiles::TileShades shades() const override
    {
        return {TileShade{w.WhiteTileRed, w.WhiteTileGreen, w.WhiteTileBlue},
                TileShade{w.LGreyTileRed, w.LGreyTileGreen, w.LGreyTileBlue},
                TileShade{w.DGreyTileRed, w.DGreyTileGreen, w.DGreyTileBlue},
                TileShade{w.BlackTileRed, w.BlackTileGreen, w.BlackTileBlue}};
    }
    bool yield() override
    {
        if (w.m_lastRepaint.hasExpired(kRepaintMilliseconds)) {
            w.picTileViewer->update();
            w.m_lastRepaint.restart();
        }
        forms::DoEvents();
        return w.m_walk != Walk::Running;
    }

private:
    using Walk = frmTileViewer::Walk;

    static void setObjectEnabled(QObject *control, bool enabled)
    {
        if (auto *action = qobject_cast<QAction *>(control))
            action->setEnabled(enabled);
        else if (auto *widget = qobject_cast<QWidget *>(control))
            widget->setEnabled(enabled);
    }

    QObject *controlOf(tiles::RedrawControl control) const
    {
        switch (control) {
        case C::cmdUpdate: return w.cmdUpdate;
        case C::chkAutoUpdate: return w.chkAutoUpdate;
        case C::cmdChangePalette: return w.cmdChangePalette;
        case C::mnuEditCopy: return w.mnuEditCopy;
        case C::mnuEditSave: return w.mnuEditSave;
        default: return w.*kNavigationButtons[int(control)].button;
        }
    }

    frmTileViewer &w;
};

frmTileViewer::frmTileViewer(QWidget *parent)
    : Form(parent)
    , m_seam(std::make_unique<EngineSeam>(*this))
    , m_screen(std::make_unique<tiles::ScreenBuffers>())
{
    setWindowTitle(kNoRomCaption);
    setClientSizeTwips(kClientWidth, kClientHeight);
    createPicture();
    createNavigation();
    createOptions();
    createHiddenState();
    createMenus();
    controls::FitCaptions(client());
    m_lastRepaint.start();
}

frmTileViewer::~frmTileViewer() = default;

void frmTileViewer::createPicture()
{
    using controls::Place;
    QWidget *c = client();
    picTileViewer = new controls::PictureBox(c, 120, 120, 5820, 3420);
    picTileViewer->setFocusPolicy(Qt::StrongFocus);
    picTileViewer->setAccessibleName(QStringLiteral("Tiles"));
    connect(picTileViewer, &controls::PictureBox::keyPress, this, &frmTileViewer::picTileViewer_KeyPress);
}

void frmTileViewer::createNavigation()
{
    using controls::Place;
    QWidget *c = client();
    // A row's buttons follow its caption and value, left to right.
    auto placeButtons = [this, c](int top) {
        for (const NavigationButton &n : kNavigationButtons) {
            if (n.top != top)
                continue;
            QPushButton *b = this->*n.button = Place<QPushButton>(c, kColumns[n.column], top, kColumnWidths[n.column],
                                                                  kRowHeight, QString::fromLatin1(n.caption));
            b->setToolTip(QString::fromLatin1(n.tip));
            b->setAutoDefault(false);
            b->setEnabled(false);
            connect(b, &QPushButton::clicked, this, n.click);
        }
    };
    lblWidth1 = Place<QLabel>(c, 120, kWidthRowTop, 1095, kRowHeight, QStringLiteral("Width (tiles):"));
    lblWidth = Place<controls::ChangeLabel>(c, 1260, kWidthRowTop, 735, kRowHeight);
    placeButtons(kWidthRowTop);
    lblOffset1 = Place<QLabel>(c, 120, kOffsetRowTop, 1095, kRowHeight, QStringLiteral("Offset (bytes):"));
    lblOffset = Place<controls::ChangeLabel>(c, 1260, kOffsetRowTop, 735, kRowHeight);
    placeButtons(kOffsetRowTop);

    for (QLabel *l : {lblWidth1, lblOffset1, static_cast<QLabel *>(lblWidth), static_cast<QLabel *>(lblOffset)})
        l->setEnabled(false);
    lblWidth->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblOffset->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblWidth->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblOffset->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    connect(lblWidth, &controls::ChangeLabel::captionChanged, this, &frmTileViewer::lblWidth_Change);
}

void frmTileViewer::createOptions()
{
    using controls::Place;
    QWidget *c = client();
    optDspMode[0] = Place<QRadioButton>(c, 120, 4500, 3000, kRowHeight, QStringLiteral("Nintendo Virtual Boy Tile (2 bit)"));
    optDspMode[1] = Place<QRadioButton>(c, 120, 4800, 3000, kRowHeight, QStringLiteral("Nintendo Virtual Boy Linear (2 bit)"));
    // The display mode can't be changed: both options stay disabled.
    for (QRadioButton *option : optDspMode)
        option->setEnabled(false);

    chkAutoUpdate = Place<QCheckBox>(c, 3240, 4500, 2640, kRowHeight, QStringLiteral("Auto-Update Display"));
    chkAutoUpdate->setEnabled(false);
    cmdUpdate = Place<controls::CommandButton>(c, 3240, 4800, 2700, 555, QStringLiteral("Update Screen"));
    cmdUpdate->setToolTip(QStringLiteral("Update image on screen"));
    cmdUpdate->setAutoDefault(false);
    cmdUpdate->setEnabled(false);

    // The swatches, with the palette button to their right.
    const struct {
        controls::PictureBox **swatch;
        const char *tip;
    } swatches[] = {{&picCol1, "Bright Red"}, {&picCol2, "Light Red"}, {&picCol3, "Dark Red"}, {&picCol4, "Black"}};
    int left = 120;
    for (const auto &s : swatches) {
        *s.swatch = new controls::PictureBox(c, left, 5100, 285, 285);
        (*s.swatch)->setToolTip(QString::fromLatin1(s.tip));
        left += 360;
    }
    cmdChangePalette = Place<QPushButton>(c, left, 5085, 855, 315, QStringLiteral("Palette"));
    cmdChangePalette->setToolTip(QStringLiteral("Change palette..."));
    cmdChangePalette->setAutoDefault(false);

    connect(optDspMode[0], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optDspMode_Click(0);
    });
    connect(chkAutoUpdate, &QCheckBox::toggled, this, &frmTileViewer::chkAutoUpdate_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmTileViewer::cmdUpdate_Click);
    connect(cmdChangePalette, &QPushButton::clicked, this, &frmTileViewer::cmdChangePalette_Click);
}

void frmTileViewer::createHiddenState()
{
    QWidget *c = client();
    for (QLabel **hidden : {&lblFilename, &lblFileLen, &lblRomLabel, &lblGotoWhat}) {
        *hidden = new QLabel(c);
        (*hidden)->setVisible(false);
    }
    txtHelp = new QPlainTextEdit(c);
    txtHelp->setVisible(false);
    txtHelp->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    registerTileViewerResources();
    QFile text(QStringLiteral(":/tiles/TileViewerHelp.txt"));
    if (text.open(QIODevice::ReadOnly))
        txtHelp->setPlainText(QString::fromUtf8(text.readAll()));
    help::RegisterSource(QStringLiteral("Tile View"), txtHelp);
}

void frmTileViewer::createMenus()
{
    using controls::AddMenuItem;
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileOpen = AddMenuItem(mnuFile, QStringLiteral("&Open ROM..."), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                              &frmTileViewer::mnuFileOpen_Click);
    mnuFileClose = AddMenuItem(mnuFile, QStringLiteral("&Close ROM"), QKeySequence(), this,
                               &frmTileViewer::mnuFileClose_Click);
    mnuFileSep1 = mnuFile->addSeparator();
    m_recentMenu = std::make_unique<RecentRomMenu>(mnuFile, [this](int index) { mnuFileRecent_Click(index); });
    mnuFileRecent = m_recentMenu->submenu();
    mnuFileSep2 = m_recentMenu->separator();
    for (int n = 0; n < RecentRomList::kCapacity; ++n)
        mnuFileRecentItems[size_t(n)] = m_recentMenu->item(n);
    mnuFileBack = AddMenuItem(mnuFile, QStringLiteral("&Back to main menu"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                              &frmTileViewer::mnuFileBack_Click);

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEditCopy = AddMenuItem(mnuEdit, QStringLiteral("&Copy to clipboard"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                              &frmTileViewer::mnuEditCopy_Click);
    mnuEditSave = AddMenuItem(mnuEdit, QStringLiteral("&Save to bitmap..."), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                              &frmTileViewer::mnuEditSave_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelpHelp = AddMenuItem(mnuHelp, QStringLiteral("ROM Tile Viewer &Help..."), QKeySequence(Qt::Key_F1), this,
                              &frmTileViewer::mnuHelpHelp_Click);

    for (QAction *a : {mnuFileClose, mnuEditCopy, mnuEditSave})
        a->setEnabled(false);
    RecentRoms.setView([this] { m_recentMenu->redraw(RecentRoms); });
}

// --- Load step and settings --------------------------------------------------

void frmTileViewer::Form_Load()
{
    // What the load step saves reaches the store file in one write.
    const registry::BatchWrite oneWrite;
    GetRegistry();
    colourSwatches();
    chkAutoUpdate->setChecked(AutoUpdate);
    optDspMode[0]->setChecked(true);
    lblWidth->setCaption(QStringLiteral("48"));
    lblOffset->setCaption(QStringLiteral("0"));
    ViewWidth = 48;
    UpdateRecentMenu();
}

void frmTileViewer::Form_Unload(bool &cancel)
{
    // A redraw is reading the window: the close waits until it has unwound.
    if (m_walk == Walk::None)
        return;
    cancel = true;
    m_walk = Walk::StopAndClose;
}

void frmTileViewer::GetRegistry()
{
    BaseDirectory = settings::Get(QStringLiteral("Base Directory"), DefaultFolder());
    AutoUpdate = settings::GetBoolean(QStringLiteral("AutoUpdate Viewer"), false);
    // A shade outside 0-255 reads as its default.
    tilepalette::SetMemberValues(*this, tilepalette::Read(tilepalette::kVbPalette));
    TileDisplayMode = settings::GetInteger(QStringLiteral("Tile Display Mode"), 0, 0, 1);
    RecentRoms.GetRegistry();
}

void frmTileViewer::SaveRegistry()
{
    const registry::BatchWrite oneWrite;
    settings::SaveBoolean(QStringLiteral("AutoUpdate Viewer"), AutoUpdate);
    settings::SaveInteger(QStringLiteral("Tile Display Mode"), TileDisplayMode);
}

void frmTileViewer::colourSwatches()
{
    picCol1->setBackColor(controls::RGB(WhiteTileRed, WhiteTileGreen, WhiteTileBlue));
    picCol2->setBackColor(controls::RGB(LGreyTileRed, LGreyTileGreen, LGreyTileBlue));
    picCol3->setBackColor(controls::RGB(DGreyTileRed, DGreyTileGreen, DGreyTileBlue));
    picCol4->setBackColor(controls::RGB(BlackTileRed, BlackTileGreen, BlackTileBlue));
}

void frmTileViewer::UpdateRecentMenu()
{
    RecentRoms.refresh();
}

// --- Loading ------------------------------------------------------------------

void frmTileViewer::LoadRomFile(const QString &path)
{
    CheckedImage checked = CheckVbRomImage(path);
    if (checked.result != RomCheck::Ok) {
        RecentRoms.RemoveRecentFile(path);
        mainwindow::dlgZandrel().FileName.clear();
        return;
    }
    // A walk still reads its own reference to the image it started with.
    RomData = std::move(checked.image);
    RomLength = int32_t(RomData.size());
    // The length label always goes with the image (the engine reads it as such).
    lblFileLen->setText(QString::number(RomLength));
    // Paths keep their blanks: a Linux file name may end in one.
    RecentRoms.AddRecentFile(path);
    const QByteArray title = VbRomHeader::read(RomData)->title;
    lblRomLabel->setText(QString::fromLatin1(title));
    setWindowTitle(titleCaption(title));
}

void frmTileViewer::mnuFileOpen_Click()
{
    const QString path = mainwindow::AskFileName(commondialog::Kind::Open, RomFileFilter, BaseDirectory, this);
    if (path.isEmpty())
        return;
    LoadRomFile(path);
    finishLoad();
}

void frmTileViewer::mnuFileRecent_Click(int index)
{
    const QString path = RecentRoms.entry(index);
    if (!paths::IsFile(path)) {
        RecentRoms.RemoveRecentFile(path);
        return;
    }
    mainwindow::dlgZandrel().FileName = path;
    LoadRomFile(path);
    finishLoad();
}

void frmTileViewer::finishLoad()
{
    commondialog::CommonDialog &dialog = mainwindow::dlgZandrel();
    if (dialog.FileName.isEmpty()) {
        mnuFileClose_Click();
        return;
    }
    lblFilename->setText(dialog.FileName);
    dialog.FileName.clear();

    m_imageOpen = true;
    // A walk of the image shown before stops; the new one is drawn afresh.
    stopWalk();
    for (QAction *a : {mnuFileClose, mnuEditCopy, mnuEditSave})
        a->setEnabled(true);
    for (QWidget *w : std::initializer_list<QWidget *>{lblWidth1, lblWidth, lblOffset1, lblOffset})
        w->setEnabled(true);
    setNavigationEnabled(true);
    if (autoUpdateValue() == 0)
        cmdUpdate->setEnabled(true);
    chkAutoUpdate->setEnabled(true);
    picTileViewer->setBackColor(kLoadedBackground);
    lblOffset->setCaption(QStringLiteral("0"));
    if (autoUpdateValue() == 1)
        RedrawTiles();
}

void frmTileViewer::mnuFileClose_Click()
{
    m_imageOpen = false;
    stopWalk();
    for (QAction *a : {mnuFileClose, mnuEditCopy, mnuEditSave})
        a->setEnabled(false);
    picTileViewer->surface().Cls();
    setNavigationEnabled(false);
    cmdUpdate->setEnabled(false);
    chkAutoUpdate->setEnabled(false);
}

void frmTileViewer::mnuFileBack_Click()
{
    close();
}

void frmTileViewer::setNavigationEnabled(bool enabled)
{
    for (const NavigationButton &n : kNavigationButtons)
        (this->*n.button)->setEnabled(enabled);
}

// --- Edit menu ------------------------------------------------------------------

void frmTileViewer::mnuEditCopy_Click()
{
    QGuiApplication::clipboard()->setImage(picTileViewer->surface().image());
    msgbox::MsgBox(QStringLiteral("Image copied to clipboard."), msgbox::vbOKOnly | msgbox::vbInformation,
                   QStringLiteral("Copied to clipboard"));
}

void frmTileViewer::mnuEditSave_Click()
{
    const QString path = mainwindow::AskFileName(commondialog::Kind::Save, kBitmapFilter, BaseDirectory, this);
    if (path.isEmpty() || !filemessages::MayReplace(path))
        return;

    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    if (!picTileViewer->surface().image().save(&buffer, "BMP")) {
        filemessages::ReportNotSaved(path, QStringLiteral("The picture could not be made into a bitmap."));
        return;
    }
    // The name chosen is written as it is: a link of that name carries the
    // save to the file it points to.
    if (const auto failure = savefile::SaveWhole(path, bitmap, savefile::Links::WriteThrough)) {
        filemessages::ReportNotSaved(path, failure->reason);
        return;
    }
    msgbox::MsgBox(QStringLiteral("Image saved to file:") + CR + path, msgbox::vbOKOnly | msgbox::vbInformation,
                   QStringLiteral("Saved to file"));
}

void frmTileViewer::mnuHelpHelp_Click()
{
    help::ShowTopic(QStringLiteral("Tile View"));
}

// --- Update, palette, display mode -------------------------------------------

int frmTileViewer::autoUpdateValue() const
{
    return chkAutoUpdate->isChecked() ? 1 : 0;
}

void frmTileViewer::chkAutoUpdate_Click()
{
    // The load step ticks the box from the setting before any image is open:
    // nothing to store or draw then.
    if (!m_imageOpen)
        return;
    const bool ticked = chkAutoUpdate->isChecked();
    cmdUpdate->setEnabled(!ticked);
    AutoUpdate = ticked;
    SaveRegistry();
    if (ticked)
        RedrawTiles();
}

void frmTileViewer::cmdUpdate_Click()
{
    RedrawTiles();
}

void frmTileViewer::cmdChangePalette_Click()
{
    frmPalette palette(this);
    forms::ShowModal(palette);
    GetRegistry();
    colourSwatches();
    // A closed image stays closed: nothing is drawn for it.
    if (autoUpdateValue() == 1 && m_imageOpen)
        RedrawTiles();
}

void frmTileViewer::optDspMode_Click(int index)
{
    TileDisplayMode = int16_t(index);
    SaveRegistry();
    lblWidth1->setText(QStringLiteral("Width (tiles)"));
    lblWidth->setCaption(vb::CStr(std::floor(vb::Val(lblWidth->caption()) / 8)));
    if (autoUpdateValue() == 1 && m_imageOpen)
        RedrawTiles();
}

void frmTileViewer::lblWidth_Change()
{
    ViewWidth = vb::CInt(vb::Val(lblWidth->caption())).value_or(ViewWidth);
}

void frmTileViewer::picTileViewer_KeyPress(int keyAscii)
{
    msgbox::MsgBox(QString::number(keyAscii));
}

// --- Redrawing ----------------------------------------------------------------

void frmTileViewer::runRoad(const std::function<void()> &road)
{
    try {
        road();
    } catch (const VbError &e) {
        msgbox::MsgBox(QStringLiteral("The picture could not be drawn:") + CR + e.description, msgbox::vbExclamation,
                       QStringLiteral("Tile viewer"));
    }
}

void frmTileViewer::RedrawTiles()
{
    if (m_walk != Walk::None) {
        // Never a redraw inside a redraw: the walk stops, this one follows it,
        // unless the window is closing.
        if (m_walk != Walk::StopAndClose)
            m_walk = Walk::StopAndRedraw;
        return;
    }
    do {
        m_walk = Walk::Running;
        runRoad([this] { tiles::RedrawTiles(*m_seam); });
    } while (m_walk == Walk::StopAndRedraw && m_imageOpen);
    const bool closeNow = m_walk == Walk::StopAndClose;
    m_walk = Walk::None;
    picTileViewer->update();
    if (closeNow)
        close();
}

void frmTileViewer::stopWalk()
{
    if (m_walk == Walk::Running)
        m_walk = Walk::Stop;
}

void frmTileViewer::RedrawTilesBuffered()
{
    runRoad([this] { tiles::RedrawTilesBuffered(*m_seam, *m_screen); });
}

QString frmTileViewer::RedrawTilesLibrary()
{
    QString timing;
    runRoad([this, &timing] { timing = tiles::RedrawTilesLibrary(*m_seam, *m_screen); });
    return timing;
}

void frmTileViewer::BlitOnly()
{
    runRoad([this] { tiles::BlitOnly(*m_seam, *m_screen); });
}

void frmTileViewer::redrawWhenAutoUpdating()
{
    if (autoUpdateValue() == 1)
        RedrawTiles();
}

// --- Navigation -----------------------------------------------------------------

void frmTileViewer::moveOffsetBack(double step)
{
    lblOffset->setCaption(vb::CStr(vb::Val(lblOffset->caption()) - step));
    if (vb::Val(lblOffset->caption()) < 0)
        lblOffset->setCaption(QStringLiteral("0"));
    redrawWhenAutoUpdating();
}

void frmTileViewer::moveOffsetForward(double step, int lastTileBytes)
{
    lblOffset->setCaption(vb::CStr(vb::Val(lblOffset->caption()) + step));
    const double last = vb::TextToDouble(lblFileLen->text()).value_or(0) - lastTileBytes;
    if (last < vb::Val(lblOffset->caption()))
        lblOffset->setCaption(vb::CStr(last));
    redrawWhenAutoUpdating();
}

void frmTileViewer::cmdOffsetDown_Click() { moveOffsetBack(1); }
void frmTileViewer::cmdOffsetUp_Click() { moveOffsetForward(1, 1); }
void frmTileViewer::cmdOffsetDownTile_Click() { moveOffsetBack(kTileBytes); }
void frmTileViewer::cmdOffsetUpTile_Click() { moveOffsetForward(kTileBytes, kTileBytes); }
void frmTileViewer::cmdUp_Click() { moveOffsetBack(vb::Val(lblWidth->caption()) * kTileBytes); }
void frmTileViewer::cmdDown_Click() { moveOffsetForward(vb::Val(lblWidth->caption()) * kTileBytes, kTileBytes); }
void frmTileViewer::cmdPageUp_Click() { moveOffsetBack(vb::Val(lblWidth->caption()) * kTileBytes * kScreenRows); }
void frmTileViewer::cmdPageDown_Click()
{
    moveOffsetForward(vb::Val(lblWidth->caption()) * kTileBytes * kScreenRows, kTileBytes);
}

void frmTileViewer::setWidth(double width)
{
    lblWidth->setCaption(vb::CStr(width));
    ViewWidth = vb::CInt(vb::Val(lblWidth->caption())).value_or(ViewWidth);
}

void frmTileViewer::cmdTileLeft_Click()
{
    const double w = vb::Val(lblWidth->caption()) - 1;
    setWidth(w < 1 ? 1 : w);
    redrawWhenAutoUpdating();
}

void frmTileViewer::cmdTileRight_Click()
{
    const double w = vb::Val(lblWidth->caption()) + 1;
    setWidth(w > kMaxWidth ? kMaxWidth : w);
    redrawWhenAutoUpdating();
}

void frmTileViewer::cmdTileDouble_Click()
{
    const double w = vb::Val(lblWidth->caption()) * 2;
    setWidth(w > kMaxWidth ? kMaxWidth : w);
    redrawWhenAutoUpdating();
}

void frmTileViewer::cmdTileHalf_Click()
{
    // Rounded first (halves to even), then halved toward zero.
    const int32_t whole = vb::CLng(vb::Val(lblWidth->caption())).value_or(1);
    setWidth(whole / 2);
    if (vb::Val(lblWidth->caption()) < 1)
        setWidth(1);
    redrawWhenAutoUpdating();
}

// --- Go-to dialog -----------------------------------------------------------------

void frmTileViewer::showGoto(const QString &what)
{
    lblGotoWhat->setText(what);
    const bool width = what == QLatin1String("Width");
    frmGoto dialog(what, width ? lblWidth->caption() : lblOffset->caption(), lblFileLen->text(), this);
    forms::ShowModal(dialog);
    if (const std::optional<QString> accepted = dialog.accepted())
        (width ? lblWidth : lblOffset)->setCaption(*accepted);
    // Either button closes it; the view follows when auto-update is on.
    redrawWhenAutoUpdating();
}

void frmTileViewer::cmdGotoOffset_Click()
{
    showGoto(QStringLiteral("Offset"));
}

void frmTileViewer::cmdGotoWidth_Click()
{
    showGoto(QStringLiteral("Width"));
}
