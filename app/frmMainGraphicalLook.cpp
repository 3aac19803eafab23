// The main window's graphical look: the picture surface with its precaution
// screen, title screen and image menu, the power switch and its lamp.

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QTimer>

#include "Controls.h"
#include "MenuPictures.h"
#include "MsgBox.h"
#include "frmMain.h"

namespace {

namespace mp = menupictures;
using controls::ImageControl;

constexpr int kSurfaceWidth = 5760;
constexpr int kSurfaceHeight = 3360;
constexpr int16_t kPowerOut = 3;

frmMain::PictureStore storeOf(mp::Button button, mp::ButtonLook look)
{
    return {mp::button(button, look, 0), mp::button(button, look, 1)};
}

bool entryEnabled(const QObject *entry)
{
    if (const auto *action = qobject_cast<const QAction *>(entry))
        return action->isEnabled();
    const auto *widget = qobject_cast<const QWidget *>(entry);
    return widget && widget->isEnabled();
}

QString captionOf(const QObject *entry)
{
    QString caption;
    if (const auto *action = qobject_cast<const QAction *>(entry))
        caption = action->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(entry))
        caption = button->text();
    return caption.remove(QLatin1Char('&'));
}

} // namespace

void frmMain::createPictureMenu()
{
    auto place = [this](int left, int top, int width, int height, const controls::Picture &picture) {
        auto *image = controls::Place<ImageControl>(client(), left, top, width, height);
        image->setPicture(picture);
        image->hide();
        return image;
    };
    // Created bottom to top: the screens, the lamp, then the buttons.
    for (int16_t v : {0, 1}) {
        imgMenu[v] = place(0, 0, kSurfaceWidth, kSurfaceHeight, mp::screen(mp::Screen::Menu, v));
        imgTitle[v] = place(0, 0, kSurfaceWidth, kSurfaceHeight, mp::screen(mp::Screen::Title, v));
        imgPrecaution[v] = place(0, 0, kSurfaceWidth, kSurfaceHeight, mp::screen(mp::Screen::Precaution, v));
        connect(imgPrecaution[v], &ImageControl::clicked, this, [this, v] { imgPrecaution_Click(v); });
        connect(imgTitle[v], &ImageControl::clicked, this, [this, v] { imgTitle_Click(v); });
        connect(imgMenu[v], &ImageControl::clicked, this, [this, v] { imgMenu_Click(v); });
        connect(imgMenu[v], &ImageControl::hovered, this, [this, v] { imgMenu_MouseMove(v); });
    }
    for (int16_t v : {0, 1}) {
        imgLowBat[v] = place(5040, 0, 360, 240, mp::lowBattery(v));
        connect(imgLowBat[v], &ImageControl::clicked, this, [this, v] { imgLowBat_Click(v); });
        connect(imgLowBat[v], &ImageControl::hovered, this, [this, v] { imgLowBat_MouseMove(v); });
    }
    createImageButtons();
    imgPointer = {mp::pointer(0), mp::pointer(1)};

    tmrLowBat = new QTimer(this);
    tmrLowBat->setInterval(500);
    connect(tmrLowBat, &QTimer::timeout, this, &frmMain::tmrLowBat_Timer);
}

