#pragma once
// The whole CIQUAL table as a Food table of its own, for users who want every
// food rather than the Base foods: one record per CIQUAL food (lines of the
// same food merged), numbered 1..N in the file's order, its category from
// the CIQUAL group, its name cut cleanly to 30 characters and made unique
// (CiqualNames, the rules the program uses too).
#include <QString>
#include <QStringList>
#include <QVector>

#include "nutrientrules.h"

struct ImportedFood {
    int numero = 0;
    QString nom;
    QString categorie;
    const CiqualFood* source = nullptr;
    AnimalShares shares;
};

namespace FullImport {
// The category of a CIQUAL food (CiqualGroups); throws DataError naming the
// food for a sub-group the mapping does not know.
QString categoryOf(const CiqualFood& food);
// The animal shares assumed for a food of that group: animal groups 1, plant
// groups 0, mixed dishes, pastries and sauces one half each (data/README.md).
AnimalShares sharesOf(const CiqualFood& food);
QVector<ImportedFood> build(const CiqualTable& table);
}
