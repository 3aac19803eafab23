#pragma once
// The program's binding to Zandrel.dll. Nothing is loaded at start-up: each
// function is bound by name on its first call, from the library in the
// program folder or else the Windows folder, and the address is kept. When
// the library or the function can't be bound, one message box says so and
// the caller gets no result.

#include <QByteArray>
#include <QString>
#include <optional>

namespace zandrel {

// The 8-digit checksum: wholeImage false leaves the 32 header bytes out.
std::optional<QString> GetVbRomChecksum(const QByteArray &image, bool wholeImage);

// The 384x224 pixel buffer of a linear decode from `offset`; in tile mode the
// library only shows its box and the buffer comes back all code 0.
std::optional<QByteArray> DisplayVbTiles(const QByteArray &image, int32_t offset, int16_t width, bool tileMode);

// Reverses the bit order of each nibble in place; false when unbound.
bool FlipVbRomTiles(QByteArray &buffer);

// Tests: forget what was bound so the next call binds afresh.
void ResetBinding();

} // namespace zandrel
