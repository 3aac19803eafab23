#include "SettingsStore.h"

#include "Registry.h"
#include "VbText.h"

#include <algorithm>

namespace settings {
namespace {

QString sectionPath(const QString &app, const QString &section)
{
    return QStringLiteral("Software\\VB and VBA Program Settings\\") + app + QLatin1Char('\\') + section;
}

} // namespace

QString GetSetting(const QString &app, const QString &section, const QString &key, const QString &defaultValue)
{
    const auto v = registry::QueryValue(registry::Hive::CurrentUser, sectionPath(app, section), key);
    if (!v || (v->type != registry::REG_SZ && v->type != registry::REG_EXPAND_SZ))
        return defaultValue;
    return v->toString();
}

bool SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value)
{
    const QString path = sectionPath(app, section);
    return registry::CreateKey(registry::Hive::CurrentUser, path)
        && registry::SetValue(registry::Hive::CurrentUser, path, key, registry::Value::fromString(value));
}

bool GetBoolean(const QString &key, bool defaultValue)
{
    return vb::TextToBoolean(Get(key, vb::CStr(defaultValue))).value_or(defaultValue);
}

int16_t GetInteger(const QString &key, int16_t defaultValue, int16_t min, int16_t max)
{
    const auto n = vb::TextToInteger(Get(key, QString::number(defaultValue)));
    return (n && *n >= min && *n <= max) ? *n : defaultValue;
}

int16_t GetClampedInteger(const QString &key, int16_t defaultValue, int16_t min, int16_t max)
{
    const auto n = vb::TextToLong(Get(key, QString::number(defaultValue)));
    return n ? int16_t(std::clamp<int32_t>(*n, min, max)) : defaultValue;
}

bool SaveBoolean(const QString &key, bool value)
{
    return Save(key, vb::CStr(value));
}

bool SaveInteger(const QString &key, int value)
{
    return Save(key, QString::number(value));
}

} // namespace settings
