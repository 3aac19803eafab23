#include <gtest/gtest.h>

#include <QApplication>

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <functional>

#include "KeyStoreFixture.h"
#include "MainWindowState.h"
#include "Registry.h"
#include "TestSupport.h"
#include "VirtualERegistry.h"
#include "frmControlConfig.h"
#include "frmKeyCapture.h"

using controllerkeys::KeyCodeTable;
using controllerkeys::Slot;
using msgbox::vbCancel;
using msgbox::vbNo;
using msgbox::vbYes;

namespace {

const QString kRealityBoy = QStringLiteral("Reality Boy");
const QString kVirtualE = QStringLiteral("Virtual-E");
const QString kRedDragon = QStringLiteral("Red Dragon");

QStringList captions(const frmControlConfig &dialog)
{
    QStringList out;
    for (int slot = 0; slot < controllerkeys::kSlotCount; ++slot)
        out << dialog.keyButton(slot)->text();
    return out;
}

QStringList keypadValueNames()
{
    return registry::ValueNames(registry::Hive::CurrentUser, virtuale::kKeypadKey);
}

std::optional<registry::Value> keypadValue(const char *name)
{
    return registry::QueryValue(registry::Hive::CurrentUser, virtuale::kKeypadKey, QString::fromLatin1(name));
}

QStringList items(const QListWidget &list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

// The dialog as an emulator window opens it; each capture window it opens
// plays the next scripted user action (or is closed without a key).
class ControlConfig : public ::testing::Test {
protected:
    frmControlConfig dialog;
    QStringList captureCaptions;

    void SetUp() override
    {
        testsupport::modalWindows().on<frmKeyCapture>([this](frmKeyCapture &window) {
            captureCaptions << window.windowTitle();
            window.tmrTimer_Timer();
            if (m_actions.empty())
                return;
            const auto action = m_actions.front();
            m_actions.pop_front();
            action(window);
        });
    }

    void open(const QString &mode, frmControlConfig &which)
    {
        mainwindow::Tag() = mode;
        which.load();
    }
    void open(const QString &mode) { open(mode, dialog); }

    void willPress(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_actions.push_back([=](frmKeyCapture &w) { QTest::keyClick(&w, key, modifiers); });
    }
    void willClick(Qt::MouseButton button)
    {
        m_actions.push_back([=](frmKeyCapture &w) { QTest::mouseClick(&w, button); });
    }
    void willCloseWithoutAKey()
    {
        m_actions.push_back([](frmKeyCapture &) {});
    }

    static int boxCount() { return int(testsupport::messageBoxes().calls.size()); }
    static void answer(const std::vector<int> &answers)
    {
        for (int a : answers)
            testsupport::messageBoxes().answerNext(a);
    }

private:
    std::deque<std::function<void(frmKeyCapture &)>> m_actions;
};

const QStringList kDefaultCaptions{"M m", "N n", "G g", "H h", "E e", "C c", "S s",
                                   "F f", "I i", "< ,", "J j", "L l", "B b", "V v"};

} // namespace

TEST_F(ControlConfig, RealityBoyShowsItsFixedKeysAndRefusesChanges)
{
    open(kRealityBoy);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Reality Boy Control Configuration..."));
    EXPECT_EQ(dialog.client()->height(), 265);
    EXPECT_EQ(captions(dialog), kDefaultCaptions);
    EXPECT_EQ(dialog.cmdAButton->toolTip(), QStringLiteral("A Button"));
    EXPECT_EQ(dialog.cmdRtRt->toolTip(), QStringLiteral("Right (Right D-Pad)"));
    EXPECT_TRUE(dialog.fraRealityBoy->isEnabled());
    EXPECT_TRUE(dialog.cmdOK->isEnabled());
    EXPECT_TRUE(dialog.cmdOK->isDefault());
    EXPECT_TRUE(dialog.cmdDebug->isEnabled());
    for (QPushButton *b : {dialog.cmdVirteOK, dialog.cmdVirteDefault, dialog.cmdVirteRevert, dialog.cmdVirteCancel})
        EXPECT_FALSE(b->isEnabled());

    for (int slot = 0; slot < controllerkeys::kSlotCount; ++slot)
        dialog.keyButton(slot)->click();
    ASSERT_EQ(boxCount(), 14);
    for (const msgbox::Call &box : testsupport::messageBoxes().calls) {
        EXPECT_EQ(box.prompt, QStringLiteral("Key configuration can not be\rchanged in Reality Boy."));
        EXPECT_EQ(box.title, QStringLiteral("Change key configuration"));
        EXPECT_EQ(box.style, msgbox::vbOKOnly | msgbox::vbExclamation);
    }
    EXPECT_TRUE(captureCaptions.isEmpty());
    EXPECT_EQ(captions(dialog), kDefaultCaptions);
    EXPECT_EQ(mainwindow::Tag(), kRealityBoy);

    dialog.show();
    QTest::keyClick(dialog.cmdAButton, Qt::Key_Escape); // presses OK
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(mainwindow::Tag(), QString());
    EXPECT_FALSE(registry::KeyExists(registry::Hive::CurrentUser, virtuale::kKeypadKey));
}

TEST_F(ControlConfig, RealityBoysDebugKeysAreOneBoxOf29Lines)
{
    open(kRealityBoy);
    dialog.cmdDebug->click();
    ASSERT_EQ(boxCount(), 1);
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.title, QStringLiteral("Debug mode key configuration"));
    EXPECT_EQ(box.style, msgbox::vbOKOnly);
    EXPECT_FALSE(box.prompt.contains(QLatin1Char('\n')));
    const QStringList lines = box.prompt.split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 29);
    EXPECT_EQ(lines[0], QStringLiteral("'U' - Unassemble the next 16 instructions."));
    EXPECT_EQ(lines[7], QStringLiteral("\t'P' - Save the screen as a bitmap (BMP) file."));
    EXPECT_EQ(lines[11], QStringLiteral("\t\t\t14 bgmaps, <ESC> to cancel)"));
    EXPECT_EQ(lines[13], QStringLiteral("\t\t\t32 world maps, <ESC> to cancel)"));
    EXPECT_EQ(lines[20], QStringLiteral("\t\t'H'     - Show view rom help."));
    EXPECT_EQ(lines[28], QStringLiteral("'L' - Set debug level. (0<all>-10<none>)"));
    EXPECT_EQ(mainwindow::Tag(), kRealityBoy);
}

