#include "unmeasuredtable.h"

const TableSchema& UnmeasuredTable::schema() { return nonMesuresSchema(); }

TableRecord UnmeasuredTable::record(int numero, const QString& nom, const QStringList& unmeasured) {
    TableRecord r;
    r.insert(QStringLiteral("NUMERO"), double(numero));
    r.insert(QStringLiteral("NOM"), nom);
    for (const Nutrient& n : nutrients()) {
        const QString field = QLatin1String(n.field);
        r.insert(field, unmeasured.contains(field));
    }
    return r;
}
