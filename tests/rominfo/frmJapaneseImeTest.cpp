#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include "Controls.h"
#include "Fonts.h"
#include "RomInfoFixture.h"
#include "TestSupport.h"
#include "frmJapaneseIme.h"
#include "frmRomInfo.h"

using rominfotest::image;
using rominfotest::RomInfoForm;

namespace {

constexpr int kKa = 5;
constexpr int kVoicedMark = 61;

QString kana(const char *bytes)
{
    return fonts::DecodeTitle(QByteArray(bytes));
}

// The editor on its own, over a title label as the ROM window has it.
class TitleEditor : public ::testing::Test {
protected:
    controls::ChangeLabel title;
    frmJapaneseIme editor{title};

    void openWith(const QString &caption)
    {
        title.setCaption(caption);
        editor.load();
    }
};

struct Press {
    const char *name;
    QString text;
    int selectionStart;
    int selectionLength; // 0: the caret at selectionStart
    QString expected;
    int caret;
};

} // namespace

TEST_F(TitleEditor, EveryKanaByteIsOnExactlyOneButton)
{
    QSet<int> bytes;
    for (int i = 0; i < frmJapaneseIme::kKanaCount; ++i) {
        bytes << frmJapaneseIme::KanaByte(i);
        EXPECT_EQ(editor.cmdKatakana[size_t(i)]->text(), fonts::DecodeTitle(QByteArray(1, char(frmJapaneseIme::KanaByte(i)))));
    }
    EXPECT_EQ(bytes.size(), 63);
    EXPECT_EQ(*std::min_element(bytes.begin(), bytes.end()), 0xA1);
    EXPECT_EQ(*std::max_element(bytes.begin(), bytes.end()), 0xDF);
    EXPECT_EQ(editor.cmdKatakana[kKa]->toolTip(), QStringLiteral("KA"));
    EXPECT_EQ(editor.cmdKatakana[44]->toolTip(), QStringLiteral("O (WO)"));
    EXPECT_EQ(editor.cmdKatakana[kVoicedMark]->toolTip(), QStringLiteral("Voiced Sound Mark"));
}

TEST_F(TitleEditor, ButtonsBuildATitleAndItsReading)
{
    openWith(QString());
    EXPECT_TRUE(editor.txtRomTitle->text().isEmpty());
    editor.cmdKatakana[kKa]->click();
    editor.cmdKatakana[kVoicedMark]->click();
    EXPECT_EQ(fonts::EncodeTitle(editor.txtRomTitle->text()), QByteArray("\xB6\xDE"));
    EXPECT_EQ(editor.txtRomTitle->cursorPosition(), 2);
    EXPECT_EQ(editor.txtRomTitle->toolTip(), QStringLiteral("Ga"));
    testsupport::saveScreenshot(editor, QStringLiteral("frmJapaneseIme"));
}

TEST_F(TitleEditor, AButtonInsertsAtTheCaretOrReplacesTheSelection)
{
    const QString twenty = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    const QString ka = kana("\xB6");
    const Press cases[] = {
        {"caret inside", QStringLiteral("ABCD"), 2, 0, QStringLiteral("AB") + ka + QStringLiteral("CD"), 3},
        {"selection", QStringLiteral("ABCDEF"), 2, 3, QStringLiteral("AB") + ka + QStringLiteral("F"), 3},
        {"full, caret at end", twenty, 20, 0, twenty, 20},
        {"full, caret inside", twenty, 5, 0, twenty.left(5) + ka + twenty.mid(5, 14), 6},
    };
    for (const Press &c : cases) {
        SCOPED_TRACE(c.name);
        editor.txtRomTitle->setText(c.text);
        if (c.selectionLength)
            editor.txtRomTitle->setSelection(c.selectionStart, c.selectionLength);
        else
            editor.txtRomTitle->setCursorPosition(c.selectionStart);
        editor.cmdKatakana_Click(kKa);
        EXPECT_EQ(editor.txtRomTitle->text(), c.expected);
        EXPECT_EQ(editor.txtRomTitle->cursorPosition(), c.caret);
        EXPECT_FALSE(editor.txtRomTitle->hasSelectedText());
    }
}

TEST_F(TitleEditor, OpensOnTheTitleWithTheCaretAtItsEnd)
{
    openWith(QStringLiteral("abc"));
    EXPECT_EQ(editor.txtRomTitle->text(), QStringLiteral("abc"));
    EXPECT_EQ(editor.txtRomTitle->cursorPosition(), 3);
    EXPECT_EQ(editor.txtRomTitle->toolTip(), QStringLiteral("Abc"));
    editor.txtRomTitle->setText(QStringLiteral("ABC 12"));
    EXPECT_EQ(editor.txtRomTitle->toolTip(), QStringLiteral("ABC 12"));
}

