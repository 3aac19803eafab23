#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "ImageControl.h"
#include "PickerEntries.h"
#include "ProcessSupport.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmEmus.h"
#include "frmRealityBoy.h"
#include "MsgBox.h"

using testsupport::messageBoxes;
using testsupport::modalWindows;
using testsupport::processStarts;

namespace {

using msgbox::CR;

class Chooser : public ::testing::Test {
protected:
    std::unique_ptr<frmEmus> w;
    QString ourFolder = QDir::currentPath();

    // A folder of the test's own holding the given (empty) files.
    static QString emulatorFolder(const QString &name, const QStringList &files = {})
    {
        const QString folder = QDir(testsupport::tempDir()).filePath(name);
        QDir().mkpath(folder);
        for (const QString &file : files)
            testsupport::writeFile(name + QLatin1Char('/') + file, QByteArray());
        return folder;
    }
    static void setEmulator(const QString &name, bool enabled, const QString &folder = QString())
    {
        settings::SaveBoolean(name + QStringLiteral(" Enabled"), enabled);
        if (!folder.isEmpty())
            settings::Save(name + QStringLiteral(" Directory"), folder);
    }
    void openChooser()
    {
        w = std::make_unique<frmEmus>();
        w->load();
        w->show();
    }
    static void clickFrame(picker::PickFrame *frame) { QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(10, 30)); }
};

} // namespace

TEST_F(Chooser, OnlyEnabledEmulatorsCanBePickedTheOthersAreGreyed)
{
    for (const bool enabled : {false, true}) {
        for (const char *name : {"Reality Boy", "Virtual-E", "Red Dragon"})
            setEmulator(QLatin1String(name), enabled);
        openChooser();
        testsupport::saveScreenshot(*w, QStringLiteral("frmEmus-%1").arg(enabled ? "enabled" : "disabled"));
        const struct {
            picker::PickFrame *frame;
            controls::ImageControl *image, *imageDisabled;
        } entries[] = {{w->fraRealityBoy, w->imgRealityBoy, w->imgRealityBoyDisabled},
                       {w->fraVirtualE, w->imgVirtualE, w->imgVirtualEDisabled},
                       {w->fraRedDragon, w->imgRedDragon, w->imgRedDragonDisabled}};
        for (const auto &entry : entries) {
            SCOPED_TRACE(entry.frame->title().toStdString());
            EXPECT_EQ(entry.frame->isEnabled(), enabled);
            EXPECT_EQ(entry.image->picture() == entry.imageDisabled->picture(), !enabled);
            EXPECT_EQ(entry.image->toolTip(), entry.frame->title());
            if (!enabled) {
                clickFrame(entry.frame);
                QTest::mouseClick(entry.image, Qt::LeftButton);
            }
        }
    }
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
    EXPECT_TRUE(modalWindows().shown.isEmpty());
}

// A pick whose program is there closes the chooser, then opens the
// emulator's front-end, which closes back to the chooser's opener.
TEST_F(Chooser, APickOpensItsFrontEndInTheChoosersPlace)
{
    struct Case {
        const char *emulator;
        const char *program;
        void (frmEmus::*pick)();
        const char *frontEnd;
    };
    const Case cases[] = {
        {"Reality Boy", "vb_98.EXE", &frmEmus::imgRealityBoy_Click, "frmRealityBoy"},
        {"Virtual-E", "VIRTUALE.EXE", &frmEmus::fraVirtualE_Click, "frmVirtualE"},
        {"Red Dragon", "RDRAGON.EXE", &frmEmus::imgRedDragon_Click, "frmRedDragon"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.frontEnd);
        setEmulator(QLatin1String(c.emulator), true, emulatorFolder(QLatin1String(c.frontEnd), {QLatin1String(c.program)}));
        openChooser();
        bool chooserGone = false;
        modalWindows().clear();
        modalWindows().on<forms::Form>([&](forms::Form &) { chooserGone = w->isUnloaded(); });
        (w.get()->*c.pick)();
        EXPECT_EQ(modalWindows().shown, QStringList({QLatin1String(c.frontEnd)}));
        EXPECT_TRUE(chooserGone);
    }
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
    EXPECT_EQ(QDir::currentPath(), ourFolder);
}

// The emulator that a front-end opened from the chooser starts runs in the
// emulator's folder; the program's own current folder stays where it was.
TEST_F(Chooser, TheFrontEndsEmulatorRunsInTheEmulatorsFolder)
{
    const QString folder = emulatorFolder(QStringLiteral("Reality Boy"));
    testsupport::installStub(folder, QStringLiteral("RBOY.EXE"));
    const QString rom = testsupport::writeFile(QStringLiteral("game.vb"), QByteArray(1024, '\0'));
    setEmulator(QStringLiteral("Reality Boy"), true, folder);
    openChooser();
    modalWindows().on<frmRealityBoy>([&](frmRealityBoy &frontEnd) {
        testsupport::fileDialogs().answerNext(rom);
        frontEnd.cmdOpen->click();
        frontEnd.cmdRunRealityBoy->click();
    });
    clickFrame(w->fraRealityBoy);

    ASSERT_EQ(processStarts().launches.size(), 1);
    EXPECT_EQ(processStarts().launches[0].request.workingFolder, folder);
    EXPECT_EQ(QDir::currentPath(), ourFolder);
    // Once the front-end has closed, other starts inherit our folder again.
    process::StartRequest laterStart;
    laterStart.program = folder + QStringLiteral("/RBOY");
    const process::Prepared later = process::Prepare(laterStart);
    ASSERT_TRUE(later.launch);
    EXPECT_TRUE(later.launch->request.workingFolder.isEmpty());
}

TEST_F(Chooser, AMissingProgramIsNamedWithItsFolderAndTheChooserStaysOpen)
{
    struct Case {
        const char *emulator;
        QString folder;
        void (frmEmus::*pick)();
        const char *message;
    };
    const Case cases[] = {
        {"Reality Boy", emulatorFolder(QStringLiteral("rb"), {QStringLiteral("RBOY.COM"), QStringLiteral("VB_98.exe.bak")}),
         &frmEmus::fraRealityBoy_Click, "Can't find Rboy.exe or VB_98.exe in directory:"},
        {"Virtual-E", emulatorFolder(QStringLiteral("Emu")) + QLatin1Char('/'), &frmEmus::imgVirtualE_Click,
         "Can't find VirtualE.exe in directory:"},
        {"Red Dragon", testsupport::tempDir() + QStringLiteral("/no such folder"), &frmEmus::fraRedDragon_Click,
         "Can't find RDRAGON.EXE in directory:"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.emulator);
        setEmulator(QLatin1String(c.emulator), true, c.folder);
        openChooser();
        (w.get()->*c.pick)();
        ASSERT_EQ(messageBoxes().calls.size(), 1);
        EXPECT_EQ(messageBoxes().last().prompt, QLatin1String(c.message) + CR + c.folder);
        EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Emulator not found"));
        EXPECT_EQ(messageBoxes().last().style, msgbox::vbExclamation);
        EXPECT_FALSE(w->isUnloaded());
        messageBoxes().calls.clear();
    }
    EXPECT_TRUE(modalWindows().shown.isEmpty());
    EXPECT_EQ(QDir::currentPath(), ourFolder);
}
