#include "RevertQuestions.h"

#include <QString>

#include "MsgBox.h"

namespace revertquestions {
namespace {

bool askYesNo(const QString &question, const QString &title)
{
    return msgbox::MsgBox(question, msgbox::vbYesNo + msgbox::vbQuestion + msgbox::vbDefaultButton2, title)
           == msgbox::vbYes;
}

} // namespace

bool AskRevertToDefault()
{
    return askYesNo(QStringLiteral("Do you wish to revert to default settings?"), QStringLiteral("Revert to default"));
}

bool AskRevertToSaved()
{
    return askYesNo(QStringLiteral("Do you wish to revert to saved settings?"), QStringLiteral("Revert to saved"));
}

} // namespace revertquestions
