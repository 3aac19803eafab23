#pragma once
// Everything the ROM database knows about one listed file, in one record:
// its name, how far identification got, and what it found. The file list
// line, the list texts and the report all read from it, so a file's data
// can never drift away from its name.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace romdb {

inline const QString kYetToBeIdentified = QStringLiteral("[YET TO BE IDENTIFIED]");
inline const QString kIdentifying = QStringLiteral("[INDENTIFYING VB ROM...]");
inline const QString kInvalidImage = QStringLiteral("[INVALID VB ROM IMAGE]");

enum class RomState { YetToBeIdentified, Identifying, Invalid, Unknown, Known };

struct RomFileRecord {
    QString name; // as the folder listing gives it, without folder
    RomState state = RomState::YetToBeIdentified;
    QString title;  // catalogue title of a Known image
    bool hacked = false; // Known, but the header differs from the published one
    int64_t size = 0;   // bytes of an accepted image
    QByteArray header;  // the 32 header bytes of an accepted image
    QString headerExcludedChecksum; // computed for every accepted image
    QString wholeImageChecksum;     // computed for catalogued images only

    static RomFileRecord listed(const QString &name);

    // The text after " - " in the file list: the state, or the title with
    // the hacked mark when it applies.
    QString identification() const;
    // The checksum the lists show: the whole-image one where it was
    // computed, else the header-excluded one, else 8 blanks.
    QString listedChecksum() const;
    // The header as 96 digits, each byte in three ("000" ... "255").
    QString headerDigits() const;
};

// The file list line: the name, blanks up to `maxNameLength`, " - " and the
// identification.
QString FileLine(const RomFileRecord &record, int32_t maxNameLength);

// The columns a name takes in the lists and the change log, as a fixed-pitch
// font draws it: one for each character (a pair of surrogates is one, and so
// is a byte that is not UTF-8), none for one drawn without width (a
// byte-order mark or another format character, a combining accent). Names
// are measured this way wherever one is padded, so every row keeps its columns.
int32_t NameColumns(const QString &name);

// `maxNameLength` minus the columns of `name` blanks, none when it is longer.
QString NameFiller(const QString &name, int32_t maxNameLength);

} // namespace romdb