TEST_F(ControlConfig, VirtualEOpensOnTheDefaultKeysAndStoresThemOnlyOnOK)
{
    open(kVirtualE);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Virtual-E Control Configuration..."));
    EXPECT_EQ(dialog.client()->height(), 146);
    EXPECT_EQ(captions(dialog), kDefaultCaptions);
    EXPECT_EQ(dialog.fraRealityBoy->y(), 160);
    EXPECT_FALSE(dialog.fraRealityBoy->isEnabled());
    EXPECT_FALSE(dialog.cmdOK->isEnabled());
    EXPECT_FALSE(dialog.cmdDebug->isEnabled());
    for (QPushButton *b : {dialog.cmdVirteOK, dialog.cmdVirteDefault, dialog.cmdVirteRevert, dialog.cmdVirteCancel}) {
        EXPECT_TRUE(b->isEnabled());
        EXPECT_EQ(b->y() + b->height(), 146);
    }

    // Shift stays the key without a side here: no question.
    willPress(Qt::Key_Shift, Qt::ShiftModifier);
    dialog.cmdLtUp->click();
    EXPECT_EQ(dialog.KeyCodes[Slot::LeftPadUp], 16);
    EXPECT_EQ(dialog.cmdLtUp->text(), QStringLiteral("<Shift>"));
    EXPECT_EQ(boxCount(), 0);
    EXPECT_EQ(mainwindow::Tag(), kVirtualE);
    EXPECT_FALSE(registry::KeyExists(registry::Hive::CurrentUser, virtuale::kKeypadKey));

    dialog.cmdVirteOK->click();
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(mainwindow::Tag(), QString());
    EXPECT_EQ(keypadValueNames(), (QStringList{"A Button", "B Button", "L Button", "R Button", "ULP", "DLP", "LLP",
                                               "RLP", "URP", "DRP", "LRP", "RRP", "Start", "Select"}));
    EXPECT_EQ(keypadValue("ULP"), registry::Value::fromDword(16));
    EXPECT_EQ(keypadValue("DRP"), registry::Value::fromDword(188));
}

