#include "RedDragonOptionsFile.h"

#include "GuardedFile.h"
#include "Paths.h"
#include "RedDragonLists.h"
#include "SaveFile.h"
#include "VbText.h"

namespace {

using Field = int16_t RedDragonOptions::*;

struct KeyField {
    const char *name;
    Field field;
};

// In the order the file lists them.
constexpr KeyField kKeyFields[] = {
    {"lu", &RedDragonOptions::lu}, {"ld", &RedDragonOptions::ld}, {"ll", &RedDragonOptions::ll},
    {"lr", &RedDragonOptions::lr}, {"ru", &RedDragonOptions::ru}, {"rd", &RedDragonOptions::rd},
    {"rl", &RedDragonOptions::rl}, {"rr", &RedDragonOptions::rr}, {"ba", &RedDragonOptions::ba},
    {"bb", &RedDragonOptions::bb}, {"st", &RedDragonOptions::st}, {"sl", &RedDragonOptions::sl},
    {"tl", &RedDragonOptions::tl}, {"tr", &RedDragonOptions::tr},
};

// In slot order.
constexpr std::array<Field, RedDragonOptions::kKeyCount> kSlotFields{
    &RedDragonOptions::ba, &RedDragonOptions::bb, &RedDragonOptions::tl, &RedDragonOptions::tr,
    &RedDragonOptions::lu, &RedDragonOptions::ld, &RedDragonOptions::ll, &RedDragonOptions::lr,
    &RedDragonOptions::ru, &RedDragonOptions::rd, &RedDragonOptions::rl, &RedDragonOptions::rr,
    &RedDragonOptions::st, &RedDragonOptions::sl};

// No key is longer than "platform", so an "=" further on ends no key.
constexpr int kLongestKey = 8;
constexpr int kLargestSize = 9999; // four characters
constexpr qint64 kLargestFile = 1 << 20;

const RedDragonOptions kDefaults;

QByteArray lowerAscii(QByteArray text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

// The value, or the field's default where it is no valid setting.
int16_t valid(std::optional<int16_t> value, int min, int max, int16_t fallback)
{
    return value && *value >= min && *value <= max ? *value : fallback;
}

struct Reading {
    RedDragonOptions &options;
    int width = 0;
    int height = 0;

    void line(const QByteArray &text)
    {
        const std::optional<int16_t> value = vb::CInt(vb::Val(QString::fromLatin1(text.right(4))));
        const qsizetype keyEnds = std::min<qsizetype>(text.size(), kLongestKey + 1);
        for (qsizetype i = 0; i < keyEnds; ++i)
            if (text[i] == '=')
                apply(lowerAscii(text.left(i)), value, text);
    }

    void apply(const QByteArray &key, std::optional<int16_t> value, const QByteArray &text)
    {
        RedDragonOptions &o = options;
        if (key == "platform")
            o.platform = valid(value, 0, int(reddragon::Versions().size()) - 1, kDefaults.platform);
        else if (key == "frmskip")
            o.frmskip = valid(value, 0, 9, kDefaults.frmskip);
        else if (key == "dspmode")
            o.dspmode = valid(value, 0, int(reddragon::DisplayModes().size()) - 1, kDefaults.dspmode);
        else if (key == "dspswap")
            o.dspswap = valid(value, 0, 1, kDefaults.dspswap);
        else if (key == "palmode" || key == "palmod")
            o.palmod = valid(value, 0, int(reddragon::Palettes().size()) - 1, kDefaults.palmod);
        else if (key == "scrx")
            width = valid(value, 0, kLargestSize, int16_t(reddragon::SizeWidth(reddragon::kDefaultSize)));
        else if (key == "scry")
            height = valid(value, 0, kLargestSize, int16_t(reddragon::SizeHeight(reddragon::kDefaultSize)));
        else if (key == "scrmode") {
            // A line that lost its end ("scrmode=lu=0007") gives the left pad's up key.
            if (lowerAscii(text.left(11)) == "scrmode=lu=") {
                o.scrmode = 0;
                o.lu = valid(value, 0, RedDragonOptions::kLastKeyIndex, kDefaults.lu);
            } else {
                // A number of no mode selects none; the window shows that.
                o.scrmode = value.value_or(-1);
            }
        } else {
            for (const KeyField &k : kKeyFields)
                if (key == k.name)
                    o.*k.field = valid(value, 0, RedDragonOptions::kLastKeyIndex, kDefaults.*k.field);
        }
    }
};

QByteArray fourCharacters(int value)
{
    return QByteArray::number(value).rightJustified(4, '0');
}

} // namespace

std::array<int16_t, RedDragonOptions::kKeyCount> RedDragonOptions::keys() const
{
    std::array<int16_t, kKeyCount> inSlotOrder{};
    for (size_t i = 0; i < inSlotOrder.size(); ++i)
        inSlotOrder[i] = this->*kSlotFields[i];
    return inSlotOrder;
}

void RedDragonOptions::setKeys(const std::array<int16_t, kKeyCount> &inSlotOrder)
{
    for (size_t i = 0; i < inSlotOrder.size(); ++i)
        this->*kSlotFields[i] = inSlotOrder[i];
}

namespace reddragon {

RedDragonOptions ReadOptionsText(const QByteArray &text, RedDragonOptions options)
{
    Reading reading{options};
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\r', start);
        if (end < 0)
            end = text.size();
        reading.line(text.mid(start, end - start));
        start = end + 1;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
    options.scrsize = SizeText(reading.width, reading.height);
    options.colours = 0;
    options.brightness = 0;
    return options;
}

QByteArray OptionsText(const RedDragonOptions &o)
{
    QByteArray text;
    auto line = [&text](const char *key, int value) { text += key + fourCharacters(value) + "\r\n"; };
    line("platform=", o.platform);
    line("frmskip=", o.frmskip);
    line("dspmode=", o.dspmode);
    line("dspswap=", o.dspswap != 0 ? 1 : 0);
    line("palmod=", o.palmod);
    line("scrx=", SizeWidth(o.scrsize));
    line("scry=", SizeHeight(o.scrsize));
    line("scrmode=", o.scrmode);
    for (const KeyField &k : kKeyFields)
        line((QByteArray(k.name) + '=').constData(), o.*k.field);
    return text;
}

QString OptionsFilePath(const QString &folder)
{
    const QString name = QStringLiteral("options.dat");
    const QString found = paths::FindFileNoCase(folder, name);
    return found.isEmpty() ? paths::AppendFileToDir(folder, name) : found;
}

LoadedOptions LoadOptionsFile(const QString &folder, const RedDragonOptions &options)
{
    LoadedOptions loaded;
    loaded.options = options;
    loaded.options.scrsize = kDefaultSize;
    loaded.options.colours = 0;
    loaded.options.brightness = 0;

    const auto read = guardedfile::ReadWhole(OptionsFilePath(folder), kLargestFile,
                                             QStringLiteral("The file is too large to be an option file."));
    if (const auto *failure = std::get_if<guardedfile::Failure>(&read)) {
        if (failure->kind != guardedfile::Failure::Kind::Missing)
            loaded.failure = failure->reason;
        return loaded;
    }
    loaded.options = ReadOptionsText(std::get<QByteArray>(read), options);
    return loaded;
}

std::optional<QString> SaveOptionsFile(const QString &folder, const QByteArray &text)
{
    // The file belongs in the emulator's folder under its fixed name: a link
    // of that name gives way to the new file and never carries the write to
    // the file it points to.
    const auto error = savefile::SaveWhole(OptionsFilePath(folder), text, savefile::Links::Replace);
    if (error)
        return error->reason;
    return std::nullopt;
}

} // namespace reddragon
