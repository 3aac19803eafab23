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

// The options' numbers with their ranges, then the Booleans, in the order
// they are read and written.
struct NumberOption {
    const char *name;
    int16_t Options::*field;
    int16_t min, max;
};
constexpr NumberOption kNumberOptions[] = {
    {"Display", &Options::Display, 1, 4}, {"CPU", &Options::CPU, 1, 4},     {"Brtness", &Options::Brtness, -5, 5},
    {"Style", &Options::Style, 1, 3},     {"Skip", &Options::Skip, 1, 32767}, {"FPS", &Options::FPS, 1, 32767},
};
struct SwitchOption {
    const char *name;
    bool Options::*field;
};
constexpr SwitchOption kSwitchOptions[] = {
    {"DisplayInt", &Options::DisplayInt}, {"TimeInt", &Options::TimeInt},   {"KeyInt", &Options::KeyInt},
    {"RAM", &Options::RAM},               {"NPalette", &Options::NPalette}, {"Sound", &Options::Sound},
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

Options ReadOptions()
{
    Options options;
    for (const NumberOption &o : kNumberOptions) {
        const std::optional<int32_t> stored = ReadNumber(kOptionsKey, QString::fromLatin1(o.name));
        if (stored && *stored >= o.min && *stored <= o.max)
            options.*o.field = int16_t(*stored);
    }
    for (const SwitchOption &o : kSwitchOptions)
        if (const std::optional<int32_t> stored = ReadNumber(kOptionsKey, QString::fromLatin1(o.name)))
            options.*o.field = *stored != 0;
    return options;
}

QString SaveOptions(const Options &options)
{
    QList<NamedNumber> values;
    for (const NumberOption &o : kNumberOptions)
        values.append({QString::fromLatin1(o.name), options.*o.field});
    for (const SwitchOption &o : kSwitchOptions)
        values.append({QString::fromLatin1(o.name), options.*o.field ? 1 : 0});
    return WriteNumbers(kOptionsKey, values);
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
