#include "Registry.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "GuardedFile.h"
#include "MsgBox.h"
#include "Paths.h"
#include "SaveFile.h"

namespace registry {
namespace {

struct Key {
    QString name;
    std::vector<std::pair<QString, Value>> values;
    std::vector<std::unique_ptr<Key>> subkeys;

    Key *child(const QString &childName) const
    {
        for (const auto &k : subkeys)
            if (k->name.compare(childName, Qt::CaseInsensitive) == 0)
                return k.get();
        return nullptr;
    }
    const Value *value(const QString &valueName) const
    {
        for (const auto &v : values)
            if (v.first.compare(valueName, Qt::CaseInsensitive) == 0)
                return &v.second;
        return nullptr;
    }
};

constexpr std::array<std::pair<Hive, const char *>, 4> kHiveNames{{
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {Hive::CurrentUser, "HKEY_CURRENT_USER"},
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {Hive::Users, "HKEY_USERS"},
}};

int hiveIndex(Hive hive)
{
    for (size_t i = 0; i < kHiveNames.size(); ++i)
        if (kHiveNames[i].first == hive)
            return int(i);
    return -1;
}

// Names that the text form of the store can't hold on one line.
bool isStorableName(const QString &name)
{
    return !name.contains(QLatin1Char('\n')) && !name.contains(QLatin1Char('\r')) && !name.contains(QChar(0));
}

QStringList splitPath(const QString &path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// Far more than the program's settings ever take.
constexpr qint64 kLargestStore = 64 << 20;

// The store file as we last saw it: which file it was, its change time and
// its size; all -1 when there was none.
struct FileState {
    qint64 device = -1, inode = -1, changed = -1, size = -1;
    bool operator==(const FileState &) const = default;
};

// The whole store as held in memory, with what we know of the file behind it.
struct Store {
    std::array<Key, 4> hives;
    bool loaded = false;
    QString file;
    FileState fileState;
    // Why the file is there but can't be read; while it can't, nothing is
    // written over it and every use tries to read it again.
    QString unreadable;
    QStringList problems; // not yet taken, each once
    int batchDepth = 0;
    // The changes of a batch not yet written, in order: at its end they go
    // onto the file as it is then.
    std::vector<std::function<bool()>> pending;

    void clear()
    {
        for (Key &k : hives) {
            k.values.clear();
            k.subkeys.clear();
        }
    }
};

Store &store()
{
    static Store s;
    return s;
}

void noteProblem(const QString &text)
{
    if (!store().problems.contains(text))
        store().problems << text;
}

QString storeFolder()
{
    return paths::AppendFileToDir(paths::ConfigFolder(), QStringLiteral("zandrel"));
}

Key *findKey(Hive hive, const QString &path)
{
    const int h = hiveIndex(hive);
    if (h < 0)
        return nullptr;
    Key *k = &store().hives[h];
    for (const QString &part : splitPath(path)) {
        k = k->child(part);
        if (!k)
            return nullptr;
    }
    return k;
}

Key *makeKey(Hive hive, const QString &path)
{
    const int h = hiveIndex(hive);
    if (h < 0)
        return nullptr;
    Key *k = &store().hives[h];
    for (const QString &part : splitPath(path)) {
        Key *next = k->child(part);
        if (!next) {
            k->subkeys.push_back(std::make_unique<Key>());
            next = k->subkeys.back().get();
            next->name = part;
        }
        k = next;
    }
    return k;
}

// --- the text forms of a registry file -----------------------------------

QString quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

QString hexBytes(const QByteArray &bytes)
{
    QStringList parts;
    parts.reserve(bytes.size());
    for (char b : bytes)
        parts << QStringLiteral("%1").arg(uchar(b), 2, 16, QLatin1Char('0'));
    return parts.join(QLatin1Char(','));
}

bool isPlainString(const Value &v)
{
    if (v.type != REG_SZ || v.data.isEmpty() || !v.data.endsWith('\0'))
        return false;
    const QByteArray body = v.data.left(v.data.size() - 1);
    if (body.contains('\0') || body.contains('\r') || body.contains('\n'))
        return false;
    return QString::fromUtf8(body).toUtf8() == body;
}

// The two forms of a registry file: REGEDIT4 keeps string data as the
// bytes we store (UTF-8); version 5, which regedit reads as Unicode, keeps
// it as UTF-16LE.
enum class RegForm { Regedit4, Version5 };

const QLatin1String kRegedit4Header("REGEDIT4");
const QLatin1String kVersion5Header("Windows Registry Editor Version 5.00");

bool holdsText(uint32_t type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

QByteArray toUtf16Le(const QByteArray &utf8)
{
    const QString text = QString::fromUtf8(utf8);
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

QByteArray fromUtf16Le(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(uchar(bytes[i]) | uchar(bytes[i + 1]) << 8));
    return text.toUtf8();
}

QString valueText(const Value &v, RegForm form)
{
    if (isPlainString(v))
        return quoted(v.toString());
    if (v.type == REG_DWORD && v.data.size() == 4)
        return QStringLiteral("dword:%1").arg(v.toDword(), 8, 16, QLatin1Char('0'));
    if (v.type == REG_BINARY)
        return QStringLiteral("hex:") + hexBytes(v.data);
    const QByteArray data = form == RegForm::Version5 && holdsText(v.type) ? toUtf16Le(v.data) : v.data;
    return QStringLiteral("hex(%1):").arg(v.type, 0, 16) + hexBytes(data);
}

void writeKey(QString &out, const QString &path, const Key &key, RegForm form)
{
    if (!key.values.empty() || key.subkeys.empty()) {
        out += QLatin1Char('[') + path + QStringLiteral("]\n");
        for (const auto &[name, value] : key.values)
            out += (name.isEmpty() ? QStringLiteral("@") : quoted(name)) + QLatin1Char('=')
                + valueText(value, form) + QLatin1Char('\n');
        out += QLatin1Char('\n');
    }
    for (const auto &sub : key.subkeys)
        writeKey(out, path + QLatin1Char('\\') + sub->name, *sub, form);
}

QString storeText()
{
    QString out = kRegedit4Header + QStringLiteral("\n\n");
    for (size_t i = 0; i < kHiveNames.size(); ++i) {
        const Key &root = store().hives[i];
        if (!root.values.empty()) { // values on the root key itself
            writeKey(out, QLatin1String(kHiveNames[i].second), root, RegForm::Regedit4);
            continue;
        }
        for (const auto &sub : root.subkeys)
            writeKey(out, QLatin1String(kHiveNames[i].second) + QLatin1Char('\\') + sub->name, *sub,
                     RegForm::Regedit4);
    }
    return out;
}

// Reads a quoted string starting at `pos`; on success moves `pos` past it.
// regedit writes a line break in a string as "\n" or "\r".
bool readQuoted(const QString &line, int &pos, QString &out)
{
    if (pos >= line.size() || line[pos] != u'"')
        return false;
    out.clear();
    for (int i = pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'\\' && i + 1 < line.size()) {
            const QChar escaped = line[++i];
            out += escaped == u'n' ? QChar(u'\n') : escaped == u'r' ? QChar(u'\r') : escaped;
        } else if (c == u'"') {
            pos = i + 1;
            return true;
        } else {
            out += c;
        }
    }
    return false;
}

bool parseHex(const QString &text, QByteArray &out)
{
    out.clear();
    const QString compact = QString(text).remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    if (compact.isEmpty())
        return true;
    for (const QString &part : compact.split(QLatin1Char(','))) {
        bool ok = false;
        const uint b = part.toUInt(&ok, 16);
        if (!ok || part.size() > 2)
            return false;
        out.append(char(b));
    }
    return true;
}

bool parseValue(const QString &text, RegForm form, Value &out)
{
    if (text.startsWith(u'"')) {
        int pos = 0;
        QString s;
        if (!readQuoted(text, pos, s) || !text.mid(pos).trimmed().isEmpty())
            return false;
        out = Value::fromString(s);
        return true;
    }
    if (text.startsWith(QLatin1String("dword:"))) {
        bool ok = false;
        const uint n = text.mid(6).trimmed().toUInt(&ok, 16);
        out = Value::fromDword(n);
        return ok;
    }
    if (text.startsWith(QLatin1String("hex:"))) {
        out.type = REG_BINARY;
        return parseHex(text.mid(4), out.data);
    }
    if (text.startsWith(QLatin1String("hex("))) {
        const int close = text.indexOf(QLatin1String("):"));
        bool ok = false;
        out.type = text.mid(4, close - 4).toUInt(&ok, 16);
        if (close <= 4 || !ok || !parseHex(text.mid(close + 2), out.data))
            return false;
        if (form == RegForm::Version5 && holdsText(out.type))
            out.data = fromUtf16Le(out.data);
        return true;
    }
    return false;
}

// Walks the text of a registry file in either form: `onKey` gets each key's
// full path ("HKEY_CURRENT_USER\\Software\\...") and gives false for one it
// can't take; `onValue` gets each value under the last key taken. False when
// the text is not a registry file or a line can't be read.
bool walkRegText(const QString &text, const std::function<bool(const QString &)> &onKey,
                 const std::function<void(const QString &, const Value &)> &onValue)
{
    // A long hex value continues over lines that end in "\\"; the pieces are
    // appended in place, so a value of any length costs time in proportion.
    QStringList lines;
    QString pending;
    for (QStringView piece : QStringView(text).split(QLatin1Char('\n'))) {
        if (piece.endsWith(QLatin1Char('\r')))
            piece.chop(1);
        const bool continues = !pending.isEmpty();
        if (continues)
            pending += piece.trimmed();
        else
            pending = piece.toString();
        if (pending.endsWith(QLatin1Char('\\')) && !pending.startsWith(QLatin1Char('['))
            && (continues || pending.contains(QLatin1String("=hex")))) {
            pending.chop(1);
            continue;
        }
        lines << std::exchange(pending, QString());
    }
    int first = 0;
    while (first < lines.size() && lines[first].trimmed().isEmpty())
        ++first;
    if (first >= lines.size())
        return false;
    const QString header = lines[first].trimmed();
    if (header != kRegedit4Header && header != kVersion5Header)
        return false;
    const RegForm form = header == kRegedit4Header ? RegForm::Regedit4 : RegForm::Version5;

    bool inKey = false;
    for (int i = first + 1; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return false;
            inKey = onKey(line.mid(1, line.size() - 2));
            if (!inKey)
                return false;
            continue;
        }
        if (!inKey)
            return false;
        QString name;
        int pos = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (!readQuoted(line, pos, name)) {
            return false;
        }
        if (pos >= line.size() || line[pos] != u'=')
            return false;
        Value value;
        if (!parseValue(line.mid(pos + 1), form, value))
            return false;
        onValue(name, value);
    }
    return true;
}

// Fills the store from the file's text; false when the text is not a store.
bool parseStore(const QString &text)
{
    Key *current = nullptr;
    return walkRegText(
        text,
        [&](const QString &path) {
            const int slash = path.indexOf(QLatin1Char('\\'));
            const QString hiveName = slash < 0 ? path : path.left(slash);
            current = nullptr;
            for (const auto &[hive, name] : kHiveNames)
                if (hiveName == QLatin1String(name))
                    current = makeKey(hive, slash < 0 ? QString() : path.mid(slash + 1));
            return current != nullptr;
        },
        [&](const QString &name, const Value &value) { current->values.emplace_back(name, value); });
}

FileState currentFileState()
{
    struct stat info;
    if (::stat(paths::EncodeFileName(store().file).constData(), &info) != 0)
        return FileState{};
    return FileState{qint64(info.st_dev), qint64(info.st_ino),
                     qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec, qint64(info.st_size)};
}

void rememberFileState()
{
    store().fileState = currentFileState();
}

bool fileChangedSinceLoad()
{
    return currentFileState() != store().fileState;
}

// What can't be read (or kept aside) stays as it is: the defaults are used,
// and every use tries to read it again.
void leaveUnread(const QString &reason)
{
    Store &s = store();
    s.unreadable = QStringLiteral("The settings file %1 could not be read: %2\rThe default settings are "
                                  "used, and no change is saved over the file until it can be read.")
                       .arg(s.file, reason);
    noteProblem(s.unreadable);
}

void keepAside(const QString &file); // below: it needs the store's lock

void loadFromFile()
{
    Store &s = store();
    s.clear();
    s.file = storeFolder() + QStringLiteral("/registry.reg");
    s.loaded = true;
    s.unreadable.clear();
    const auto read = guardedfile::ReadWhole(s.file, kLargestStore,
                                             QStringLiteral("The file is too large to be a settings file."));
    const auto *failure = std::get_if<guardedfile::Failure>(&read);
    if (failure && failure->kind != guardedfile::Failure::Kind::Missing) {
        // Not damaged, only out of reach: it stays as it is.
        leaveUnread(failure->reason);
    } else if (!failure && !parseStore(QString::fromUtf8(std::get<QByteArray>(read)))) {
        s.clear();
        keepAside(s.file);
        return;
    }
    rememberFileState();
}

// True when memory no longer shows the store file as it is.
bool staleInMemory()
{
    const Store &s = store();
    return !s.loaded || s.file != storeFolder() + QStringLiteral("/registry.reg") || !s.unreadable.isEmpty()
        || fileChangedSinceLoad();
}

void ensureFresh()
{
    if (!store().pending.empty())
        return; // a batch holds changes the file doesn't have yet
    if (staleInMemory())
        loadFromFile();
}

QString lockFilePath()
{
    return storeFolder() + QStringLiteral("/registry.lock");
}

// The store's lock: the kernel's lock on the file "registry.lock", which
// ends with the process that holds it, so a killed instance never leaves a
// lock that blocks the next save. The file itself stays; what it holds
// means nothing.
class StoreLock {
public:
    enum class Result { Locked, Held, Failed };

