/* Exports of Zandrel.dll, the ROM support library: the ROM checksum and the
 * tile-decoding routines. Plain C names and the platform's C calling
 * convention; every argument is 32 bits wide. The library keeps no state and
 * writes only into the caller's buffers. */
#ifndef ZANDREL_H
#define ZANDREL_H

#include <stdint.h>

#if defined(ZANDREL_BUILDING_LIBRARY)
#define ZANDREL_EXPORT __attribute__((visibility("default")))
#else
#define ZANDREL_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Pixel buffer of DisplayVbTiles: 224 rows of 384 one-byte pixels. */
enum { ZANDREL_VIEW_WIDTH = 384, ZANDREL_VIEW_HEIGHT = 224, ZANDREL_PIXEL_BYTES = 384 * 224 };

/* Writes the 8 upper-case hex digits of the ROM checksum to output[0..7]
 * (no terminator). flag's lowest byte 0: leave the 32 header bytes out. */
ZANDREL_EXPORT void GetVbRomChecksum(const uint8_t *image, int32_t length, int32_t flag, char *output);

/* Linear mode (flag false): decodes 2-bit pixels from image[offset...] into
 * output, 4 for pixels outside the image (past the end, or before it when the
 * offset is negative). Tile mode only shows a "TILES" box and returns its
 * answer. width and height are not read. */
ZANDREL_EXPORT int32_t DisplayVbTiles(const uint8_t *image, int32_t length, int32_t offset, int32_t width,
                                      int32_t height, int32_t flag, uint8_t *output);

/* Reverses the bit order within each nibble of every byte, in place. */
ZANDREL_EXPORT void FlipVbRomTiles(uint8_t *buffer, int32_t length);

/* Diagnostic: shows a box built from values[0]; returns the box's answer. */
ZANDREL_EXPORT int32_t SendArray(int32_t unused, const int16_t *values);

/* The library shows its message boxes through this function of the program
 * that loaded it, found by name at the time of the call. A program without
 * it gets the text on standard error and the answer OK (1). */
typedef int32_t (*ZandrelHostMessageBoxFn)(const char *text, const char *caption);
#define ZANDREL_HOST_MESSAGE_BOX "ZandrelHostMessageBox"

#ifdef __cplusplus
}
#endif

#endif
