#pragma once
// The tile palette: four shades, White, L Grey, D Grey and Black (colours 1
// to 4), each a red, green and blue of 0 to 255. Everything that keeps it
// keeps the twelve values in one order: White red, green, blue, then L Grey,
// D Grey and Black the same way. That is the order of the twelve settings,
// of a palette file and of the palette editor's boxes.

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>

namespace tilepalette {

constexpr int kShadeCount = 4;
constexpr int kValueCount = 12;

using Values = std::array<int16_t, kValueCount>;

// The loader's built-in palettes. The red one is also a fresh installation's.
constexpr Values kVbPalette{255, 0, 0, 192, 0, 0, 128, 0, 0, 64, 0, 0};
constexpr Values kGreyPalette{255, 255, 255, 192, 192, 192, 128, 128, 128, 64, 64, 64};
// What the palette editor takes for a key missing from the store: a grey
// palette that ends in black.
constexpr Values kEditorDefaults{255, 255, 255, 192, 192, 192, 128, 128, 128, 0, 0, 0};

// "White Tile Red" ... "Black Tile Blue", in the order above.
const std::array<QString, kValueCount> &SettingKeys();

// The twelve settings. A key that is missing, or holds anything but a whole
// number from 0 to 255, reads as its value in `defaults`.
Values Read(const Values &defaults);
void Save(const Values &values);

// One component as its byte: rounded to the nearest whole number, halves to
// the even neighbour, and kept within 0 to 255.
uint8_t ComponentByte(double value);

// Shade 0 (White) ... 3 (Black) as a colour.
QColor ShadeColour(const Values &values, int shade);

// A window that keeps the palette in the twelve members WhiteTileRed ...
// BlackTileBlue: the members in the order above, and the values into them.
template <typename Holder>
constexpr std::array<int16_t Holder::*, kValueCount> ShadeMembers()
{
    return {&Holder::WhiteTileRed, &Holder::WhiteTileGreen, &Holder::WhiteTileBlue,
            &Holder::LGreyTileRed, &Holder::LGreyTileGreen, &Holder::LGreyTileBlue,
            &Holder::DGreyTileRed, &Holder::DGreyTileGreen, &Holder::DGreyTileBlue,
            &Holder::BlackTileRed, &Holder::BlackTileGreen, &Holder::BlackTileBlue};
}

template <typename Holder>
Values MemberValues(const Holder &holder)
{
    Values values{};
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = holder.*ShadeMembers<Holder>()[i];
    return values;
}

template <typename Holder>
void SetMemberValues(Holder &holder, const Values &values)
{
    for (size_t i = 0; i < values.size(); ++i)
        holder.*ShadeMembers<Holder>()[i] = values[i];
}

} // namespace tilepalette
