#include "FakeViewer.h"

#include "VbError.h"

namespace tilestest {

using tiles::RedrawControl;

char ShadeLetter(int32_t colour)
{
    switch (colour) {
    case kWhite: return 'W';
    case kLGrey: return 'L';
    case kDGrey: return 'D';
    case kBlack: return 'B';
    case kBackground: return '.';
    default: return '?';
    }
}

std::string Shades(const controls::PictureSurface &picture, int x, int y, int count)
{
    std::string letters;
    for (int i = 0; i < count; ++i)
        letters += ShadeLetter(picture.Point(x + i, y));
    return letters;
}

char RendererLetter(int value)
{
    return "BDLW"[value];
}

int ErrorNumber(const std::function<void()> &run)
{
    try {
        run();
    } catch (const VbError &e) {
        return e.number;
    }
    return 0;
}

FakeViewer::FakeViewer(const QByteArray &bytes)
    : rom(bytes)
    , fileLength(QString::number(bytes.size()))
{
    for (int c = 0; c <= int(RedrawControl::mnuEditSave); ++c)
        enabled[RedrawControl(c)] = true;
}

int FakeViewer::enabledHeldControls() const
{
    int on = 0;
    for (int c = 0; c <= int(RedrawControl::cmdChangePalette); ++c)
        on += enabled.at(RedrawControl(c)) ? 1 : 0;
    return on;
}

int32_t FakeViewer::swatchColour(int index) const
{
    const int32_t swatches[] = {kWhite, kLGrey, kDGrey, kBlack};
    return swatches[index - 1];
}

bool FakeViewer::yield()
{
    ++yields;
    return onYield && onYield(yields);
}

} // namespace tilestest
