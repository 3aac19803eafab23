#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

#include "Controls.h"
#include "Fonts.h"
#include "Paths.h"

TEST(UpwardScrollBar, EveryWayUpRaisesTheValue)
{
    controls::UpwardScrollBar bar;
    bar.setRange(1, 10);
    bar.setPageStep(3);
    bar.setValue(5);

    bar.triggerAction(QAbstractSlider::SliderSingleStepSub); // the up arrow
    EXPECT_EQ(bar.value(), 6);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd); // the down arrow
    EXPECT_EQ(bar.value(), 5);
    bar.triggerAction(QAbstractSlider::SliderPageStepSub); // the track above the thumb
    EXPECT_EQ(bar.value(), 8);

    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&bar, &up);
    EXPECT_EQ(bar.value(), 9);

    bar.setValue(5);
    QWheelEvent wheelUp(QPointF(2, 2), QPointF(2, 2), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
    QApplication::sendEvent(&bar, &wheelUp);
    EXPECT_GT(bar.value(), 5);

    // At either end a step the wrong way stays put.
    bar.setValue(10);
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar.value(), 10);
    bar.setValue(1);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar.value(), 1);
}

TEST(FitCaptions, TheWholeWindowStepsDownUntilEveryCaptionShows)
{
    QWidget window;
    QFont big = window.font();
    big.setPointSizeF(12);
    window.setFont(big);
    auto *fits = new QLabel(QStringLiteral("OK"), &window);
    fits->setGeometry(0, 0, 200, 20);
    auto *tight = new QCheckBox(QStringLiteral("Automatically identify ROM information"), &window);
    tight->setGeometry(0, 20, tight->sizeHint().width() * 3 / 4, 20);

    controls::FitCaptions(&window);
    EXPECT_LE(tight->sizeHint().width(), tight->width());
    EXPECT_LT(window.font().pointSizeF(), 12);
    EXPECT_EQ(fits->font().pointSizeF(), window.font().pointSizeF()); // one size for all
}

TEST(NumberBox, KeepsItsTextInItsNumbersPlainForm)
{
    struct Case {
        const char *typed;
        const char *shown;
    };
    const Case cases[] = {
        {"", ""},         {"7", "7"},         {"007", "7"},    {"05", "5"},   {"12ab", "12"},
        {"abc", "0"},     {"1.", "1"},        {"-", "0"},      {"1.5", "1.5"}, {" 12", " 12"},
        {"-3", "-3"},     {" .5", " .5"},     {"0.5", "0.5"},  {"&H10", "16"}, {"1 2", "12"},
    };
    for (const Case &c : cases) {
        controls::NumberBox box;
        box.setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(box.text(), QString::fromLatin1(c.shown)) << c.typed;
        if (box.text() != QString::fromLatin1(c.typed)) {
            EXPECT_EQ(box.cursorPosition(), box.text().size()) << c.typed;
        }
    }
}

TEST(NumberBox, TypingInsideANumberLeavesTheCaretAtTheEnd)
{
    controls::NumberBox box;
    const auto type = [&box](char digit) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (digit - '0'), Qt::NoModifier, QString(QLatin1Char(digit)));
        QApplication::sendEvent(&box, &press);
    };
    box.setText(QStringLiteral("12"));
    box.setCursorPosition(1);
    type('3');
    EXPECT_EQ(box.text(), QStringLiteral("132"));
    EXPECT_EQ(box.cursorPosition(), 3);
    // A signed form stays as typed, caret and all.
    box.setText(QStringLiteral(" 12"));
    box.setCursorPosition(1);
    type('5');
    EXPECT_EQ(box.text(), QStringLiteral(" 512"));
    EXPECT_EQ(box.cursorPosition(), 2);
}

TEST(NumberBox, TheWindowsBoundRunsAfterTheRuleAndOnceTheTextIsClean)
{
    controls::NumberBox box;
    int bounds = 0;
    QObject::connect(&box, &controls::NumberBox::numberChanged, [&] {
        ++bounds;
        if (box.value() > 255)
            box.setTextAtEnd(QStringLiteral("255"));
    });
    box.setText(QStringLiteral("0300"));
    EXPECT_EQ(box.text(), QStringLiteral("255"));
    EXPECT_EQ(box.cursorPosition(), 3);
    // "0300" -> "300" (bound) -> "255" (bound, in range): the rule asked for the window twice.
    EXPECT_EQ(bounds, 2);

    bounds = 0;
    box.setTextAtEnd(QStringLiteral("255")); // the same text is no change
    EXPECT_EQ(bounds, 0);
}

