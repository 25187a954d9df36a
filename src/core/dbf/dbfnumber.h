#pragma once
// Reading the text of a dBase number field: the lenient reading of stored
// values, the strict one that tells whether a text is a number (used at the
// door and for what the user types), and the exact scaled reading that
// orders numbers without rounding.
#include <QString>
#include <QtGlobal>

namespace DbfNumber {

// Blank or NUL: the padding around a field's value.
inline bool isPad(char c) { return c == ' ' || c == '\0'; }
// The value of the n bytes at p; *ok tells whether they were a number (a
// blank field is the number 0).
double parseStrict(const char* p, int n, bool* ok);
// The common way a number is stored (padding, a sign, digits with at most one
// decimal point, padding), told without computing the value; false says only
// that parseStrict must decide.
bool isPlainNumber(const char* p, int n);
// The same answer, for a field of 1 to 16 bytes with at least 16 bytes
// readable at p (the door check over a whole file's records): the bytes are
// classified together rather than one by one.
bool isPlainNumberWide(const char* p, int n);
// The same, 0 when the bytes are not a number.
double parseLenient(const char* p, int n);
// The value as an exact count of 10^-decimals; false when the text is not a
// plain decimal number with at most that many decimals.
bool parseScaledText(const char* p, int n, int decimals, qint64* out);

// A number as plain text with a point: up to 15 significant digits, no
// trailing zeros, no exponent for the magnitudes a field can hold, and no
// sign on a value that shows as zero ("-0" is 0).
QString plainText(double value);
// Takes the sign off a number text whose digits are all zeros ("-0.00").
QString withoutNegativeZero(QString text);

}   // namespace DbfNumber
