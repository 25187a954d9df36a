#include "core/needs/needscolumn.h"

#include "core/io/dataerror.h"
#include "core/needs/efsatable.h"
#include "core/needs/formula.h"

namespace {
// An error already placed at the row where it arose; the rows that referred
// to that row pass it on unchanged.
class PlacedError : public DataError {
public:
    using DataError::DataError;
};
}   // namespace

QString needsRowUnit(int row) {
    if (row == 1) return QStringLiteral("kcal");
    if (row <= 9) return QStringLiteral("g");
    return QStringLiteral("mg");
}

bool needsRowUsed(int row) { return row != 2 && row != 7; }

QString formatNeedsValue(double v) {
    QString s = QString::number(v, 'f', 5);
    while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0')) || s.endsWith(QLatin1Char('.'))))
        s.chop(1);
    return s;
}

QVector<double> evaluateNeedsColumn(const NeedsColumnSource& source, const EfsaTable& efsa) {
    QVector<double> values(kNeedsRows, 0.0);
    QVector<int> state(kNeedsRows, 0);   // 0 to do, 1 in progress, 2 done
    std::function<double(int)> valueOf = [&](int row) -> double {
        if (row < 1 || row > kNeedsRows)
            throw DataError(QStringLiteral("référence à la ligne %1 inexistante").arg(row));
        if (state[row - 1] == 2) return values[row - 1];
        const QString where = source.where(row);
        if (state[row - 1] == 1)
            throw PlacedError(QStringLiteral("%1 : référence circulaire à la ligne %2.").arg(where).arg(row));
        state[row - 1] = 1;
        FormulaContext ctx;
        ctx.row = valueOf;
        ctx.efsa = [&](const QString& ref, bool* increment) -> double {
            const QStringList parts = ref.split(QLatin1Char('|'));
            if (parts.size() != 4)
                throw PlacedError(
                    QStringLiteral("%1 : EFSA[%2] doit nommer nutriment|population|âge|sexe.").arg(where, ref));
            const EfsaValue v = efsa.lookup(parts.at(0), parts.at(1), parts.at(2), parts.at(3));
            double converted = 0;
            if (!convertEfsa(v, needsRowUnit(row), &converted))
                throw PlacedError(QStringLiteral("%1 : l'unité EFSA « %2 » ne convient pas à une ligne en %3.")
                                      .arg(where, v.unit, needsRowUnit(row)));
            *increment = v.increment;
            return converted;
        };
        double v = 0;
        try {
            v = evaluateFormula(source.formulas.value(row - 1), ctx);
        } catch (const PlacedError&) {
            throw;
        } catch (const DataError& e) {
            throw PlacedError(QStringLiteral("%1 : %2").arg(where, e.message()));
        }
        if (needsRowUsed(row) && !(v > 0))
            throw PlacedError(QStringLiteral("%1 : la formule donne %2 ; un besoin doit être positif.")
                                  .arg(where, formatNeedsValue(v)));
        if (source.onValue) {
            // The caller's message names its own place.
            try {
                source.onValue(row, v);
            } catch (const PlacedError&) {
                throw;
            } catch (const DataError& e) {
                throw PlacedError(e.message());
            }
        }
        values[row - 1] = v;
        state[row - 1] = 2;
        return v;
    };
    for (int row = 1; row <= kNeedsRows; ++row) valueOf(row);
    return values;
}
