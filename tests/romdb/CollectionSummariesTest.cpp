// The three summary texts: which lines each count brings, the two-digit
// counts and the congratulations, with no line feed anywhere.

#include "CollectionSummaries.h"
#include "RomDbFixture.h"

using namespace romdb;

namespace {

const QString kQuestion = QStringLiteral("\r\rDo you wish to view additional details?");
const QString kOutOf = QStringLiteral(" out of 38 known Nintendo Virtual Boy ROMs");

struct SummaryCase {
    const char *what;
    RomListCounters counters;
    QString (*summary)(const RomListCounters &);
    QString expected;
};

RomListCounters Counters(std::initializer_list<std::pair<int32_t RomListCounters::*, int32_t>> values)
{
    RomListCounters counters;
    for (const auto &[member, value] : values)
        counters.*member = value;
    return counters;
}

using C = RomListCounters;

} // namespace

TEST(CollectionSummaries, EachCountBringsItsLine)
{
    const SummaryCase cases[] = {
        {"nothing collected", {}, HaveSummary, QStringLiteral(" You have 00") + kOutOf + kQuestion},
        {"two files of one good title",
         Counters({{&C::HaveTitleCount, 1}, {&C::HaveGoodCount, 1}, {&C::HaveFileCount, 2}, {&C::DupesCopyCount, 1}}),
         HaveSummary,
         QStringLiteral(" You have 01") + kOutOf + "\r\rOut of 02 files:\r   01 are Good \"[!]\" ROMs" +
             "\r   01 are duplicate (more than one copy of) ROMs" + kQuestion},
        {"every kind of file, and a count of three digits",
         Counters({{&C::HaveTitleCount, 37}, {&C::HaveGoodCount, 30}, {&C::HaveBadCount, 5}, {&C::HavePdCount, 2},
                   {&C::HaveHackedCount, 3}, {&C::HaveUnknownCount, 4}, {&C::DupesCopyCount, 6},
                   {&C::HaveInvalidCount, 7}, {&C::HaveFileCount, 104}}),
         HaveSummary,
         QStringLiteral(" You have 37") + kOutOf + "\r\rOut of 104 files:\r   30 are Good \"[!]\" ROMs" +
             "\r   05 are Bad \"[b]\" ROMs\r   02 are Public Domain \"(PD)\" or Translated \"[T]\" ROMs" +
             "\r   03 are Hacked (incorrect ROM header) \"[h]\" ROMs\r   04 are Unidentified Virtual Boy ROMs" +
             "\r   06 are duplicate (more than one copy of) ROMs\r   07 are Invalid Virtual Boy ROMs" + kQuestion},
        {"all 38 collected", Counters({{&C::HaveTitleCount, 38}, {&C::HaveFileCount, 38}, {&C::HaveGoodCount, 38}}),
         HaveSummary,
         QStringLiteral(" You have 38") + kOutOf + "\r - Congratulations!\r\rOut of 38 files:" +
             "\r   38 are Good \"[!]\" ROMs" + kQuestion},
        {"none missing", {}, MissSummary,
         QStringLiteral(" You are missing 00") + kOutOf + "\r - Congratulations!" + kQuestion},
        {"some missing",
         Counters({{&C::MissTitleCount, 9}, {&C::MissGoodCount, 6}, {&C::MissBadCount, 2}, {&C::MissPdCount, 1}}),
         MissSummary,
         QStringLiteral(" You are missing 09") + kOutOf + "\r\rOut of these files:\r   06 are Good \"[!]\" ROMs" +
             "\r   02 are Bad \"[b]\" ROMs\r   01 are Public Domain \"(PD)\" or Translated \"[T]\" ROMs" + kQuestion},
        {"no duplicates", {}, DupesSummary,
         QStringLiteral(" You have 00 duplicate Nintendo Virtual Boy ROMs") + kQuestion},
        {"duplicates of a good and a hacked title",
         Counters({{&C::DupesCopyCount, 3}, {&C::DupesGoodCount, 2}, {&C::DupesHackedCount, 1}}), DupesSummary,
         QStringLiteral(" You have 03 duplicate Nintendo Virtual Boy ROMs\r\rOut of these files:") +
             "\r   02 are Good \"[!]\" ROMs\r   01 are Hacked (incorrect ROM header) \"[h]\" ROMs" + kQuestion},
    };
    for (const SummaryCase &c : cases) {
        SCOPED_TRACE(c.what);
        const QString text = c.summary(c.counters);
        EXPECT_EQ(text, c.expected);
        EXPECT_FALSE(text.contains(QLatin1Char('\n')));
    }
}
