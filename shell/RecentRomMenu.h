#pragma once
// The recent-ROM list shown as a "&Recent Files" submenu of ten items
// "&0 " ... "&9 " followed by a separator: the view half of a window's
// UpdateRecentMenu. Choosing item N calls the window's handler with N.

#include <QString>

#include <array>
#include <functional>

class QAction;
class QMenu;
class RecentRomList;

class RecentRomMenu {
public:
    // Appends the submenu and the separator after it to `fileMenu`.
    RecentRomMenu(QMenu *fileMenu, std::function<void(int)> itemChosen);

    QMenu *submenu() const { return m_submenu; }
    QAction *separator() const { return m_separator; }
    QAction *item(int index) const { return m_items[size_t(index)]; }

    // Captions every item and shows the offered, filled ones; hides the
    // whole submenu when entry 0 is empty or nothing is offered.
    void redraw(const RecentRomList &list);

private:
    QMenu *m_submenu;
    QAction *m_separator;
    std::array<QAction *, 10> m_items{};
};
