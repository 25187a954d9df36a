#include "core/compose/quantite.h"

#include <limits>

#include "core/io/dataerror.h"
#include "core/interfaces/prompter.h"

namespace Quantite {

int entierDe(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    const int firstDigit = i;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        value = value * 10 + (c.unicode() - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) break;
    }
    const bool ok = i == t.size() && i > firstDigit &&
                    value <= (negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                       : std::numeric_limits<int>::max());
    if (!ok)
        throw DataError(QStringLiteral("'") + text + QStringLiteral("' n'est pas une valeur entière correcte"));
    return static_cast<int>(negative ? -value : value);
}

std::optional<double> controle(Prompter& prompter, const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t == QLatin1String("0")) {
        prompter.message(Prompter::Kind::Information, QStringLiteral("La quantité saisie est nulle !"));
        return std::nullopt;
    }
    const double q = entierDe(text);
    if (q > Maximum) {
        prompter.message(Prompter::Kind::Information,
                         QStringLiteral("La quantité saisie est de ") + text + QStringLiteral(" grammes !"));
        return std::nullopt;
    }
    return q;
}

std::optional<double> saisie(Prompter& prompter, const QString& prompt) {
    const std::optional<QString> text = prompter.input(QStringLiteral("Quantité en gramme"), prompt, QString());
    if (!text) return std::nullopt;
    return controle(prompter, *text);
}

}   // namespace Quantite
