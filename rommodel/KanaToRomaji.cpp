#include "KanaToRomaji.h"

#include <array>

namespace {

constexpr uchar kVoicedMark = 0xDE;
constexpr uchar kSemiVoicedMark = 0xDF;

// Which small kana pick which of a family's five readings.
enum class Group {
    None,
    // Small A, I, U, E, O only.
    Vowels,
    // Small A/YA, I, U/YU, E, O/YO.
    VowelsAndY,
};

// Readings of a kana followed by a small kana; a null reading means that
// small kana is not taken.
struct Family {
    Group group = Group::None;
    std::array<const char *, 5> readings{};
};

struct KanaReading {
    KanaReading(const char *alone, const char *voiced = nullptr, const char *semiVoiced = nullptr,
                Family small = {}, Family voicedSmall = {}, Family semiVoicedSmall = {})
        : alone(alone), voiced(voiced), semiVoiced(semiVoiced), small(small), voicedSmall(voicedSmall),
          semiVoicedSmall(semiVoicedSmall)
    {
    }
    const char *alone;
    const char *voiced;
    const char *semiVoiced;
    Family small;
    Family voicedSmall;
    Family semiVoicedSmall;
};

Family vowelsAndY(const char *a, const char *i, const char *u, const char *e, const char *o)
{
    return {Group::VowelsAndY, {a, i, u, e, o}};
}

Family vowels(const char *a, const char *i, const char *u, const char *e, const char *o)
{
    return {Group::Vowels, {a, i, u, e, o}};
}

// Readings of 0xA1-0xDF, in byte order.
const std::array<KanaReading, 63> &readings()
{
    static const std::array<KanaReading, 63> table = {{
        {"."},    // A1 full stop
        {"'"},    // A2 left corner bracket
        {"'"},    // A3 right corner bracket
        {","},    // A4 comma
        {"\xB7"}, // A5 middle dot
        {"wo"},
        {"xa"},
        {"xi"},
        {"xu"},
        {"xe"},
        {"xo"},
        {"xya"},
        {"xyu"},
        {"xyo"},
        {"tt"},
        {"-"},
        {"a"},
        {"i"},
        {"u", "vu", nullptr, {}, vowels("va", "vi", "vu", "ve", "vo")},
        {"e"},
        {"o"},
        {"ka", "ga"},
        {"ki", "gi", nullptr, vowelsAndY("kya", "kyi", "kyu", "kye", "kyo"),
         vowelsAndY("gya", "gyi", "gyu", "gye", "gyo")},
        {"ku", "gu"},
        {"ke", "ge"},
        {"ko", "go"},
        {"sa", "za"},
        {"shi", "ji", nullptr, vowelsAndY("sha", "shi", "shu", "she", "sho"), vowelsAndY("ja", "ji", "ju", "je", "jo")},
        {"su", "zu", nullptr, {}, vowels(nullptr, "zi", nullptr, nullptr, nullptr)},
        {"se", "ze"},
        {"so", "zo"},
        {"ta", "da"},
        {"chi", "dji", nullptr, vowelsAndY("cha", "chi", "chu", "che", "cho"),
         vowelsAndY("dja", "dji", "dju", "dje", "djo")},
        // TSU with a small vowel reads as its own family; TSU with its mark
        // and a small kana has no combined reading.
        {"tsu", "du", nullptr, vowels("tsa", "tsi", "tsu", "tse", "tso")},
        {"te", "de", nullptr, {}, vowels(nullptr, "di", nullptr, nullptr, nullptr)},
        {"to", "do"},
        {"na"},
        {"ni", nullptr, nullptr, vowelsAndY("nya", "nyi", "nyu", "nye", "nyo")},
        {"nu"},
        {"ne"},
        {"no"},
        {"ha", "ba", "pa"},
        {"hi", "bi", "pi", vowelsAndY("hya", "hyi", "hyu", "hye", "hyo"), vowelsAndY("bya", "byi", "byu", "bye", "byo"),
         vowelsAndY("pya", "pyi", "pyu", "pye", "pyo")},
        {"fu", "bu", "pu"},
        {"he", "be", "pe"},
        {"ho", "bo", "po"},
        {"ma"},
        {"mi", nullptr, nullptr, vowelsAndY("mya", "myi", "myu", "mye", "myo")},
        {"mu"},
        {"me"},
        {"mo"},
        {"ya"},
        {"yu"},
        {"yo"},
        {"ra"},
        {"ri", nullptr, nullptr, vowelsAndY("rya", "ryi", "ryu", "rye", "ryo")},
        {"ru"},
        {"re"},
        {"ro"},
        {"wa"},
        {"n"},
        {"\""},   // DE voiced mark on its own
        {"\xB0"}, // DF semi-voiced mark on its own
    }};
    return table;
}

// The reading a family gives for a small kana, or null when it takes none.
const char *smallReading(const Family &family, uchar smallKana)
{
    int index = -1;
    switch (smallKana) {
    case 0xA7: index = 0; break;
    case 0xA8: index = 1; break;
    case 0xA9: index = 2; break;
    case 0xAA: index = 3; break;
    case 0xAB: index = 4; break;
    case 0xAC: index = family.group == Group::VowelsAndY ? 0 : -1; break;
    case 0xAD: index = family.group == Group::VowelsAndY ? 2 : -1; break;
    case 0xAE: index = family.group == Group::VowelsAndY ? 4 : -1; break;
    default: break;
    }
    if (family.group == Group::None || index < 0)
        return nullptr;
    return family.readings[size_t(index)];
}

} // namespace

QString KanaToRomaji(const QByteArray &title)
{
    // Bytes that a kana takes along are zeroed so the scan skips them.
    QByteArray work = title;
    const qsizetype length = work.size();
    auto at = [&](qsizetype p) -> uchar { return p < length ? uchar(work[p]) : 0; };

    QByteArray reading;
    for (qsizetype p = 0; p < length; ++p) {
        const uchar c = at(p);
        if (c >= 0x20 && c <= 0x7E) {
            reading += c == '\\' ? '\xA5' : char(c);
            continue;
        }
        if (c < 0xA1 || c > 0xDF)
            continue;

        const KanaReading &kana = readings()[c - 0xA1];
        const uchar next = at(p + 1);
        const uchar second = at(p + 2);
        const char *piece = nullptr;
        int taken = 0;
        struct Marked {
            uchar mark;
            const char *alone;
            const Family &withSmall;
        };
        for (const Marked &m : {Marked{kVoicedMark, kana.voiced, kana.voicedSmall},
                                Marked{kSemiVoicedMark, kana.semiVoiced, kana.semiVoicedSmall}}) {
            if (next != m.mark || !m.alone)
                continue;
            if (const char *both = smallReading(m.withSmall, second)) {
                piece = both;
                taken = 2;
            } else {
                piece = m.alone;
                taken = 1;
            }
        }
        if (!piece) {
            if (const char *withSmall = smallReading(kana.small, next)) {
                piece = withSmall;
                taken = 1;
            } else {
                piece = kana.alone;
            }
        }
        reading += piece;
        for (int t = 1; t <= taken; ++t)
            work[p + t] = '\0';
    }

    if (!reading.isEmpty() && reading[0] >= 'a' && reading[0] <= 'z')
        reading[0] = char(reading[0] - 'a' + 'A');
    return QString::fromLatin1(reading);
}
