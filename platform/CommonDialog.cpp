#include "CommonDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace commondialog {
namespace {

Responder g_responder;

} // namespace

QStringList ToNameFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))
                + QLatin1Char(')');
    return out;
}

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
        QFileDialog dialog(parent, QString(), InitDir);
        dialog.setNameFilters(ToNameFilters(Filter));
        dialog.setAcceptMode(kind == Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(kind == Kind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // The callers ask before replacing a file themselves.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!FileName.isEmpty())
            dialog.selectFile(FileName);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (chosen)
        FileName = *chosen;
}

} // namespace commondialog
