#pragma once
// The whole CIQUAL table as a Food table of its own, for users who want every
// food rather than the Base foods: one record per CIQUAL food (lines of the
// same food merged), numbered 1..N in the file's order, its category from
// the CIQUAL group, its name cut cleanly to 30 characters and made unique.
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
// The category of a CIQUAL food from its sub-group code (e.g. "0408"), or
// for the sub-sub-group "040108"/"040208" (offal); throws DataError for a
// group the mapping does not know.
QString categoryOf(const CiqualFood& food);
// The animal shares assumed for a food of that group: animal groups 1, plant
// groups 0, mixed dishes, pastries and sauces one half each (data/README.md).
AnimalShares sharesOf(const CiqualFood& food);
// A name of at most maxLength characters: the name itself when it fits;
// else without its parenthesised parts, and if still too long cut at the
// last word boundary that fits, without trailing punctuation or a dangling
// small word ("de", "à", "et", ...).
QString shortName(const QString& name, int maxLength = 30);
// Makes names unique (letter case ignored) by appending " (2)", " (3)"...,
// shortening the name further so that the result still fits.
QStringList uniqueNames(const QStringList& names, int maxLength = 30);

QVector<ImportedFood> build(const CiqualTable& table);
}
