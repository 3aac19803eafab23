#include "RecentRomList.h"

#include "Registry.h"
#include "SettingsStore.h"

namespace {

QString entryKey(int index)
{
    return QStringLiteral("Recent ROM #") + QString::number(index + 1);
}

} // namespace

void RecentRomList::GetRegistry()
{
    m_count = settings::GetClampedInteger(QStringLiteral("Recent ROMs number"), 4, 0, kCapacity);
    for (int i = 0; i < kCapacity; ++i)
        m_entries[size_t(i)] = settings::Get(entryKey(i));
}

int RecentRomList::lastOfferedIndexOf(const QString &path) const
{
    for (int i = m_count - 1; i >= 0; --i)
        if (m_entries[size_t(i)] == path)
            return i;
    return -1;
}

void RecentRomList::AddRecentFile(const QString &path)
{
    const int match = lastOfferedIndexOf(path);
    // A new path pushes all ten down, whatever the count; a known one only
    // moves the entries above it.
    const int from = match < 0 ? kCapacity - 1 : match;
    for (int j = from; j >= 1; --j)
        m_entries[size_t(j)] = m_entries[size_t(j - 1)];
    m_entries[0] = path;
    SaveRecentList();
    refresh();
}

void RecentRomList::RemoveRecentFile(const QString &path)
{
    const int match = lastOfferedIndexOf(path);
    if (match >= 0)
        RemoveRecentAt(match);
    SaveRecentList();
    refresh();
}

void RecentRomList::RemoveRecentAt(int index)
{
    if (index < 0 || index >= kCapacity)
        return;
    m_entries[size_t(index)].clear();
    if (index + 1 >= m_count)
        return;
    for (int j = index; j <= m_count - 2; ++j)
        m_entries[size_t(j)] = m_entries[size_t(j + 1)];
    m_entries[size_t(m_count - 1)].clear();
}

void RecentRomList::SaveRecentList() const
{
    // The ten entries reach the store file in one write.
    const registry::BatchWrite oneWrite;
    for (int i = 0; i < kCapacity; ++i)
        settings::Save(entryKey(i), m_entries[size_t(i)]);
}

void RecentRomList::refresh()
{
    for (int i = m_count; i < kCapacity; ++i)
        RemoveRecentAt(i);
    SaveRecentList();
    if (m_redraw)
        m_redraw();
}
