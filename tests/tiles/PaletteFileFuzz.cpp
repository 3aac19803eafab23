// libFuzzer target for the palette file reader: any bytes as the start of a
// file. Besides crashes and undefined behaviour it checks that what reads as
// a palette writes back as the file's first 15 bytes (a short file's missing
// bytes as 0), and that only a file starting with "PAL" reads as one.

#include <cstddef>
#include <cstdint>

#include "PaletteFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const palettefile::ReadPalette read = palettefile::Decode(bytes);
    const bool isPalette = bytes.startsWith("PAL");
    if ((read.result == palettefile::PaletteCheck::Ok) != isPalette)
        __builtin_trap();
    if (isPalette && palettefile::Encode(read.values) != bytes.left(palettefile::kSize).leftJustified(palettefile::kSize, '\0'))
        __builtin_trap();
    return 0;
}
