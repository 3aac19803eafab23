#pragma once
// The 32-byte header every Virtual Boy image carries at length - 544, and
// the one validity check every window runs before it uses an image.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// Header fields as bytes; text fields keep their bytes except trailing spaces.
struct VbRomHeader {
    static constexpr int kSize = 32;
    static constexpr int kDistanceFromEnd = 544; // header offset = length - 544
    static constexpr int kTitleSize = 20;
    static constexpr int kReservedOffset = 20;
    static constexpr int kReservedSize = 5;
    static constexpr int kMakerCodeSize = 2;
    static constexpr int kGameIdSize = 4;

    QByteArray title;     // at most 20 bytes, trailing spaces removed
    QByteArray makerCode; // at most 2
    QByteArray gameId;    // at most 4
    uint8_t version = 0;  // shown as "1." and the value

    // The header of an image longer than 544 bytes; nullopt for a shorter one.
    static std::optional<VbRomHeader> read(const QByteArray &image);
    // True when the five reserved bytes of the 32 header bytes are all zero.
    static bool reservedBytesAreZero(QByteArrayView header);
    // Pads each text field with spaces into its place and writes the version;
    // every other byte (the reserved ones included) keeps its value.
    void writeTo(QByteArray &image) const;
    // "1.0" ... "1.255".
    QString versionText() const;
};

// The filter of every ROM open and save dialog.
inline const QString RomFileFilter = QStringLiteral("Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*");

// The outcome of checking an image file. Missing: nothing of that name, or an
// empty file. Unreadable: something of that name exists but can't be read as
// an image file: a folder, a device, a pipe or a socket (refused before it is
// opened), no permission, a failing read, a file that reports no length but
// is not empty (as those under /proc do).
enum class RomCheck { Ok, Missing, TooSmall, Invalid, Unreadable };

struct CheckedImage {
    RomCheck result = RomCheck::Missing;
    QByteArray image; // the whole file when result is Ok
};

// Reads and checks the image at `path` without creating, changing or
// deleting any file. With showMessages, a failure shows its message box.
CheckedImage CheckVbRomImage(const QString &path, bool showMessages = true);

struct ScannedImage {
    RomCheck result = RomCheck::Missing;
    qint64 length = 0;  // when result is Ok
    QByteArray header;  // the 32 header bytes, when result is Ok
};

// The same check for a reader that keeps no whole image: the file is read
// once, front to back, in pieces of `pieceBytes` (the last may be shorter),
// each handed to `takePiece` with its offset and the file's length as soon
// as it is read, while it is still in the cache. The verdict comes at the
// end; a file that proves to be no image has had its pieces handed over all
// the same. A file that changes length while it is read is Unreadable.
// Shows no message.
using ImagePieceTaker = std::function<void(QByteArrayView piece, qint64 offset, qint64 length)>;
ScannedImage ScanVbRomImage(const QString &path, qsizetype pieceBytes, const ImagePieceTaker &takePiece);

// Writes the whole image to `path` through a temporary file beside it that
// replaces the old file only once it is complete, so a failure never leaves
// a torn image. Where the folder takes no temporary file and the file there
// differs from the image in its header alone, the header is written in
// place. Either way the file keeps its permissions. Returns the reason of a
// failure, nullopt on success.
std::optional<QString> WriteVbRomImage(const QString &path, const QByteArray &image);

// "65536 Bytes  (0.5 MBit)": the length in bytes and in megabits (131072
// bytes each), the megabits with up to 15 significant digits.
QString RomSizeText(qint64 length);
