#include "CommonDialog.h"

#include "FileDialog.h"

namespace commondialog {
namespace {

Responder g_responder;

} // namespace

void SetResponder(Responder responder)
{
    g_responder = std::move(responder);
}

void CommonDialog::ShowOpen(QWidget *parent) { show(Kind::Open, parent); }
void CommonDialog::ShowSave(QWidget *parent) { show(Kind::Save, parent); }

void CommonDialog::show(Kind kind, QWidget *parent)
{
    std::optional<QString> chosen;
    if (g_responder) {
        chosen = g_responder(Request{kind, Filter, InitDir, FileName});
    } else {
        FileDialog dialog(kind, Filter, InitDir, FileName, parent);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.chosenPath();
    }
    if (chosen)
        FileName = *chosen;
}

} // namespace commondialog
