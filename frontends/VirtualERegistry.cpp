#include "VirtualERegistry.h"

#include <QVariant>

#include "Registry.h"
#include "VbText.h"
#include "cRegistry.h"

namespace virtuale {
namespace {

constexpr const char *kKeypadValueNames[controllerkeys::kSlotCount] = {
    "A Button", "B Button", "L Button", "R Button", "ULP", "DLP",   "LLP",
    "RLP",      "URP",      "DRP",      "LRP",      "RRP", "Start", "Select",
};

void pointAt(cRegistry &reg, const QString &key, const QString &name)
{
    reg.setClassKey(cRegistry::HKEY_CURRENT_USER);
    reg.setSectionKey(key);
    reg.setValueKey(name);
    reg.setValueType(cRegistry::REG_DWORD);
}

} // namespace

std::optional<int32_t> ReadNumber(const QString &key, const QString &name)
{
    cRegistry reg;
    pointAt(reg, key, name);
    if (!reg.KeyExists())
        return std::nullopt;
    const QVariant value = reg.Value();
    switch (value.typeId()) {
    case QMetaType::Int:
        return value.toInt();
    case QMetaType::QString:
        return vb::TextToLong(value.toString());
    default: // missing, or bytes
        return std::nullopt;
    }
}

QString WriteNumbers(const QString &key, const QList<NamedNumber> &values)
{
    registry::TakeStoreProblem(); // an older problem is not this write's
    try {
        registry::BatchWrite batch;
        cRegistry reg;
        for (const auto &[name, number] : values) {
            pointAt(reg, key, name);
            reg.setValue(QVariant::fromValue(number));
        }
    } catch (const VbError &e) {
        registry::TakeStoreProblem();
        return e.description;
    }
    return registry::TakeStoreProblem();
}

QString KeypadValueName(int slot)
{
    return QString::fromLatin1(kKeypadValueNames[slot]);
}

controllerkeys::KeyCodeTable ReadKeypad()
{
    controllerkeys::KeyCodeTable codes = controllerkeys::DefaultKeySet();
    for (int slot = 0; slot < controllerkeys::kSlotCount; ++slot) {
        const std::optional<int32_t> stored = ReadNumber(kKeypadKey, KeypadValueName(slot));
        if (stored && controllerkeys::IsKeyCode(*stored))
            codes[slot] = int16_t(*stored);
    }
    return codes;
}

QString SaveKeypad(const controllerkeys::KeyCodeTable &codes)
{
    QList<NamedNumber> values;
    for (int slot = 0; slot < controllerkeys::kSlotCount; ++slot)
        values.append({KeypadValueName(slot), codes[slot]});
    return WriteNumbers(kKeypadKey, values);
}

} // namespace virtuale
