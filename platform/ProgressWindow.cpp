#include "ProgressWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "Forms.h"

namespace forms {

ProgressWindow::ProgressWindow(const QString &title, const QString &text)
{
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    auto *label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    auto *bar = new QProgressBar(this);
    bar->setRange(0, 0); // moves without a measure of how far the work is
    bar->setTextVisible(false);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    // Keys meant for the button that started the work (a quick second Space
    // or Enter) land here: Cancel takes the focus only by Tab, and Enter never
    // presses it. Escape and a click still cancel.
    cancel->setAutoDefault(false);
    cancel->setFocusPolicy(Qt::TabFocus);
    connect(cancel, &QPushButton::clicked, this, &ProgressWindow::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(text) + 80);
}

void ProgressWindow::showOverActiveWindow()
{
    const QWidget *over = QApplication::activeWindow();
    setFocus(); // the window itself, not Cancel
    show();
    CentreWindow(*this, over);
}

void ProgressWindow::reject()
{
    m_cancelled = true;
    QDialog::reject();
}

} // namespace forms