void frmMain::createImageButtons()
{
    struct Layout {
        ImageControl *frmMain::*control;
        PictureStore frmMain::*highlighted;
        PictureStore frmMain::*normal;
        mp::Button artwork;
        int left, top, width, height;
        QObject *entry;
        void (frmMain::*click)();
        void (frmMain::*mouseMove)();
        const char *toolTip;
    };
    using F = frmMain;
    const Layout layouts[] = {
        {&F::imgPower, &F::imgPowerEnabled, &F::imgPowerDisabled, mp::Button::Power, 0, 0, 240, 240, nullptr,
         &F::imgPower_Click, &F::imgPower_MouseMove, "Don't Click Me..."},
        {&F::imgClose, &F::imgCloseEnabled, &F::imgCloseDisabled, mp::Button::Close, 5520, 0, 240, 240, mnuFileQuit,
         &F::imgClose_Click, &F::imgClose_MouseMove, "Quit Zandrel Utils..."},
        {&F::imgHelp, &F::imgHelpEnabled, &F::imgHelpDisabled, mp::Button::Help, 0, 3120, 240, 240, mnuHelpHelp,
         &F::imgHelp_Click, &F::imgHelp_MouseMove, "Zandrel Utils Help..."},
        {&F::imgAbout, &F::imgAboutEnabled, &F::imgAboutDisabled, mp::Button::About, 5520, 3120, 240, 240,
         mnuHelpAbout, &F::imgAbout_Click, &F::imgAbout_MouseMove, "About Zandrel Utils..."},
        {&F::imgRomInfo, &F::imgRomInfoEnabled, &F::imgRomInfoDisabled, mp::Button::RomInfo, 1200, 1920, 1065, 465,
         cmdRomInfo, &F::imgRomInfo_Click, &F::imgRomInfo_MouseMove, nullptr},
        {&F::imgTileViewer, &F::imgTileViewerEnabled, &F::imgTileViewerDisabled, mp::Button::TileViewer, 2400, 1920,
         1065, 465, cmdTileViewer, &F::imgTileViewer_Click, &F::imgTileViewer_MouseMove, nullptr},
        {&F::imgVbRomDatabase, &F::imgVbRomDatabaseEnabled, &F::imgVbRomDatabaseDisabled, mp::Button::VbRomDatabase,
         3600, 1920, 1065, 465, cmdRomDatabase, &F::imgVbRomDatabase_Click, &F::imgVbRomDatabase_MouseMove, nullptr},
        {&F::imgEmus, &F::imgEmusEnabled, &F::imgEmusDisabled, mp::Button::Emus, 1200, 2520, 1065, 465, cmdEmus,
         &F::imgEmus_Click, &F::imgEmus_MouseMove, nullptr},
        {&F::imgUtils, &F::imgUtilsEnabled, &F::imgUtilsDisabled, mp::Button::Utils, 2400, 2520, 1065, 465, cmdUtils,
         &F::imgUtils_Click, &F::imgUtils_MouseMove, nullptr},
        {&F::imgOptions, &F::imgOptionsEnabled, &F::imgOptionsDisabled, mp::Button::Options, 3600, 2520, 1065, 465,
         cmdOptions, &F::imgOptions_Click, &F::imgOptions_MouseMove, nullptr},
    };
    static_assert(std::size(layouts) == std::tuple_size_v<decltype(m_imageButtons)>);

    for (size_t i = 0; i < std::size(layouts); ++i) {
        const Layout &layout = layouts[i];
        auto *control = controls::Place<ImageControl>(client(), layout.left, layout.top, layout.width, layout.height);
        control->hide();
        control->setFocusPolicy(Qt::TabFocus);
        if (layout.toolTip)
            control->setToolTip(QString::fromUtf8(layout.toolTip));
        control->setAccessibleName(layout.entry ? captionOf(layout.entry) : control->toolTip());
        connect(control, &ImageControl::clicked, this, layout.click);
        connect(control, &ImageControl::hovered, this, layout.mouseMove);

        this->*layout.control = control;
        this->*layout.highlighted = storeOf(layout.artwork, mp::ButtonLook::Highlighted);
        this->*layout.normal = storeOf(layout.artwork, mp::ButtonLook::Normal);
        m_imageButtons[i] = {control, &(this->*layout.highlighted), &(this->*layout.normal),
                             storeOf(layout.artwork, mp::ButtonLook::Disabled), layout.entry};
    }
}

int frmMain::pictureSet() const
{
    return m_settings.VbThemeColours ? 1 : 0;
}

void frmMain::enterGraphicalLayout()
{
    setClientSizeTwips(kSurfaceWidth, kSurfaceHeight);
    setClassicControlsVisible(false);
    const QPoint hotSpot = mp::pointerHotSpot();
    setCursor(QCursor(imgPointer[pictureSet()].render(devicePixelRatioF()), hotSpot.x(), hotSpot.y()));
}

void frmMain::applyGraphicalLookAtLoad()
{
    enterGraphicalLayout();
    ImageControl *precaution = imgPrecaution[pictureSet()];
    precaution->show();
    // Space or Enter steps through the screens for keyboard users.
    precaution->setFocus();
}

void frmMain::applyGraphicalLookAfterOptions()
{
    const int v = pictureSet();
    enterGraphicalLayout();
    centre();
    showImageButtons();
    // Straight to the menu, whatever screen was up before.
    for (int16_t i : {0, 1}) {
        imgPrecaution[i]->hide();
        imgTitle[i]->hide();
    }
    imgMenu[v]->show();
    imgMenu[1 - v]->hide();
    hideButtonsWithoutEntries();
}

void frmMain::showImageButtons()
{
    for (const ImageButton &button : m_imageButtons) {
        button.control->show();
        // A button is as available as the classic entry it stands for.
        button.control->setEnabled(!button.entry || entryEnabled(button.entry));
    }
    lightImageButton(nullptr);
}

void frmMain::hideButtonsWithoutEntries()
{
    if (!m_settings.anyEmulatorEnabled()) {
        mnuFileEmus->setEnabled(false);
        imgEmus->hide();
    }
    if (!m_settings.anyToolEnabled()) {
        mnuFileUtils->setEnabled(false);
        imgUtils->hide();
    }
}

