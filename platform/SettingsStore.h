#pragma once
// The per-user settings store: (application, section, key) -> string, kept in
// the registry under HKEY_CURRENT_USER\Software\VB and VBA Program Settings.

#include <QString>
#include <cstdint>

namespace settings {

QString GetSetting(const QString &app, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
// False when the store could not be written.
bool SaveSetting(const QString &app, const QString &section, const QString &key,
                 const QString &value);

// The program's own application and section.
inline const QString kApp = QStringLiteral("Zandrel Utils");
inline const QString kSection = QStringLiteral("Settings");

inline QString Get(const QString &key, const QString &defaultValue = QString())
{
    return GetSetting(kApp, kSection, key, defaultValue);
}
inline bool Save(const QString &key, const QString &value)
{
    return SaveSetting(kApp, kSection, key, value);
}

// Typed keys of the program's section. A Boolean is stored "True"/"False"
// and read back from those words in any letter case or from a number (0 is
// False); an Integer is stored as decimal text. A stored value that can't be
// converted, or lies outside [min, max], reads as the default.
bool GetBoolean(const QString &key, bool defaultValue);
int16_t GetInteger(const QString &key, int16_t defaultValue, int16_t min = INT16_MIN, int16_t max = INT16_MAX);
// Like GetInteger, but a number outside [min, max] is brought to the nearest bound.
int16_t GetClampedInteger(const QString &key, int16_t defaultValue, int16_t min, int16_t max);
bool SaveBoolean(const QString &key, bool value);
bool SaveInteger(const QString &key, int value);

} // namespace settings
