#pragma once
// Virtual-E keeps its options and its keys as REG_DWORD values under its own
// registry key, HKEY_CURRENT_USER "Software\Virtual-E\VIRTUALE". The
// front-end and the key configuration dialog read and write them here,
// through the registry class.

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

#include "ControllerKeys.h"

namespace virtuale {

inline const QString kOptionsKey = QStringLiteral("Software\\Virtual-E\\VIRTUALE\\Options");
inline const QString kKeypadKey = QStringLiteral("Software\\Virtual-E\\VIRTUALE\\Keypad");

// The value `name` of HKEY_CURRENT_USER\`key` as a 32-bit number: a DWORD,
// or text that holds a whole number. nullopt when the key or the value is
// missing or the value is not such a number.
std::optional<int32_t> ReadNumber(const QString &key, const QString &name);

// Writes each value as a REG_DWORD (a negative number in its two's-complement
// form), creating the key when it is missing, and the store once for all of
// them. Returns "" when every value is stored, else what went wrong.
using NamedNumber = std::pair<QString, int32_t>;
QString WriteNumbers(const QString &key, const QList<NamedNumber> &values);

// The registry value of each key slot ("A Button" ... "Select").
QString KeypadValueName(int slot);
// Virtual-E's keys. A slot whose value is missing, is not a number or is no
// key code takes its default key, so that the emulator never loses a key.
controllerkeys::KeyCodeTable ReadKeypad();
// Writes all 14 values; "" when they are stored, else what went wrong.
QString SaveKeypad(const controllerkeys::KeyCodeTable &codes);

} // namespace virtuale
