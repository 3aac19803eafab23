#pragma once
// The four texts of the ROM database (collected, missing, duplicates and the
// change log) and the counters its summaries show. The builders read the
// file records of a completed run; every line of every text ends in CR LF.

#include <QList>
#include <QString>
#include <cstdint>

#include "RomFileRecord.h"

namespace romdb {

struct RomListCounters {
    int32_t HaveTitleCount = 0;
    int32_t HaveGoodCount = 0;
    int32_t HaveBadCount = 0;
    int32_t HavePdCount = 0;
    int32_t HaveHackedCount = 0;
    int32_t HaveFileCount = 0;
    int32_t HaveUnknownCount = 0;
    int32_t HaveInvalidCount = 0;
    int32_t MissTitleCount = 0;
    int32_t MissGoodCount = 0;
    int32_t MissBadCount = 0;
    int32_t MissPdCount = 0;
    int32_t DupesCopyCount = 0;
    int32_t DupesGoodCount = 0;
    int32_t DupesBadCount = 0;
    int32_t DupesPdCount = 0;
    int32_t DupesHackedCount = 0;
};

// A count as the detailed lists and the summaries write it: at least two
// digits ("03", "12", "104").
QString TwoDigitCount(int32_t count);

class RomListTexts {
public:
    const QString &haveText() const { return m_have; }
    const QString &missText() const { return m_miss; }
    const QString &dupesText() const { return m_dupes; }
    const QString &changeLog() const { return m_log; }
    const RomListCounters &counters() const { return m_counters; }

    // The texts every run starts from.
    void InitHaveList();
    void InitMissList();
    void InitDupesList();
    void InitChangeLog();
    // The renaming pass writes its own log.
    void setChangeLog(const QString &log) { m_log = log; }

    void BuildHaveList(const QList<RomFileRecord> &files);
    void BuildMissList(const QList<RomFileRecord> &files);
    void BuildDupesList(const QList<RomFileRecord> &files);

    // Each runs its plain twin for the counters, then writes the text with
    // counted headers, file names and checksums.
    void BuildHaveListDetailed(const QList<RomFileRecord> &files, int32_t maxNameLength);
    void BuildMissListDetailed(const QList<RomFileRecord> &files);
    void BuildDupesListDetailed(const QList<RomFileRecord> &files, int32_t maxNameLength);

private:
    QString m_have;
    QString m_miss;
    QString m_dupes;
    QString m_log;
    RomListCounters m_counters;
};

} // namespace romdb
