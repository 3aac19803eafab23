#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "Forms.h"

namespace msgbox {
namespace {

Responder g_responder;
QPointer<QWidget> g_parent;

// A box's button and the answer it gives.
struct ButtonAnswer {
    QMessageBox::StandardButton button;
    Answer answer;
};

QList<ButtonAnswer> buttonsFor(int style)
{
    switch (style & 0xF) {
    case vbOKCancel: return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel: return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default: return {{QMessageBox::Ok, vbOK}};
    }
}

int defaultIndex(int style, int buttonCount)
{
    const int wanted = (style & 0xF00) / 256;
    return wanted < buttonCount ? wanted : 0;
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int show(const QString &prompt, int style, const QString &title, bool escapeLeaves)
{
    const QString shownTitle = title.isEmpty() ? QStringLiteral("Zandrel") : title;
    if (g_responder)
        return g_responder(Call{prompt, style, shownTitle});

    QWidget *parent = g_parent ? g_parent.data() : QApplication::activeWindow();
    // A window not shown yet (the main window during start-up) has no place
    // on the screen: such a box goes in the middle of the screen instead.
    if (parent && !parent->isVisible())
        parent = nullptr;
    QMessageBox box(iconFor(style), shownTitle, QString(prompt).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                    QMessageBox::NoButton, parent);
    // Prompts carry file names and paths: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    const auto buttons = buttonsFor(style);
    for (const ButtonAnswer &b : buttons)
        box.addButton(b.button);
    box.setDefaultButton(buttons[defaultIndex(style, int(buttons.size()))].button);
    if (escapeLeaves && !(box.standardButtons() & QMessageBox::Cancel)) {
        // An unseen Cancel that Escape and the close box press.
        QPushButton *leave = box.addButton(QMessageBox::Cancel);
        leave->hide();
        box.setEscapeButton(leave);
    }
    // A box asks for an answer: show the ordinary pointer even under a busy one.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    // A box settles its size as it shows, after Qt has placed it for the size
    // it had before: shown first, it is placed as it finally is.
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    forms::CentreWindow(box, parent ? parent->window() : nullptr);
    box.exec();
    QApplication::restoreOverrideCursor();
    const auto clicked = box.standardButton(box.clickedButton());
    if (escapeLeaves && clicked == QMessageBox::Cancel)
        return vbCancel;
    for (const ButtonAnswer &b : buttons)
        if (b.button == clicked)
            return b.answer;
    // Closed by its title bar: Cancel where there is one.
    for (const ButtonAnswer &b : buttons)
        if (b.answer == vbCancel)
            return vbCancel;
    return buttons.size() == 1 ? buttons.front().answer : DefaultAnswer(style);
}

} // namespace

int DefaultAnswer(int style)
{
    const auto buttons = buttonsFor(style);
    return buttons[defaultIndex(style, int(buttons.size()))].answer;
}

int MsgBox(const QString &prompt, int style, const QString &title)
{
    return show(prompt, style, title, false);
}

int Ask(const QString &prompt, int style, const QString &title)
{
    return show(prompt, style, title, true);
}

void SetResponder(Responder responder)
{
    g_responder = std::move(responder);
}

void SetParentWindow(QWidget *parent)
{
    g_parent = parent;
}

} // namespace msgbox
