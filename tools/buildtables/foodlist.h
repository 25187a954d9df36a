#pragma once
// The Base foods as chosen in foods.csv: number, name, category, CIQUAL code
// and the animal shares of proteins and lipids. Every row is checked before
// anything is written; the first bad row stops the build with a message that
// names it (file:line).
#include <QString>
#include <QVector>

#include "nutrientrules.h"

struct BaseFood {
    int line = 0;
    int numero = 0;
    QString nom;
    QString categorie;   // one of categories(), never the composite one
    QString ciqualCode;
    AnimalShares shares;
    QString note;
};

namespace FoodList {
// Reads and checks foods.csv against the CIQUAL table: numbers 1..233 each
// exactly once, names of at most 30 cp1252 characters without outer blanks,
// unique whatever the letter case, a known category (number or text), a
// known CIQUAL code used once, shares between 0 and 1. Throws DataError.
QVector<BaseFood> read(const QString& path, const CiqualTable& ciqual);

// The category text for a cell holding its number (1..14) or its text
// (letter case ignored); empty when it names no category.
QString categoryOf(const QString& cell);
}
