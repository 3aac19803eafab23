#include <gtest/gtest.h>

#include <QStringList>

#include "RecentRomList.h"
#include "SettingsStore.h"
#include "TestSupport.h"

namespace {

// A list loaded from a store holding `entries` and the count.
class RecentList : public ::testing::Test {
protected:
    RecentRomList list;
    int redraws = 0;

    void load(const QStringList &entries, const QString &count = QStringLiteral("4"))
    {
        settings::Save(QStringLiteral("Recent ROMs number"), count);
        for (int i = 0; i < 10; ++i)
            settings::Save(QStringLiteral("Recent ROM #%1").arg(i + 1), entries.value(i));
        list.GetRegistry();
        list.setView([this] { ++redraws; });
    }
    QStringList entries() const
    {
        QStringList all;
        for (int i = 0; i < 10; ++i)
            all << list.entry(i);
        return all;
    }
    static QStringList stored()
    {
        QStringList all;
        for (int i = 0; i < 10; ++i)
            all << settings::Get(QStringLiteral("Recent ROM #%1").arg(i + 1));
        return all;
    }
    static QStringList padded(QStringList l)
    {
        while (l.size() < 10)
            l << QString();
        return l;
    }
};

} // namespace

TEST_F(RecentList, AddingMovesAKnownPathUpAndPushesANewOneIn)
{
    load({"A", "B", "C", "D"});
    list.AddRecentFile(QStringLiteral("C"));
    EXPECT_EQ(entries(), padded({"C", "A", "B", "D"}));
    list.AddRecentFile(QStringLiteral("E"));
    // D went to index 4, behind the count, and the refresh emptied it.
    EXPECT_EQ(entries(), padded({"E", "C", "A", "B"}));
    EXPECT_EQ(stored(), entries());
    EXPECT_EQ(redraws, 2);
    list.AddRecentFile(QStringLiteral("E"));
    EXPECT_EQ(entries(), padded({"E", "C", "A", "B"}));
}

TEST_F(RecentList, TheLastCopyOfAPathIsTheOneThatMoves)
{
    load({"A", "B", "A", "C"});
    list.AddRecentFile(QStringLiteral("A"));
    EXPECT_EQ(entries(), padded({"A", "A", "B", "C"}));
    list.RemoveRecentFile(QStringLiteral("A"));
    EXPECT_EQ(entries(), padded({"A", "B", "C", ""}));
    EXPECT_EQ(stored(), entries());
}

TEST_F(RecentList, RemovingAnUnknownPathStillSavesAndRedraws)
{
    load({"A", "B"});
    settings::Save(QStringLiteral("Recent ROM #2"), QStringLiteral("changed elsewhere"));
    list.RemoveRecentFile(QStringLiteral("a"));
    EXPECT_EQ(entries(), padded({"A", "B"}));
    EXPECT_EQ(stored(), entries());
    EXPECT_EQ(redraws, 1);
}

TEST_F(RecentList, PathsDifferingInCaseAreDifferentEntries)
{
    load({"/roms/a.vb"});
    list.AddRecentFile(QStringLiteral("/roms/A.vb"));
    EXPECT_EQ(entries(), padded({"/roms/A.vb", "/roms/a.vb"}));
}

TEST_F(RecentList, ARefreshTrimsTheListToTheCount)
{
    load({"A", "B", "C", "D", "E", "F"}, QStringLiteral("1"));
    list.refresh();
    EXPECT_EQ(entries(), padded({"A"}));
    EXPECT_EQ(stored(), entries());
}

TEST_F(RecentList, CountZeroKeepsTheListEmpty)
{
    load({"A", "B"}, QStringLiteral("0"));
    list.AddRecentFile(QStringLiteral("C"));
    EXPECT_EQ(entries(), padded({}));
    EXPECT_EQ(stored(), padded({}));
}

TEST_F(RecentList, AStoredCountOutsideTheRangeIsClamped)
{
    const QStringList ten{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    load(ten, QStringLiteral("99"));
    EXPECT_EQ(list.count(), 10);
    list.AddRecentFile(QStringLiteral("new"));
    EXPECT_EQ(entries(), QStringList({"new", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));

    load(ten, QStringLiteral("-3"));
    EXPECT_EQ(list.count(), 0);
    load(ten, QStringLiteral("many"));
    EXPECT_EQ(list.count(), 4);
}

TEST_F(RecentList, RemoveAtClosesTheGapAmongOfferedEntriesOnly)
{
    load({"A", "B", "C", "D", "E"});
    list.RemoveRecentAt(1);
    EXPECT_EQ(entries(), padded({"A", "C", "D", "", "E"}));
    list.RemoveRecentAt(4);
    EXPECT_EQ(entries(), padded({"A", "C", "D", ""}));
    // Neither saved nor redrawn.
    EXPECT_EQ(stored(), padded({"A", "B", "C", "D", "E"}));
    EXPECT_EQ(redraws, 0);
}
