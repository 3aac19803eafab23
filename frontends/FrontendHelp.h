#pragma once
// The front-ends' help pages: each window keeps its page in a hidden text
// box that the help viewer shows under the window's topic key.

#include <QString>

class QPlainTextEdit;
class QWidget;

namespace frontendhelp {

// A hidden box on `parent` holding the page `pageName` (compiled into the
// program), registered with the help viewer under `topicKey`.
QPlainTextEdit *CreateHelpBox(QWidget *parent, const QString &topicKey, const QString &pageName);

} // namespace frontendhelp
