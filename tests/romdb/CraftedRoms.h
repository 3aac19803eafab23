#pragma once
// Images built to hit a catalogue row's checksums, for tests that need a
// known ROM without shipping one.
//
// The trick: the library reads each 512 KiB chunk of an image as 524288
// bytes, wrapping a short chunk to its own start. So an image of whole
// 512 KiB chunks sums every byte once, and a short image of 524288 / p bytes
// sums every byte p times. An image whose bytes outside the header add up to
// the row's header-excluded checksum / p therefore hits that checksum; with
// the row's published header (and a version byte that makes the header's
// byte sum (whole-image checksum - header-excluded checksum) / p) it hits
// the whole-image checksum as well. The real images of the catalogue obey
// this, so most rows can be built this way.

#include <QByteArray>
#include <QString>

struct KnownRom;

namespace craftedroms {

// An image that hits both checksums of the catalogue row `title`; with
// `otherHeaderTitle` its header title differs, so only the header-excluded
// checksum hits (a hacked copy). Fails the test when the row can't be built.
QByteArray CatalogueImage(const QString &title, const QByteArray &otherHeaderTitle = QByteArray());

// An image of `size` bytes (more than 544) that no row knows, with zero
// reserved bytes.
QByteArray UnknownImage(int size, char fill = '\x11');

} // namespace craftedroms
