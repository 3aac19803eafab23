#include <gtest/gtest.h>

#include <QSet>
#include <QString>

#include "KeyNames.h"

using namespace keynames;

namespace {

struct Row {
    const char *name;
    int16_t code;      // 0: no virtual-key code
    int16_t redDragon; // -1: no Red Dragon index
};

// One or two keys of each kind, and every odd one.
const Row kRows[] = {
    {"A a", 65, 1},          {"Z z", 90, 26},        {"0 )", 48, 27},        {"1 !", 49, 28},
    {"6 ^", 54, 33},         {"9 (", 57, 36},        {"<Num 0 >", 96, 37},   {"<Num 9 >", 105, 46},
    {"<F1>", 112, 47},       {"<F12>", 123, 58},     {"   ", 900, 0},        {"<Escape>", 27, 59},
    {"~ `", 192, 60},        {"_ -", 189, 61},       {"+ =", 187, 62},       {"<BckSpc>", 8, 63},
    {"<Tab>", 9, 64},        {"{ [", 219, 65},       {"} ]", 221, 66},       {"<Enter>", 13, 67},
    {": ;", 186, 68},        {"\" '", 222, 69},      {"| \\", 220, 70},      {" \\ ", 901, 71},
    {"< ,", 188, 72},        {"> .", 190, 73},       {"? /", 191, 74},       {"<Space>", 32, 75},
    {"<Insert>", 45, 76},    {"<Delete>", 46, 77},   {"<Home>", 36, 78},     {"<End>", 35, 79},
    {"<PageUp>", 33, 80},    {"<PageDn>", 34, 81},   {"<Left>", 37, 82},     {"<Right>", 39, 83},
    {"<Up>", 38, 84},        {"<Down>", 40, 85},     {"<Num / >", 111, 86},  {"<Num * >", 106, 87},
    {"<Num - >", 109, 88},   {"<Num + >", 107, 89},  {"<Num . >", 110, 90},  {"<Num Ent>", 0, 91},
    {"<PrntScrn>", 44, 92},  {"<Pause>", 19, 93},    {"ABN", 902, 94},       {"YEN", 903, 95},
    {"KAN", 904, 96},        {"CON", 905, 97},       {"NCO", 906, 98},       {" @ ", 907, 99},
    {"CRC", 908, 100},       {":2 ", 909, 101},      {"KJI", 910, 102},      {"<LShift>", 911, 103},
    {"<RShift>", 912, 104},  {"<LControl>", 913, 105}, {"<RControl>", 914, 106}, {"<LAlt>", 915, 107},
    {"<RAlt>", 916, 108},    {"<LWinKy>", 91, 109},  {"<RWinKy>", 92, 110},  {"<AppKey>", 93, 111},
    {"<ScLock>", 145, 112},  {"<NmLock>", 144, 113}, {"<CpLock>", 20, 114},  {"LMouseBt", 1, -1},
    {"RMouseBt", 2, -1},     {"<Shift>", 16, -1},    {"<Control>", 17, -1},  {"<Alt>", 18, -1},
};

} // namespace

TEST(KeyNames, EachKeyHasItsNameAndNumbersBothWays)
{
    for (const Row &row : kRows) {
        const QString name = QString::fromLatin1(row.name);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(VirtualKeyFromName(name), row.code);
        EXPECT_EQ(RedDragonKeyFromName(name), row.redDragon < 0 ? 0 : row.redDragon);
        if (row.code != 0) {
            EXPECT_EQ(VirtualKeyName(row.code), name);
        }
        if (row.redDragon >= 0) {
            EXPECT_EQ(RedDragonKeyName(row.redDragon), name);
        }
    }
}

TEST(KeyNames, TheVocabularyHas120DistinctNames)
{
    QSet<QString> names;
    int withCode = 0;
    for (int code = -200; code <= 1100; ++code) {
        const QString name = VirtualKeyName(int16_t(code));
        if (name.startsWith(QLatin1String("<Key#")))
            continue;
        ++withCode;
        names << name;
        EXPECT_EQ(VirtualKeyFromName(name), code) << name.toStdString();
    }
    EXPECT_EQ(withCode, 119);
    int withIndex = 0;
    for (int index = 0; index <= 114; ++index) {
        const QString name = RedDragonKeyName(int16_t(index));
        EXPECT_NE(name, QStringLiteral("<INVALID>")) << index;
        EXPECT_EQ(RedDragonKeyFromName(name), index) << name.toStdString();
        ++withIndex;
        names << name;
    }
    EXPECT_EQ(withIndex, 115);
    EXPECT_EQ(names.size(), 120);
}

TEST(KeyNames, NamesMatchExactly)
{
    EXPECT_EQ(VirtualKeyFromName(QString()), 0);
    EXPECT_EQ(VirtualKeyFromName(QStringLiteral("<enter>")), 0);
    EXPECT_EQ(VirtualKeyFromName(QStringLiteral("<Num 0>")), 0);
    EXPECT_EQ(VirtualKeyFromName(QStringLiteral(" A a")), 0);
    EXPECT_EQ(RedDragonKeyFromName(QStringLiteral("<INVALID>")), 0);
    EXPECT_EQ(RedDragonKeyFromName(QStringLiteral("<Key#000>")), 0);
}

TEST(KeyNames, NumbersWithoutAKeyGetTheirStandInNames)
{
    const std::pair<int16_t, const char *> codes[] = {
        {0, "<Key#000>"},   {4, "<Key#004>"},   {7, "<Key#007>"},     {108, "<Key#108>"},
        {160, "<Key#160>"}, {223, "<Key#223>"}, {999, "<Key#999>"},   {-5, "<Key#0-5>"},
        {-99, "<Key#-99>"}, {1000, "<Key#1000>"},
    };
    for (const auto &[code, name] : codes)
        EXPECT_EQ(VirtualKeyName(code), QString::fromLatin1(name)) << code;
    EXPECT_EQ(RedDragonKeyName(115), QStringLiteral("<INVALID>"));
    EXPECT_EQ(RedDragonKeyName(-1), QStringLiteral("<INVALID>"));
}
