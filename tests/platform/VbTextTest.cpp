#include <gtest/gtest.h>

#include <QProcess>

#include <clocale>
#include <string>

#include "Paths.h"
#include "TestSupport.h"
#include "VbText.h"

using namespace vb;

TEST(Val, ReadsTheLeadingNumber)
{
    const struct {
        const char *text;
        double value;
    } cases[] = {
        {"12", 12},        {"  12abc", 12}, {"1 2 3", 123},   {"-4.5", -4.5},   {".5", 0.5},
        {"1e3", 1000},     {"1D2", 100},    {"2e", 2},        {"&H10", 16},     {"&hFF", 255},
        {"&HFFFF", -1},    {"&H8000", -32768}, {"&H10000", 65536}, {"&O17", 15}, {"abc", 0},
        {"", 0},           {"-", 0},        {"\t7\n", 7},     {"3.5.1", 3.5},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(Val(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(Conversion, RoundsHalvesToEvenAndRejectsOverflow)
{
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_FALSE(CInt(32767.5));
    EXPECT_EQ(CInt(-32768), -32768);
    EXPECT_FALSE(CInt(-32769));
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_FALSE(CLng(2147483648.0));
}

TEST(Conversion, WholeTextToNumbersAndBooleans)
{
    EXPECT_EQ(TextToInteger(QStringLiteral(" 12 ")), 12);
    EXPECT_EQ(TextToInteger(QStringLiteral("4.5")), 4);
    EXPECT_EQ(TextToInteger(QStringLiteral("-7")), -7);
    EXPECT_EQ(TextToInteger(QStringLiteral("&H7FFF")), 32767);
    EXPECT_FALSE(TextToInteger(QStringLiteral("12abc")));
    EXPECT_FALSE(TextToInteger(QStringLiteral("")));
    EXPECT_FALSE(TextToInteger(QStringLiteral("40000")));
    EXPECT_FALSE(TextToInteger(QStringLiteral("True")));
    EXPECT_EQ(TextToDouble(QStringLiteral(" 1.5 ")), 1.5);
    EXPECT_EQ(TextToDouble(QStringLiteral("800")), 800.0);
    EXPECT_FALSE(TextToDouble(QStringLiteral("")));
    EXPECT_FALSE(TextToDouble(QStringLiteral("800 bytes")));

    EXPECT_EQ(TextToBoolean(QStringLiteral("True")), true);
    EXPECT_EQ(TextToBoolean(QStringLiteral("tRUE")), true);
    EXPECT_EQ(TextToBoolean(QStringLiteral("false")), false);
    EXPECT_EQ(TextToBoolean(QStringLiteral("-1")), true);
    EXPECT_EQ(TextToBoolean(QStringLiteral("0")), false);
    EXPECT_EQ(TextToBoolean(QStringLiteral("2.5")), true);
    EXPECT_FALSE(TextToBoolean(QStringLiteral("yes")));
    EXPECT_FALSE(TextToBoolean(QStringLiteral("")));
}

TEST(NumberText, StrKeepsASignPlaceAndDropsTheLeadingZero)
{
    EXPECT_EQ(Str(12), QStringLiteral(" 12"));
    EXPECT_EQ(Str(-12), QStringLiteral("-12"));
    EXPECT_EQ(Str(0.5), QStringLiteral(" .5"));
    EXPECT_EQ(Str(-0.25), QStringLiteral("-.25"));
    EXPECT_EQ(Str(0), QStringLiteral(" 0"));
    EXPECT_EQ(CStr(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(CStr(12.0), QStringLiteral("12"));
    EXPECT_EQ(CStr(1.0 / 3), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(CStr(1e15), QStringLiteral("1E+15"));
    EXPECT_EQ(CStr(true), QStringLiteral("True"));
}

namespace {

// The numeric rules of a locale whose decimal point is a comma, for as long
// as the object lives; compiled into the test's folder, as a system need not
// have it.
class CommaLocale {
public:
    CommaLocale()
    {
        const QString compiled = testsupport::tempDir() + QStringLiteral("/locales");
        paths::MakeFolders(compiled);
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                         compiled + QStringLiteral("/de_DE.UTF-8")});
        localedef.waitForFinished(60000);
        m_oldPath = qgetenv("LOCPATH");
        qputenv("LOCPATH", paths::EncodeFileName(compiled));
        m_oldNumeric = std::setlocale(LC_NUMERIC, nullptr);
        m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~CommaLocale()
    {
        std::setlocale(LC_NUMERIC, m_oldNumeric.c_str());
        m_oldPath.isNull() ? void(qunsetenv("LOCPATH")) : void(qputenv("LOCPATH", m_oldPath));
    }
    bool active() const { return m_active; }

private:
    QByteArray m_oldPath;
    std::string m_oldNumeric;
    bool m_active = false;
};

} // namespace

// Numbers are read and written with a point whatever the user's locale: the
// settings, the option files and the text boxes all hold them so.
TEST(NumberText, NumbersKeepTheirPointInALocaleThatWritesAComma)
{
    CommaLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma could be made here (localedef and the de_DE sources of "
                        "the locales package are needed)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(Str(0.5), QStringLiteral(" .5"));
    EXPECT_EQ(CStr(-3.25), QStringLiteral("-3.25"));
    EXPECT_EQ(CStr(1e15), QStringLiteral("1E+15"));
    EXPECT_EQ(Val(QStringLiteral("3.5")), 3.5);
    EXPECT_EQ(TextToDouble(QStringLiteral("2.5E1")), 25.0);
    EXPECT_FALSE(TextToDouble(QStringLiteral("3,5")));
}
