#pragma once
// What every test gets: a QApplication on the offscreen platform, a fresh
// settings store (XDG_CONFIG_HOME points at a temporary folder) and scripted
// message boxes, file dialogs and modal windows, reset before each test.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTimer>

class QWidget;

#include <deque>
#include <functional>
#include <optional>

#include "CommonDialog.h"
#include "Forms.h"
#include "MsgBox.h"

namespace testsupport {

// Every message box shown since the test began, answered from the queue of
// answers (or with the box's default answer when the queue is empty).
struct MessageBoxes {
    QList<msgbox::Call> calls;
    std::deque<int> answers;

    void answerNext(int answer) { answers.push_back(answer); }
    // The last box shown, or an empty call.
    msgbox::Call last() const { return calls.isEmpty() ? msgbox::Call{} : calls.last(); }
};
MessageBoxes &messageBoxes();

// Every file dialog shown, answered from the queue (nullopt = Cancel; an
// empty queue cancels).
struct FileDialogs {
    QList<commondialog::Request> requests;
    std::deque<std::optional<QString>> answers;

    void answerNext(std::optional<QString> path) { answers.push_back(std::move(path)); }
};
FileDialogs &fileDialogs();

// Plays the user in modal windows: the handler that matches the form's class
// first (by dynamic_cast) gets it; a form no handler takes is closed at once.
class ModalWindows {
public:
    template <typename FormType>
    void on(std::function<void(FormType &)> handler)
    {
        m_handlers.push_back([handler](forms::Form &f) {
            if (auto *typed = dynamic_cast<FormType *>(&f)) {
                handler(*typed);
                return true;
            }
            return false;
        });
    }
    // Class names of the forms shown, in order.
    QStringList shown;

    void dispatch(forms::Form &form);
    void clear()
    {
        m_handlers.clear();
        shown.clear();
    }

private:
    std::vector<std::function<bool(forms::Form &)>> m_handlers;
};
ModalWindows &modalWindows();

// The temporary folder of the running test (removed after it).
QString tempDir();
// Writes a file in the test's folder and returns its path.
QString writeFile(const QString &name, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// A tmpfs of a few pages mounted on a folder of the test's own (or on
// `mountPoint`, made when missing), to meet a full disk or another file
// system for real. Mounting needs root: a test checks mounted() and skips
// without it. Unmounted when it goes.
class SmallFileSystem {
public:
    explicit SmallFileSystem(int pages = 16, const QString &mountPoint = QString());
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_path; }
    // Fills the file system to the last page, then frees `pages` of them.
    void leaveFree(int pages);

private:
    QString m_path;
    bool m_mounted = false;
};

// While one lives, file permissions are checked as for an ordinary user, also
// when the tests run as root (CI does): the test's folder goes to "nobody" and
// the thread's file-system identity with it. Without root it changes nothing.
// A test that makes one starts with SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST().
class OrdinaryUser {
public:
    OrdinaryUser();
    ~OrdinaryUser();
    OrdinaryUser(const OrdinaryUser &) = delete;
    OrdinaryUser &operator=(const OrdinaryUser &) = delete;

    // Why "nobody" can't reach the test's folder (a temporary folder closed
    // to others, as one of mode 0700 is), or "" when it can.
    static QString whyTheTestIsOutOfReach();

private:
    bool m_switched = false;
};

// Skips the running test, with the reason, where an ordinary user can't reach its folder.
#define SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST()                                                   \
    if (const QString why = testsupport::OrdinaryUser::whyTheTestIsOutOfReach(); !why.isEmpty())           \
    GTEST_SKIP() << why.toStdString()

// Presses and releases `key` on `widget` as the keyboard does: a key the
// widget does not take goes on to its parents, up to its window.
void pressKey(QWidget *widget, int key);

// While one lives, a modal window still open after `ms` is closed: a scripted
// user that a failed assertion stopped never leaves the suite waiting.
class ModalWindowTimeout {
public:
    explicit ModalWindowTimeout(int ms = 5000);

private:
    QTimer m_timer;
};

// Saves a picture of the window as <name>.png into $ZANDREL_SCREENSHOT_DIR
// when that is set, so a person can look at what the tests drove.
void saveScreenshot(QWidget &window, const QString &name);

} // namespace testsupport
