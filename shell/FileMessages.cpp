#include "FileMessages.h"

#include "MsgBox.h"
#include "Paths.h"

namespace filemessages {
namespace {

using msgbox::CR;

} // namespace

bool MayReplace(const QString &path)
{
    if (!paths::Exists(path))
        return true;
    return msgbox::MsgBox(path + QStringLiteral(" already exists.") + CR + QStringLiteral("Do you wish to replace it?"),
                          msgbox::vbYesNo | msgbox::vbExclamation | msgbox::vbDefaultButton2,
                          QStringLiteral("Save File As"))
           == msgbox::vbYes;
}

void ReportNotSaved(const QString &path, const QString &reason)
{
    msgbox::MsgBox(QStringLiteral("Unable to save the file:") + CR + path + CR + reason, msgbox::vbExclamation,
                   QStringLiteral("File error"));
}

void ReportNotRead(const QString &path, const QString &reason)
{
    msgbox::MsgBox(QStringLiteral("Unable to read the file:") + CR + path + CR + reason, msgbox::vbExclamation,
                   QStringLiteral("File error"));
}

} // namespace filemessages
