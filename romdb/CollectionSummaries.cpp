#include "CollectionSummaries.h"
#include "MsgBox.h"

namespace romdb {
namespace {

using msgbox::CR;
const QString kIndent = QStringLiteral("   ");
const QString kGoodText = QStringLiteral(" are Good \"[!]\" ROMs");
const QString kBadText = QStringLiteral(" are Bad \"[b]\" ROMs");
const QString kPdText = QStringLiteral(" are Public Domain \"(PD)\" or Translated \"[T]\" ROMs");
const QString kHackedText = QStringLiteral(" are Hacked (incorrect ROM header) \"[h]\" ROMs");
const QString kQuestion = QStringLiteral("Do you wish to view additional details?");
const QString kOutOfThese = QStringLiteral("Out of these files:");
const QString kCongratulations = QStringLiteral(" - Congratulations!");
constexpr int32_t kKnownTitleCount = 38;

// Appends a category line only for a count that is not 0.
class Summary {
public:
    explicit Summary(const QString &firstLine) : m_text(firstLine) {}

    void line(const QString &text) { m_text += CR + text; }
    void emptyLine() { m_text += CR; }
    void count(int32_t count, const QString &text)
    {
        if (count != 0)
            line(kIndent + TwoDigitCount(count) + text);
    }
    QString withQuestion() const { return m_text + CR + CR + kQuestion; }

private:
    QString m_text;
};

QString OutOfKnown()
{
    return QStringLiteral(" out of ") + TwoDigitCount(kKnownTitleCount) +
           QStringLiteral(" known Nintendo Virtual Boy ROMs");
}

} // namespace

QString HaveSummary(const RomListCounters &c)
{
    Summary s(QStringLiteral(" You have ") + TwoDigitCount(c.HaveTitleCount) + OutOfKnown());
    if (c.HaveTitleCount >= kKnownTitleCount)
        s.line(kCongratulations);
    if (c.HaveFileCount != 0) {
        s.emptyLine();
        s.line(QStringLiteral("Out of ") + TwoDigitCount(c.HaveFileCount) + QStringLiteral(" files:"));
    }
    s.count(c.HaveGoodCount, kGoodText);
    s.count(c.HaveBadCount, kBadText);
    s.count(c.HavePdCount, kPdText);
    s.count(c.HaveHackedCount, kHackedText);
    s.count(c.HaveUnknownCount, QStringLiteral(" are Unidentified Virtual Boy ROMs"));
    s.count(c.DupesCopyCount, QStringLiteral(" are duplicate (more than one copy of) ROMs"));
    s.count(c.HaveInvalidCount, QStringLiteral(" are Invalid Virtual Boy ROMs"));
    return s.withQuestion();
}

QString MissSummary(const RomListCounters &c)
{
    Summary s(QStringLiteral(" You are missing ") + TwoDigitCount(c.MissTitleCount) + OutOfKnown());
    if (c.MissTitleCount == 0) {
        s.line(kCongratulations);
    } else {
        s.emptyLine();
        s.line(kOutOfThese);
    }
    s.count(c.MissGoodCount, kGoodText);
    s.count(c.MissBadCount, kBadText);
    s.count(c.MissPdCount, kPdText);
    return s.withQuestion();
}

QString DupesSummary(const RomListCounters &c)
{
    Summary s(QStringLiteral(" You have ") + TwoDigitCount(c.DupesCopyCount) +
              QStringLiteral(" duplicate Nintendo Virtual Boy ROMs"));
    if (c.DupesCopyCount != 0) {
        s.emptyLine();
        s.line(kOutOfThese);
    }
    s.count(c.DupesGoodCount, kGoodText);
    s.count(c.DupesBadCount, kBadText);
    s.count(c.DupesPdCount, kPdText);
    s.count(c.DupesHackedCount, kHackedText);
    return s.withQuestion();
}

} // namespace romdb
