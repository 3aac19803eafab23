// Zandrel Utilities: the program's entry. It takes no arguments; everything
// it needs comes from the settings store.

#include <QApplication>
#include <cstdio>

#include "MsgBox.h"
#include "frmMain.h"

namespace {

// Qt aborts when it can't reach a display; say so plainly instead.
bool displayAvailable()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fputs("Zandrel: no display available (DISPLAY and WAYLAND_DISPLAY are not set); "
                   "start it from a desktop session.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zandrel"));

    frmMain mainWindow;
    msgbox::SetParentWindow(&mainWindow);
    mainWindow.load();
    if (mainWindow.mustEnd())
        return 1;
    mainWindow.centre();
    mainWindow.show();
    return app.exec();
}
