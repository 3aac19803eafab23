#pragma once
// The viewer window as a plain record, for driving the redraw roads without
// a window, and the shades the tests read pictures back in.

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <string>

#include "PictureBox.h"
#include "TileViewerWindow.h"

namespace tilestest {

// Swatch colours, told apart by their letters: White, L Grey, D Grey, Black.
constexpr int32_t kWhite = controls::RGB(250, 240, 230);
constexpr int32_t kLGrey = controls::RGB(180, 170, 160);
constexpr int32_t kDGrey = controls::RGB(110, 100, 90);
constexpr int32_t kBlack = controls::RGB(20, 10, 5);
// The picture's background before a redraw clears it, and after.
constexpr int32_t kBackground = controls::RGB(0, 128, 128);

// 'W', 'L', 'D', 'B' for the swatch colours, '.' for the background, '?' else.
char ShadeLetter(int32_t colour);
// The letters of `count` pixels from (x, y) rightwards.
std::string Shades(const controls::PictureSurface &picture, int x, int y, int count);
// The letter of each pixel value 0-3 on the live road: Black up to White.
char RendererLetter(int value);

// The number of the run-time error that `run` raises; 0 for none.
int ErrorNumber(const std::function<void()> &run);

struct FakeViewer : tiles::TileViewerWindow {
    QByteArray rom;
    QString offset = QStringLiteral("0");
    QString width = QStringLiteral("48");
    QString fileLength;
    QByteArray title = QByteArrayLiteral("vb tetris");
    int16_t viewWidth = 0;
    QString caption;
    QString updateCaption = QStringLiteral("Update Screen");
    std::map<tiles::RedrawControl, bool> enabled;
    int autoUpdate = 0;
    int mode = 0;
    controls::PictureSurface surface{QSize(384, 224), kBackground};
    tiles::TileShades shadeSettings{TileShade{255, 0, 0}, TileShade{192, 0, 0}, TileShade{128, 0, 0},
                                    TileShade{64, 0, 0}};
    int yields = 0;
    // Runs at each yield with its number (1 for the first); true stops the walk.
    std::function<bool(int)> onYield;

    // An image of `bytes`, its length stated as the loader states it.
    explicit FakeViewer(const QByteArray &bytes = QByteArray());

    bool isEnabled(tiles::RedrawControl control) const { return enabled.at(control); }
    // How many of the 17 controls a live redraw holds are enabled.
    int enabledHeldControls() const;

    QByteArray romData() const override { return rom; }
    QString offsetText() const override { return offset; }
    void setOffsetText(const QString &text) override { offset = text; }
    QString widthText() const override { return width; }
    QString fileLengthText() const override { return fileLength; }
    QByteArray romTitle() const override { return title; }
    void setViewWidth(int16_t w) override { viewWidth = w; }
    void setCaption(const QString &text) override { caption = text; }
    void setUpdateCaption(const QString &text) override { updateCaption = text; }
    void setControlEnabled(tiles::RedrawControl control, bool on) override { enabled[control] = on; }
    int autoUpdateValue() const override { return autoUpdate; }
    int displayMode() const override { return mode; }
    controls::PictureSurface &picture() override { return surface; }
    int32_t swatchColour(int index) const override;
    tiles::TileShades shades() const override { return shadeSettings; }
    bool yield() override;
};

} // namespace tilestest
