#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTimer>

#include "MainWindowState.h"
#include "TestSupport.h"
#include "frmKeyCapture.h"

namespace {

// The window as a key button opens it, with the emulator's name in the mailbox.
class KeyCapture : public ::testing::Test {
protected:
    frmKeyCapture window;

    void open(const QString &emulator = QStringLiteral("Virtual-E"))
    {
        mainwindow::Tag() = emulator;
        window.load();
    }
    void listen()
    {
        open();
        window.tmrTimer_Timer();
    }
};

} // namespace

TEST_F(KeyCapture, TakesTheEmulatorsNameForItsCaptionAndEmptiesTheMailbox)
{
    open(QStringLiteral("Red Dragon"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Red Dragon Key Capture Window..."));
    EXPECT_EQ(window.lblKeyScan->text(), QStringLiteral("Press Any Key"));
    EXPECT_EQ(mainwindow::Tag(), QString());
    EXPECT_TRUE(window.tmrTimer->isActive());
    EXPECT_EQ(window.tmrTimer->interval(), 1);
}

TEST_F(KeyCapture, LeavesTheCodeOfTheFirstKeyOrButtonPressed)
{
    struct Case {
        const char *what;
        std::function<void(QWidget &)> press;
        const char *code;
    };
    const Case cases[] = {
        {"A", [](QWidget &w) { QTest::keyClick(&w, Qt::Key_A); }, "65"},
        {"Escape", [](QWidget &w) { QTest::keyClick(&w, Qt::Key_Escape); }, "27"},
        {"Tab", [](QWidget &w) { QTest::keyClick(&w, Qt::Key_Tab); }, "9"},
        {"F13", [](QWidget &w) { QTest::keyClick(&w, Qt::Key_F13); }, "124"},
        {"Shift+A", [](QWidget &w) { QTest::keyClick(&w, Qt::Key_A, Qt::ShiftModifier); }, "16"},
        {"Control+Alt+Delete",
         [](QWidget &w) { QTest::keyClick(&w, Qt::Key_Delete, Qt::ControlModifier | Qt::AltModifier); }, "17"},
        {"Shift alone", [](QWidget &w) { QTest::keyClick(&w, Qt::Key_Shift, Qt::ShiftModifier); }, "16"},
        {"left mouse button", [](QWidget &w) { QTest::mouseClick(&w, Qt::LeftButton); }, "1"},
        {"right mouse button", [](QWidget &w) { QTest::mouseClick(&w, Qt::RightButton); }, "2"},
        {"middle mouse button", [](QWidget &w) { QTest::mouseClick(&w, Qt::MiddleButton); }, "4"},
    };
    for (const Case &c : cases) {
        frmKeyCapture capture;
        mainwindow::Tag() = QStringLiteral("Virtual-E");
        capture.load();
        capture.tmrTimer_Timer();
        c.press(capture);
        EXPECT_EQ(mainwindow::Tag(), QString::fromLatin1(c.code)) << c.what;
        EXPECT_TRUE(capture.isUnloaded()) << c.what;
    }
}

TEST_F(KeyCapture, WaitsForTheTakenKeyToBeLetGo)
{
    listen();
    QTest::keyPress(&window, Qt::Key_Return);
    EXPECT_EQ(mainwindow::Tag(), QStringLiteral("13"));
    EXPECT_FALSE(window.isUnloaded());
    // Its repeats and other keys change nothing now.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&window, &repeat);
    QTest::keyPress(&window, Qt::Key_B);
    EXPECT_EQ(mainwindow::Tag(), QStringLiteral("13"));
    QTest::keyRelease(&window, Qt::Key_Return);
    EXPECT_TRUE(window.isUnloaded());
}

TEST_F(KeyCapture, PassesByWhatWasHeldWhenItOpened)
{
    open();
    // Before the first tick: the press that opened the window.
    QTest::keyClick(&window, Qt::Key_Space);
    QTest::mouseClick(&window, Qt::LeftButton);
    window.tmrTimer_Timer();
    // A key held from before only repeats and lets go.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&window, &repeat);
    QTest::keyRelease(&window, Qt::Key_Return);
    EXPECT_EQ(mainwindow::Tag(), QString());
    EXPECT_FALSE(window.isUnloaded());

    QTest::keyClick(&window, Qt::Key_G);
    EXPECT_EQ(mainwindow::Tag(), QStringLiteral("71"));
}

TEST_F(KeyCapture, AKeyWithoutACodeIsNotTaken)
{
    listen();
    QTest::keyClick(&window, Qt::Key_Eacute);
    EXPECT_EQ(mainwindow::Tag(), QString());
    EXPECT_FALSE(window.isUnloaded());
}

TEST_F(KeyCapture, ClosedWithoutAKeyTheMailboxStaysEmpty)
{
    listen();
    window.close();
    EXPECT_EQ(mainwindow::Tag(), QString());
}

TEST_F(KeyCapture, ShownModallyItListensAfterItsFirstTick)
{
    forms::SetModalHandler({}); // a real modal loop
    mainwindow::Tag() = QStringLiteral("Virtual-E");
    QTimer::singleShot(50, &window, [this] { QTest::keyClick(&window, Qt::Key_M); });
    QTimer::singleShot(5000, &window, &QWidget::close); // never hang the suite
    forms::ShowModal(window);
    EXPECT_EQ(mainwindow::Tag(), QStringLiteral("77"));
}
