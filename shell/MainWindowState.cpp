#include "MainWindowState.h"

namespace mainwindow {

QString &Tag()
{
    static QString tag;
    return tag;
}

commondialog::CommonDialog &dlgZandrel()
{
    static commondialog::CommonDialog dialog;
    return dialog;
}

} // namespace mainwindow
