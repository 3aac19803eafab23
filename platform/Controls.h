#pragma once
// Controls placed the classic way: at twip positions on a form's client area.

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include <type_traits>

#include "Forms.h"

namespace controls {

// Creates a control on `parent` at a twip rectangle. A label shows its text
// as written: captions here are names, paths and titles, never markup.
template <typename Control, typename... Args>
Control *Place(QWidget *parent, int left, int top, int width, int height, Args &&...args)
{
    auto *c = new Control(std::forward<Args>(args)..., parent);
    c->setGeometry(forms::TwipsRect(left, top, width, height));
    if constexpr (std::is_base_of_v<QLabel, Control>)
        c->setTextFormat(Qt::PlainText);
    return c;
}

// Adds a menu item with its shortcut whose choice runs the form's handler.
template <typename Receiver>
QAction *AddMenuItem(QMenu *menu, const QString &caption, const QKeySequence &shortcut, Receiver *receiver,
                     void (Receiver::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, receiver, handler);
    return action;
}

// A label whose caption, set through setCaption, announces each change, as
// the classic label's Change event does: setting the caption it already has
// announces nothing.
class ChangeLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    QString caption() const { return text(); }
    void setCaption(const QString &caption);

signals:
    void captionChanged();
};

// A push button whose caption wraps onto several lines when it is wider than
// the button, as the classic small launcher buttons need. The caption stays
// the button's text (and so its accessible name).
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Classic layouts were measured for a narrower font than Linux desktops use.
// When a label (one line or wrapped), check box, option button, push button or frame
// under `root` is too small for its caption, the font of the whole of `root` steps down half a
// point at a time (to 6 points at the least) until every caption shows: one
// size for the whole window keeps it even.
void FitCaptions(QWidget *root);

// A list box of one-line text rows, as the classic list box is: every row is
// as high as the others and as wide as the widest row written since the list
// was last cleared (its extent for horizontal scrolling). The list then lays
// its rows out without measuring each of them again whenever one changes, so
// rewriting rows one at a time costs per row written, however long the list.
// In a fixed-pitch font its columns line up: a replacement character (a file
// name's byte that is not UTF-8) is drawn one column wide.
class TextRowList : public QListWidget {
    Q_OBJECT
public:
    explicit TextRowList(QWidget *parent = nullptr);

    // What a row of `text` shows: U+FFFD, and each lone surrogate (which is
    // drawn as U+FFFD), becomes the font's own U+FFFD where that is as wide
    // as a plain character, else "?".
    QString shownText(const QString &text) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    class RowDelegate;
    void measureRows(int first, int last);

    RowDelegate *m_rows;
    QSize m_rowSize;
    // The context of the handlers of the rows model. The model is one of the
    // list's children, destroyed (and reset on its way) after the list's own
    // part is gone; this member goes with that part and takes them along.
    QObject m_rowsHandlers;
};

// A vertical scroll bar whose top end is its maximum, as the classic count
// spinners have it: the up arrow, the track above the thumb, the Up key and
// the wheel turned up all raise the value.
class UpwardScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit UpwardScrollBar(QWidget *parent = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    void raiseTowardsTop(int action);
};

// A text box that holds a number and keeps its text clean on every change,
// typed, pasted or set from code: a non-empty text that is not its number's
// signed form (" 12", "-3", " .5") becomes the number's plain decimal form
// ("007" gives "7", "12ab" gives "12", letters give "0") with the caret at
// the end, also where that form is the text already ("3" typed into "12"
// leaves "132" with the caret after the "2"). numberChanged follows, for the window's own bounds; a bound set
// through setTextAtEnd runs the rule again, and setting the text the box
// already holds is no change.
class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(QWidget *parent = nullptr);

    // The number the text reads as (leading-number rule; "" is 0).
    double value() const;
    // Sets the text, caret after its last character; the same text is no change.
    void setTextAtEnd(const QString &text);

    // The replacement text for `text`, or `text` itself where it stays.
    static QString Normalised(const QString &text);

signals:
    void numberChanged();

private:
    void normalise();
};

} // namespace controls
