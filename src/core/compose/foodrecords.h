#pragma once
// Rules of the Food table's records that every writer of foods shares: the
// number a new food takes, and the Base foods that can never be deleted.
#include <QString>

class Table;

namespace FoodRecords {
// One above the highest NUMERO of the table's visible foods, whatever the
// order; 1 for an empty table. A food being inserted does not count.
long long nextNumber(const Table& foods);
// The Base foods: numbers up to DernierAlimentDeBase (a blank NUMERO reads 0).
bool isBase(double numero);
// What the user is told when a Base food would be deleted.
QString baseDeletionRefused();
}   // namespace FoodRecords
