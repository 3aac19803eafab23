#pragma once
// The key capture window: asks for the key (or mouse button) to give one
// controller input and leaves its virtual-key code, as decimal text, in the
// Tag mailbox. It takes the emulator's name from the mailbox for its caption
// and empties it; closed without a key, it leaves the mailbox empty.
//
// It listens to its own key and mouse events, so it sees only what is
// pressed in this program: a key already held when it opened (the Enter that
// pressed the key button) is not taken, nor is auto-repeat; with Shift,
// Control or Alt held the lowest code wins (Shift+A gives Shift). Escape is
// a key like any other. The window closes once the taken key is let go, so
// that its release and repeats don't reach the window below.

#include "Forms.h"

class QLabel;
class QTimer;

class frmKeyCapture : public forms::Form {
    Q_OBJECT
public:
    explicit frmKeyCapture(QWidget *parent = nullptr);

    QLabel *lblKeyScan;
    QTimer *tmrTimer;

public slots:
    void tmrTimer_Timer();

protected:
    void Form_Load() override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Starts taking keys.
    void CaptureKey();
    // Leaves `code` in the mailbox, or the lowest of it and the held
    // modifier keys.
    void take(int code, Qt::KeyboardModifiers held);

    enum class Stage { Waiting, Listening, Taken };
    Stage m_stage = Stage::Waiting;
};
