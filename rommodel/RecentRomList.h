#pragma once
// The ten image paths a window most recently opened (index 0 newest) and how
// many of them it offers ("Recent ROMs number"), kept in the settings store
// as "Recent ROM #1" ... "Recent ROM #10" and saved after every change. Each
// window holds its own list; a view (a menu, a drop-down list) redraws itself
// from it whenever the list is refreshed.

#include <QString>

#include <array>
#include <functional>

class RecentRomList {
public:
    static constexpr int kCapacity = 10;

    // Reads the entries and the count from the settings store; a stored count
    // outside 0-10 is brought to the nearest bound.
    void GetRegistry();

    const QString &entry(int index) const { return m_entries[size_t(index)]; }
    int count() const { return m_count; }

    // Puts a path at the top (moving its last copy among the offered entries
    // up, or pushing every entry down when it is new), saves, refreshes.
    void AddRecentFile(const QString &path);
    // Drops the last copy of a path among the offered entries; saves and
    // refreshes even when the path is not there.
    void RemoveRecentFile(const QString &path);
    // Empties entry `index` and closes the gap among the offered entries;
    // neither saves nor refreshes.
    void RemoveRecentAt(int index);
    // Writes all ten entries, empty ones included.
    void SaveRecentList() const;
    // Empties every entry at or behind the count, saves, and lets the view
    // redraw: the model half of a window's UpdateRecentMenu.
    void refresh();

    // The view's redraw, run at the end of every refresh.
    void setView(std::function<void()> redraw) { m_redraw = std::move(redraw); }

private:
    // Index of the last offered entry equal to `path`, or -1.
    int lastOfferedIndexOf(const QString &path) const;

    std::array<QString, kCapacity> m_entries;
    int m_count = 4;
    std::function<void()> m_redraw;
};
