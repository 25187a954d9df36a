#include "core/compose/foodrecords.h"

#include <algorithm>

#include "core/schema/numformat.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

namespace FoodRecords {

long long nextNumber(const Table& foods) {
    const int n = foods.rowCount() - (foods.state() == Table::State::Insert ? 1 : 0);
    if (n <= 0) return 1;
    double highest = foods.valueAt(0, Fields::NUMERO).toDouble();
    for (int r = 1; r < n; ++r) highest = std::max(highest, foods.valueAt(r, Fields::NUMERO).toDouble());
    return NumFormat::Nearest(highest) + 1;
}

bool isBase(double numero) { return numero <= DernierAlimentDeBase; }

QString baseDeletionRefused() {
    return QStringLiteral("Impossible de supprimer les %1 premiers enregistrements").arg(DernierAlimentDeBase);
}

}   // namespace FoodRecords
