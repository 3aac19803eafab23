// Zandrel.dll: ROM checksum and tile decoding. No state, no allocation; the
// only memory written is the caller's.

#include "Zandrel.h"

#include <dlfcn.h>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int64_t kChunkBytes = 524288;
constexpr int kChecksumSlots = 8;
constexpr int kRowBytes = ZANDREL_VIEW_WIDTH / 4;
constexpr uint8_t kNoData = 4;
constexpr const char *kCaption = "Zandrel";

// Looked up on every call rather than cached, so the library holds no state
// and follows whichever host has it loaded.
int32_t showBox(const char *text)
{
    const auto host = reinterpret_cast<ZandrelHostMessageBoxFn>(dlsym(RTLD_DEFAULT, ZANDREL_HOST_MESSAGE_BOX));
    if (host)
        return host(text, kCaption);
    std::fprintf(stderr, "%s: %s\n", kCaption, text);
    return 1;
}

#if defined(__x86_64__) && !defined(ZANDREL_WITHOUT_AVX2)
// 128 bytes at a time in four independent sums, so that a chunk just read
// (and still in the cache) is summed about as fast as it was read. Moves p
// and n past what it summed.
__attribute__((target("avx2"))) uint64_t byteSumAvx2(const uint8_t *&p, int64_t &n)
{
    const __m256i zero = _mm256_setzero_si256();
    __m256i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
    for (; n >= 128; p += 128, n -= 128) {
        a0 = _mm256_add_epi64(a0, _mm256_sad_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(p)), zero));
        a1 = _mm256_add_epi64(a1, _mm256_sad_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 32)), zero));
        a2 = _mm256_add_epi64(a2, _mm256_sad_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 64)), zero));
        a3 = _mm256_add_epi64(a3, _mm256_sad_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 96)), zero));
    }
    const __m256i a = _mm256_add_epi64(_mm256_add_epi64(a0, a1), _mm256_add_epi64(a2, a3));
    const __m128i h = _mm_add_epi64(_mm256_castsi256_si128(a), _mm256_extracti128_si256(a, 1));
    return uint64_t(_mm_cvtsi128_si64(h)) + uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(h, h)));
}
#endif

// Sum of n bytes. On x86-64 with AVX2 128 bytes at a time (above), then
// sixteen at a time with SAD against zero, which adds each half's eight bytes
// into a 64-bit lane; elsewhere eight at a time in four 16-bit lanes, folded
// before a lane can overflow.
uint32_t byteSum(const uint8_t *p, int64_t n)
{
    uint64_t total = 0;
#if defined(__x86_64__) && !defined(ZANDREL_WITHOUT_AVX2)
    if (__builtin_cpu_supports("avx2"))
        total = byteSumAvx2(p, n);
#endif
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i lanes0 = zero, lanes1 = zero;
    for (; n >= 32; p += 32, n -= 32) {
        lanes0 = _mm_add_epi64(lanes0, _mm_sad_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)), zero));
        lanes1 = _mm_add_epi64(lanes1, _mm_sad_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16)), zero));
    }
    const __m128i lanes = _mm_add_epi64(lanes0, lanes1);
    total += uint64_t(_mm_cvtsi128_si64(lanes)) + uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(lanes, lanes)));
#else
    constexpr uint64_t kLowBytes = 0x00FF00FF00FF00FFull;
    constexpr uint64_t kLowHalves = 0x0000FFFF0000FFFFull;
    constexpr int64_t kWordsPerFold = 128; // 128 * 2 * 255 < 65536
    while (n >= 8) {
        const int64_t words = std::min(n / 8, kWordsPerFold);
        uint64_t lanes = 0;
        for (int64_t w = 0; w < words; ++w) {
            uint64_t v;
            std::memcpy(&v, p + 8 * w, sizeof v);
            lanes += (v & kLowBytes) + ((v >> 8) & kLowBytes);
        }
        lanes = (lanes & kLowHalves) + ((lanes >> 16) & kLowHalves);
        total += (lanes & 0xFFFFFFFFu) + (lanes >> 32);
        p += 8 * words;
        n -= 8 * words;
    }
