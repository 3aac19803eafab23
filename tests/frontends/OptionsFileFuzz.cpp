// libFuzzer target for Red Dragon's option file reader: any bytes as the
// file. Besides crashes and undefined behaviour it checks that every value
// read is one the window's controls can show, and that the options read
// write back into a file that reads as the same options.

#include <cstddef>
#include <cstdint>

#include "RedDragonLists.h"
#include "RedDragonOptionsFile.h"

namespace {

bool within(int value, int min, int max)
{
    return value >= min && value <= max;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    RedDragonOptions read = reddragon::ReadOptionsText(bytes);

    bool valid = within(read.platform, 0, 1) && within(read.frmskip, 0, 9) && within(read.dspmode, 0, 5)
                 && within(read.dspswap, 0, 1) && within(read.palmod, 0, 4) && read.colours == 0 && read.brightness == 0
                 && read.scrsize.size() >= 5 && read.scrsize.at(4) == QLatin1Char('x');
    for (int16_t key : read.keys())
        valid = valid && within(key, 0, RedDragonOptions::kLastKeyIndex);
    if (!valid)
        __builtin_trap();

    // The window writes a mode of no list position as 0.
    if (reddragon::ModePosition(read.scrmode) < 0)
        read.scrmode = 0;
    if (reddragon::ReadOptionsText(reddragon::OptionsText(read)) != read)
        __builtin_trap();
    return 0;
}
