#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <optional>

#include "ControllerPicture.h"
#include "ImageControl.h"
#include "TestSupport.h"
#include "frmAbout.h"

namespace {

// Moves the pointer over the widget: its middle, or a given point.
void mouseMove(QWidget *w, std::optional<QPointF> point = std::nullopt)
{
    const QPointF at = point.value_or(QPointF(w->width() / 2.0, w->height() / 2.0));
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void release(QWidget *w, Qt::MouseButton button)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent up(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

class AboutBox : public ::testing::Test {
protected:
    frmAbout about;
    void SetUp() override { about.load(); }
    bool lit() const { return about.imgVBControl->picture() == about.imgVBControl2->picture(); }
    bool plain() const { return about.imgVBControl->picture() == about.imgVBControl3->picture(); }
};

} // namespace

TEST_F(AboutBox, ThePictureLightsOverItselfAndTheOkButtonOnly)
{
    EXPECT_TRUE(plain());
    mouseMove(about.imgVBControl);
    EXPECT_TRUE(lit());
    mouseMove(about.cmdOK); // from the picture onto the button: still lit
    EXPECT_TRUE(lit());
    for (QLabel *label : {about.lblEmail, about.lblThanksTo, about.lblZandrel, about.lblFreeware}) {
        mouseMove(about.imgVBControl);
        mouseMove(label);
        EXPECT_TRUE(plain()) << label->text().toStdString();
    }
    mouseMove(about.imgVBControl);
    mouseMove(about.client(), QPointF(2, 2)); // the bare background
    EXPECT_TRUE(plain());
}

TEST_F(AboutBox, ARightClickOnThePictureThanksEveryoneAndNoGetsOneMoreBox)
{
    release(about.imgVBControl, Qt::RightButton); // answered Yes, the default
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    const msgbox::Call thanks = testsupport::messageBoxes().last();
    EXPECT_EQ(thanks.style, 68);
    EXPECT_EQ(thanks.title, QStringLiteral("Emulation rules! Thanks everyone!"));
    const QStringList lines = thanks.prompt.split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Thanks again to everyone involved in"));
    EXPECT_EQ(lines[1], QStringLiteral("the emulation scene.   You guys rock!"));
    EXPECT_TRUE(lines[2].isEmpty());
    EXPECT_FALSE(lines[3].isEmpty());

    testsupport::messageBoxes().answerNext(msgbox::vbNo);
    release(about.imgVBControl, Qt::RightButton);
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 3);
    const msgbox::Call no = testsupport::messageBoxes().last();
    EXPECT_EQ(no.style, 0);
    EXPECT_EQ(no.title, QStringLiteral("You selected no!"));
    EXPECT_EQ(no.prompt, QStringLiteral("What do you mean no?!?!"));
}

TEST_F(AboutBox, OtherButtonsAndOtherPlacesShowNoMessage)
{
    release(about.imgVBControl, Qt::LeftButton);
    release(about.imgVBControl, Qt::MiddleButton);
    release(about.lblThanksTo, Qt::RightButton);
    release(about.client(), Qt::RightButton);
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST_F(AboutBox, OkCloses)
{
    about.cmdOK->click();
    EXPECT_TRUE(about.isUnloaded());
}

TEST_F(AboutBox, EscapeClosesLikeOk)
{
    about.show();
    testsupport::pressKey(about.cmdOK, Qt::Key_Escape);
    EXPECT_TRUE(about.isUnloaded());
}

TEST(ControllerPicture, TwoDifferentPicturesSharpAtEveryPixelDensity)
{
    const controls::Picture plain = controllerpicture::controller(false);
    const controls::Picture lit = controllerpicture::controller(true);
    EXPECT_EQ(plain.size(), QSize(128, 128));
    EXPECT_EQ(lit.size(), QSize(128, 128));
    EXPECT_FALSE(plain == lit);
    EXPECT_NE(plain.render(1).toImage(), lit.render(1).toImage());
    const QPixmap sharp = plain.render(2);
    EXPECT_EQ(sharp.size(), QSize(256, 256));
    EXPECT_EQ(sharp.deviceIndependentSize().toSize(), QSize(128, 128));
}
