#pragma once
// The six sections of the ROM lists, the section of a known title and the
// hacked form of a title, as the identification and every list use them.

#include <QString>

namespace romdb {

enum class RomCategory { Good, Bad, PdTranslated, Hacked, Unknown, Invalid };

// Good, Bad or PdTranslated, by the title's last four characters and "[T-".
RomCategory TitleCategory(const QString &title);

// "[!]" at the end becomes "[h]"; any other title gets " [h]" appended.
QString HackedTitle(const QString &title);

// A list item that names a hacked image ends with "[h]".
bool IsHackedItem(const QString &item);

} // namespace romdb
