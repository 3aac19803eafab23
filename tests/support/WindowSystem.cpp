#include "WindowSystem.h"

#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

namespace testsupport {
namespace {

QWindow *windowOf(QWidget &widget)
{
    QWindow *window = widget.window()->windowHandle();
    if (!window)
        ADD_FAILURE() << "the window is not shown";
    return window;
}

} // namespace

void requestClose(QWidget &window)
{
    if (QWindow *handle = windowOf(window))
        QWindowSystemInterface::handleCloseEvent(handle);
}

void clickWithMouse(QWidget &widget)
{
    QWindow *handle = windowOf(widget);
    if (!handle)
        return;
    const QPoint centre = widget.rect().center();
    const QPointF local = widget.mapTo(widget.window(), centre);
    const QPointF global = widget.mapToGlobal(centre);
    QWindowSystemInterface::handleMouseEvent(handle, local, global, Qt::LeftButton, Qt::LeftButton,
                                             QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent(handle, local, global, Qt::NoButton, Qt::LeftButton,
                                             QEvent::MouseButtonRelease);
}

void typeKey(QWidget &widget, int key)
{
    if (QWindow *handle = windowOf(widget)) {
        QWindowSystemInterface::handleKeyEvent(handle, QEvent::KeyPress, key, Qt::NoModifier);
        QWindowSystemInterface::handleKeyEvent(handle, QEvent::KeyRelease, key, Qt::NoModifier);
    }
}

} // namespace testsupport