#endif
    for (int64_t i = 0; i < n; ++i)
        total += p[i];
    return static_cast<uint32_t>(total);
}

// Bytes [from, to) of the image, less those in the left-out window [skipFrom, skipTo).
uint32_t countedSum(const uint8_t *image, int64_t from, int64_t to, int64_t skipFrom, int64_t skipTo)
{
    uint32_t sum = byteSum(image + from, to - from);
    const int64_t lo = std::max(from, skipFrom);
    const int64_t hi = std::min(to, skipTo);
    if (lo < hi)
        sum -= byteSum(image + lo, hi - lo);
    return sum;
}

uint8_t flipNibbles(uint8_t v)
{
    return static_cast<uint8_t>(((v & 0x11) << 3) | ((v & 0x22) << 1) | ((v & 0x44) >> 1) | ((v & 0x88) >> 3));
}

} // namespace

extern "C" {

void GetVbRomChecksum(const uint8_t *image, int32_t length, int32_t flag, char *output)
{
    if (!output)
        return;
    uint32_t total = 0;
    if (image && length > 0) {
        // The header window, half-open; empty when the whole image counts.
        const bool wholeImage = (flag & 0xFF) != 0;
        const int64_t skipFrom = wholeImage ? 0 : int64_t(length) - 544;
        const int64_t skipTo = wholeImage ? 0 : int64_t(length) - 512;
        int filled = 0;
        for (int64_t c = 0; c < length && filled < kChecksumSlots; c += kChunkBytes) {
            // Each chunk is read 524288 bytes' worth; a short one wraps to its
            // own start, so it counts whole passes plus a leading remainder.
            const int64_t size = std::min(kChunkBytes, int64_t(length) - c);
            const int64_t passes = kChunkBytes / size;
            const int64_t rest = kChunkBytes % size;
            const uint32_t head = countedSum(image, c, c + rest, skipFrom, skipTo);
            const uint32_t tail = countedSum(image, c + rest, c + size, skipFrom, skipTo);
            const uint32_t sum = static_cast<uint32_t>(passes) * (head + tail) + head;
            // A zero sum takes no slot; only the first eight others count.
            if (sum != 0) {
                total += sum;
                ++filled;
            }
        }
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < 8; ++i)
        output[i] = kDigits[(total >> (28 - 4 * i)) & 0xF];
}

int32_t DisplayVbTiles(const uint8_t *image, int32_t length, int32_t offset, int32_t /*width*/,
                       int32_t /*height*/, int32_t flag, uint8_t *output)
{
    if (flag & 0xFF)
        return showBox("TILES");
    if (!output)
        return 0;
    for (int r = 0; r < ZANDREL_VIEW_HEIGHT; ++r) {
        for (int b = 0; b < kRowBytes; ++b) {
            // 64-bit so a large offset can't wrap into the image.
            const int64_t q = int64_t(offset) + int64_t(kRowBytes) * r + b;
            uint8_t *pixels = output + ZANDREL_VIEW_WIDTH * r + 4 * b;
            if (image && q >= 0 && q < length) {
                const uint8_t v = image[q];
                for (int k = 0; k < 4; ++k)
                    pixels[k] = static_cast<uint8_t>((v >> (6 - 2 * k)) & 3);
            } else {
                std::memset(pixels, kNoData, 4);
            }
        }
    }
    return 0;
}

void FlipVbRomTiles(uint8_t *buffer, int32_t length)
{
    if (!buffer)
        return;
    for (int32_t i = 0; i < length; ++i)
        buffer[i] = flipNibbles(buffer[i]);
}

int32_t SendArray(int32_t /*unused*/, const int16_t *values)
{
    if (!values)
        return showBox("SendArray: no array");
    char text[48];
    std::snprintf(text, sizeof text, "SendArray: first element = %d", int(values[0]));
    return showBox(text);
}

} // extern "C"
