#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include "Controls.h"
#include "Forms.h"
#include "TestSupport.h"

namespace {

class CountingForm : public forms::Form {
public:
    int loads = 0;
    int unloads = 0;
    bool refuseUnload = false;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload(bool &cancel) override
    {
        ++unloads;
        cancel = refuseUnload;
    }
};

} // namespace

TEST(Forms, TwipsAreFifteenToAPixel)
{
    EXPECT_EQ(forms::Px(1095), 73);
    EXPECT_EQ(forms::TwipsRect(120, 720, 1095, 495), QRect(8, 48, 73, 33));
}

TEST(Forms, ShowModalLoadsOnceAndUnloadsWhenDone)
{
    CountingForm form;
    int handled = 0;
    testsupport::modalWindows().on<CountingForm>([&](CountingForm &f) {
        EXPECT_EQ(f.loads, 1);
        ++handled;
    });
    forms::ShowModal(form);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(form.unloads, 1);
    EXPECT_TRUE(form.isUnloaded());
}

TEST(Forms, UnloadCanBeRefused)
{
    CountingForm form;
    form.refuseUnload = true;
    form.show();
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    form.refuseUnload = false;
    EXPECT_TRUE(form.close());
}

TEST(Forms, EscapePressesOnlyTheMarkedCancelButton)
{
    CountingForm form;
    auto *edit = new QLineEdit(form.client());
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), form.client());
    form.show();
    const auto escape = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
    };
    escape();
    EXPECT_TRUE(form.isVisible());

    int clicks = 0;
    QObject::connect(cancel, &QPushButton::clicked, [&] { ++clicks; });
    form.setCancelButton(cancel);
    cancel->setEnabled(false);
    escape();
    EXPECT_EQ(clicks, 0);
    cancel->setEnabled(true);
    escape();
    EXPECT_EQ(clicks, 1);
    // The button decides: this one does not close the window.
    EXPECT_TRUE(form.isVisible());
}

TEST(Forms, MenuBarSitsAboveAFixedClientArea)
{
    forms::Form form;
    form.setClientSizeTwips(3720, 1320);
    form.menuBar()->addMenu(QStringLiteral("&File"));
    form.show();
    EXPECT_EQ(form.client()->size(), QSize(248, 88));
    EXPECT_GE(form.height(), 88 + form.menuBar()->height());
}

// Enter presses the focused button and nothing else when a form has no
// default button; a viewer closed by Escape closes on it.
TEST(Forms, EnterPressesOnlyAFocusedButtonAndEscapeClosesAViewer)
{
    forms::Form form;
    auto *box = controls::Place<QCheckBox>(form.client(), 120, 120, 1500, 255, QStringLiteral("Option"));
    auto *change = controls::Place<QPushButton>(form.client(), 120, 480, 1500, 255, QStringLiteral("Change..."));
    int changes = 0;
    QObject::connect(change, &QPushButton::clicked, [&] { ++changes; });
    form.setNoDefaultButton();
    form.show();

    box->setFocus();
    testsupport::pressKey(box, Qt::Key_Return);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(change->isDefault());
    change->setFocus();
    testsupport::pressKey(change, Qt::Key_Return);
    EXPECT_EQ(changes, 1);

    forms::Form viewer;
    viewer.show();
    testsupport::pressKey(&viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer.isUnloaded());
    viewer.setClosedByEscape(true);
    testsupport::pressKey(&viewer, Qt::Key_Escape);
    EXPECT_TRUE(viewer.isUnloaded());
}

TEST(Controls, CommandButtonKeepsItsCaptionAsText)
{
    QWidget parent;
    auto *b = controls::Place<controls::CommandButton>(&parent, 120, 120, 1095, 495, QStringLiteral("View/Edit ROM Info..."));
    EXPECT_EQ(b->text(), QStringLiteral("View/Edit ROM Info..."));
    EXPECT_EQ(b->geometry(), QRect(8, 8, 73, 33));
}
