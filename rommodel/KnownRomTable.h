#pragma once
// The catalogue of the 38 known Virtual Boy images, with their checksums and
// published headers, and the 13 maker codes. One table for the whole program.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

struct KnownRom {
    QString title;                  // "3D Tetris (U) [!]"
    QString headerExcludedChecksum; // 8 upper-case hex digits
    QString wholeImageChecksum;
    QByteArray headerTitle;         // published header title, without padding
    QString makerCode;
    QString gameId;
};

struct MakerCode {
    QString code;
    QString name;
};

const std::array<KnownRom, 38> &KnownRomTable();
const std::array<MakerCode, 13> &MakerCodeTable();

inline const QString kUnknownVbRom = QStringLiteral("[UNKNOWN VB ROM]");

// The title of the first row whose checksum in the chosen column equals
// `checksum` exactly, or "[UNKNOWN VB ROM]".
QString LookupTitleByChecksum(const QString &checksum, bool wholeImage);
// The row with exactly this title, or nullptr.
const KnownRom *FindKnownRom(const QString &title);

// Maker code of list index 0-12; nullopt for any other index.
std::optional<QString> MakerCodeFromIndex(int index);
// List index of a maker code (compared exactly), -1 for any other code.
int MakerIndexFromCode(const QString &code);
