#include "VbText.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vb {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

int digitValue(QChar c, int radix)
{
    int d = -1;
    if (c >= u'0' && c <= u'9')
        d = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        d = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        d = c.unicode() - u'A' + 10;
    return d < radix ? d : -1;
}

// A radix literal after "&H" or "&O" reads as a 16-bit value when it fits in
// 16 bits and as a 32-bit value when it fits in 32, as the language does.
double radixValue(quint64 raw)
{
    if (raw <= 0xFFFFu)
        return static_cast<int16_t>(static_cast<uint16_t>(raw));
    if (raw <= 0xFFFFFFFFu)
        return static_cast<int32_t>(static_cast<uint32_t>(raw));
    return static_cast<double>(raw);
}

struct Parsed {
    double value = 0;
    int consumed = 0; // characters of the input that form the number
};

// Parses the longest number at the start of `s` (no blanks inside).
Parsed parseNumber(const QString &s)
{
    Parsed out;
    const int n = s.size();
    if (n >= 2 && s[0] == u'&' && (s[1] == u'h' || s[1] == u'H' || s[1] == u'o' || s[1] == u'O')) {
        const int radix = (s[1] == u'h' || s[1] == u'H') ? 16 : 8;
        quint64 raw = 0;
        int i = 2;
        for (; i < n; ++i) {
            const int d = digitValue(s[i], radix);
            if (d < 0)
                break;
            raw = raw * radix + d;
            if (raw > 0xFFFFFFFFFFFFull)
                raw = 0xFFFFFFFFFFFFull;
        }
        if (i > 2) {
            out.value = radixValue(raw);
            out.consumed = i;
        }
        return out;
    }

    int i = 0;
    QString text;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        text += s[i++];
    int mantissaDigits = 0;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
        text += s[i++];
        ++mantissaDigits;
    }
    if (i < n && s[i] == u'.') {
        text += u'.';
        ++i;
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
            text += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return out;
    int end = i;
    if (i < n && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        int j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            exponent += s[j++];
        int expDigits = 0;
        while (j < n && s[j].isDigit() && s[j].unicode() < 128) {
            exponent += s[j++];
            ++expDigits;
        }
        if (expDigits > 0) {
            text += exponent;
            end = j;
        }
    }
    // Read in the C locale: the user's locale may take "," for the decimal point.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    out.value = ::strtod_l(text.toLatin1().constData(), nullptr, cLocale);
    out.consumed = end;
    return out;
}

std::optional<double> wholeNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const Parsed p = parseNumber(trimmed);
    if (p.consumed != trimmed.size() || !std::isfinite(p.value))
        return std::nullopt;
    return p.value;
}

template <typename T>
std::optional<T> roundToEven(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // default rounding mode: halves to even
    if (r < std::numeric_limits<T>::min() || r > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(r);
}

// Up to 15 significant digits, as "%.15G" writes them in the C locale,
// whatever decimal point the user's locale has.
QString general15(double value)
{
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return QString::fromLatin1(buf, written.ptr - buf).toUpper();
}

} // namespace

double Val(const QString &text)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c))
            compact += c;
    return parseNumber(compact).value;
}

std::optional<int16_t> CInt(double value) { return roundToEven<int16_t>(value); }
std::optional<int32_t> CLng(double value) { return roundToEven<int32_t>(value); }

std::optional<double> TextToDouble(const QString &text)
{
    return wholeNumber(text);
}

std::optional<int16_t> TextToInteger(const QString &text)
{
    const auto n = wholeNumber(text);
    return n ? CInt(*n) : std::nullopt;
}

std::optional<int32_t> TextToLong(const QString &text)
{
    const auto n = wholeNumber(text);
    return n ? CLng(*n) : std::nullopt;
}

std::optional<bool> TextToBoolean(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const auto n = wholeNumber(trimmed);
    if (!n)
        return std::nullopt;
    return *n != 0;
}

QString CStr(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    return general15(value);
}

QString Str(double value)
{
    QString text = CStr(value);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return value >= 0 ? QLatin1Char(' ') + text : text;
}

QString CStr(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace vb
