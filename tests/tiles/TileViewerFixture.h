#pragma once
// What the tile viewer's tests share: images built to order, opening one the
// way a user does, and reading the picture back as shade letters.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <ostream>
#include <string>

#include "PictureBox.h"

class frmTileViewer;

// Failures show texts, not code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace viewertest {

// The stored palette a fresh store reads: White, L Grey, D Grey, Black.
constexpr int32_t kWhite = controls::RGB(255, 0, 0);
constexpr int32_t kLGrey = controls::RGB(192, 0, 0);
constexpr int32_t kDGrey = controls::RGB(128, 0, 0);
constexpr int32_t kBlack = controls::RGB(64, 0, 0);
// A loaded image's picture where no tile is drawn.
constexpr int32_t kTeal = controls::RGB(0, 128, 128);

// An image of `length` bytes of `fill` whose first `whiteTiles` tiles are
// bytes 0xFF (all White), with a header titled `title`.
QByteArray romImage(int length, char fill = 0, int whiteTiles = 0, const QByteArray &title = "VB TILES");

// 'W', 'L', 'D', 'B' for the stored shades, '.' for teal, '?' otherwise.
std::string Shades(const controls::PictureSurface &picture, int x, int y, int count);

class TileViewerForm : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file of the test's folder holding `bytes`.
    QString rom(const QString &name, const QByteArray &bytes);
    // Opens `path` through File > Open ROM... with the dialog answering it.
    void open(frmTileViewer &window, const QString &path);
    // Seeds the stored recent list and its count.
    void storeRecent(const QStringList &entries, int count = 4);
    QStringList storedRecent() const;
    // The 17 controls a redraw holds that are enabled.
    int enabledRedrawControls(const frmTileViewer &window) const;
};

} // namespace viewertest
