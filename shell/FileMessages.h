#pragma once
// The questions and reports every window's file saving shares.

#include <QString>

class QWidget;

namespace filemessages {

// True when nothing is at `path`, or the user agrees to replace what is
// there ("... already exists. Do you wish to replace it?", No by default).
bool MayReplace(const QString &path);

// Tells the user that `path` could not be written, with the system's reason.
void ReportNotSaved(const QString &path, const QString &reason);

// Tells the user that `path` could not be read, with the system's reason.
void ReportNotRead(const QString &path, const QString &reason);

} // namespace filemessages
