#include "RomListTexts.h"

#include "KnownRomTable.h"
#include "RomCategory.h"
#include "RomDbCatalogue.h"

#include <array>
#include <functional>

namespace romdb {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kIndent = QStringLiteral("  ");
const QString kNone = QStringLiteral("None");
const QString kHackedHeader = QStringLiteral("Hacked ROMs:");
const QString kUnknownHeader = QStringLiteral("Unknown ROMs:");
const QString kInvalidHeader = QStringLiteral("Invalid ROMs:");
const QString kUnknownEntry = QStringLiteral("UNKNOWN ROM: Please send me a copy so I can include it.");
const QString kInvalidEntry = QStringLiteral("INVALID ROM: Possibly not a VB ROM image.");

// The three sections of known titles, in list order, with the counter each
// list keeps for it.
struct TitleSection {
    RomCategory category;
    QString header;
    int32_t RomListCounters::*have;
    int32_t RomListCounters::*miss;
    int32_t RomListCounters::*dupes;
};

const std::array<TitleSection, 3> &TitleSections()
{
    static const std::array<TitleSection, 3> sections = {{
        {RomCategory::Good, QStringLiteral("Good ROMs:"), &RomListCounters::HaveGoodCount,
         &RomListCounters::MissGoodCount, &RomListCounters::DupesGoodCount},
        {RomCategory::Bad, QStringLiteral("Bad ROMs:"), &RomListCounters::HaveBadCount,
         &RomListCounters::MissBadCount, &RomListCounters::DupesBadCount},
        {RomCategory::PdTranslated, QStringLiteral("PD/Translated ROMs:"), &RomListCounters::HavePdCount,
         &RomListCounters::MissPdCount, &RomListCounters::DupesPdCount},
    }};
    return sections;
}

// Builds a list text section by section; an empty line goes before every
// section but the first.
class ListWriter {
public:
    void line(const QString &text) { m_text += text + kCrLf; }
    void entry(const QString &text) { line(kIndent + text); }

    // The header, then the lines that `fill` writes; "None" when it wrote
    // none (fill returns how many it wrote).
    void section(const QString &header, const std::function<int32_t()> &fill)
    {
        if (!m_text.isEmpty())
            line(QString());
        line(header);
        if (fill() == 0)
            entry(kNone);
    }

    QString text() const { return m_text; }

private:
    QString m_text;
};

// What the builders compare: each file's identification, blanks trimmed.
QStringList Items(const QList<RomFileRecord> &files)
{
    QStringList items;
    items.reserve(files.size());
    for (const RomFileRecord &file : files)
        items << file.identification().trimmed();
    return items;
}

int32_t CountOf(const QStringList &items, const QString &text)
{
    return int32_t(items.count(text));
}

bool AnyHacked(const QStringList &items)
{
    for (const QString &item : items)
        if (IsHackedItem(item))
            return true;
    return false;
}

QStringList TitlesOf(RomCategory category)
{
    QStringList titles;
    for (const QString &title : KnownTitles())
        if (TitleCategory(title) == category)
            titles << title;
    return titles;
}

QString Copies(int32_t extra)
{
    if (extra == 1)
        return QStringLiteral(" [1 copy]");
    return QStringLiteral(" [%1 copies]").arg(extra);
}

QString CountedHeader(const QString &header, int32_t count)
{
    return header + QLatin1Char(' ') + TwoDigitCount(count);
}

// A file line of the detailed lists: the quoted name, blanks up to the
// longest name, the checksum and the title text.
QString DetailedFileLine(const RomFileRecord &file, int32_t maxNameLength, const QString &titleText)
{
    return QLatin1Char('"') + file.name + QLatin1Char('"') + NameFiller(file.name, maxNameLength) +
           QLatin1Char(' ') + file.listedChecksum() + QLatin1Char(' ') + titleText;
}

// Writes the detailed file line of every file whose item equals `item`,
// leaving out the first `skip` of them; returns how many it wrote.
int32_t DetailedFileLines(ListWriter &writer, const QList<RomFileRecord> &files, const QStringList &items,
                          int32_t maxNameLength, const QString &item, const QString &titleText, int32_t skip = 0)
{
    int32_t written = 0;
    for (qsizetype j = 0; j < items.size(); ++j) {
        if (items[j] != item)
            continue;
        if (skip > 0) {
            --skip;
            continue;
        }
        writer.line(DetailedFileLine(files[j], maxNameLength, titleText));
        ++written;
    }
    return written;
}

QString ThreeSectionsOfAllTitles()
{
    ListWriter writer;
    for (const TitleSection &section : TitleSections())
        writer.section(section.header, [&] {
            const QStringList titles = TitlesOf(section.category);
            for (const QString &title : titles)
                writer.entry(title);
            return int32_t(titles.size());
        });
    return writer.text();
}

QString ThreeEmptySections()
{
    ListWriter writer;
    for (const TitleSection &section : TitleSections())
        writer.section(section.header, [] { return 0; });
    return writer.text();
}

void ZeroHaveCounters(RomListCounters &c)
{
    c.HaveTitleCount = c.HaveGoodCount = c.HaveBadCount = c.HavePdCount = 0;
    c.HaveHackedCount = c.HaveFileCount = c.HaveUnknownCount = c.HaveInvalidCount = 0;
}

} // namespace

