#include "ciqualcell.h"

namespace {

// A non-negative decimal number with a comma (or a point) as separator.
std::optional<double> parseDecimal(QString text) {
    text = text.trimmed();
    if (text.isEmpty()) return std::nullopt;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    for (QChar c : text)
        if (!(c.isDigit() || c == QLatin1Char('.'))) return std::nullopt;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok) return std::nullopt;
    return v;
}

}   // namespace

std::optional<CiqualValue> parseCiqualCell(const QString& raw) {
    QString text = raw;
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    text = text.trimmed();
    CiqualValue v;
    if (text.isEmpty() || text == QLatin1String("-")) {
        v.missing = true;
        return v;
    }
    if (text.compare(QLatin1String("traces"), Qt::CaseInsensitive) == 0) return v;
    if (text.startsWith(QLatin1Char('<'))) {
        const auto limit = parseDecimal(text.mid(1));
        if (!limit) return std::nullopt;
        v.value = *limit / 2;
        return v;
    }
    const auto number = parseDecimal(text);
    if (!number) return std::nullopt;
    v.value = *number;
    return v;
}
