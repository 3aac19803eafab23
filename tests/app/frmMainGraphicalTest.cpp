#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "MainWindowStart.h"
#include "MenuPictures.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmMain.h"

namespace controls {
// Names the pictures in failure messages.
void PrintTo(const Picture &picture, std::ostream *out)
{
    *out << picture.name().toStdString();
}
} // namespace controls

namespace {

using controls::ImageControl;
namespace mp = menupictures;

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool shown(const QWidget *widget)
{
    return !widget->isHidden();
}

// The mouse pointer moving over a control, as the window system reports it.
void hover(QWidget *widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QString setName(int set)
{
    return set == 1 ? QStringLiteral("red") : QStringLiteral("grey");
}

// The main window started with the graphical look.
class GraphicalLook : public MainWindowStart {
protected:
    std::unique_ptr<frmMain> w;

    void start(int set, bool graphical = true)
    {
        installLibraryAndFont();
        testsupport::messageBoxes() = {};
        testsupport::modalWindows().shown.clear();
        settings::Save(QStringLiteral("VB Main Menu Theme"), boolText(graphical));
        settings::Save(QStringLiteral("VB Theme Colours"), boolText(set == 1));
        w = std::make_unique<frmMain>();
        w->load();
        ASSERT_FALSE(w->mustEnd());
        w->centre();
        w->show();
    }
    void startAtMenu(int set)
    {
        start(set);
        QTest::mouseClick(w->imgPrecaution[set], Qt::LeftButton);
        QTest::mouseClick(w->imgTitle[set], Qt::LeftButton);
    }
    // The options command after the user changed settings in the options dialog.
    void applyOptions(const QList<std::pair<QString, bool>> &changes)
    {
        for (const auto &[key, value] : changes)
            settings::Save(key, boolText(value));
        w->mnuFileOptions_Click();
    }

    struct ButtonPictures {
        ImageControl *control;
        const frmMain::PictureStore &highlighted;
        const frmMain::PictureStore &normal;
    };
    std::vector<ButtonPictures> buttons() const
    {
        return {{w->imgPower, w->imgPowerEnabled, w->imgPowerDisabled},
                {w->imgClose, w->imgCloseEnabled, w->imgCloseDisabled},
                {w->imgHelp, w->imgHelpEnabled, w->imgHelpDisabled},
                {w->imgAbout, w->imgAboutEnabled, w->imgAboutDisabled},
                {w->imgRomInfo, w->imgRomInfoEnabled, w->imgRomInfoDisabled},
                {w->imgTileViewer, w->imgTileViewerEnabled, w->imgTileViewerDisabled},
                {w->imgVbRomDatabase, w->imgVbRomDatabaseEnabled, w->imgVbRomDatabaseDisabled},
                {w->imgEmus, w->imgEmusEnabled, w->imgEmusDisabled},
                {w->imgUtils, w->imgUtilsEnabled, w->imgUtilsDisabled},
                {w->imgOptions, w->imgOptionsEnabled, w->imgOptionsDisabled}};
    }
    // Exactly `lit` (or none) shows its highlighted picture of `set`, every
    // other button its normal one.
    void expectLit(const ImageControl *lit, int set) const
    {
        for (const ButtonPictures &b : buttons())
            EXPECT_EQ(b.control->picture(), b.control == lit ? b.highlighted[set] : b.normal[set]);
    }
    void expectOnlyScreen(const ImageControl *expected) const
    {
        for (const frmMain::ImageArray *screens : {&w->imgPrecaution, &w->imgTitle, &w->imgMenu})
            for (const ImageControl *screen : *screens)
                EXPECT_EQ(shown(screen), screen == expected) << screen->picture().name().toStdString();
    }
    void expectCentred() const
    {
        const QRect area = w->screen()->availableGeometry();
        EXPECT_NEAR(w->frameGeometry().center().x(), area.center().x(), 1);
        EXPECT_NEAR(w->frameGeometry().center().y(), area.center().y(), 1);
    }
    void expectClassicControlsVisible(bool visible) const
    {
        EXPECT_EQ(w->mnuFile->menuAction()->isVisible(), visible);
        EXPECT_EQ(w->mnuHelp->menuAction()->isVisible(), visible);
        for (const QPushButton *b :
             {w->cmdRomInfo, w->cmdTileViewer, w->cmdRomDatabase, w->cmdEmus, w->cmdUtils, w->cmdOptions})
            EXPECT_EQ(shown(b), visible) << b->text().toStdString();
    }
    void screenshot(const QString &screen, int set)
    {
        testsupport::saveScreenshot(*w, QStringLiteral("frmMain-%1-%2").arg(setName(set), screen));
    }
};

} // namespace

TEST_F(GraphicalLook, StartsOnThePrecautionScreenOfItsPictureSet)
{
    for (int set : {0, 1}) {
        SCOPED_TRACE(set);
        start(set);
        EXPECT_EQ(w->client()->size(), QSize(384, 224));
        expectClassicControlsVisible(false);
        expectOnlyScreen(w->imgPrecaution[set]);
        for (const ButtonPictures &b : buttons())
            EXPECT_FALSE(shown(b.control));
        EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(w->imgPrecaution[set]->picture(), mp::screen(mp::Screen::Precaution, set));
        // The notice box still greets every start.
        EXPECT_EQ(testsupport::messageBoxes().calls.size(), 1);
        screenshot(QStringLiteral("1-precaution"), set);
    }
}

TEST_F(GraphicalLook, ClicksLeadThroughTheTitleScreenToTheMenu)
{
    for (int set : {0, 1}) {
        SCOPED_TRACE(set);
        start(set);
        QTest::mouseClick(w->imgPrecaution[set], Qt::LeftButton);
        expectOnlyScreen(w->imgTitle[set]);
        for (const ButtonPictures &b : buttons())
            EXPECT_FALSE(shown(b.control));
        screenshot(QStringLiteral("2-title"), set);

        QTest::mouseClick(w->imgTitle[set], Qt::LeftButton);
        QApplication::processEvents();
        expectOnlyScreen(w->imgMenu[set]);
        expectLit(nullptr, set);
        for (const ButtonPictures &b : buttons())
            EXPECT_EQ(shown(b.control), b.control != w->imgEmus && b.control != w->imgUtils)
                << b.control->accessibleName().toStdString();
        screenshot(QStringLiteral("3-menu"), set);

        w->imgHelp_MouseMove();
        screenshot(QStringLiteral("4-menu-hover"), set);
    }
}

TEST_F(GraphicalLook, SpaceAndEnterStepThroughTheScreensAndTabLightsAButton)
{
    start(1);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    EXPECT_EQ(QApplication::focusWidget(), w->imgPrecaution[1]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->imgTitle[1]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    expectOnlyScreen(w->imgMenu[1]);

    QTest::keyClick(w.get(), Qt::Key_Tab);
    auto *focused = qobject_cast<ImageControl *>(QApplication::focusWidget());
    ASSERT_NE(focused, nullptr);
    expectLit(focused, 1);
}

TEST_F(GraphicalLook, EmulatorAndToolButtonsShowOnlyWhenOneOfTheirsIsEnabled)
{
    struct Case {
        const char *enabledKey;
        bool emus, utils;
    };
    const Case cases[] = {
        {nullptr, false, false},
        {"Red Dragon Enabled", true, false},
        {"VB Dev Kit Enabled", false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.enabledKey ? c.enabledKey : "none");
        if (c.enabledKey)
            settings::Save(QString::fromLatin1(c.enabledKey), QStringLiteral("True"));
        startAtMenu(0);
        EXPECT_EQ(shown(w->imgEmus), c.emus);
        EXPECT_EQ(w->mnuFileEmus->isEnabled(), c.emus);
        EXPECT_EQ(shown(w->imgUtils), c.utils);
        EXPECT_EQ(w->mnuFileUtils->isEnabled(), c.utils);
        // The others keep their places.
        EXPECT_EQ(w->imgOptions->geometry(), QRect(240, 168, 71, 31));
        EXPECT_EQ(w->imgEmus->geometry(), QRect(80, 168, 71, 31));
        settings::Save(QString::fromLatin1(c.enabledKey ? c.enabledKey : "Red Dragon Enabled"),
                       QStringLiteral("False"));
    }

    // Enabling an emulator in the options dialog brings the button back.
    applyOptions({{QStringLiteral("Virtual-E Enabled"), true}});
    EXPECT_TRUE(shown(w->imgEmus));
    EXPECT_TRUE(w->mnuFileEmus->isEnabled());
    EXPECT_FALSE(shown(w->imgUtils));
}

// An image button runs its classic entry, and only while that entry is
// enabled.
TEST_F(GraphicalLook, ImageButtonsRunTheirClassicEntriesWhileThoseAreEnabled)
{
    settings::Save(QStringLiteral("Reality Boy Enabled"), QStringLiteral("True"));
    settings::Save(QStringLiteral("V-Environment Enabled"), QStringLiteral("True"));
    startAtMenu(1);
    const std::vector<std::pair<ImageControl *, QObject *>> pairs = {
        {w->imgHelp, w->mnuHelpHelp},     {w->imgAbout, w->mnuHelpAbout},       {w->imgRomInfo, w->cmdRomInfo},
        {w->imgTileViewer, w->cmdTileViewer}, {w->imgVbRomDatabase, w->cmdRomDatabase}, {w->imgEmus, w->cmdEmus},
        {w->imgUtils, w->cmdUtils},       {w->imgClose, w->mnuFileQuit}, // last: it ends the program
    };
    for (const auto &[image, entry] : pairs) {
        SCOPED_TRACE(image->accessibleName().toStdString());
        auto *action = qobject_cast<QAction *>(entry);
        const bool entryEnabled = action ? action->isEnabled() : qobject_cast<QWidget *>(entry)->isEnabled();
        EXPECT_EQ(image->isEnabled(), entryEnabled);
        EXPECT_EQ(image->shownPicture().name().contains(QStringLiteral("/disabled/")), !entryEnabled);

        QSignalSpy ran(entry, action ? SIGNAL(triggered(bool)) : SIGNAL(clicked(bool)));
        QTest::mouseClick(image, Qt::LeftButton);
        EXPECT_EQ(ran.count(), entryEnabled ? 1 : 0);
    }
    EXPECT_TRUE(w->isUnloaded());
    // The built ones behave as their menu items do.
    EXPECT_TRUE(testsupport::modalWindows().shown.contains(QStringLiteral("frmHelp")));
}

TEST_F(GraphicalLook, HoverLightsOneButtonAndTheBackgroundOrLampLightsNone)
{
    startAtMenu(1);
    w->imgRomInfo_MouseMove();
    expectLit(w->imgRomInfo, 1);
    w->imgTileViewer_MouseMove();
    expectLit(w->imgTileViewer, 1);
    w->imgMenu_MouseMove(1);
    expectLit(nullptr, 1);
    w->imgPower_MouseMove();
    expectLit(w->imgPower, 1);
    w->imgLowBat_MouseMove(1);
    expectLit(nullptr, 1);

    // The real pointer reaches the handlers too.
    hover(w->imgHelp);
    expectLit(w->imgHelp, 1);
    hover(w->imgMenu[1]);
    expectLit(nullptr, 1);
    hover(w->imgLowBat[1]);
    hover(w->imgClose);
    expectLit(w->imgClose, 1);
}

TEST_F(GraphicalLook, ColoursChangedInOptionsShowTheOtherPictureSet)
{
    startAtMenu(0);
    applyOptions({{QStringLiteral("VB Theme Colours"), true}});
    expectOnlyScreen(w->imgMenu[1]);
    expectLit(nullptr, 1);
    w->imgHelp_MouseMove();
    expectLit(w->imgHelp, 1);
}

TEST_F(GraphicalLook, PowerSwitchWarnsThreeTimesThenStartsTheLamp)
{
    struct Step {
        QString prompt;
        int style;
        QString title;
        QString toolTip;
    };
    const Step steps[] = {
        {QStringLiteral("CAUTION: Do not click this button, as this may shorten the life of the batteries\rand cause "
                        "battery backed-up Utility Apps to lose their stored information."),
         64, QStringLiteral("Don't click me"), QStringLiteral("Please Don't Click Me...")},
        {QStringLiteral("I said not to click this button!"), 48, QStringLiteral("Please don't click me"),
         QStringLiteral("DON'T CLICK ME!!!...")},
        {QStringLiteral("ALRIGHT!!! NOW YOU'VE DONE IT!!!"), 64, QStringLiteral("DON'T CLICK ME!!!"),
         QStringLiteral("TOO LATE!!!")},
    };
    startAtMenu(1);
    EXPECT_EQ(w->imgPower->toolTip(), QStringLiteral("Don't Click Me..."));
    for (int state = 0; state < 3; ++state) {
        SCOPED_TRACE(state);
        EXPECT_FALSE(w->tmrLowBat->isActive());
        QTest::mouseClick(w->imgPower, Qt::LeftButton);
        const msgbox::Call box = testsupport::messageBoxes().last();
        EXPECT_EQ(box.prompt, steps[state].prompt);
        EXPECT_EQ(box.style, steps[state].style);
        EXPECT_EQ(box.title, steps[state].title);
        EXPECT_EQ(w->imgPower->toolTip(), steps[state].toolTip);
        EXPECT_EQ(w->PowerState, state + 1);
    }
    EXPECT_TRUE(w->tmrLowBat->isActive());
    EXPECT_EQ(w->tmrLowBat->interval(), 500);

    // Each tick turns the lamp of the current set on or off.
    EXPECT_FALSE(shown(w->imgLowBat[1]));
    w->tmrLowBat_Timer();
    EXPECT_TRUE(shown(w->imgLowBat[1]));
    EXPECT_FALSE(shown(w->imgLowBat[0]));
    screenshot(QStringLiteral("5-menu-lamp"), 1);
    w->tmrLowBat_Timer();
    EXPECT_FALSE(shown(w->imgLowBat[1]));

    const qsizetype boxes = testsupport::messageBoxes().calls.size();
    QTest::mouseClick(w->imgPower, Qt::LeftButton);
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(testsupport::messageBoxes().calls.size(), boxes);
}

TEST_F(GraphicalLook, WithThePowerOutEveryClickOnTheMenuEndsTheProgramFirst)
{
    const std::vector<std::pair<const char *, std::function<void(frmMain &)>>> clicks = {
        {"imgPower", [](frmMain &f) { f.imgPower_Click(); }},
        {"imgOptions", [](frmMain &f) { f.imgOptions_Click(); }},
        {"imgHelp", [](frmMain &f) { f.imgHelp_Click(); }},
        {"imgRomInfo", [](frmMain &f) { f.imgRomInfo_Click(); }},
        {"imgMenu", [](frmMain &f) { f.imgMenu_Click(0); }},
        {"imgLowBat", [](frmMain &f) { f.imgLowBat_Click(0); }},
    };
    for (const auto &[name, click] : clicks) {
        SCOPED_TRACE(name);
        startAtMenu(0);
        w->PowerState = 3;
        QSignalSpy options(w->cmdOptions, &QPushButton::clicked);
        const qsizetype boxes = testsupport::messageBoxes().calls.size();
        click(*w);
        EXPECT_TRUE(w->isUnloaded());
        EXPECT_EQ(options.count(), 0);
        EXPECT_TRUE(testsupport::modalWindows().shown.isEmpty());
        EXPECT_EQ(testsupport::messageBoxes().calls.size(), boxes);
    }
}

TEST_F(GraphicalLook, BeforeThePowerIsOutTheBackgroundAndLampIgnoreClicks)
{
    startAtMenu(0);
    w->imgMenu_Click(0);
    w->imgLowBat_Click(0);
    EXPECT_FALSE(w->isUnloaded());
}

TEST_F(GraphicalLook, TheOptionsDialogRestartsThePowerSwitchButKeepsItsToolTip)
{
    startAtMenu(0);
    w->imgPower_Click();
    w->imgPower_Click();
    applyOptions({});
    EXPECT_EQ(w->PowerState, 0);
    EXPECT_EQ(w->imgPower->toolTip(), QStringLiteral("DON'T CLICK ME!!!..."));
    w->imgPower_Click();
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Don't click me"));
    EXPECT_EQ(w->imgPower->toolTip(), QStringLiteral("Please Don't Click Me..."));
    EXPECT_FALSE(w->tmrLowBat->isActive());
}

TEST_F(GraphicalLook, SwitchingTheLookResizesCentresAndShowsTheMenuAtOnce)
{
    start(1, false);
    EXPECT_EQ(w->client()->size(), QSize(248, 88));

    applyOptions({{QStringLiteral("VB Main Menu Theme"), true}});
    EXPECT_EQ(w->client()->size(), QSize(384, 224));
    expectCentred();
    expectClassicControlsVisible(false);
    expectOnlyScreen(w->imgMenu[1]);
    EXPECT_TRUE(shown(w->imgPower));
    EXPECT_TRUE(shown(w->imgOptions));
    EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);

    applyOptions({{QStringLiteral("VB Main Menu Theme"), false}});
    EXPECT_EQ(w->client()->size(), QSize(248, 88));
    expectCentred();
    expectClassicControlsVisible(true);
    expectOnlyScreen(nullptr);
    for (const ButtonPictures &b : buttons())
        EXPECT_FALSE(shown(b.control));
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GraphicalLook, TheOptionsCommandLeavesThePrecautionAndTitleScreensForTheMenu)
{
    start(0);
    applyOptions({});
    expectOnlyScreen(w->imgMenu[0]);
    EXPECT_TRUE(shown(w->imgPower));
}
