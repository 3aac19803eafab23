// The byte decoders and the generator that writes their case entries.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "ByteDecoders.h"

using namespace tiles;

namespace {

using Decoder = void (*)(const uint8_t &, uint8_t &, uint8_t &, uint8_t &, uint8_t &);
constexpr Decoder kMembers[] = {DecodeByteGroup0, DecodeByteGroup1, DecodeByteGroup2, DecodeByteGroup3};

std::array<uint8_t, 4> decode(int member, uint8_t value, uint8_t fill = 9)
{
    std::array<uint8_t, 4> p{fill, fill, fill, fill};
    kMembers[member](value, p[0], p[1], p[2], p[3]);
    return p;
}

using Codes = std::array<uint8_t, 4>;

} // namespace

TEST(ByteDecoders, GiveThePairsInTheOrderBits45_67_01_23)
{
    const struct {
        uint8_t value;
        Codes codes;
    } rows[] = {
        {0x00, {0, 0, 0, 0}}, {0x01, {0, 0, 1, 0}}, {0x04, {0, 0, 0, 1}}, {0x10, {1, 0, 0, 0}},
        {0x1B, {1, 0, 3, 2}}, {0x3F, {3, 0, 3, 3}}, {0x40, {0, 1, 0, 0}}, {0x60, {2, 1, 0, 0}},
        {0x7F, {3, 1, 3, 3}}, {0x80, {0, 2, 0, 0}}, {0xBF, {3, 2, 3, 3}}, {0xC0, {0, 3, 0, 0}},
        {0xE4, {2, 3, 0, 1}}, {0xFF, {3, 3, 3, 3}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(decode(row.value / 64, row.value), row.codes) << "byte " << int(row.value);
}

TEST(ByteDecoders, AByteOutsideAMembersRangeLeavesTheOutputsAlone)
{
    EXPECT_EQ(decode(0, 0x40), (Codes{9, 9, 9, 9}));
    EXPECT_EQ(decode(1, 0x3F), (Codes{9, 9, 9, 9}));
    EXPECT_EQ(decode(2, 0xC0), (Codes{9, 9, 9, 9}));
    EXPECT_EQ(decode(3, 0x00), (Codes{9, 9, 9, 9}));
}

TEST(ByteDecoders, ReadTheByteOnceEvenWhenItIsAlsoAnOutput)
{
    uint8_t value = 0xE4;
    uint8_t p2 = 0, p3 = 0, p4 = 0;
    DecodeByteGroup3(value, value, p2, p3, p4);
    EXPECT_EQ((Codes{value, p2, p3, p4}), (Codes{2, 3, 0, 1}));
}

TEST(GenerateDecodeSource, WritesOneCaseEntryAfterWhatTheTextHeld)
{
    QString text;
    GenerateDecodeSource(27, text);
    EXPECT_EQ(text, QStringLiteral("\n\t\tCase 27\n\t\t\tPixel1 = 1\n\t\t\tPixel2 = 0\n\t\t\tPixel3 = 3\n\t\t\tPixel4 = 2"));

    text = QStringLiteral("Select Case TileByte");
    GenerateDecodeSource(0, text);
    GenerateDecodeSource(1, text);
    EXPECT_EQ(text, QStringLiteral("Select Case TileByte"
                                   "\n\t\tCase 0\n\t\t\tPixel1 = 0\n\t\t\tPixel2 = 0\n\t\t\tPixel3 = 0\n\t\t\tPixel4 = 0"
                                   "\n\t\tCase 1\n\t\t\tPixel1 = 0\n\t\t\tPixel2 = 0\n\t\t\tPixel3 = 1\n\t\t\tPixel4 = 0"));
}

TEST(GenerateDecodeSource, NamesTheWholeNumberAndTakesTheCodesFromItsLowByte)
{
    const struct {
        int32_t value;
        const char *caseLine;
        const char *codes;
    } rows[] = {
        {256, "Case 256", "0000"}, {283, "Case 283", "1032"}, {-1, "Case -1", "3333"}, {228, "Case 228", "2301"},
    };
    for (const auto &row : rows) {
        QString text;
        GenerateDecodeSource(row.value, text);
        const QStringList lines = text.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 6);
        EXPECT_EQ(lines[1], QStringLiteral("\t\t") + QLatin1String(row.caseLine));
        QString codes;
        for (int n = 2; n < 6; ++n)
            codes += lines[n].right(1);
        EXPECT_EQ(codes, QLatin1String(row.codes)) << row.value;
    }
}

// The generated entries, read back, are the decoders' cases value for value.
TEST(GenerateDecodeSource, ItsEntriesAreTheDecodersCases)
{
    QString text;
    for (int value = 0; value < 256; ++value)
        GenerateDecodeSource(value, text);
    const QRegularExpression entry(QStringLiteral(
        "\n\t\tCase (\\d+)\n\t\t\tPixel1 = (\\d)\n\t\t\tPixel2 = (\\d)\n\t\t\tPixel3 = (\\d)\n\t\t\tPixel4 = (\\d)"));
    int value = 0;
    qsizetype end = 0;
    for (auto it = entry.globalMatch(text); it.hasNext(); ++value) {
        const QRegularExpressionMatch m = it.next();
        ASSERT_EQ(m.capturedStart(), end) << "text between entries";
        end = m.capturedEnd();
        ASSERT_EQ(m.captured(1).toInt(), value);
        const Codes generated{uint8_t(m.captured(2).toInt()), uint8_t(m.captured(3).toInt()),
                              uint8_t(m.captured(4).toInt()), uint8_t(m.captured(5).toInt())};
        ASSERT_EQ(generated, decode(value / 64, uint8_t(value))) << "byte " << value;
    }
    EXPECT_EQ(value, 256);
    EXPECT_EQ(end, text.size());
}