TEST_F(ControlConfig, RevertDefaultAndCancelInVirtualEMode)
{
    KeyCodeTable stored = controllerkeys::DefaultKeySet();
    stored[Slot::Start] = 13;
    ASSERT_EQ(virtuale::SaveKeypad(stored), QString());
    open(kVirtualE);
    EXPECT_EQ(dialog.cmdStart->text(), QStringLiteral("<Enter>"));

    willPress(Qt::Key_Escape);
    dialog.cmdSelect->click();
    EXPECT_EQ(dialog.cmdSelect->text(), QStringLiteral("<Escape>"));

    answer({vbNo});
    dialog.cmdVirteRevert->click();
    EXPECT_EQ(dialog.cmdSelect->text(), QStringLiteral("<Escape>"));
    answer({vbYes});
    dialog.cmdVirteRevert->click();
    EXPECT_EQ(dialog.KeyCodes, stored);
    EXPECT_EQ(dialog.cmdSelect->text(), QStringLiteral("V v"));
    const msgbox::Call revert = testsupport::messageBoxes().last();
    EXPECT_EQ(revert.prompt, QStringLiteral("Do you wish to revert to saved settings?"));
    EXPECT_EQ(revert.title, QStringLiteral("Revert to saved"));
    EXPECT_EQ(revert.style, msgbox::vbYesNo | msgbox::vbQuestion | msgbox::vbDefaultButton2);

    answer({vbYes});
    dialog.cmdVirteDefault->click();
    EXPECT_EQ(dialog.KeyCodes, controllerkeys::DefaultKeySet());
    EXPECT_EQ(dialog.cmdStart->text(), QStringLiteral("B b"));
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Revert to default"));

    dialog.show();
    QTest::keyClick(dialog.cmdAButton, Qt::Key_Escape); // presses Cancel
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(virtuale::ReadKeypad(), stored);
    EXPECT_EQ(mainwindow::Tag(), QString());
}

TEST_F(ControlConfig, ACaptureClosedWithoutAKeyChangesNothingAndKeepsTheMode)
{
    open(kVirtualE);
    willCloseWithoutAKey();
    dialog.cmdAButton->click();
    EXPECT_EQ(dialog.cmdAButton->text(), QStringLiteral("M m"));
    EXPECT_EQ(dialog.KeyCodes[Slot::AButton], 77);
    EXPECT_EQ(mainwindow::Tag(), kVirtualE);

    willClick(Qt::LeftButton);
    dialog.cmdBButton->click();
    EXPECT_EQ(dialog.cmdBButton->text(), QStringLiteral("LMouseBt"));
    EXPECT_EQ(captureCaptions, QStringList(2, QStringLiteral("Virtual-E Key Capture Window...")));
}

TEST_F(ControlConfig, AStoreThatCannotBeWrittenKeepsTheDialogOpen)
{
    open(kVirtualE);
    willPress(Qt::Key_Q);
    dialog.cmdAButton->click();
    keystoretest::makeStoreUnwritable();

    dialog.cmdVirteOK->click();
    EXPECT_FALSE(dialog.isUnloaded());
    ASSERT_EQ(boxCount(), 1);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Keys not saved"));
    EXPECT_EQ(dialog.cmdAButton->text(), QStringLiteral("Q q"));
    EXPECT_EQ(mainwindow::Tag(), kVirtualE);
}

TEST_F(ControlConfig, RedDragonReadsTheHandOverListAndRewritesItOnlyOnOK)
{
    const QStringList handedOver{"13", "14", "7", "8", "5", "3", "19", "6", "9", "72", "0", "91", "200", "103"};
    QListWidget list;
    list.addItems(handedOver);
    {
        frmControlConfig cancelled(list);
        open(kRedDragon, cancelled);
        EXPECT_EQ(cancelled.windowTitle(), QStringLiteral("Red Dragon Control Configuration..."));
        EXPECT_EQ(cancelled.KeyCodes, (KeyCodeTable{77, 78, 71, 72, 69, 67, 83, 70, 73, 188, 900, 0, 0, 911}));
        willPress(Qt::Key_Z);
        cancelled.cmdAButton->click();
        cancelled.cmdVirteCancel->click();
        EXPECT_EQ(items(list), handedOver);
    }
    frmControlConfig confirmed(list);
    open(kRedDragon, confirmed);
    willPress(Qt::Key_Z);
    confirmed.cmdAButton->click();
    confirmed.cmdVirteOK->click();
    EXPECT_TRUE(confirmed.isUnloaded());
    EXPECT_EQ(items(list),
              (QStringList{"26", "14", "7", "8", "5", "3", "19", "6", "9", "72", "0", "0", "0", "103"}));
    EXPECT_EQ(mainwindow::Tag(), QString());
}

// The button drawn as the default is the one Enter presses: the focused
// button while a button has the focus, the mode's OK otherwise.
TEST_F(ControlConfig, TheButtonDrawnAsDefaultIsTheOneEnterPresses)
{
    QListWidget list;
    list.addItems(QStringList(14, QStringLiteral("0")));
    frmControlConfig w(list);
    open(kRedDragon, w);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(QApplication::focusWidget(), w.cmdVirteCancel);
    EXPECT_TRUE(w.cmdVirteCancel->isDefault());
    EXPECT_FALSE(w.cmdVirteOK->isDefault());
    QTest::keyClick(w.cmdVirteCancel, Qt::Key_Return);
    EXPECT_TRUE(w.isUnloaded());
}

