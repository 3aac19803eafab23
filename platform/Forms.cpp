#include "Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace forms {
namespace {

ModalHandler g_modalHandler;

QSize screenSize()
{
    if (const QScreen *s = QGuiApplication::primaryScreen())
        return s->size();
    return QSize(1024, 768);
}

} // namespace

int ScreenWidthTwips() { return Twips(screenSize().width()); }
int ScreenHeightTwips() { return Twips(screenSize().height()); }

void DoEvents()
{
    QCoreApplication::processEvents();
}

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}

Form::Form(QWidget *parent)
    : QDialog(parent)
    , m_layout(new QVBoxLayout(this))
    , m_client(new QWidget(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_client);
    m_layout->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QMenuBar *Form::menuBar()
{
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(this);
        m_layout->setMenuBar(m_menuBar);
    }
    return m_menuBar;
}

void Form::setClientSizeTwips(int width, int height)
{
    m_client->setFixedSize(Px(width), Px(height));
}

void Form::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void Form::centre()
{
    adjustSize();
    CentreWindow(*this);
}

void Form::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    m_unloaded = true;
    QDialog::closeEvent(event);
}

void Form::setNoDefaultButton()
{
    // Qt makes the first auto-default button of a dialog its default when it
    // shows; without auto-default buttons there is none.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
}

void Form::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // Escape closes a window only through the button the window marks for
        // it, or when the window is closed by Escape as a whole.
        if (m_cancelButton && m_cancelButton->isVisible() && m_cancelButton->isEnabled())
            m_cancelButton->click();
        else if (m_closedByEscape)
            close();
        else
            event->ignore();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A button that has the focus takes Enter, default or not.
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()); focused && focused->isEnabled()) {
            focused->click();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void CentreWindow(QWidget &window, const QWidget *over)
{
    QRect area;
    if (over) {
        area = over->frameGeometry();
    } else {
        const QScreen *s = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (!s)
            return;
        area = s->availableGeometry();
    }
    const QSize size = window.frameGeometry().size();
    window.move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void ShowModal(Form &form)
{
    form.load();
    if (form.isUnloaded())
        return; // the form closed itself while loading
    if (g_modalHandler) {
        g_modalHandler(form);
        if (!form.isUnloaded())
            form.close();
        return;
    }
    form.setWindowModality(Qt::ApplicationModal);
    if (!form.isVisible())
        form.centre();
    form.exec();
}

void SetModalHandler(ModalHandler handler)
{
    g_modalHandler = std::move(handler);
}

} // namespace forms
