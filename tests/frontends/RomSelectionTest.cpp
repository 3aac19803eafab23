// The front-ends' ROM selection, as the Reality Boy window uses it: Run
// needs a checked ROM there.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "FrontendFixture.h"
#include "MainWindowState.h"
#include "TestSupport.h"
#include "frmRealityBoy.h"

using frontendtest::FrontendForm;
using frontendtest::image;
using frontendtest::writeRom;
using testsupport::messageBoxes;

namespace {

const QString kPlaceholder = QStringLiteral("Please select a file name...");

class RomSelectionForm : public FrontendForm {
protected:
    static void open(frmRealityBoy &w, std::optional<QString> answer)
    {
        testsupport::fileDialogs().answerNext(std::move(answer));
        w.cmdOpen->click();
    }
    static bool runAvailable(const frmRealityBoy &w)
    {
        EXPECT_EQ(w.cmdRunRealityBoy->isEnabled(), w.cmdRunDebugMode->isEnabled());
        return w.cmdRunRealityBoy->isEnabled();
    }
    static QStringList prompts()
    {
        QStringList texts;
        for (const msgbox::Call &call : messageBoxes().calls)
            texts << call.prompt;
        return texts;
    }
};

} // namespace

TEST_F(RomSelectionForm, TheDropDownOffersTheCountedEntriesAndTheStoreKeepsNoMore)
{
    const QStringList six{QStringLiteral("/r/1.vb"), QStringLiteral("/r/2.vb"), QStringLiteral("/r/3.vb"),
                          QStringLiteral("/r/4.vb"), QStringLiteral("/r/5.vb"), QStringLiteral("/r/6.vb")};
    storeRecent(six, 4);
    frmRealityBoy w;
    w.load();
    EXPECT_EQ(rows(w.cmbFilename), QStringList{kPlaceholder} + six.mid(0, 4));
    EXPECT_EQ(w.cmbFilename->currentIndex(), 0);
    EXPECT_EQ(storedRecent(), six.mid(0, 4) + QStringList(6, QString()));
    EXPECT_FALSE(runAvailable(w));
    EXPECT_TRUE(w.cmbFilename->isVisibleTo(&w));
    EXPECT_FALSE(w.lblFilename->isVisibleTo(&w));
}

TEST_F(RomSelectionForm, APickedEntryIsCheckedThenTopsTheListOrLeavesIt)
{
    const QString good = writeRom(QStringLiteral("good.vb"));
    const QString small = writeRom(QStringLiteral("small.vb"), QByteArray(544, '\0'));
    const QString gone = testsupport::tempDir() + QStringLiteral("/gone.vb");
    storeRecent({small, gone, good});
    frmRealityBoy w;
    w.load();

    w.cmbFilename->setCurrentIndex(3); // good.vb
    EXPECT_EQ(rows(w.cmbFilename), QStringList({kPlaceholder, good, small, gone}));
    EXPECT_EQ(w.cmbFilename->currentIndex(), 1);
    EXPECT_TRUE(runAvailable(w));
    EXPECT_TRUE(messageBoxes().calls.isEmpty());

    w.cmbFilename->setCurrentIndex(3); // gone.vb
    EXPECT_EQ(prompts(), QStringList{QStringLiteral("File does not exist.")});
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Invalid filename"));
    EXPECT_EQ(rows(w.cmbFilename), QStringList({kPlaceholder, good, small}));
    EXPECT_EQ(w.cmbFilename->currentIndex(), 0);
    EXPECT_FALSE(runAvailable(w));

    w.cmbFilename->setCurrentIndex(2); // small.vb, 544 bytes
    EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("File too small to be a VB ROM image."));
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Invalid VB ROM"));
    EXPECT_EQ(rows(w.cmbFilename), QStringList({kPlaceholder, good}));
    EXPECT_EQ(w.cmbFilename->currentIndex(), 0);
    EXPECT_FALSE(runAvailable(w));
    EXPECT_EQ(storedRecent(), QStringList({good, QString(), QString(), QString()}) + QStringList(6, QString()));
    EXPECT_TRUE(QFile::exists(small)); // the check only reads

    // The list still takes picks after a failed check.
    w.cmbFilename->setCurrentIndex(1);
    EXPECT_TRUE(runAvailable(w));
    EXPECT_TRUE(mainwindow::dlgZandrel().FileName.isEmpty());
}

