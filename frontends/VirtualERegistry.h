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

// The emulator's whole key, which a start through wine hands over.
inline const QString kEmulatorKey = QStringLiteral("Software\\Virtual-E");
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

// The emulator's twelve options, each one REG_DWORD value of the Options
// key named like its field, in this order.
struct Options {
    int16_t Display = 2; // display thread priority 1..4
    int16_t CPU = 2;     // emulation thread priority 1..4
    int16_t Brtness = 0; // -5..5
    int16_t Style = 1;   // layout 1..3
    int16_t Skip = 1;    // frame skip 1..32767
    int16_t FPS = 1;     // 1..32767
    bool DisplayInt = false;
    bool TimeInt = false;
    bool KeyInt = false;
    bool RAM = false;
    bool NPalette = false;
    bool Sound = false;

    bool operator==(const Options &) const = default;
};
// The stored options. A value that is missing, is not a number or lies
// outside its range takes its default; a Boolean is True for any number
// but 0.
Options ReadOptions();
// Writes all twelve, Booleans as 1 and 0; "" when they are stored, else
// what went wrong.
QString SaveOptions(const Options &options);

// The registry value of each key slot ("A Button" ... "Select").
QString KeypadValueName(int slot);
// Virtual-E's keys. A slot whose value is missing, is not a number or is no
// key code takes its default key, so that the emulator never loses a key.
controllerkeys::KeyCodeTable ReadKeypad();
// Writes all 14 values; "" when they are stored, else what went wrong.
QString SaveKeypad(const controllerkeys::KeyCodeTable &codes);

} // namespace virtuale
