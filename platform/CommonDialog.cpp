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
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i];
        const QString patterns = parts[i + 1];
        // The text often names its patterns already ("Text (*.ext)"); Qt
        // shows the patterns it filters by, so they go in once.
        const QString named = QStringLiteral(" (") + patterns + QLatin1Char(')');
        if (text.endsWith(named))
            text.chop(named.size());
        QStringList qtPatterns = patterns.split(QLatin1Char(';'));
        // On Windows "*.*" matches every name, with a dot or without.
        for (QString &pattern : qtPatterns)
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        out << text + QStringLiteral(" (") + qtPatterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
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
        // Any name is handed back: the callers answer a name that does not
        // exist with their own message, and ask before replacing a file.
        dialog.setFileMode(QFileDialog::AnyFile);
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
