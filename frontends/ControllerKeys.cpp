#include "ControllerKeys.h"

#include "KeyNames.h"
#include "VbText.h"

namespace controllerkeys {
const KeyCodeTable &DefaultKeySet()
{
    static const KeyCodeTable keys{77, 78, 71, 72, 69, 67, 83, 70, 73, 188, 74, 76, 66, 86};
    return keys;
}

bool IsKeyCode(int32_t code)
{
    return (code >= 1 && code <= 255) || (code >= 900 && code <= 916);
}

KeyCodeTable KeyCodesFromRedDragonItems(const QStringList &items)
{
    KeyCodeTable codes{};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::optional<int16_t> index = vb::TextToInteger(items.value(slot));
        codes[slot] = index ? keynames::VirtualKeyFromName(keynames::RedDragonKeyName(*index)) : 0;
    }
    return codes;
}

QStringList RedDragonItemsFromKeyCodes(const KeyCodeTable &codes)
{
    QStringList items;
    for (int16_t code : codes)
        items << QString::number(keynames::RedDragonKeyFromName(keynames::VirtualKeyName(code)));
    return items;
}

} // namespace controllerkeys
