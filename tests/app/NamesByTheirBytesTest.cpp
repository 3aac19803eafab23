// A folder and a ROM named in Latin-1, as an old archive names them
// ("roms\xE9", "caf\xE9.vb"), taken along every road a user takes with them
// through the program's windows: each step must reach the very file, by its
// real bytes, and never another one.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "CraftedRoms.h"
#include "FileDialog.h"
#include "FolderLists.h"
#include "MainWindowState.h"
#include "Paths.h"
#include "ProcessSupport.h"
#include "Registry.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmMain.h"
#include "frmOptions.h"
#include "frmRedDragon.h"
#include "frmRomInfo.h"
#include "frmSelectDir.h"
#include "frmVbRomDatabase.h"

// Failures show texts, not code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using paths::DecodeFileName;
using paths::EncodeFileName;

const QString kCroach = QStringLiteral("Croach, The (PD)");

// The paths a test compares, as the bytes the file system holds.
std::string bytesOf(const QString &path)
{
    return EncodeFileName(path).toStdString();
}

// The real file dialog, as the user works it: the entry whose name is
// `name` is highlighted and Enter pressed. What it opened in goes to `shownIn`.
commondialog::Responder pickInTheDialog(const QByteArray &name, QString &shownIn)
{
    return [name, &shownIn](const commondialog::Request &request) -> std::optional<QString> {
        commondialog::FileDialog dialog(request.kind, request.filter, request.initDir, request.fileName);
        shownIn = dialog.folder();
        for (int i = 0; i < dialog.lstFiles->topLevelItemCount(); ++i)
            if (EncodeFileName(dialog.lstFiles->topLevelItem(i)->text(0)) == name)
                dialog.lstFiles->setCurrentItem(dialog.lstFiles->topLevelItem(i));
        testsupport::pressKey(dialog.lstFiles, Qt::Key_Return);
        if (dialog.chosenPath().isEmpty())
            return std::nullopt;
        return dialog.chosenPath();
    };
}

class NamesByTheirBytes : public ::testing::Test {
protected:
    QString savedCurrent;
    QString roms, rom, other, emulator;

    void SetUp() override
    {
        savedCurrent = paths::CurrentFolder();
        mainwindow::Tag().clear();
        const QByteArray top = EncodeFileName(testsupport::tempDir());
        roms = DecodeFileName(top + "/roms\xE9");
        rom = DecodeFileName(top + "/roms\xE9/caf\xE9.vb");
        other = DecodeFileName(top + "/roms\xE9/vieux\xE9.vb");
        emulator = DecodeFileName(top + "/\xE9mu");
    }
    void TearDown() override
    {
        paths::MakeCurrentFolder(savedCurrent);
        mainwindow::Tag().clear();
    }

    // The program as it starts: the store read afresh, the main window loaded.
    static std::unique_ptr<frmMain> start()
    {
        registry::Reload();
        auto main = std::make_unique<frmMain>();
        main->load();
        EXPECT_FALSE(main->mustEnd());
        return main;
    }
    static int boxCount() { return int(testsupport::messageBoxes().calls.size()); }
};

} // namespace

