#include <gtest/gtest.h>

#include "KanaToRomaji.h"
#include "TestSupport.h"

namespace {

struct Reading {
    QByteArray title;
    QString reading;
};

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

TEST(KanaToRomaji, ReadsTheCatalogueTitles)
{
    const Reading cases[] = {
        {"\xB2\xDD\xBD\xCF\xB3\xBD \xC9 \xD4\xB6\xC0", latin1("Insumausu no yakata")},
        {"\xC4\xCB\xDE\xC0\xDE\xBE!\xCA\xDF\xC6\xCE\xDE\xDD", latin1("Tobidase!panibon")},
        {"\xCA\xDE\xB0\xC1\xAC\xD9\xCC\xDF\xDB\xD4\xB7\xAD\xB3'95", latin1("Ba-charupuroyakyuu'95")},
        {"VB \xDC\xD8\xB5\xD7\xDD\xC4\xDE", latin1("VB wariorando")},
        {"V\xA5TETRIS", latin1("V\xB7TETRIS")},
        {"POLYGOBLOCK", latin1("POLYGOBLOCK")},
    };
    for (const Reading &c : cases)
        EXPECT_EQ(KanaToRomaji(c.title), c.reading) << c.reading.toStdString();
}

TEST(KanaToRomaji, MarksAndSmallKanaCombineOrStandAlone)
{
    const Reading cases[] = {
        {"\xB7\xDE\xAC", latin1("Gya")},      // mark and small kana both taken
        {"\xB3\xDE\xAC", latin1("Vuxya")},    // U's voiced family takes small vowels only
        {"\xB3\xDE\xA9", latin1("Vu")},
        {"\xB1\xDE", latin1("A\"")},          // a kana that takes no mark
        {"\xB6\xDF", latin1("Ka\xB0")},
        {"\xCB\xDF\xAE", latin1("Pyo")},
        {"\xCB\xDF", latin1("Pi")},
        {"\xCB\xAD", latin1("Hyu")},
        {"\xBC\xAC", latin1("Sha")},
        {"\xBC\xDE\xAE", latin1("Jo")},
        {"\xC1\xDE\xAA", latin1("Dje")},
        {"\xBD\xDE\xA8", latin1("Zi")},       // only small I after SU and its mark
        {"\xBD\xDE\xA7", latin1("Zuxa")},
        {"\xC3\xDE\xA8", latin1("Di")},
        {"\xC6\xAA", latin1("Nye")},
        {"\xC2", latin1("Tsu")},
        {"\xC2\xDE", latin1("Du")},
        {"\xC2\xA7", latin1("Tsa")},          // TSU's own family with small vowels
        {"\xC2\xAC", latin1("Tsuxya")},
        {"\xC2\xDE\xA7", latin1("Duxa")},
        {"\xB6\xAC", latin1("Kaxya")},        // no small-kana family: read apart
        {"\xAF\xC3", latin1("Ttte")},
        {"\xDE\xDF", latin1("\"\xB0")},
        {"\xB7", latin1("Ki")},               // the last byte is read alone
        {"\xB7\xDE", latin1("Gi")},           // a mark at the end
    };
    for (const Reading &c : cases)
        EXPECT_EQ(KanaToRomaji(c.title), c.reading) << c.title.toHex(' ').toStdString();
}

TEST(KanaToRomaji, AsciiBytesAndCapitals)
{
    const Reading cases[] = {
        {"", QString()},
        {QByteArray(20, '\0'), QString()},
        {"\x20\xB1", latin1(" a")},           // only a first letter a-z is raised
        {"\x61\x5C\x62", latin1("A\xA5" "b")},
        {"\x01\x7F\xA0\xE0\xFFok", latin1("Ok")}, // bytes outside both ranges vanish
        {"abc DEF 123", latin1("Abc DEF 123")},
    };
    for (const Reading &c : cases)
        EXPECT_EQ(KanaToRomaji(c.title), c.reading) << c.title.toHex(' ').toStdString();
}

TEST(KanaToRomaji, EveryKanaAloneHasAReading)
{
    for (int b = 0xA1; b <= 0xDF; ++b) {
        const QString reading = KanaToRomaji(QByteArray(1, char(b)));
        EXPECT_FALSE(reading.isEmpty()) << b;
    }
    EXPECT_EQ(KanaToRomaji("\xA6\xDD"), latin1("Won"));
}

TEST(KanaToRomaji, LeavesTheCallersTitleAlone)
{
    const QByteArray title("\xB7\xDE\xAC");
    const QByteArray copy = title;
    KanaToRomaji(title);
    EXPECT_EQ(title, copy);
}