    ~StoreLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
        if (m_locked)
            --s_heldHere;
    }

    // True while this instance holds the lock (taking it again would wait for itself).
    static bool heldHere() { return s_heldHere > 0; }

    // Tries for up to `waitMs` while another instance holds the lock.
    Result lock(int waitMs)
    {
        m_fd = ::open(paths::EncodeFileName(lockFilePath()).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (m_fd < 0) {
            m_error = errno;
            return Result::Failed;
        }
        QDeadlineTimer deadline(waitMs);
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
                m_locked = true;
                ++s_heldHere;
                return Result::Locked;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) {
                m_error = errno;
                return Result::Failed;
            }
            if (deadline.hasExpired())
                return Result::Held;
            QThread::msleep(20);
        }
    }

    int error() const { return m_error; }

private:
    static inline int s_heldHere = 0;
    int m_fd = -1;
    int m_error = 0;
    bool m_locked = false;
};

// The store's lock, for one writer at a time; null, with the cause noted,
// when the folder can't be made or written or another program holds the lock.
std::unique_ptr<StoreLock> lockStore()
{
    const QString folder = storeFolder();
    if (!paths::MakeFolders(folder)) {
        noteProblem(QStringLiteral("The settings folder %1 could not be created.").arg(folder));
        return nullptr;
    }
    if (::faccessat(AT_FDCWD, paths::EncodeFileName(folder).constData(), W_OK, AT_EACCESS) != 0) {
        noteProblem(QStringLiteral("The settings folder %1 can't be written: %2").arg(folder, savefile::ErrorText(errno)));
        return nullptr;
    }
    auto lock = std::make_unique<StoreLock>();
    switch (lock->lock(5000)) {
    case StoreLock::Result::Locked:
        return lock;
    case StoreLock::Result::Held:
        noteProblem(QStringLiteral("The settings file is locked by another program."));
        return nullptr;
    case StoreLock::Result::Failed:
        noteProblem(QStringLiteral("The settings lock file %1 could not be written: %2")
                        .arg(lockFilePath(), savefile::ErrorText(lock->error())));
        return nullptr;
    }
    return nullptr;
}

