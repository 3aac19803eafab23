#include "frmKeyCapture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "Controls.h"
#include "Keyboard.h"
#include "MainWindowState.h"

frmKeyCapture::frmKeyCapture(QWidget *parent)
    : Form(parent)
{
    setWindowTitle(QStringLiteral("Key Capture Window..."));
    setClientSizeTwips(4440, 480);
    setFocusPolicy(Qt::StrongFocus);

    lblKeyScan = controls::Place<QLabel>(client(), 0, 0, 4440, 480, QStringLiteral("Press Any Key"));
    lblKeyScan->setAlignment(Qt::AlignCenter);

    tmrTimer = new QTimer(this);
    tmrTimer->setInterval(1);
    tmrTimer->setSingleShot(true);
    connect(tmrTimer, &QTimer::timeout, this, &frmKeyCapture::tmrTimer_Timer);
}

void frmKeyCapture::Form_Load()
{
    QString &mailbox = mainwindow::Tag();
    setWindowTitle(mailbox + QStringLiteral(" Key Capture Window..."));
    mailbox.clear();
    tmrTimer->start();
}

void frmKeyCapture::tmrTimer_Timer()
{
    CaptureKey();
}

void frmKeyCapture::CaptureKey()
{
    // Only presses from now on count: whatever is held already (the click or
    // key that opened the window) only repeats or lets go, and both are passed by.
    m_stage = Stage::Listening;
    setFocus();
}

void frmKeyCapture::take(int code, Qt::KeyboardModifiers held)
{
    if (const int modifier = keyboard::LowestModifierKey(held); modifier != 0 && modifier < code)
        code = modifier;
    mainwindow::Tag() = QString::number(code);
    m_stage = Stage::Taken;
}

bool frmKeyCapture::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Every key is ours while the window is up: no shortcut, no Tab
        // moving the focus, no Escape closing it.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (m_stage == Stage::Listening && !key->isAutoRepeat())
            if (const int code = keyboard::VirtualKeyOf(*key))
                take(code, key->modifiers());
        return true;
    }
    case QEvent::KeyRelease:
        if (m_stage == Stage::Taken && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
            close();
        return true;
    case QEvent::WindowDeactivate:
        // The release may go elsewhere now; don't wait for it.
        if (m_stage == Stage::Taken)
            close();
        break;
    default:
        break;
    }
    return Form::event(event);
}

void frmKeyCapture::mousePressEvent(QMouseEvent *event)
{
    if (m_stage == Stage::Listening)
        if (const int code = keyboard::VirtualKeyOf(event->button()))
            take(code, event->modifiers());
}

void frmKeyCapture::mouseReleaseEvent(QMouseEvent *)
{
    if (m_stage == Stage::Taken)
        close();
}
