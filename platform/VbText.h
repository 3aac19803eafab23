#pragma once
// The program's number and text rules, kept in one place:
// reading a leading number (Val), converting text to 16/32-bit integers and
// Booleans (halves round to even, overflow fails), and writing numbers (Str).

#include <QString>
#include <cstdint>
#include <optional>

namespace vb {

// Leading number of a text: blanks (space, tab, LF, CR) are skipped anywhere,
// "&H"/"&O" prefixes read hexadecimal/octal, "E" or "D" starts an exponent.
// Reading stops at the first character that cannot continue the number;
// no number at all gives 0.
double Val(const QString &text);

// Round a double to an integer the way the language converts: halves go to
// the even neighbour. Values outside the target range give nullopt (overflow).
std::optional<int16_t> CInt(double value);
std::optional<int32_t> CLng(double value);

// Whole-text conversions, as used when reading stored settings: the text,
// trimmed of surrounding blanks, must be a number (decimal with optional
// sign, fraction and exponent, or "&H"/"&O"). Anything else, and a number
// out of range, gives nullopt.
std::optional<double> TextToDouble(const QString &text);
std::optional<int16_t> TextToInteger(const QString &text);
std::optional<int32_t> TextToLong(const QString &text);
// "True"/"False" in any letter case, or a number: 0 is False, any other True.
std::optional<bool> TextToBoolean(const QString &text);

// Str(): a leading blank in the sign place for numbers >= 0, no leading zero
// before the decimal point (" .5", "-.25", " 12").
QString Str(double value);
// CStr() of a number, as text concatenation writes it: up to 15 significant
// digits, leading zero kept ("12", "0.5", "-3.25", "1E+15").
QString CStr(double value);
// "True"/"False".
QString CStr(bool value);

} // namespace vb
