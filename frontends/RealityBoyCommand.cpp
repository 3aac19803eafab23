#include "RealityBoyCommand.h"

#include <array>

#include "Paths.h"

namespace {

using process::Argument;

constexpr std::array<const char *, 7> kResolutionWords{"320", "640", "640v2", "800", "800v2", "1024", "1024v2"};
// Both anaglyph modes are "red_blue": the palette tells them apart.
constexpr std::array<const char *, 7> kDisplayModeWords{"normal", "red_blue", "red_blue", "interlace",
                                                        "over_under", "side", "cscope"};
// The emulator spells the option "-pallet".
constexpr std::array<const char *, 5> kPaletteWords{"normal", "red", "rb", "rg", "rbg"};

template <size_t N>
void appendChoice(QList<Argument> &arguments, const char *option, const std::array<const char *, N> &words, int index)
{
    if (index < 0 || index >= int(N))
        return;
    arguments << Argument::Word(QLatin1String(option)) << Argument::Word(QLatin1String(words[size_t(index)]));
}

} // namespace

QString RealityBoyProgramWord(const QString &folder)
{
    return process::FindProgram(folder, QStringLiteral("RBOY")).isEmpty() ? QStringLiteral("VB_98")
                                                                              : QStringLiteral("RBOY");
}

process::StartRequest RealityBoyCommand(const QString &folder, const QString &rom, const RealityBoyOptions &options,
                                        bool debug)
{
    process::StartRequest request;
    request.program = paths::AppendFileToDir(folder, RealityBoyProgramWord(folder));
    request.windowStyle = process::vbNormalFocus;

    QList<Argument> &arguments = request.arguments;
    arguments << Argument::Path(rom);
    appendChoice(arguments, "-display", kResolutionWords, options.resolution);
    appendChoice(arguments, "-dspmode", kDisplayModeWords, options.displayMode);
    arguments << Argument::Word(QStringLiteral("-frmskip")) << Argument::Word(QString::number(options.frameSkip));
    appendChoice(arguments, "-pallet", kPaletteWords, options.palette);
    arguments << Argument::Word(QStringLiteral("-brite")) << Argument::Word(QString::number(options.brightness));
    if (options.flip)
        arguments << Argument::Word(QStringLiteral("-flip"));
    if (debug)
        arguments << Argument::Word(QStringLiteral("-debug"));
    if (options.fixPalette)
        arguments << Argument::Word(QStringLiteral("-fixpal"));
    return request;
}
