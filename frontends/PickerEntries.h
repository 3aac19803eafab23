#pragma once
// What the emulator chooser and the developer-tool launcher share: the small
// tool window they are, and their entries. An entry is a frame with an icon
// that picks one program; while that program is not enabled the frame and
// its icon are disabled and the icon is greyed.

#include <QGroupBox>

#include <tuple>

#include "Forms.h"
#include "ImageControl.h"

namespace picker {

// A frame that is one entry of a chooser: a click anywhere in it, or Space
// or Enter while it has the keyboard focus, picks it. It takes the focus
// from the Tab key only.
class PickFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit PickFrame(const QString &caption, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    // Space and Enter pick; a group box would take Space for its check box.
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
};

struct Entry {
    PickFrame *frame = nullptr;
    controls::ImageControl *image = nullptr;         // the icon shown
    controls::ImageControl *imageDisabled = nullptr; // never shown: holds the greyed icon

    // The frame and its icon follow the program's enabled setting; a
    // disabled entry takes the greyed icon.
    void setProgramEnabled(bool enabled) const;

    // For std::tie into a window's members.
    std::tuple<PickFrame *, controls::ImageControl *, controls::ImageControl *> parts() const
    {
        return {frame, image, imageDisabled};
    }
};

// An entry at `left` (twips) of the window's row: the frame with `caption`,
// the icon and its greyed form on top of each other; frame and icon show
// `toolTip`.
Entry CreateEntry(QWidget *parent, int left, const QString &caption, const QString &toolTip,
                  const controls::Picture &icon);

// The same on a window's client area, a click on the frame running
// `frameClick` and one on the icon `iconClick`.
template <typename Window>
Entry CreateEntry(Window *window, int left, const QString &caption, const QString &toolTip,
                  const controls::Picture &icon, void (Window::*frameClick)(), void (Window::*iconClick)())
{
    const Entry entry = CreateEntry(window->client(), left, caption, toolTip, icon);
    QObject::connect(entry.frame, &PickFrame::clicked, window, frameClick);
    QObject::connect(entry.image, &controls::ImageControl::clicked, window, iconClick);
    return entry;
}

// The window both share: a fixed tool window with a narrow title bar and a
// close box, kept out of the task bar, holding one row of three entries.
// Escape closes it, as the close box does.
void SetUpWindow(forms::Form &window, const QString &caption);

} // namespace picker
