#pragma once
// The byte decoders of the buffered redraw and the generator that writes
// their case entries as program text. A byte's four pixel codes (0-3) come
// out in the order bits 4-5, 6-7, 0-1, 2-3: not the left-to-right order of
// the tile renderers.

#include <QString>

#include <array>
#include <cstdint>

namespace tiles {

using ByteCodes = std::array<uint8_t, 4>;

// The codes Pixel1 ... Pixel4 of every byte value.
const std::array<ByteCodes, 256> &DecodedCodeTable();

// Each member handles 64 byte values (member number = value / 64) and writes
// nothing for a byte outside its range. The byte is read once, on entry.
void DecodeByteGroup0(const uint8_t &TileByte, uint8_t &Pixel1, uint8_t &Pixel2, uint8_t &Pixel3, uint8_t &Pixel4);
void DecodeByteGroup1(const uint8_t &TileByte, uint8_t &Pixel1, uint8_t &Pixel2, uint8_t &Pixel3, uint8_t &Pixel4);
void DecodeByteGroup2(const uint8_t &TileByte, uint8_t &Pixel1, uint8_t &Pixel2, uint8_t &Pixel3, uint8_t &Pixel4);
void DecodeByteGroup3(const uint8_t &TileByte, uint8_t &Pixel1, uint8_t &Pixel2, uint8_t &Pixel3, uint8_t &Pixel4);

// The member whose range holds the byte, as the buffered redraw picks it.
inline void DecodeByte(uint8_t TileByte, uint8_t &Pixel1, uint8_t &Pixel2, uint8_t &Pixel3, uint8_t &Pixel4)
{
    const ByteCodes &codes = DecodedCodeTable()[TileByte];
    Pixel1 = codes[0];
    Pixel2 = codes[1];
    Pixel3 = codes[2];
    Pixel4 = codes[3];
}

// Appends the case entry of ByteValue to `text`: a line feed, two tabs,
// "Case " and the value, then one line per code, three tabs and
// "PixelN = ". Lines are separated by a lone line feed and none follows the
// last code. Only the low 8 bits of the value decide the codes.
void GenerateDecodeSource(int32_t ByteValue, QString &text);

} // namespace tiles
