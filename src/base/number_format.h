#pragma once

#include <QChar>
#include <QString>

// Every number that becomes text, or text that becomes a number, goes through
// these functions. The decimal separator is always a parameter: the program
// passes the system locale's, tests pass the comma of a Russian locale.
namespace numfmt {

// The system locale's decimal separator (a comma on the lab PCs).
QChar systemDecimalSeparator();

// General float format: rounded to 15 significant digits (an exact half away
// from zero), trailing zeros dropped; fixed notation for 1e-4 <= |x| < 1e15, otherwise d.dddE-x
// with the exponent written without sign for positive values and without leading zeros. 0.3 ->
// "0,3", -1.2345E-8 -> "-1,2345E-8", 1e-5 -> "1E-5", 1e15 -> "1E15".
QString general(double value, QChar decimalSeparator);

// General format of the exact decimal number mantissa * 10^exponent, written
// from its digits with no binary rounding on the way (more than 15 digits are
// rounded, a half away from zero). For numbers that arrive as decimal digits,
// such as the meter's readings: 12345 and -9 give "1,2345E-5", as general()
// gives for 1.2345e-5.
QString generalDecimal(qint64 mantissa, int exponent, QChar decimalSeparator);

// Four significant digits ("%.4g"): fixed notation for 1e-4 <= |x| < 1e4 after
// rounding, otherwise scientific with at least three exponent digits.
// 25.5 -> "25,5", 12340 -> "1,234E004", 5e-5 -> "5E-005".
QString fourDigits(double value, QChar decimalSeparator);

// printf "%*.*f": right-justified in `width` characters with `precision`
// digits after the separator.
QString fixed(double value, int width, int precision, QChar decimalSeparator);

// fixed() of the exact number mantissa / 10^decimals: -12345, 3 decimals and
// width 2 give "-12,345"; 5, 1 decimal and width 4 give " 0,5".
QString fixedDecimal(qint64 mantissa, int decimals, int width, QChar decimalSeparator);

// Reads a number written with the given separator: optional blanks around it,
// optional sign, digits with at most one separator, optional exponent
// (E or e, optional sign, digits). Anything else is not a number, and neither
// is a magnitude that underflows to zero or lies above 1.798E308. Between the
// largest double and 1.798E308 (where general() and fourDigits() put the
// largest doubles: "1,79769313486232E308", "1,798E308") it reads as the
// largest double of that sign, so every text these functions print reads back.
bool parseFloat(const QString &text, QChar decimalSeparator, double *value);

} // namespace numfmt
