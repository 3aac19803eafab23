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

QString AskFileName(commondialog::Kind kind, const QString &filter, const QString &initDir, QWidget *parent)
{
    commondialog::CommonDialog &dialog = dlgZandrel();
    dialog.Filter = filter;
    dialog.FileName.clear(); // a cancelled dialog leaves the name as it was
    dialog.InitDir = initDir;
    if (kind == commondialog::Kind::Open)
        dialog.ShowOpen(parent);
    else
        dialog.ShowSave(parent);
    return dialog.FileName;
}

} // namespace mainwindow
