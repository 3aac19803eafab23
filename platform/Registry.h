#pragma once
// An emulated Windows registry: hives, keys, typed values. It persists to one
// REGEDIT4-style text file per user ($XDG_CONFIG_HOME/zandrel/registry.reg),
// rewritten whole through a temporary file on every change. A few values that
// Windows itself would answer (the Windows and Fonts folders) are computed
// from the program's install and never stored.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <optional>

namespace registry {

enum class Hive : uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
};

// Value type codes, as Windows numbers them.
enum ValueType : uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_LINK = 6,
    REG_MULTI_SZ = 7,
};

// A stored value: its type code and its raw bytes, as the registry keeps
// them (strings with their terminating zero byte, DWORDs little-endian).
struct Value {
    uint32_t type = REG_NONE;
    QByteArray data;

    static Value fromString(const QString &text, uint32_t type = REG_SZ);
    static Value fromDword(uint32_t number);
    static Value fromBinary(const QByteArray &bytes);
    // String data without the terminating zero (an empty data block is "";
    // embedded zeros stay). Text is stored by paths::EncodeFileName and read
    // back by DecodeFileName, so a path comes back byte for byte.
    QString toString() const;
    uint32_t toDword() const;
    bool operator==(const Value &) const = default;
};

// Key paths use "\" between key names; names compare ignoring letter case.
bool KeyExists(Hive hive, const QString &path);
// Creates the key and any missing parents. False when the path is empty.
bool CreateKey(Hive hive, const QString &path);
// Deletes a key that has no subkeys (as Windows NT does); false otherwise.
bool DeleteKey(Hive hive, const QString &path);
std::optional<Value> QueryValue(Hive hive, const QString &path, const QString &name);
// The key must exist. False when it does not or the store can't be written.
bool SetValue(Hive hive, const QString &path, const QString &name, const Value &value);
bool DeleteValue(Hive hive, const QString &path, const QString &name);
// Names in the order they were created; empty for a missing key.
QStringList ValueNames(Hive hive, const QString &path);
QStringList SubkeyNames(Hive hive, const QString &path);

// While one is alive, changes are gathered in memory and the store file is
// written once, when the last one ends (many settings saved in a row).
class BatchWrite {
public:
    BatchWrite();
    ~BatchWrite();
    BatchWrite(const BatchWrite &) = delete;
    BatchWrite &operator=(const BatchWrite &) = delete;
};

// A key and everything below it as the text of a registry file in the form
// that regedit reads as Unicode ("Windows Registry Editor Version 5.00", the
// data of string types in UTF-16LE), with CR LF line ends, to be saved as
// UTF-16LE; "" when the key does not exist.
QString ExportKey(Hive hive, const QString &path);

// The values of a registry file's text (either form), each under its key's
// full path and its own name, both case-folded (names compare without regard
// to letter case); nullopt when the text is not a registry file.
using ValueTable = std::map<std::pair<QString, QString>, Value>;
std::optional<ValueTable> ReadValues(const QString &text);

// The store file in use.
QString StoreFilePath();

// Drops what is cached in memory so that the next call reads the store file
// again (tests point XDG_CONFIG_HOME elsewhere between cases).
void Reload();

// The problems with the store file since the last call (a damaged file kept
// aside, a file that can't be read, a write that failed), each once, one to a
// line (CR between); empty when there is none. Taking them clears them.
// A file that exists but can't be read is never written over: the default
// settings are used and every change is refused until it can be read.
QString TakeStoreProblem();

// The seam for tests: runs when the store file has been found damaged,
// before it is kept aside, where another instance may act meanwhile.
void SetDamagedStoreHook(std::function<void()> hook);

// Removes what killed saves left beside the store (unfinished copies, by
// their names that are plainly ours, and the breaker's file of an earlier
// lock), unless another instance holds the lock. Copies a user made stay.
// Called once at start-up.
void RemoveLeftoversOfKilledSaves();

} // namespace registry