TEST_F(TitleEditor, OkWritesTheTitleBackAndCancelDoesNot)
{
    openWith(QStringLiteral("OLD"));
    editor.txtRomTitle->setText(QStringLiteral("NEW"));
    editor.cmdCancel->click();
    EXPECT_EQ(title.caption(), QStringLiteral("OLD"));
    EXPECT_TRUE(editor.isUnloaded());

    frmJapaneseIme again(title);
    again.load();
    again.txtRomTitle->setText(QStringLiteral("NEW"));
    again.cmdOK->click();
    EXPECT_EQ(title.caption(), QStringLiteral("NEW"));
    EXPECT_TRUE(again.isUnloaded());
}

// A title holds ASCII and half-width katakana only: anything else typed or
// pasted stays out of the box, so what it shows is what Save writes. The
// bytes the title already had stay, whatever they are.
TEST_F(TitleEditor, TheBoxTakesOnlyWhatATitleCanHold)
{
    struct Case {
        const char *name;
        QByteArray title;
        QString typed;
        QString shown;
    };
    const QString halfWidthA = kana("\xB1");
    const Case cases[] = {
        {"typed one by one", "", QStringLiteral("a\u00B0b\u00A5c\u30A2d\u00E9"), QStringLiteral("abcd")},
        {"half-width kana and ASCII", "", halfWidthA + QStringLiteral("~ !"), halfWidthA + QStringLiteral("~ !")},
        {"the title's own bytes stay", QByteArray("AB\0\xE9", 4), QStringLiteral("\u00E9C\u3042"),
         QStringLiteral("AB") + QChar(0) + QChar(0xE9) + QChar(0xE9) + QStringLiteral("C")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        controls::ChangeLabel label;
        label.setCaption(fonts::DecodeTitle(c.title));
        frmJapaneseIme box(label);
        box.load();
        for (QChar typed : c.typed)
            box.txtRomTitle->insert(typed);
        EXPECT_EQ(box.txtRomTitle->text(), c.shown);
        EXPECT_EQ(fonts::DecodeTitle(fonts::EncodeTitle(box.txtRomTitle->text())), box.txtRomTitle->text());
    }

    // A paste keeps what a title can hold and drops the rest.
    openWith(QString());
    editor.txtRomTitle->insert(QStringLiteral("x\u00B0y\u30A2z"));
    EXPECT_EQ(editor.txtRomTitle->text(), QStringLiteral("xyz"));
    EXPECT_EQ(editor.txtRomTitle->cursorPosition(), 3);
}

TEST_F(TitleEditor, EscapeCancels)
{
    openWith(QStringLiteral("OLD"));
    editor.show();
    editor.txtRomTitle->setText(QStringLiteral("NEW"));
    testsupport::pressKey(editor.txtRomTitle, Qt::Key_Escape);
    EXPECT_TRUE(editor.isUnloaded());
    EXPECT_EQ(title.caption(), QStringLiteral("OLD"));
}

// Through the ROM window: OK refreshes the title's tool tip and the caption;
// the file changes only on Save.
TEST_F(RomInfoForm, TheEditorsTitleReachesTheWindowOnOk)
{
    const QByteArray original = image(1024, "ABC");
    const QString path = testsupport::writeFile(QStringLiteral("a.vb"), original);
    frmRomInfo w;
    w.load();
    testsupport::fileDialogs().answerNext(path);
    w.mnuFileOpen_Click();

    testsupport::modalWindows().on<frmJapaneseIme>([](frmJapaneseIme &editor) {
        editor.txtRomTitle->clear();
        editor.cmdKatakana[kKa]->click();
        editor.cmdKatakana[kVoicedMark]->click();
        editor.cmdOK->click();
    });
    w.cmdJapaneseIme->click();
    EXPECT_EQ(testsupport::modalWindows().shown, QStringList({QStringLiteral("frmJapaneseIme")}));
    EXPECT_EQ(w.lblTitle->text(), kana("\xB6\xDE"));
    EXPECT_EQ(w.lblTitle->toolTip(), QStringLiteral("Ga"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ROM Information - [Ga]"));
    EXPECT_EQ(testsupport::readFile(path), original);

    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w.mnuFileSave_Click();
    EXPECT_EQ(testsupport::readFile(path).mid(1024 - 544, 20), QByteArray("\xB6\xDE").leftJustified(20, ' '));
}
