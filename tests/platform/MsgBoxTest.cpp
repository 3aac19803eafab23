// Real message boxes, shown and answered by a timer: how a person sees them.

#include "MsgBox.h"
#include "TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>
#include <functional>

namespace {

struct Shown {
    Qt::TextFormat format = Qt::AutoText;
    QRect frame;
};

// Shows one real box with `prompt` and reports how it looked.
Shown showRealBox(const QString &prompt)
{
    Shown shown;
    msgbox::SetResponder({});
    // Should the assertion below stop the user's part, the box still closes.
    testsupport::ModalWindowTimeout timeout;
    QTimer::singleShot(0, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = {box->textFormat(), box->frameGeometry()};
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(msgbox::MsgBox(prompt, msgbox::vbExclamation, QStringLiteral("Title")), msgbox::vbOK);
    return shown;
}

// Shows a real box and plays `user` on it once it is up.
int answeredBy(const std::function<void(QWidget &)> &user, const std::function<int()> &show)
{
    msgbox::SetResponder({});
    testsupport::ModalWindowTimeout timeout;
    QTimer::singleShot(0, [user] {
        if (QWidget *box = QApplication::activeModalWidget())
            user(*box);
    });
    return show();
}

void pressKey(QWidget &box, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &press);
}

const int kQuestion = msgbox::vbYesNo | msgbox::vbQuestion | msgbox::vbDefaultButton2;

} // namespace

TEST(MsgBox, ANameInThePromptShowsAsItIsWritten)
{
    const Shown shown = showRealBox(QStringLiteral("/home/a<i>tal</i>x.vb already exists.\rReplace it?"));
    EXPECT_EQ(shown.format, Qt::PlainText);
}

// Start-up boxes come before the main window shows: they belong in the
// middle of the screen, not over a window that is not there yet.
TEST(MsgBox, WhileItsWindowIsHiddenABoxIsCentredOnTheScreen)
{
    QWidget hiddenMainWindow;
    hiddenMainWindow.resize(400, 300);
    msgbox::SetParentWindow(&hiddenMainWindow);
    const Shown shown = showRealBox(QStringLiteral("Unable to find Zandrel.dll library file."));
    msgbox::SetParentWindow(nullptr);

    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((shown.frame.center() - screenCentre).manhattanLength(), 20)
        << "box centre " << shown.frame.center().x() << "," << shown.frame.center().y();
}

// Centred as it finally is, once its layout has settled: a box of many
// lines, as the start-up notice is, stands in the very middle.
TEST(MsgBox, ABoxOfManyLinesIsCentredAsItIsShown)
{
    const QString notice = QStringLiteral("Thankyou for beta testing Zandrel Utilities.\rPlease note that the tile "
                                          "viewer and the Virtual-E\rC compiler frontend are not yet complete.\r\rIf "
                                          "you find any bugs, please email me at:\rzandrel-utils@example.org\r\r"
                                          "                  The Zandrel Utilities developers");
    const Shown shown = showRealBox(notice);
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((shown.frame.center() - screenCentre).manhattanLength(), 2)
        << "box centre " << shown.frame.center().x() << "," << shown.frame.center().y();
}

TEST(MsgBox, AQuestionCanBeLeftWithEscapeOrTheCloseBox)
{
    const auto ask = [] { return msgbox::Ask(QStringLiteral("Left?"), kQuestion, QStringLiteral("Question")); };
    EXPECT_EQ(answeredBy([](QWidget &box) { pressKey(box, Qt::Key_Escape); }, ask), msgbox::vbCancel);
    EXPECT_EQ(answeredBy([](QWidget &box) { box.close(); }, ask), msgbox::vbCancel);
    EXPECT_EQ(answeredBy([](QWidget &box) { pressKey(box, Qt::Key_Return); }, ask), msgbox::vbNo);
}

TEST(MsgBox, AnOrdinaryYesNoBoxAnswersNoToEscape)
{
    const auto show = [] { return msgbox::MsgBox(QStringLiteral("Sure?"), kQuestion, QStringLiteral("Question")); };
    EXPECT_EQ(answeredBy([](QWidget &box) { pressKey(box, Qt::Key_Escape); }, show), msgbox::vbNo);
}