TEST_F(RomSelectionForm, EachRowStandsForItsOwnPathEvenWithAGapInAHandEditedStore)
{
    const QString good = writeRom(QStringLiteral("good.vb"));
    storeRecent({QString(), good});
    frmRealityBoy w;
    w.load();
    ASSERT_EQ(rows(w.cmbFilename), QStringList({kPlaceholder, good}));
    w.cmbFilename->setCurrentIndex(1);
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
    EXPECT_TRUE(runAvailable(w));
    EXPECT_EQ(w.cmbFilename->currentText(), good);
}

TEST_F(RomSelectionForm, TheOpenDialogsChoiceIsCheckedAndReported)
{
    const QString image545 = writeRom(QStringLiteral("tiny.vb"), image(545));
    const QString bad545 = writeRom(QStringLiteral("bad.vb"), image(545, false));
    const QString empty = writeRom(QStringLiteral("empty.vb"), QByteArray());
    const QString typed = testsupport::tempDir() + QStringLiteral("/typed.vb");
    struct Case {
        QString path;
        const char *prompt; // "" for none
        bool passes;
    };
    const Case cases[] = {
        {image545, "", true},
        {bad545, "Invalid VB ROM image.", false},
        {typed, "File does not exist.", false},
        {empty, "File does not exist.", false},
    };
    frmRealityBoy w;
    w.load();
    for (const Case &c : cases) {
        messageBoxes() = testsupport::MessageBoxes{};
        open(w, c.path);
        EXPECT_EQ(prompts(), *c.prompt ? QStringList{QLatin1String(c.prompt)} : QStringList()) << c.path.toStdString();
        EXPECT_EQ(runAvailable(w), c.passes) << c.path.toStdString();
        EXPECT_EQ(w.cmbFilename->currentText(), c.passes ? c.path : kPlaceholder);
        EXPECT_EQ(rows(w.cmbFilename).contains(c.path), c.passes);
        EXPECT_TRUE(mainwindow::dlgZandrel().FileName.isEmpty());
    }
    // Nothing was created or deleted on the way.
    EXPECT_FALSE(QFile::exists(typed));
    EXPECT_TRUE(QFile::exists(empty));

    const commondialog::Request request = testsupport::fileDialogs().requests.last();
    EXPECT_EQ(request.filter, QStringLiteral("Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*"));
    EXPECT_EQ(request.initDir, testsupport::tempDir());
    EXPECT_EQ(request.kind, commondialog::Kind::Open);
}

TEST_F(RomSelectionForm, CancellingTheDialogChangesNothing)
{
    const QString good = writeRom(QStringLiteral("good.vb"));
    storeRecent({good});
    frmRealityBoy w;
    w.load();
    w.cmbFilename->setCurrentIndex(1);
    open(w, std::nullopt);
    EXPECT_EQ(w.cmbFilename->currentIndex(), 1);
    EXPECT_TRUE(runAvailable(w));
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
    EXPECT_TRUE(mainwindow::dlgZandrel().FileName.isEmpty());
}

TEST_F(RomSelectionForm, WithoutARecentListTheLabelShowsTheChosenRom)
{
    storeRecent({QStringLiteral("/r/kept.vb")}, 0);
    const QString good = writeRom(QStringLiteral("a & b.vb"));
    frmRealityBoy w;
    w.load();
    EXPECT_FALSE(w.cmbFilename->isVisibleTo(&w));
    EXPECT_TRUE(w.lblFilename->isVisibleTo(&w));
    EXPECT_EQ(w.lblFilename->text(), kPlaceholder);
    EXPECT_EQ(w.lblFilename->textFormat(), Qt::PlainText);

    open(w, good);
    EXPECT_EQ(w.lblFilename->text(), good);
    EXPECT_TRUE(runAvailable(w));
    open(w, writeRom(QStringLiteral("bad.vb"), image(1024, false)));
    EXPECT_EQ(w.lblFilename->text(), kPlaceholder);
    EXPECT_FALSE(runAvailable(w));
    EXPECT_EQ(storedRecent().first(), QStringLiteral("/r/kept.vb")); // the list is left alone
}
