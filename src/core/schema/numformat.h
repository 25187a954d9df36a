#pragma once
// Number formats. The program's own formats (diagnosis pages, totals strip,
// detail view energy, ranking printout) always use a point as decimal
// separator; the display formats of table fields use the locale's separator.
#include <QLocale>
#include <QString>

namespace NumFormat {
// Fixed-point with exactly d decimals, right-justified with blanks to at least
// w characters; a longer text is not cut. Fixed(4, 0) of 850 is " 850".
QString Fixed(double value, int width, int decimals);
// An integer right-justified with blanks to at least w characters.
QString Int(long long value, int width);
// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
long long Nearest(double value);
// A table field's display format: "0.000", "0.00", "0.0", "0.0000" (that many
// decimals, always shown), "##0" and "0" (whole number); an empty format is the
// general number format (up to 15 significant digits, no trailing zeros).
// The decimal separator is the locale's.
QString Formatted(double value, const QString& format, const QLocale& locale = QLocale());
// The general number format alone.
QString General(double value, const QLocale& locale = QLocale());
// A decimal number as the user types it, whatever the locale: "," and "."
// both stand for the decimal point (one of them at most), with an optional
// sign, an optional exponent ("2.5e1") and blanks around. Anything else (a
// second separator, a group separator, a letter) does not read: false, the
// value unchanged, so that no stray character ever changes the number.
bool LitSaisie(const QString& text, double* value);
}
