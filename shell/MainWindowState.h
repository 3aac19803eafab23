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

} // namespace mainwindow
