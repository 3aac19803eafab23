#pragma once
// Input as the window system delivers it: handed to Qt's window-system
// interface, the road a platform plugin takes, and queued there until an
// event loop takes it. Qt then treats it as a user's: a modal window keeps
// it from the windows it blocks, and a wait that holds back user input
// holds it too. (A direct call such as close() or click() takes neither road.)

class QWidget;

namespace testsupport {

// The window manager's request to close `window` (its title bar's close
// button, Alt+F4).
void requestClose(QWidget &window);
// A left click in the middle of `widget`.
void clickWithMouse(QWidget &widget);
// `key` pressed and released in the window of `widget`.
void typeKey(QWidget &widget, int key);

} // namespace testsupport
