#pragma once
// How windows reach the help viewer. A window registers each hidden text box
// that the viewer may show (its help text, the ROM database's list texts)
// under the box's topic key for as long as the box exists; the viewer copies
// the text of the box whose key it finds in the main window's Tag mailbox.

#include <QString>

class QPlainTextEdit;

namespace help {

// The box stays registered until it is destroyed.
void RegisterSource(const QString &topicKey, QPlainTextEdit *box);
// The whole text of the box registered under the key; "" when there is none.
QString SourceText(const QString &topicKey);

// Writes the topic key into the Tag mailbox and shows the help viewer
// modally, as every help command of the program does.
void ShowTopic(const QString &topicKey);

} // namespace help
