#include "core/compose/dailytotals.h"

#include "core/schema/schema.h"
#include "core/table/table.h"

int DailyTotals::slotOf(const QString& field) { return choiceNumericFields().indexOf(field.toUpper()); }

double DailyTotals::value(const QString& field) const {
    const int s = slotOf(field);
    return s < 0 ? 0.0 : v[s];
}

void RazTotaux(DailyTotals& totals) {
    for (double& x : totals.v) x = 0.0;
}

void CalculTotaux(Table& tchoix, DailyTotals& totals) {
    RazTotaux(totals);
    const QStringList& fields = choiceNumericFields();
    int number[DailyTotals::Count];
    for (int s = 0; s < DailyTotals::Count; ++s) number[s] = tchoix.fieldNumber(fields[s]);
    tchoix.first();
    while (!tchoix.eof()) {
        for (int s = 0; s < DailyTotals::Count; ++s) {
            const long double sum = static_cast<long double>(totals.v[s]) + tchoix.asFloatAt(number[s]);
            totals.v[s] = static_cast<double>(sum);
        }
        tchoix.next();
    }
}