TEST_F(ControlConfig, RedDragonAsksWhichSideOfAModifierKeyIsMeant)
{
    struct Case {
        const char *what;
        Qt::Key key;
        Qt::KeyboardModifier modifier;
        std::vector<int> answers;
        int16_t code; // 0: the key stays as it was
        QStringList titles;
    };
    const QString left = QStringLiteral("Use left key?");
    const QString right = QStringLiteral("Use right key?");
    const Case cases[] = {
        {"Shift, left", Qt::Key_Shift, Qt::ShiftModifier, {vbYes}, 911, {left}},
        {"Shift, right", Qt::Key_Shift, Qt::ShiftModifier, {vbNo, vbYes}, 912, {left, right}},
        {"Shift, No to both, then left", Qt::Key_Shift, Qt::ShiftModifier, {vbNo, vbNo, vbYes}, 911,
         {left, right, left}},
        {"Control, right", Qt::Key_Control, Qt::ControlModifier, {vbNo, vbYes}, 914, {left, right}},
        {"Alt, left", Qt::Key_Alt, Qt::AltModifier, {vbYes}, 915, {left}},
        {"Shift, left the question", Qt::Key_Shift, Qt::ShiftModifier, {vbCancel}, 0, {left}},
        {"Alt, left the second question", Qt::Key_Alt, Qt::AltModifier, {vbNo, vbCancel}, 0, {left, right}},
        {"a letter", Qt::Key_A, Qt::NoModifier, {}, 65, {}},
    };
    const QStringList names{"<LShift>", "<RShift>", "<LControl>", "<RControl>", "<LAlt>", "<RAlt>"};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QListWidget list;
        list.addItems(QStringList(controllerkeys::kSlotCount, QStringLiteral("1")));
        frmControlConfig config(list);
        open(kRedDragon, config);
        testsupport::messageBoxes() = {};
        answer(c.answers);
        willPress(c.key, c.modifier);
        config.cmdRtDn->click();

        QStringList titles;
        for (const msgbox::Call &box : testsupport::messageBoxes().calls)
            titles << box.title;
        EXPECT_EQ(titles, c.titles);
        const int16_t expected = c.code ? c.code : 65;
        EXPECT_EQ(config.KeyCodes[Slot::RightPadDown], expected);
        const QString caption = config.cmdRtDn->text();
        EXPECT_EQ(caption, expected >= 911 ? names[expected - 911] : QStringLiteral("A a"));
        EXPECT_EQ(mainwindow::Tag(), kRedDragon);
    }
}

TEST_F(ControlConfig, TheSideQuestionNamesTheKey)
{
    QListWidget list;
    list.addItems(QStringList(controllerkeys::kSlotCount, QStringLiteral("1")));
    frmControlConfig config(list);
    open(kRedDragon, config);
    answer({vbNo, vbYes});
    willPress(Qt::Key_Control, Qt::ControlModifier);
    config.cmdStart->click();
    ASSERT_EQ(boxCount(), 2);
    const auto &calls = testsupport::messageBoxes().calls;
    const int style = msgbox::vbYesNo | msgbox::vbQuestion | msgbox::vbDefaultButton2;
    EXPECT_EQ(calls[0].prompt, QStringLiteral("Unable to detect correct Control key.\rDo you wish to use the left Control key?"));
    EXPECT_EQ(calls[0].style, style);
    EXPECT_EQ(calls[1].prompt, QStringLiteral("Unable to detect correct Control key.\rDo you wish to use the right Control key?"));
    EXPECT_EQ(calls[1].style, style);
}

TEST_F(ControlConfig, RedDragonRefusesKeysItHasNoIndexFor)
{
    QListWidget list;
    list.addItems(QStringList(controllerkeys::kSlotCount, QStringLiteral("1")));
    frmControlConfig config(list);
    open(kRedDragon, config);
    willClick(Qt::LeftButton);
    willPress(Qt::Key_F13);
    config.cmdSelect->click();
    config.cmdSelect->click();
    ASSERT_EQ(boxCount(), 2);
    EXPECT_EQ(testsupport::messageBoxes().calls[0].prompt,
              QStringLiteral("LMouseBt can not be used in Red Dragon.\rPlease choose another key."));
    EXPECT_EQ(testsupport::messageBoxes().calls[1].style, msgbox::vbOKOnly | msgbox::vbExclamation);
    EXPECT_EQ(config.cmdSelect->text(), QStringLiteral("A a"));
    EXPECT_EQ(config.KeyCodes[Slot::Select], 65);
}

TEST_F(ControlConfig, AnotherNameLeavesTheDialogAsDesigned)
{
    open(QStringLiteral("virtual-e"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Control Configuration..."));
    EXPECT_EQ(dialog.cmdAButton->text(), QStringLiteral("<Key#000>"));
    dialog.cmdAButton->click();
    EXPECT_TRUE(captureCaptions.isEmpty());
    EXPECT_EQ(boxCount(), 0);
}