std::function<void()> &damagedStoreHook()
{
    static std::function<void()> hook;
    return hook;
}

// Moves a damaged store file aside, under a name nothing has yet, so that
// nothing overwrites it. Only under the store's lock: another instance may
// have kept it aside and saved a fresh store before this one took the lock,
// so the file is read again under it and kept aside only if still damaged.
// What can't be kept aside stays where it is, unread and never written over.
void keepAside(const QString &file)
{
    if (!StoreLock::heldHere()) {
        if (damagedStoreHook())
            damagedStoreHook()();
        if (const auto lock = lockStore())
            loadFromFile();
        else
            leaveUnread(QStringLiteral("It is damaged, and it could not be kept aside."));
        return;
    }
    const QString first = file + QStringLiteral(".damaged");
    const QString stamped =
        first + QLatin1Char('-') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString aside = first;
    for (int taken = 0; const int error = paths::RenameWithoutReplacing(file, aside); ++taken) {
        if (error != EEXIST || taken == 100) {
            leaveUnread(QStringLiteral("It is damaged, and it could not be kept aside: ") + savefile::ErrorText(error));
            rememberFileState();
            return;
        }
        aside = taken == 0 ? stamped : stamped + QLatin1Char('-') + QString::number(taken + 1);
    }
    noteProblem(QStringLiteral("The settings file %1 could not be read. It was kept as %2 "
                               "and the default settings are used.")
                    .arg(file, aside));
    rememberFileState();
}