void frmMain::hidePictureSurface()
{
    for (int16_t i : {0, 1}) {
        imgPrecaution[i]->hide();
        imgTitle[i]->hide();
        imgMenu[i]->hide();
    }
    for (const ImageButton &button : m_imageButtons)
        button.control->hide();
}

void frmMain::lightImageButton(const ImageControl *lit)
{
    const int v = pictureSet();
    for (const ImageButton &button : m_imageButtons) {
        button.control->setPicture(button.control == lit ? (*button.highlighted)[v] : (*button.normal)[v]);
        button.control->setDisabledPicture(button.unavailable[v]);
    }
}

bool frmMain::quitWhenPowerIsOut()
{
    if (PowerState != kPowerOut)
        return false;
    mnuFileQuit_Click();
    return true;
}

void frmMain::runEntry(QObject *entry)
{
    // A disabled entry ignores both calls, as it ignores the user.
    if (auto *action = qobject_cast<QAction *>(entry))
        action->trigger();
    else if (auto *button = qobject_cast<QAbstractButton *>(entry))
        button->click();
}

void frmMain::imgPrecaution_Click(int16_t Index)
{
    imgTitle[Index]->show();
    imgTitle[Index]->setFocus();
    imgPrecaution[Index]->hide();
}

void frmMain::imgTitle_Click(int16_t Index)
{
    imgMenu[Index]->show();
    imgTitle[Index]->hide();
    showImageButtons();
    hideButtonsWithoutEntries();
}

void frmMain::imgMenu_Click(int16_t)
{
    quitWhenPowerIsOut();
}

void frmMain::imgLowBat_Click(int16_t)
{
    quitWhenPowerIsOut();
}

void frmMain::imgPower_Click()
{
    if (quitWhenPowerIsOut())
        return;
    struct Warning {
        QString prompt;
        int style;
        QString title;
        QString toolTip;
    };
    static const Warning warnings[] = {
        {QStringLiteral("CAUTION: Do not click this button, as this may shorten the life of the batteries\r"
                        "and cause battery backed-up Utility Apps to lose their stored information."),
         msgbox::vbInformation, QStringLiteral("Don't click me"), QStringLiteral("Please Don't Click Me...")},
        {QStringLiteral("I said not to click this button!"), msgbox::vbExclamation,
         QStringLiteral("Please don't click me"), QStringLiteral("DON'T CLICK ME!!!...")},
        {QStringLiteral("ALRIGHT!!! NOW YOU'VE DONE IT!!!"), msgbox::vbInformation, QStringLiteral("DON'T CLICK ME!!!"),
         QStringLiteral("TOO LATE!!!")},
    };
    const Warning &warning = warnings[PowerState];
    msgbox::MsgBox(warning.prompt, warning.style, warning.title);
    imgPower->setToolTip(warning.toolTip);
    if (PowerState == kPowerOut - 1)
        tmrLowBat->start();
    ++PowerState;
}

void frmMain::imgClose_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(mnuFileQuit);
}

void frmMain::imgHelp_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(mnuHelpHelp);
}

void frmMain::imgAbout_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(mnuHelpAbout);
}

void frmMain::imgRomInfo_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(cmdRomInfo);
}

void frmMain::imgTileViewer_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(cmdTileViewer);
}

void frmMain::imgVbRomDatabase_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(cmdRomDatabase);
}

void frmMain::imgEmus_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(cmdEmus);
}

void frmMain::imgUtils_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(cmdUtils);
}

void frmMain::imgOptions_Click()
{
    if (!quitWhenPowerIsOut())
        runEntry(cmdOptions);
}

void frmMain::imgPower_MouseMove() { lightImageButton(imgPower); }
void frmMain::imgClose_MouseMove() { lightImageButton(imgClose); }
void frmMain::imgHelp_MouseMove() { lightImageButton(imgHelp); }
void frmMain::imgAbout_MouseMove() { lightImageButton(imgAbout); }
void frmMain::imgRomInfo_MouseMove() { lightImageButton(imgRomInfo); }
void frmMain::imgTileViewer_MouseMove() { lightImageButton(imgTileViewer); }
void frmMain::imgVbRomDatabase_MouseMove() { lightImageButton(imgVbRomDatabase); }
void frmMain::imgEmus_MouseMove() { lightImageButton(imgEmus); }
void frmMain::imgUtils_MouseMove() { lightImageButton(imgUtils); }
void frmMain::imgOptions_MouseMove() { lightImageButton(imgOptions); }
void frmMain::imgMenu_MouseMove(int16_t) { lightImageButton(nullptr); }
void frmMain::imgLowBat_MouseMove(int16_t) { lightImageButton(nullptr); }

void frmMain::tmrLowBat_Timer()
{
    ImageControl *lamp = imgLowBat[pictureSet()];
    lamp->setHidden(!lamp->isHidden());
}
