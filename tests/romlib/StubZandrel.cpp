// Stand-in Zandrel.dll with a single export and a recognisable answer.
#include <stdint.h>

extern "C" __attribute__((visibility("default"))) void GetVbRomChecksum(const uint8_t *, int32_t, int32_t,
                                                                         char *output)
{
    for (int i = 0; i < 8; ++i)
        output[i] = "DEADBEEF"[i];
}