bool writeStore()
{
    if (!store().unreadable.isEmpty()) {
        noteProblem(store().unreadable);
        store().loaded = false; // memory no longer matches the file
        return false;
    }
    // A store kept elsewhere through a link (a dotfile manager's) stays there.
    if (const auto error = savefile::SaveWhole(store().file, storeText().toUtf8(), savefile::Links::WriteThrough)) {
        noteProblem(QStringLiteral("The settings file %1 could not be written: %2").arg(store().file, error->reason));
        store().loaded = false; // memory no longer matches the file
        return false;
    }
    rememberFileState();
    return true;
}

// Runs a change under the store's lock, on the newest file contents, and
// writes the whole store back (at the end of a batch, when one is open: the
// change is kept to be made again there). The change answers false to write
// nothing.
bool modify(const std::function<bool()> &change)
{
    if (store().batchDepth > 0) {
        if (!store().loaded)
            ensureFresh();
        if (!change())
            return false;
        store().pending.push_back(change);
        return true;
    }
    const auto lock = lockStore();
    if (!lock)
        return false;
    ensureFresh();
    if (!change())
        return false;
    return writeStore();
}

// Values that Windows answers itself; here the install answers them.
std::optional<Value> systemValue(Hive hive, const QString &path, const QString &name)
{
    auto same = [](const QString &a, const char *b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; };
    if (hive == Hive::LocalMachine && same(path, "Software\\Microsoft\\Windows\\CurrentVersion")
        && same(name, "SystemRoot"))
        return Value::fromString(paths::WindowsFolder());
    if (hive == Hive::Users
        && same(path, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")
        && same(name, "Fonts"))
        return Value::fromString(paths::FontsFolder());
    return std::nullopt;
}

} // namespace

