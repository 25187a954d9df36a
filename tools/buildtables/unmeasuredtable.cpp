#include "unmeasuredtable.h"

#include <algorithm>

const TableSchema& UnmeasuredTable::schema() {
    static const TableSchema s = [] {
        TableSchema t;
        t.fileName = QStringLiteral("NONMESUR.DBF");
        t.fields << *foodSchema().field(QStringLiteral("NUMERO")) << *foodSchema().field(QStringLiteral("NOM"));
        for (const Nutrient& n : nutrients()) {
            DbfField f;
            f.name = QLatin1String(n.field);
            f.type = 'L';
            f.length = 1;
            t.fields << f;
        }
        // The same nutrient order as the Food table's fields 4 to 34.
        std::sort(t.fields.begin() + 2, t.fields.end(), [](const DbfField& a, const DbfField& b) {
            return foodSchema().fieldNames().indexOf(a.name) < foodSchema().fieldNames().indexOf(b.name);
        });
        int offset = 0;
        for (DbfField& f : t.fields) {
            f.offset = offset;
            offset += f.length;
        }
        return t;
    }();
    return s;
}

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
