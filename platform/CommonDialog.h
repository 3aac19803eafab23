#pragma once
// The shared open/save file dialog. Callers set Filter ("Text|*.ext|..."),
// InitDir and FileName, call ShowOpen or ShowSave, and read FileName: an
// empty FileName afterwards means Cancel (a cancelled dialog leaves FileName
// as it was, which is why callers empty it first).

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace commondialog {

enum class Kind { Open, Save };

struct Request {
    Kind kind;
    QString filter;
    QString initDir;
    QString fileName;
};

// Answers a dialog without a person: the chosen path, or nullopt for Cancel.
using Responder = std::function<std::optional<QString>(const Request &)>;
void SetResponder(Responder responder);

class CommonDialog {
public:
    QString Filter;
    QString InitDir;
    QString FileName;

    void ShowOpen(QWidget *parent = nullptr);
    void ShowSave(QWidget *parent = nullptr);

private:
    void show(Kind kind, QWidget *parent);
};

} // namespace commondialog
