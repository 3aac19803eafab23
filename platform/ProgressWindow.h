#pragma once
// A small window that says what the program waits for, with a moving bar and
// a Cancel button. While it shows it is modal to the whole program: the other
// windows take no input (the window system's clicks, keys and close requests
// for them are dropped, never replayed afterwards), so nothing can start the
// awaited work a second time or close a window under it. Cancel (clicked, or
// reached by Tab), Escape and the window's own close button ask to stop the
// work; Space and Enter meant for what started it do not.

#include <QDialog>

namespace forms {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(const QString &title, const QString &text);

    // Shows the window, modal, over the window that is active now.
    void showOverActiveWindow();
    // True once the user asked to stop; rejected() announces it.
    bool cancelled() const { return m_cancelled; }

    void reject() override;

private:
    bool m_cancelled = false;
};

} // namespace forms
