#include "ByteDecoders.h"

namespace tiles {
namespace {

// 2 x the pair's higher bit + its lower bit, for the pair starting at `lowBit`.
constexpr uint8_t pairCode(int value, int lowBit)
{
    return uint8_t(((value & (1 << (lowBit + 1))) ? 2 : 0) + ((value & (1 << lowBit)) ? 1 : 0));
}

constexpr std::array<ByteCodes, 256> makeCodeTable()
{
    std::array<ByteCodes, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[size_t(v)] = {pairCode(v, 4), pairCode(v, 6), pairCode(v, 0), pairCode(v, 2)};
    return table;
}

constexpr std::array<ByteCodes, 256> kCodes = makeCodeTable();

void decodeMember(int member, const uint8_t &tileByte, uint8_t &pixel1, uint8_t &pixel2, uint8_t &pixel3,
                  uint8_t &pixel4)
{
    const uint8_t value = tileByte;
    if (value / 64 != member)
        return;
    DecodeByte(value, pixel1, pixel2, pixel3, pixel4);
}

} // namespace

const std::array<ByteCodes, 256> &DecodedCodeTable()
{
    return kCodes;
}

void DecodeByteGroup0(const uint8_t &b, uint8_t &p1, uint8_t &p2, uint8_t &p3, uint8_t &p4) { decodeMember(0, b, p1, p2, p3, p4); }
void DecodeByteGroup1(const uint8_t &b, uint8_t &p1, uint8_t &p2, uint8_t &p3, uint8_t &p4) { decodeMember(1, b, p1, p2, p3, p4); }
void DecodeByteGroup2(const uint8_t &b, uint8_t &p1, uint8_t &p2, uint8_t &p3, uint8_t &p4) { decodeMember(2, b, p1, p2, p3, p4); }
void DecodeByteGroup3(const uint8_t &b, uint8_t &p1, uint8_t &p2, uint8_t &p3, uint8_t &p4) { decodeMember(3, b, p1, p2, p3, p4); }

void GenerateDecodeSource(int32_t ByteValue, QString &text)
{
    const QChar lf(u'\n');
    QString entry = lf + QStringLiteral("\t\tCase ") + QString::number(ByteValue);
    const ByteCodes &codes = kCodes[size_t(ByteValue & 0xFF)];
    for (int n = 0; n < 4; ++n)
        entry += lf + QStringLiteral("\t\t\tPixel%1 = ").arg(n + 1) + QString::number(codes[size_t(n)]);
    text = text + entry;
}

} // namespace tiles
