#include "core/schema/numformat.h"

#include <cfenv>
#include <cmath>

#include "core/dbf/dbfnumber.h"

namespace NumFormat {

QString Fixed(double value, int width, int decimals) {
    // "-0.00" would read as a negative amount: a value that rounds to zero is
    // shown without sign.
    const QString text = DbfNumber::withoutNegativeZero(QString::number(value, 'f', decimals));
    return text.rightJustified(width, QLatin1Char(' '));
}

QString Int(long long value, int width) {
    return QString::number(value).rightJustified(width, QLatin1Char(' '));
}

long long Nearest(double value) {
    // nearbyint rounds in the current rounding mode, which is round-to-nearest
    // with ties to even unless someone changed it; make sure of it.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return static_cast<long long>(r);
}

QString General(double value, const QLocale& locale) {
    return DbfNumber::plainText(value).replace(QLatin1Char('.'), locale.decimalPoint());
}

QString Formatted(double value, const QString& format, const QLocale& locale) {
    if (format.isEmpty()) return General(value, locale);
    const int dot = format.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : format.size() - dot - 1;
    QString text = DbfNumber::withoutNegativeZero(QString::number(value, 'f', decimals));
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

bool LitSaisie(const QString& text, double* value) {
    const QString t = text.trimmed();
    QString plain;   // the same number with a point, for the C reading
    int i = 0;
    auto digits = [&] {
        const int from = i;
        while (i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) plain += t[i++];
        return i - from;
    };
    auto sign = [&] {
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) plain += t[i++];
    };
    sign();
    int mantissa = digits();
    if (i < t.size() && (t[i] == QLatin1Char('.') || t[i] == QLatin1Char(','))) {
        plain += QLatin1Char('.');
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        plain += QLatin1Char('e');
        ++i;
        sign();
        if (digits() == 0) return false;
    }
    if (i != t.size()) return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

}   // namespace NumFormat
