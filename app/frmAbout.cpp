#include "frmAbout.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "Controls.h"
#include "ControllerPicture.h"
#include "ImageControl.h"
#include "MsgBox.h"

namespace {

using msgbox::CR;

constexpr int vbLeftButton = 1;
constexpr int vbRightButton = 2;
constexpr int vbMiddleButton = 4;

int classicButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return vbLeftButton;
    case Qt::RightButton: return vbRightButton;
    case Qt::MiddleButton: return vbMiddleButton;
    default: return 0;
    }
}

int classicShift(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
         | (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : Form(parent)
{
    using controls::ImageControl;
    using controls::Place;
    setWindowTitle(QStringLiteral("About Zandrel Utilities..."));
    setClientSizeTwips(4440, 4800);

    imgVBControl2 = Place<ImageControl>(client(), 120, 120, 1920, 1920);
    imgVBControl2->setPicture(controllerpicture::controller(true));
    imgVBControl2->hide();
    imgVBControl3 = Place<ImageControl>(client(), 120, 120, 1920, 1920);
    imgVBControl3->setPicture(controllerpicture::controller(false));
    imgVBControl3->hide();
    imgVBControl = Place<ImageControl>(client(), 120, 120, 1920, 1920);
    imgVBControl->setPicture(imgVBControl3->picture());
    imgVBControl->setAccessibleName(QStringLiteral("Virtual Boy controller"));

    auto label = [this](int left, int top, int width, int height, const QString &text) {
        auto *l = Place<QLabel>(client(), left, top, width, height, text);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    lblZandrel = label(2160, 120, 1575, 255, QStringLiteral("Zandrel Utilities 0.9b"));
    lblCopyright = label(2160, 480, 2175, 255, QStringLiteral("\u00a9 The Zandrel developers"));
    lblNickname = label(2640, 720, 1695, 255, QStringLiteral("(Zandrel Utils team)"));
    lblEmail = label(2160, 960, 2175, 255, QStringLiteral("zandrel-utils@example.org"));
    lblForUse = label(2160, 1440, 2175, 495, QStringLiteral("For use with Nintendo Virtual Boy Game Pak ROM images."));
    lblIHope = label(120, 2100, 4215, 495,
                     QStringLiteral("Made in the hopes that someone will eventually make a fully functional "
                                    "Virtual Boy emulator."));
    lblFreeware = label(120, 2640, 4215, 375, QStringLiteral("Zandrel Utilities is free to use and to share."));
    lblThanksTo = label(120, 3060, 4215, 1335,
                        QStringLiteral("Thanks to everyone who took the Virtual Boy apart and wrote down how it "
                                       "works, to the people behind its emulators and development tools, to the "
                                       "collectors who preserved its games, and to all who tested this program :)"));
    cmdOK = Place<QPushButton>(client(), 120, 4320, 4215, 375, QStringLiteral("OK"));
    QFont bold = cmdOK->font();
    bold.setBold(true);
    cmdOK->setFont(bold);
    cmdOK->setDefault(true);
    setCancelButton(cmdOK); // OK is the box's only way out: Escape takes it too
    controls::FitCaptions(client());

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(imgVBControl, &ImageControl::hovered, this, &frmAbout::imgVBControl_MouseMove);
    m_mouseMoveHandlers = {
        {cmdOK, &frmAbout::cmdOK_MouseMove},
        {client(), &frmAbout::Form_MouseMove},
        {lblZandrel, &frmAbout::lblZandrel_MouseMove},
        {lblCopyright, &frmAbout::lblCopyright_MouseMove},
        {lblNickname, &frmAbout::lblNickname_MouseMove},
        {lblEmail, &frmAbout::lblEmail_MouseMove},
        {lblForUse, &frmAbout::lblForUse_MouseMove},
        {lblIHope, &frmAbout::lblIHope_MouseMove},
        {lblFreeware, &frmAbout::lblFreeware_MouseMove},
        {lblThanksTo, &frmAbout::lblThanksTo_MouseMove},
    };
    for (auto it = m_mouseMoveHandlers.cbegin(); it != m_mouseMoveHandlers.cend(); ++it) {
        auto *widget = static_cast<QWidget *>(it.key());
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    imgVBControl->installEventFilter(this);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        // A move a child did not take comes on to the form: it is the child's.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool fromChild = watched == client() && client()->childAt(mouse->position().toPoint());
        if (const auto handler = m_mouseMoveHandlers.value(watched); handler && !fromChild)
            (this->*handler)();
    } else if (event->type() == QEvent::MouseButtonRelease && watched == imgVBControl) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (imgVBControl->rect().contains(mouse->position().toPoint()))
            imgVBControl_MouseUp(classicButton(mouse->button()), classicShift(mouse->modifiers()),
                                 float(forms::Twips(1) * mouse->position().x()),
                                 float(forms::Twips(1) * mouse->position().y()));
    }
    return Form::eventFilter(watched, event);
}

void frmAbout::showLitPicture()
{
    imgVBControl->setPicture(imgVBControl2->picture());
}

void frmAbout::showPlainPicture()
{
    imgVBControl->setPicture(imgVBControl3->picture());
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::imgVBControl_MouseUp(int Button, int, float, float)
{
    using namespace msgbox;
    if (Button != vbRightButton)
        return;
    const int answer = MsgBox(QStringLiteral("Thanks again to everyone involved in") + CR
                                  + QStringLiteral("the emulation scene.   You guys rock!") + CR + CR
                                  + QStringLiteral("The Zandrel developers (Zandrel Utils team)"),
                              vbYesNo | vbInformation, QStringLiteral("Emulation rules! Thanks everyone!"));
    if (answer == vbNo)
        MsgBox(QStringLiteral("What do you mean no?!?!"), vbOKOnly, QStringLiteral("You selected no!"));
}
