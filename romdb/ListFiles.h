#pragma once
// The list files of the ROM database: the collected, missing and duplicates
// texts and, on request, the change log, saved into the listed folder. Each
// file is written whole beside its final name and renamed into place, so a
// failure never leaves a torn list.

#include <QString>
#include <optional>

#include "RomListTexts.h"

namespace romdb {

struct ListFileFailure {
    QString path;
    QString reason;
};

// Writes "VBoyHave.txt", "VBoyMiss.txt", "VBoyDupes.txt" and, with
// `withLog`, "VBoyLog.txt", each holding its text exactly (in UTF-8, a
// listed name's byte that is not UTF-8 as that very byte). Stops at the
// first file that can't be written and says which; the files written
// before it stay.
std::optional<ListFileFailure> SaveListFiles(const QString &folder, const RomListTexts &texts, bool withLog);

// Writes "VBoyLog.txt" alone, for a run that ended before its lists were built.
std::optional<ListFileFailure> SaveChangeLogFile(const QString &folder, const RomListTexts &texts);

} // namespace romdb
