#pragma once
// The menu bar every emulator front-end has: File with "Back to main menu"
// and Help with the front-end's own help entry.

#include <QMenuBar>

#include <tuple>

#include "Controls.h"
#include "Forms.h"

namespace frontendmenus {

// mnuFile, mnuFileBack, mnuHelp, mnuHelpHelp.
using Menus = std::tuple<QMenu *, QAction *, QMenu *, QAction *>;

template <typename Frontend>
Menus Create(Frontend *form, const QString &helpCaption, void (Frontend::*back)(), void (Frontend::*help)())
{
    QMenu *file = form->menuBar()->addMenu(QStringLiteral("&File"));
    QAction *backItem = controls::AddMenuItem(file, QStringLiteral("&Back to main menu"),
                                              QKeySequence(Qt::CTRL | Qt::Key_Q), form, back);
    QMenu *helpMenu = form->menuBar()->addMenu(QStringLiteral("&Help"));
    QAction *helpItem = controls::AddMenuItem(helpMenu, helpCaption, QKeySequence(Qt::Key_F1), form, help);
    return {file, backItem, helpMenu, helpItem};
}

} // namespace frontendmenus
