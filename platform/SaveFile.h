#pragma once
// Every file the program writes goes through here. The new contents go whole
// into a temporary file beside the old one (an unnamed one where the file
// system allows, so that a kill while it is written leaves nothing behind),
// are synced to the disk with every error checked, and only then replace the
// old file in one rename. A failure leaves the old file exactly as it was and
// says why in the system's own words. A kill in the instant between the copy
// getting its name and the rename leaves "<name>.zandrel-save-" and six
// letters and digits; the next save of that file clears it.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace savefile {

// The steps of a save, in order: where a failure stopped it, and where a test
// can make one fail.
enum class Step {
    Check,           // looking at what is at the path now
    CreateTemporary, // making the temporary file and giving it the old file's mode
    OpenFile,        // opening the file itself, for a write in place
    Write,
    Sync,
    Close,
    Replace, // putting the temporary file in the old one's place
};

struct SaveError {
    Step step = Step::Check;
    int code = 0;   // the errno
    QString reason; // the system's text for it, or ours where it has none
};

// What a save does with a symbolic link at its path.
enum class Links {
    Replace,      // the link itself gives way to the new file; its target is untouched
    WriteThrough, // the file the link points to is saved (a dangling link is replaced)
};

// Writes `bytes` as the whole new contents of `path`. A file that is replaced
// keeps its permissions; a new one gets the usual ones (0666 less the umask).
// An existing file that we may not write, a folder or a device is refused.
std::optional<SaveError> SaveWhole(const QString &path, const QByteArray &bytes, Links links = Links::Replace);

// Removes the copies that killed saves of the file at `path` left beside it
// (beside the file a link points to, with WriteThrough), as every save does
// first. A copy that a save under way holds, and anything that merely looks
// like a copy (a folder, a link, another name), stays.
void ClearLeftovers(const QString &path, Links links = Links::Replace);

// Writes `bytes` over the existing file at `offset` without a temporary file,
// for where none can be made. The file keeps its length, its permissions and
// every other byte; a failure may leave the written range part done.
std::optional<SaveError> WriteInPlace(const QString &path, qint64 offset, const QByteArray &bytes);

// The system's text for an errno ("No space left on device").
QString ErrorText(int code);

// The seam for tests: called before each system call of a save with its step,
// the hook answers an errno to fail that call with, or 0 to let it run.
using FaultHook = std::function<int(Step)>;
void SetFaultHook(FaultHook hook);

} // namespace savefile
