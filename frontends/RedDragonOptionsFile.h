#pragma once
// Red Dragon's option file "options.dat" in the emulator's folder: 22 lines
// "key=" and a four-character value, each ended by CR LF, that give the
// emulator its version, frame skip, display mode, 3D swap, palette, screen
// size and graphics mode, and its 14 keys. The reader takes files written by
// this program, by the emulator's other front-ends and by hand.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The values the option file carries. The keys are Red Dragon key indices
// (0 no key ... 114). The option values are positions in the front-end's
// fixed lists, except the graphics mode (the emulator's number for it) and
// the screen size (its list text).
struct RedDragonOptions {
    // The keys, by slot: A, B, L, R, left pad up, down, left, right, right
    // pad up, down, left, right, Start, Select. Their defaults are the
    // emulator's own keys.
    int16_t ba = 13, bb = 14, tl = 7, tr = 8;
    int16_t lu = 5, ld = 3, ll = 19, lr = 6;
    int16_t ru = 9, rd = 72, rl = 10, rr = 12;
    int16_t st = 2, sl = 22;

    int16_t platform = 0;
    int16_t scrmode = 0;
    QString scrsize = QStringLiteral(" 640x480");
    int16_t colours = 0;
    int16_t frmskip = 0;
    int16_t dspmode = 0;
    int16_t brightness = 0;
    int16_t palmod = 0;
    int16_t dspswap = 0;

    static constexpr int kKeyCount = 14;
    static constexpr int kLastKeyIndex = 114;
    // The 14 keys in slot order, and back.
    std::array<int16_t, kKeyCount> keys() const;
    void setKeys(const std::array<int16_t, kKeyCount> &keys);

    bool operator==(const RedDragonOptions &) const = default;
};

namespace reddragon {

// Reads an option file's text over `options`: a key the text does not give
// keeps its value, a value that is no valid setting (out of its control's
// range, or not a 16-bit number) takes its default. Lines end at CR LF or a
// lone CR. At every "=" of a line, the text before it, in lower case, is a
// key; the value is the leading number of the line's last four characters.
// The palette is read under "palmode" and the "palmod" this program writes.
// The screen size comes from "scrx" and "scry" (0 where missing); the
// colour depth and the brightness hack, which the file does not carry, go
// back to their first choice.
RedDragonOptions ReadOptionsText(const QByteArray &text, RedDragonOptions options = {});

// The file's 22 lines for these options, each "key=" and the value
// zero-filled to four characters ("00-1" for -1), each ended by CR LF.
QByteArray OptionsText(const RedDragonOptions &options);

// Where the option file of the emulator in `folder` is: "options.dat" in any
// letter case, or that name where none is there yet.
QString OptionsFilePath(const QString &folder);

// The options of the file in `folder` read over `options`; with no file
// there (or one that can't be read), `options` with the default screen size.
// `failure` tells why a file that is there could not be read.
struct LoadedOptions {
    RedDragonOptions options;
    QString failure;
};
LoadedOptions LoadOptionsFile(const QString &folder, const RedDragonOptions &options);

// Writes the text whole into the option file, replacing it in one step so
// the emulator never sees half a file. Returns the reason of a failure.
std::optional<QString> SaveOptionsFile(const QString &folder, const QByteArray &text);

} // namespace reddragon