QString TwoDigitCount(int32_t count)
{
    return QString::number(count).rightJustified(2, QLatin1Char('0'));
}

void RomListTexts::InitHaveList()
{
    ZeroHaveCounters(m_counters);
    m_have = ThreeEmptySections();
}

void RomListTexts::InitMissList()
{
    RomListCounters &c = m_counters;
    c.MissTitleCount = c.MissGoodCount = c.MissBadCount = c.MissPdCount = 0;
    m_miss = ThreeSectionsOfAllTitles();
}

void RomListTexts::InitDupesList()
{
    // The hacked duplicates count is left alone: only a build sets it.
    RomListCounters &c = m_counters;
    c.DupesCopyCount = c.DupesGoodCount = c.DupesBadCount = c.DupesPdCount = 0;
    m_dupes = ThreeEmptySections();
}

void RomListTexts::InitChangeLog()
{
    m_log = QStringLiteral("File change log:") + kCrLf + kIndent + QStringLiteral("No changes") + kCrLf;
}

void RomListTexts::BuildHaveList(const QList<RomFileRecord> &files)
{
    RomListCounters &c = m_counters;
    ZeroHaveCounters(c);
    c.MissTitleCount = 0;
    const QStringList items = Items(files);
    ListWriter writer;
    for (const TitleSection &section : TitleSections())
        writer.section(section.header, [&] {
            int32_t found = 0;
            for (const QString &title : TitlesOf(section.category)) {
                const int32_t count = CountOf(items, title);
                if (count == 0)
                    continue;
                writer.entry(title);
                ++found;
                ++c.HaveTitleCount;
                c.HaveFileCount += count;
            }
            c.*section.have += found;
            return found;
        });
    if (AnyHacked(items))
        writer.section(kHackedHeader, [&] {
            for (const QString &title : KnownTitles()) {
                const QString hacked = HackedTitle(title);
                const int32_t count = CountOf(items, hacked);
                if (count == 0)
                    continue;
                writer.entry(hacked);
                ++c.HaveHackedCount;
                c.HaveFileCount += count;
            }
            return c.HaveHackedCount;
        });
    c.HaveUnknownCount = CountOf(items, kUnknownVbRom);
    if (c.HaveUnknownCount > 0)
        writer.section(kUnknownHeader, [&] {
            for (int32_t i = 0; i < c.HaveUnknownCount; ++i)
                writer.entry(kUnknownEntry);
            return c.HaveUnknownCount;
        });
    c.HaveInvalidCount = CountOf(items, kInvalidImage);
    if (c.HaveInvalidCount > 0)
        writer.section(kInvalidHeader, [&] {
            for (int32_t i = 0; i < c.HaveInvalidCount; ++i)
                writer.entry(kInvalidEntry);
            return c.HaveInvalidCount;
        });
    c.HaveFileCount += c.HaveUnknownCount + c.HaveInvalidCount;
    m_have = writer.text();
}

void RomListTexts::BuildMissList(const QList<RomFileRecord> &files)
{
    RomListCounters &c = m_counters;
    c.MissTitleCount = c.MissGoodCount = c.MissBadCount = c.MissPdCount = 0;
    const QStringList items = Items(files);
    ListWriter writer;
    for (const TitleSection &section : TitleSections())
        writer.section(section.header, [&] {
            for (const QString &title : TitlesOf(section.category)) {
                if (items.contains(title))
                    continue;
                writer.entry(title);
                ++c.MissTitleCount;
                ++(c.*section.miss);
            }
            return c.*section.miss;
        });
    m_miss = writer.text();
}

