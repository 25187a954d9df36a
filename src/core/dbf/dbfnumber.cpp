#include "core/dbf/dbfnumber.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cmath>
#include <cstdlib>

namespace DbfNumber {

// Surrounding blanks (or NUL padding) are ignored, a blank field is 0, a
// comma is taken as a decimal point. Text that is not a number (such as the
// "*****" some programs write on overflow) is reported through *ok: a file
// holding one is refused when it is opened, so the lenient reading below only
// ever meets numbers once a file is open.
double parseStrict(const char* p, int n, bool* ok) {
    *ok = true;
    int b = 0, e = n;
    while (b < e && isPad(p[b])) ++b;
    while (e > b && isPad(p[e - 1])) --e;
    if (b == e) return 0.0;

    // Fast exact path: up to 15 significant digits and up to 22 decimals, so
    // that mantissa / 10^k is one correctly rounded division of exact values.
    static const double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    int i = b;
    bool negative = false;
    if (p[i] == '-' || p[i] == '+') {
        negative = p[i] == '-';
        ++i;
    }
    unsigned long long mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false, any = false, simple = true;
    for (; i < e; ++i) {
        const char c = p[i];
        if (c >= '0' && c <= '9') {
            any = true;
            if (mantissa == 0 && c == '0') {
                if (point) ++decimals;
                continue;
            }
            if (digits >= 15) {
                simple = false;
                break;
            }
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            ++digits;
            if (point) ++decimals;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            simple = false;
            break;
        }
    }
    if (simple) {
        if (!any) {
            *ok = false;
            return 0.0;
        }
        double v = static_cast<double>(mantissa);
        if (decimals > 22) {
            simple = false;
        } else {
            v /= kPow10[decimals];
            return negative ? -v : v;
        }
    }

    // General path (long mantissas, exponents): strtod on a clean copy, which
    // must be consumed whole.
    *ok = false;
    char buf[64];
    const int len = e - b;
    if (len >= static_cast<int>(sizeof buf)) return 0.0;
    for (int k = 0; k < len; ++k) {
        const char c = p[b + k];
        if (!((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return 0.0;
        buf[k] = (c == ',') ? '.' : c;
    }
    buf[len] = '\0';
    char* end = nullptr;
    const double v = std::strtod(buf, &end);
    if (end != buf + len || !std::isfinite(v)) return 0.0;
    *ok = true;
    return v;
}

// The value of a plain decimal text as an integer count of 10^-decimals
// (e.g. "12.5" with 3 decimals is 12500), exactly; false when the text is
// not plain (exponent, more decimals than given, too many digits).
bool parseScaledText(const char* p, int n, int decimals, qint64* out) {
    int b = 0, e = n;
    while (b < e && isPad(p[b])) ++b;
    while (e > b && isPad(p[e - 1])) --e;
    qint64 m = 0;
    int i = b, digits = 0, fraction = 0;
    bool negative = false, point = false;
    if (i < e && (p[i] == '-' || p[i] == '+')) negative = p[i++] == '-';
    for (; i < e; ++i) {
        const char c = p[i];
        if (c >= '0' && c <= '9') {
            if (point && ++fraction > decimals) return false;
            if (m != 0 || c != '0') ++digits;
            if (digits > 17) return false;
            m = m * 10 + (c - '0');
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            return false;
        }
    }
    for (; fraction < decimals; ++fraction) {
        if (++digits > 17 && m != 0) return false;
        m *= 10;
    }
    *out = negative ? -m : m;
    return true;
}

double parseLenient(const char* p, int n) {
    bool ok;
    const double v = parseStrict(p, n, &ok);
    return ok ? v : 0.0;
}

// The common case of a stored number, checked without computing its value:
// padding, an optional sign, digits with at most one decimal point (and at
// least one digit), padding. Anything else (an exponent, a comma, junk) goes
// to the full reading. The door check runs over every number of every record
// at each opening, hence the table of character classes.
namespace {
enum CharClass : unsigned char { Other, Pad, Digit, Sign, Point };
struct CharClasses {
    unsigned char c[256] = {};
    CharClasses() {
        c[static_cast<unsigned char>(' ')] = c[0] = Pad;
        for (char d = '0'; d <= '9'; ++d) c[static_cast<unsigned char>(d)] = Digit;
        c[static_cast<unsigned char>('-')] = c[static_cast<unsigned char>('+')] = Sign;
        c[static_cast<unsigned char>('.')] = Point;
    }
};
const CharClasses kClasses;
}   // namespace

bool isPlainNumber(const char* p, int n) {
    const unsigned char* cls = kClasses.c;
    int i = 0;
    while (i < n && cls[static_cast<unsigned char>(p[i])] == Pad) ++i;
    if (i == n) return true;   // blank: the number 0
    if (cls[static_cast<unsigned char>(p[i])] == Sign) ++i;
    const int digitsFrom = i;
    while (i < n && cls[static_cast<unsigned char>(p[i])] == Digit) ++i;
    int digits = i - digitsFrom;
    if (i < n && cls[static_cast<unsigned char>(p[i])] == Point) {
        const int from = ++i;
        while (i < n && cls[static_cast<unsigned char>(p[i])] == Digit) ++i;
        digits += i - from;
    }
    if (digits == 0) return false;
    while (i < n && cls[static_cast<unsigned char>(p[i])] == Pad) ++i;
    return i == n;
}

#if defined(__SSE2__)
// Each class of the 16 bytes as a bit mask (bit i for byte i), limited to the
// field's bytes; then the grammar above on the masks: pads around one run
// that is an optional sign, then digits and at most one point, at least one
// digit.
bool isPlainNumberWide(const char* p, int n) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const auto mask = [](__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)); };
    const auto equal = [&](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    const unsigned field = (1u << n) - 1;
    const __m128i shifted = _mm_sub_epi8(v, _mm_set1_epi8('0'));
    const unsigned digit = mask(_mm_cmpeq_epi8(_mm_min_epu8(shifted, _mm_set1_epi8(9)), shifted)) & field;
    const unsigned pad = mask(_mm_or_si128(equal(' '), equal('\0'))) & field;
    const unsigned sign = mask(_mm_or_si128(equal('-'), equal('+'))) & field;
    const unsigned point = mask(equal('.')) & field;
    const unsigned value = field & ~pad;
    if (value == 0) return true;   // blank: the number 0
    const int first = __builtin_ctz(value), last = 31 - __builtin_clz(value);
    unsigned run = ((2u << last) - 1) & ~((1u << first) - 1);
    if (pad & run) return false;
    if (sign & (1u << first)) run &= ~(1u << first);
    const unsigned points = point & run;
    return !(sign & run) && (digit & run) && ((digit | point) & run) == run && !(points & (points - 1));
}
#else
bool isPlainNumberWide(const char* p, int n) { return isPlainNumber(p, n); }
#endif

QString withoutNegativeZero(QString text) {
    if (!text.startsWith(QLatin1Char('-'))) return text;
    for (int i = 1; i < text.size(); ++i)
        if (text[i] != QLatin1Char('0') && text[i] != QLatin1Char('.') && text[i] != QLatin1Char(','))
            return text;
    return text.mid(1);
}

QString plainText(double value) {
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        // Keep plain notation for the magnitudes the tables hold.
        text = QString::number(value, 'f', 15);
        while (text.contains(QLatin1Char('.')) && text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    return withoutNegativeZero(text);
}

}   // namespace DbfNumber