TEST_F(NamesByTheirBytes, AFolderAndARomNamedInLatin1GoEveryRoadAsThemselves)
{
    const QByteArray croach = craftedroms::CatalogueImage(kCroach);
    const QByteArray older = craftedroms::UnknownImage(4096);
    testsupport::writeFile(DecodeFileName("roms\xE9/caf\xE9.vb"), croach);
    testsupport::writeFile(DecodeFileName("roms\xE9/vieux\xE9.vb"), older);
    testsupport::installStub(emulator, QStringLiteral("rdragon.exe"));
    // ROMs the database moves go to another file system.
    testsupport::SmallFileSystem otherFileSystem(1024, paths::AppendFileToDir(roms, QStringLiteral("VBoyRen")));

    // The base folder and the emulator's folder, chosen in the picker from the
    // options dialog, and applied.
    {
        auto main = start();
        QString pickerTarget;
        testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
            picker.dirDirectory->setPath(pickerTarget);
            picker.cmdSelect->click();
        });
        testsupport::modalWindows().on<frmOptions>([&](frmOptions &options) {
            pickerTarget = roms;
            options.cmdBaseDir->click();
            options.chkRdragEnabled->setChecked(true);
            pickerTarget = emulator;
            options.cmdRdragDir->click();
            options.cmdApply->click();
            EXPECT_TRUE(options.isUnloaded());
        });
        const int before = boxCount();
        main->cmdOptions->click();
        EXPECT_EQ(boxCount(), before) << testsupport::messageBoxes().last().prompt.toStdString();
        testsupport::modalWindows().clear();
    }

    // Started again, the program reads both folders back byte for byte.
    auto main = start();
    EXPECT_EQ(bytesOf(settings::Get(QStringLiteral("Base Directory"))), bytesOf(roms));
    EXPECT_EQ(bytesOf(settings::Get(QStringLiteral("Red Dragon Directory"))), bytesOf(emulator));

    // The ROM opened from the file dialog, which opens in the base folder.
    QString dialogFolder;
    QString loaded;
    commondialog::SetResponder(pickInTheDialog("caf\xE9.vb", dialogFolder));
    testsupport::modalWindows().on<frmRomInfo>([&](frmRomInfo &w) {
        w.mnuFileOpen->trigger();
        loaded = w.lblFilename->text();
    });
    main->mnuFileRom->trigger();
    EXPECT_EQ(bytesOf(dialogFolder), bytesOf(roms));
    EXPECT_EQ(bytesOf(loaded), bytesOf(rom));
    testsupport::modalWindows().clear();

    // After a restart the recent menu opens it; Save As onto another existing
    // file asks first, naming that file, and No leaves the file as it was.
    main = start();
    loaded.clear();
    msgbox::Call question;
    commondialog::SetResponder(pickInTheDialog("vieux\xE9.vb", dialogFolder));
    testsupport::modalWindows().on<frmRomInfo>([&](frmRomInfo &w) {
        ASSERT_TRUE(w.mnuFileRecentItems[0]->isVisible());
        w.mnuFileRecentItems[0]->trigger();
        loaded = w.lblFilename->text();
        const int before = boxCount();
        testsupport::messageBoxes().answerNext(msgbox::vbNo);
        w.mnuFileSaveAs->trigger();
        ASSERT_EQ(boxCount(), before + 1);
        question = testsupport::messageBoxes().last();
    });
    main->mnuFileRom->trigger();
    EXPECT_EQ(bytesOf(loaded), bytesOf(rom));
    EXPECT_EQ(question.title, QStringLiteral("Save File As"));
    EXPECT_EQ(bytesOf(question.prompt), bytesOf(other + QStringLiteral(" already exists.") + msgbox::CR +
                                                QStringLiteral("Do you wish to replace it?")));
    EXPECT_EQ(testsupport::readFile(other), older);
    testsupport::modalWindows().clear();

    // The emulator, a native program, starts with that ROM in its own folder.
    main = start();
    testsupport::allowRealStarts();
    bool ran = false;
    testsupport::modalWindows().on<frmRedDragon>([&](frmRedDragon &w) {
        ASSERT_GT(w.cmbFilename->count(), 1);
        w.cmbFilename->setCurrentIndex(1);
        w.cmdRunRedDragon->click();
        ran = true;
    });
    const int beforeRun = boxCount();
    main->mnuFileRedDragon->trigger();
    ASSERT_TRUE(ran);
    ASSERT_EQ(boxCount(), beforeRun) << testsupport::messageBoxes().last().prompt.toStdString();
    const auto record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(bytesOf(record->cwd), bytesOf(emulator));
    ASSERT_EQ(record->arguments.size(), 1);
    EXPECT_EQ(bytesOf(record->arguments[0]), bytesOf(rom));
    testsupport::modalWindows().clear();

    // The ROM database renames the ROM and moves it to the other file system.
    if (!otherFileSystem.mounted())
        GTEST_SKIP() << "mounting a file system for the move needs root";
    settings::Save(QStringLiteral("Rename ROMs"), QStringLiteral("1"));
    settings::Save(QStringLiteral("Move ROMs"), QStringLiteral("1"));
    main = start();
    testsupport::modalWindows().on<frmVbRomDatabase>([&](frmVbRomDatabase &w) {
        testsupport::messageBoxes().answerNext(msgbox::vbYes); // go on, files may be overwritten
        w.cmdIdentifyRoms->click();
    });
    main->mnuFileDatabase->trigger();
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Complete"))
        << testsupport::messageBoxes().last().prompt.toStdString();
    const QString moved = otherFileSystem.path() + QStringLiteral("/") + kCroach + QStringLiteral(".vb");
    EXPECT_EQ(testsupport::readFile(moved), croach);
    EXPECT_FALSE(paths::Exists(rom));
    EXPECT_EQ(testsupport::readFile(other), older);
}
