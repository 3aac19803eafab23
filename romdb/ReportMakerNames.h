#pragma once
// The ROM database's own names for the 13 maker codes, as its report writes
// them after the code ("01 (Nintendo)"). Kept apart from the ROM information
// window's maker list on purpose: the names are worded differently.

#include <QByteArray>
#include <QString>
#include <array>

namespace romdb {

struct ReportMakerName {
    QByteArray code; // two bytes, as the header stores them
    QString text;    // appended directly after the code
};

const std::array<ReportMakerName, 13> &ReportMakerNames();

// The text for a header's maker code, compared byte for byte;
// " (UNKNOWN MANU ID)" for any code not in the table.
QString MakerNameText(const QByteArray &code);

} // namespace romdb
