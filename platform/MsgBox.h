#pragma once
// Message boxes by the classic numeric style: the sum of a button set, an
// icon and a default button. Answers are the classic codes. Tests install a
// responder that records each box and answers it without a person.

#include <QString>
#include <functional>

class QWidget;

namespace msgbox {

// The line break of message texts: lines are joined with a lone carriage
// return, which the box shows as a new line.
inline constexpr QChar CR = u'\r';

enum Style : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

enum Answer : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

struct Call {
    QString prompt;
    int style = 0;
    QString title;
};

// Shows the box modally and returns the answer. A CR in the prompt is a line
// break. An empty title shows the program's name.
int MsgBox(const QString &prompt, int style = vbOKOnly, const QString &title = QString());

// A question that the user may also leave without answering: Escape and the
// close box answer vbCancel, even when the box has no Cancel button.
int Ask(const QString &prompt, int style, const QString &title);

// The answer the box gives when the user just presses Enter.
int DefaultAnswer(int style);

// Replaces the real boxes; an empty function restores them.
using Responder = std::function<int(const Call &)>;
void SetResponder(Responder responder);

// Window that boxes are centred on (the active window when unset).
void SetParentWindow(QWidget *parent);

} // namespace msgbox
