#pragma once
// What the main window carries for every window: the Tag mailbox (a caller
// writes it just before showing a dialog, the dialog reads and empties it)
// and the one shared open/save dialog, dlgZandrel. They live as long as the
// program; windows never call each other's procedures but meet here.

#include <QString>

#include "CommonDialog.h"

namespace mainwindow {

QString &Tag();
commondialog::CommonDialog &dlgZandrel();

// Shows dlgZandrel to open or save a file of the filter's types, starting
// in `initDir` with no name filled in. The path chosen, or "" for Cancel;
// the dialog's FileName holds it too.
QString AskFileName(commondialog::Kind kind, const QString &filter, const QString &initDir, QWidget *parent);

} // namespace mainwindow
