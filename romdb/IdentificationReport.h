#pragma once
// The report a double-click on a file of the ROM database shows: what the
// file was identified as, its checksum, size and header fields, built from
// the file's own record. Its dash and blank rulers are measured in the font
// of the window that shows the report.

#include <QChar>
#include <QFontMetrics>
#include <QString>

#include "RomFileRecord.h"

namespace romdb {

// The shortest run of at least two `fill` characters that is not narrower
// than `text` in `metrics`.
QString RulerRun(const QFontMetrics &metrics, const QString &text, QChar fill);

// The report's lines joined with a single CR: a placeholder for a file not
// identified yet, a short report for an invalid image, the full report for
// any other.
QString IdentificationReport(const RomFileRecord &file, const QFontMetrics &metrics);

} // namespace romdb
