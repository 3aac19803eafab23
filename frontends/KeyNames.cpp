#include "KeyNames.h"

#include <vector>

namespace keynames {
namespace {

constexpr int16_t kNone = -1;

struct KeyRow {
    QString name;
    int16_t code;     // virtual-key code, kNone when the key has none
    int16_t redDragon; // Red Dragon index, kNone when Red Dragon has no such key
};

std::vector<KeyRow> buildTable()
{
    std::vector<KeyRow> rows;
    // Letters, the digit row (digit and its shifted sign), the numeric pad
    // digits and the function keys run in step in both numberings.
    for (int i = 0; i < 26; ++i)
        rows.push_back({QStringLiteral("%1 %2").arg(QChar(u'A' + i)).arg(QChar(u'a' + i)), int16_t(65 + i),
                        int16_t(1 + i)});
    const char16_t shifted[] = u")!@#$%^&*(";
    for (int i = 0; i < 10; ++i)
        rows.push_back({QStringLiteral("%1 %2").arg(i).arg(QChar(shifted[i])), int16_t(48 + i), int16_t(27 + i)});
    for (int i = 0; i < 10; ++i)
        rows.push_back({QStringLiteral("<Num %1 >").arg(i), int16_t(96 + i), int16_t(37 + i)});
    for (int i = 0; i < 12; ++i)
        rows.push_back({QStringLiteral("<F%1>").arg(i + 1), int16_t(112 + i), int16_t(47 + i)});

    struct Named {
        const char *name;
        int16_t code;
        int16_t redDragon;
    };
    static const Named named[] = {
        {"   ", 900, 0},
        {"<Escape>", 27, 59},
        {"~ `", 192, 60},
        {"_ -", 189, 61},
        {"+ =", 187, 62},
        {"<BckSpc>", 8, 63},
        {"<Tab>", 9, 64},
        {"{ [", 219, 65},
        {"} ]", 221, 66},
        {"<Enter>", 13, 67},
        {": ;", 186, 68},
        {"\" '", 222, 69},
        {"| \\", 220, 70},
        {" \\ ", 901, 71},
        {"< ,", 188, 72},
        {"> .", 190, 73},
        {"? /", 191, 74},
        {"<Space>", 32, 75},
        {"<Insert>", 45, 76},
        {"<Delete>", 46, 77},
        {"<Home>", 36, 78},
        {"<End>", 35, 79},
        {"<PageUp>", 33, 80},
        {"<PageDn>", 34, 81},
        {"<Left>", 37, 82},
        {"<Right>", 39, 83},
        {"<Up>", 38, 84},
        {"<Down>", 40, 85},
        {"<Num / >", 111, 86},
        {"<Num * >", 106, 87},
        {"<Num - >", 109, 88},
        {"<Num + >", 107, 89},
        {"<Num . >", 110, 90},
        {"<Num Ent>", kNone, 91},
        {"<PrntScrn>", 44, 92},
        {"<Pause>", 19, 93},
        {"ABN", 902, 94},
        {"YEN", 903, 95},
        {"KAN", 904, 96},
        {"CON", 905, 97},
        {"NCO", 906, 98},
        {" @ ", 907, 99},
        {"CRC", 908, 100},
        {":2 ", 909, 101},
        {"KJI", 910, 102},
        {"<LShift>", LeftShift, 103},
        {"<RShift>", RightShift, 104},
        {"<LControl>", LeftControl, 105},
        {"<RControl>", RightControl, 106},
        {"<LAlt>", LeftAlt, 107},
        {"<RAlt>", RightAlt, 108},
        {"<LWinKy>", 91, 109},
        {"<RWinKy>", 92, 110},
        {"<AppKey>", 93, 111},
        {"<ScLock>", 145, 112},
        {"<NmLock>", 144, 113},
        {"<CpLock>", 20, 114},
        {"LMouseBt", 1, kNone},
        {"RMouseBt", 2, kNone},
        {"<Shift>", 16, kNone},
        {"<Control>", 17, kNone},
        {"<Alt>", 18, kNone},
    };
    for (const Named &n : named)
        rows.push_back({QString::fromLatin1(n.name), n.code, n.redDragon});
    return rows;
}

const std::vector<KeyRow> &table()
{
    static const std::vector<KeyRow> rows = buildTable();
    return rows;
}

const KeyRow *rowWhere(int16_t KeyRow::*column, int16_t number)
{
    if (number == kNone)
        return nullptr;
    for (const KeyRow &row : table())
        if (row.*column == number)
            return &row;
    return nullptr;
}

const KeyRow *rowNamed(const QString &name)
{
    for (const KeyRow &row : table())
        if (row.name == name)
            return &row;
    return nullptr;
}

} // namespace

QString VirtualKeyName(int16_t code)
{
    if (const KeyRow *row = rowWhere(&KeyRow::code, code))
        return row->name;
    return QStringLiteral("<Key#") + QString::number(code).rightJustified(3, u'0') + u'>';
}

int16_t VirtualKeyFromName(const QString &name)
{
    const KeyRow *row = rowNamed(name);
    return row && row->code != kNone ? row->code : 0;
}

QString RedDragonKeyName(int16_t index)
{
    if (const KeyRow *row = rowWhere(&KeyRow::redDragon, index))
        return row->name;
    return QStringLiteral("<INVALID>");
}

int16_t RedDragonKeyFromName(const QString &name)
{
    const KeyRow *row = rowNamed(name);
    return row && row->redDragon != kNone ? row->redDragon : 0;
}

} // namespace keynames