Value Value::fromString(const QString &text, uint32_t type)
{
    Value v;
    v.type = type;
    // A path among the settings keeps its bytes: a stray byte of its name
    // (held as a lone surrogate) is stored as that byte, not as "?".
    v.data = paths::EncodeFileName(text);
    v.data.append('\0');
    return v;
}

Value Value::fromDword(uint32_t number)
{
    Value v;
    v.type = REG_DWORD;
    for (int i = 0; i < 4; ++i)
        v.data.append(char((number >> (8 * i)) & 0xFF));
    return v;
}

Value Value::fromBinary(const QByteArray &bytes)
{
    return Value{REG_BINARY, bytes};
}

QString Value::toString() const
{
    QByteArray body = data;
    if (body.endsWith('\0'))
        body.chop(1);
    return paths::DecodeFileName(body);
}

uint32_t Value::toDword() const
{
    uint32_t n = 0;
    for (int i = 0; i < 4 && i < data.size(); ++i)
        n |= uint32_t(uchar(data[i])) << (8 * i);
    return n;
}

bool KeyExists(Hive hive, const QString &path)
{
    if (systemValue(hive, path, hive == Hive::Users ? QStringLiteral("Fonts") : QStringLiteral("SystemRoot")))
        return true;
    ensureFresh();
    return findKey(hive, path) != nullptr;
}

bool CreateKey(Hive hive, const QString &path)
{
    if (hiveIndex(hive) < 0 || splitPath(path).isEmpty() || !isStorableName(path))
        return false;
    ensureFresh();
    if (findKey(hive, path))
        return true;
    return modify([=] { return makeKey(hive, path) != nullptr; });
}

bool DeleteKey(Hive hive, const QString &path)
{
    const QStringList parts = splitPath(path);
    if (parts.isEmpty())
        return false;
    return modify([=] {
        Key *parent = findKey(hive, QStringList(parts.mid(0, parts.size() - 1)).join(QLatin1Char('\\')));
        Key *victim = parent ? parent->child(parts.last()) : nullptr;
        if (!victim || !victim->subkeys.empty())
            return false;
        std::erase_if(parent->subkeys, [victim](const auto &k) { return k.get() == victim; });
        return true;
    });
}

std::optional<Value> QueryValue(Hive hive, const QString &path, const QString &name)
{
    if (auto v = systemValue(hive, path, name))
        return v;
    ensureFresh();
    const Key *k = findKey(hive, path);
    const Value *v = k ? k->value(name) : nullptr;
    if (!v)
        return std::nullopt;
    return *v;
}

