#pragma once
// The one guarded open of every file the program reads (ROM images, palettes,
// option files, the settings store). Only a regular file, once links are
// followed, is opened: a folder, a device, a pipe or a socket is refused
// before it is opened and named for what it is, and the check is repeated on
// what was opened in case it was swapped in between. The open never blocks
// (a pipe can't freeze a window), and nothing is read beyond the length that
// the caller's format can hold, even from a file that reports no length (as
// the files under /proc do). Nothing is created, changed or deleted.

#include <QByteArray>
#include <QString>

#include <sys/types.h>
#include <variant>

namespace guardedfile {

struct Failure {
    enum class Kind {
        Missing,  // nothing of that name (or a link to nothing), or no name at all
        NotAFile, // a folder, a device, a pipe or a socket
        TooLarge, // more bytes than the format can hold
        System,   // the open or a read failed
    };
    Kind kind = Kind::Missing;
    int code = 0;   // the errno of a System failure
    QString reason; // what to tell the user: the kind named, or the system's words
};

// A regular file open for reading; closed when it goes.
class File {
public:
    File(File &&other) noexcept;
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    ~File();

    // The length the file had when it was opened.
    qint64 length() const { return m_length; }
    // Fills `to` as far as the file goes: the bytes read, or -1 with errno set.
    qint64 read(char *to, qint64 size);
    // The same from `offset` on, wherever the reading stands.
    qint64 readAt(qint64 offset, char *to, qint64 size);

private:
    friend std::variant<File, Failure> Open(const QString &, qint64, const QString &);
    File(int fd, qint64 length) : m_fd(fd), m_length(length) {}
    bool isOpen() const { return m_fd >= 0; }
    // Reads on from where the reading stands when `offset` is negative.
    qint64 readFrom(qint64 offset, char *to, qint64 size);

    int m_fd;
    qint64 m_length;
};

// Why what has the file mode `mode` can't be opened as a file, named for
// what it is ("It is a pipe, not a file."); empty for a regular file.
QString NotAFileReason(mode_t mode);

// Opens the file at `path` for reading. A file longer than `largest` bytes is
// refused as TooLarge with `tooLarge` as its reason.
std::variant<File, Failure> Open(const QString &path, qint64 largest, const QString &tooLarge);

// The whole file at `path`, when it holds at most `largest` bytes. The bytes
// are counted as they are read, not taken from the length the file reports.
std::variant<QByteArray, Failure> ReadWhole(const QString &path, qint64 largest, const QString &tooLarge);

// The first `count` bytes of the file at `path` (fewer when it is shorter);
// the rest is never read.
std::variant<QByteArray, Failure> ReadStart(const QString &path, qint64 count);

} // namespace guardedfile