void RomListTexts::BuildDupesList(const QList<RomFileRecord> &files)
{
    RomListCounters &c = m_counters;
    c.DupesCopyCount = c.DupesGoodCount = c.DupesBadCount = c.DupesPdCount = c.DupesHackedCount = 0;
    const QStringList items = Items(files);
    ListWriter writer;
    // Entries for the titles whose item (the title, or its hacked form) more
    // than one file has; returns the extra copies.
    const auto duplicates = [&](const QStringList &titles, const std::function<QString(const QString &)> &itemOf) {
        int32_t extra = 0;
        for (const QString &title : titles) {
            const int32_t copies = CountOf(items, itemOf(title)) - 1;
            if (copies <= 0)
                continue;
            writer.entry(title + Copies(copies));
            extra += copies;
        }
        c.DupesCopyCount += extra;
        return extra;
    };
    const auto itself = [](const QString &title) { return title; };
    for (const TitleSection &section : TitleSections())
        writer.section(section.header, [&] {
            c.*section.dupes = duplicates(TitlesOf(section.category), itself);
            return c.*section.dupes;
        });
    if (AnyHacked(items))
        writer.section(kHackedHeader, [&] {
            c.DupesHackedCount = duplicates(KnownTitles(), HackedTitle);
            return c.DupesHackedCount;
        });
    m_dupes = writer.text();
}

void RomListTexts::BuildHaveListDetailed(const QList<RomFileRecord> &files, int32_t maxNameLength)
{
    BuildHaveList(files);
    const RomListCounters &c = m_counters;
    const QStringList items = Items(files);
    ListWriter writer;
    for (const TitleSection &section : TitleSections())
        writer.section(CountedHeader(section.header, c.*section.have), [&] {
            int32_t written = 0;
            for (const QString &title : TitlesOf(section.category))
                written += DetailedFileLines(writer, files, items, maxNameLength, title, title);
            return written;
        });
    if (AnyHacked(items))
        writer.section(CountedHeader(kHackedHeader, c.HaveHackedCount), [&] {
            int32_t written = 0;
            for (const QString &title : KnownTitles()) {
                const QString hacked = HackedTitle(title);
                written += DetailedFileLines(writer, files, items, maxNameLength, hacked, hacked);
            }
            return written;
        });
    if (c.HaveUnknownCount > 0)
        writer.section(CountedHeader(kUnknownHeader, c.HaveUnknownCount), [&] {
            return DetailedFileLines(writer, files, items, maxNameLength, kUnknownVbRom, kUnknownEntry);
        });
    if (c.HaveInvalidCount > 0)
        writer.section(CountedHeader(kInvalidHeader, c.HaveInvalidCount), [&] {
            return DetailedFileLines(writer, files, items, maxNameLength, kInvalidImage, kInvalidEntry);
        });
    m_have = writer.text();
}

void RomListTexts::BuildMissListDetailed(const QList<RomFileRecord> &files)
{
    BuildMissList(files);
    const QStringList items = Items(files);
    ListWriter writer;
    for (const TitleSection &section : TitleSections())
        writer.section(CountedHeader(section.header, m_counters.*section.miss), [&] {
            int32_t written = 0;
            for (const QString &title : TitlesOf(section.category)) {
                if (items.contains(title))
                    continue;
                writer.line(LookupChecksumByTitle(title, true) + QLatin1Char(' ') + title);
                ++written;
            }
            return written;
        });
    m_miss = writer.text();
}

void RomListTexts::BuildDupesListDetailed(const QList<RomFileRecord> &files, int32_t maxNameLength)
{
    BuildDupesList(files);
    const RomListCounters &c = m_counters;
    const QStringList items = Items(files);
    ListWriter writer;
    // The first file of each item is the one kept; the others are listed
    // under the catalogue title.
    const auto extraFiles = [&](const QStringList &titles, const std::function<QString(const QString &)> &itemOf) {
        int32_t written = 0;
        for (const QString &title : titles)
            written += DetailedFileLines(writer, files, items, maxNameLength, itemOf(title), title, 1);
        return written;
    };
    const auto itself = [](const QString &title) { return title; };
    for (const TitleSection &section : TitleSections())
        writer.section(CountedHeader(section.header, c.*section.dupes),
                       [&] { return extraFiles(TitlesOf(section.category), itself); });
    if (AnyHacked(items))
        writer.section(CountedHeader(kHackedHeader, c.DupesHackedCount),
                       [&] { return extraFiles(KnownTitles(), HackedTitle); });
    m_dupes = writer.text();
}

} // namespace romdb