bool SetValue(Hive hive, const QString &path, const QString &name, const Value &value)
{
    if (!isStorableName(name))
        return false;
    ensureFresh();
    if (!findKey(hive, path))
        return false;
    if (const Key *k = findKey(hive, path); k && k->value(name) && *k->value(name) == value)
        return true; // nothing changes: keep the file as it is
    // The key is there now; should the change be made again on a newer file
    // that lacks it, it is made again with its value.
    return modify([=] {
        Key *k = makeKey(hive, path);
        if (!k)
            return false;
        for (auto &v : k->values)
            if (v.first.compare(name, Qt::CaseInsensitive) == 0) {
                v.second = value;
                return true;
            }
        k->values.emplace_back(name, value);
        return true;
    });
}

bool DeleteValue(Hive hive, const QString &path, const QString &name)
{
    return modify([=] {
        Key *k = findKey(hive, path);
        if (!k || !k->value(name))
            return false;
        std::erase_if(k->values, [&](const auto &v) { return v.first.compare(name, Qt::CaseInsensitive) == 0; });
        return true;
    });
}

QStringList ValueNames(Hive hive, const QString &path)
{
    ensureFresh();
    QStringList names;
    if (const Key *k = findKey(hive, path))
        for (const auto &v : k->values)
            names << v.first;
    return names;
}

QStringList SubkeyNames(Hive hive, const QString &path)
{
    ensureFresh();
    QStringList names;
    if (const Key *k = findKey(hive, path))
        for (const auto &sub : k->subkeys)
            names << sub->name;
    return names;
}

BatchWrite::BatchWrite()
{
    ensureFresh();
    ++store().batchDepth;
}

BatchWrite::~BatchWrite()
{
    Store &s = store();
    if (--s.batchDepth > 0 || s.pending.empty())
        return;
    const std::vector<std::function<bool()>> changes = std::exchange(s.pending, {});
    const auto lock = lockStore();
    if (!lock) {
        s.loaded = false; // memory no longer matches the file
        return;
    }
    // Another instance may have saved meanwhile, or the file been damaged:
    // then the batch's changes go onto the file as it is now (a damaged one
    // is kept aside first), as a single change does.
    if (staleInMemory()) {
        loadFromFile();
        for (const auto &change : changes)
            change();
    }
    writeStore();
}

QString ExportKey(Hive hive, const QString &path)
{
    ensureFresh();
    const Key *key = findKey(hive, path);
    const int h = hiveIndex(hive);
    if (!key || h < 0)
        return QString();
    QString fullPath = QLatin1String(kHiveNames[size_t(h)].second);
    for (const QString &part : splitPath(path))
        fullPath += QLatin1Char('\\') + part;
    QString out = kVersion5Header + QStringLiteral("\n\n");
    writeKey(out, fullPath, *key, RegForm::Version5);
    return out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

std::optional<ValueTable> ReadValues(const QString &text)
{
    ValueTable table;
    QString keyPath;
    const bool read = walkRegText(
        text,
        [&](const QString &path) {
            keyPath = path.toCaseFolded();
            return true;
        },
        [&](const QString &name, const Value &value) { table[{keyPath, name.toCaseFolded()}] = value; });
    return read ? std::optional(std::move(table)) : std::nullopt;
}

QString StoreFilePath()
{
    return storeFolder() + QStringLiteral("/registry.reg");
}

void Reload()
{
    store().loaded = false;
    store().pending.clear();
    store().problems.clear();
}

QString TakeStoreProblem()
{
    ensureFresh();
    return std::exchange(store().problems, QStringList()).join(msgbox::CR);
}

void SetDamagedStoreHook(std::function<void()> hook)
{
    damagedStoreHook() = std::move(hook);
}

void RemoveLeftoversOfKilledSaves()
{
    const QString folder = storeFolder();
    if (!paths::IsFolder(folder))
        return;
    // Saves happen only under the lock: while we hold it, no other instance
    // is writing, and a temporary copy of the store is one a killed save left.
    StoreLock lock;
    if (lock.lock(0) != StoreLock::Result::Locked)
        return;
    // Only copies whose names say they are ours go: any other name beside
    // the store ("registry.reg.bkp001") may be a copy the user keeps.
    savefile::ClearLeftovers(StoreFilePath(), savefile::Links::WriteThrough);
    // The breaker's file of an earlier lock on the store: a name no user gives.
    const QByteArray lockBreaker = paths::EncodeFileName(folder + QStringLiteral("/registry.lock.rmlock"));
    struct stat info;
    if (::lstat(lockBreaker.constData(), &info) == 0 && S_ISREG(info.st_mode))
        ::unlink(lockBreaker.constData());
}

} // namespace registry
