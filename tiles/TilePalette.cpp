#include "TilePalette.h"

#include <algorithm>
#include <cmath>

#include "Registry.h"
#include "SettingsStore.h"

namespace tilepalette {

const std::array<QString, kValueCount> &SettingKeys()
{
    static const std::array<QString, kValueCount> keys{
        QStringLiteral("White Tile Red"),  QStringLiteral("White Tile Green"),  QStringLiteral("White Tile Blue"),
        QStringLiteral("L Grey Tile Red"), QStringLiteral("L Grey Tile Green"), QStringLiteral("L Grey Tile Blue"),
        QStringLiteral("D Grey Tile Red"), QStringLiteral("D Grey Tile Green"), QStringLiteral("D Grey Tile Blue"),
        QStringLiteral("Black Tile Red"),  QStringLiteral("Black Tile Green"),  QStringLiteral("Black Tile Blue"),
    };
    return keys;
}

Values Read(const Values &defaults)
{
    Values values{};
    for (int i = 0; i < kValueCount; ++i)
        values[size_t(i)] = settings::GetInteger(SettingKeys()[size_t(i)], defaults[size_t(i)], 0, 255);
    return values;
}

void Save(const Values &values)
{
    const registry::BatchWrite oneWrite;
    for (int i = 0; i < kValueCount; ++i)
        settings::SaveInteger(SettingKeys()[size_t(i)], values[size_t(i)]);
}

uint8_t ComponentByte(double value)
{
    // Also catches a NaN, which compares false with everything.
    if (!(value > 0))
        return 0;
    if (value >= 255)
        return 255;
    // The default rounding mode sends halves to the even neighbour.
    return uint8_t(std::nearbyint(value));
}

QColor ShadeColour(const Values &values, int shade)
{
    const size_t at = size_t(shade) * 3;
    return QColor(std::clamp<int>(values[at], 0, 255), std::clamp<int>(values[at + 1], 0, 255),
                  std::clamp<int>(values[at + 2], 0, 255));
}

} // namespace tilepalette
