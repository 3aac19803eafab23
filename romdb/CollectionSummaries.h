#pragma once
// The texts of the three summary boxes of the ROM database: what was
// collected, what is missing and what is held twice, built from the
// counters of the last completed run. Lines are joined with a single CR.

#include <QString>

#include "RomListTexts.h"

namespace romdb {

QString HaveSummary(const RomListCounters &counters);
QString MissSummary(const RomListCounters &counters);
QString DupesSummary(const RomListCounters &counters);

} // namespace romdb