// Rows of one size, the widest row's, whichever row that is: the list
// scrolls far enough for every row.
TEST(TextRowList, EveryRowIsAsWideAsTheWidestRowWritten)
{
    controls::TextRowList list;
    list.resize(120, 100);
    list.show();
    const auto reach = [&list] {
        QApplication::processEvents(); // the list lays its rows out when events run
        return list.horizontalScrollBar()->maximum() + list.viewport()->width();
    };
    const QString longRow(60, QLatin1Char('x'));
    list.addItem(longRow);
    list.addItem(QStringLiteral("short"));
    const int longWidth = list.fontMetrics().horizontalAdvance(longRow);
    EXPECT_GE(reach(), longWidth);
    EXPECT_GE(list.visualItemRect(list.item(1)).width(), longWidth);

    const QString longer(90, QLatin1Char('y'));
    list.item(1)->setText(longer);
    EXPECT_GE(reach(), list.fontMetrics().horizontalAdvance(longer));
    EXPECT_EQ(list.visualItemRect(list.item(0)).height(), list.visualItemRect(list.item(1)).height());

    list.clear();
    list.addItem(QStringLiteral("a"));
    EXPECT_EQ(reach(), list.viewport()->width());
}

namespace {

// Reaches QObject::receivers, which only a QObject may call on itself.
struct Receivers : QObject {
    using QObject::receivers;
};

// Destroys `window` with `list` in it, as closing it does, and answers how
// many handlers the list's rows model (a child of the list, destroyed after
// the list's own part) still has for its reset when it resets on its way
// out; -1 when it did not reset.
int resetHandlersLeftAfterTheList(QWidget *window, QListWidget *list)
{
    list->addItem(QStringLiteral("row"));
    QAbstractItemModel *rows = list->model();
    int left = -1;
    QObject watcher;
    QObject::connect(rows, &QAbstractItemModel::modelAboutToBeReset, &watcher, [&] {
        const auto receivers = &Receivers::receivers;
        left = (rows->*receivers)(SIGNAL(modelReset()));
    });
    delete window;
    return left;
}

} // namespace

// No handler of a text row list outlives it to run on a list that is no
// more: when its window closes, its rows model goes last and finds no more
// handlers of its reset than a plain list leaves.
TEST(TextRowList, NoHandlerOfTheListOutlivesIt)
{
    auto *plainWindow = new QWidget;
    const int plainLeft = resetHandlersLeftAfterTheList(plainWindow, new QListWidget(plainWindow));
    ASSERT_GE(plainLeft, 0);
    auto *window = new QWidget;
    EXPECT_EQ(resetHandlersLeftAfterTheList(window, new controls::TextRowList(window)), plainLeft);
}

// A name's byte that is not UTF-8 is shown as a replacement character. In a
// fixed-pitch font it takes one column, as every other character does: the
// font's own glyph where that is one column wide (DejaVu Sans Mono's is),
// else "?" (the katakana font's is twice as wide).
TEST(TextRowList, AReplacementCharacterTakesOneColumn)
{
    ASSERT_TRUE(fonts::RegisterKatakanaFont(paths::AppendFileToDir(paths::FontsFolder(), QStringLiteral("MSGOKATA.TTF"))));
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSizeF(8.25);
    // Qt would quietly draw in another font, whose glyph may be of any width.
    ASSERT_EQ(QFontInfo(mono).family(), mono.family()) << "DejaVu Sans Mono is missing: install fonts-dejavu-core";
    for (const QFont &font : {mono, fonts::KatakanaFont(8.25)}) {
        SCOPED_TRACE(font.family().toStdString());
        controls::TextRowList list;
        list.setFont(font);
        const QFontMetrics metrics(font);
        const QString plain = QStringLiteral("Golfe.vb  - x");
        for (const QString &odd : {paths::DecodeFileName("Golf\xE9.vb  - x"), QStringLiteral(u"Golf\uFFFD.vb  - x"),
                                   paths::DecodeFileName("Golf\xE9\xA0.vb - x")}) {
            const QString shown = list.shownText(odd);
            EXPECT_EQ(shown.size(), odd.size());
            EXPECT_EQ(metrics.horizontalAdvance(shown), metrics.horizontalAdvance(plain));
        }
        // A pair of surrogates is one character of its own.
        EXPECT_EQ(list.shownText(QStringLiteral(u"\U0001F3AE.vb")), QStringLiteral(u"\U0001F3AE.vb"));

        // As drawn: the row with the odd byte ends where the plain row does.
        list.addItem(paths::DecodeFileName("Golf\xE9.vb  - x"));
        list.addItem(plain);
        list.resize(300, 100);
        list.show();
        QApplication::processEvents();
        const QImage drawn = list.viewport()->grab().toImage();
        QList<int> rightEnds;
        for (int row = 0; row < 2; ++row) {
            const QRect rect = list.visualItemRect(list.item(row));
            int right = -1;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = 0; x < drawn.width(); ++x)
                    if (qGray(drawn.pixel(x, y)) < 128)
                        right = std::max(right, x);
            rightEnds << right;
        }
        EXPECT_GT(rightEnds[1], 0);
        EXPECT_EQ(rightEnds[0], rightEnds[1]);
    }
}
