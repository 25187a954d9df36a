#pragma once
// The Food table category of a CIQUAL food, from its sub-group (e.g. "0408")
// or, for offal and the plant-based substitutes of the charcuterie
// sub-group, its sub-sub-group ("040108", "040208", "040309"). CIQUAL's
// composed dishes never go under "PRODUITS COMPOSÉS": that category is kept
// for the program's own composite foods, which have their recipe.
#include <QString>

namespace CiqualGroups {
// One of the fourteen categories; "" for a sub-group the mapping does not know.
QString category(const QString& subgroup, const QString& subsubgroup);
}
