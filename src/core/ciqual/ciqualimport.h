#pragma once
// CiqualImport: adds foods of the whole CIQUAL table to the user's Food table,
// as ordinary foods (editable, deletable, usable in composite foods).
//
// Each food added takes the next number (FoodRecords::nextNumber), the
// name the builder's rules give its CIQUAL name (CiqualNames), the category
// of its CIQUAL sub-group (CiqualGroups) and its thirty-one values; its
// unmeasured values go to NONMESUR.DBF and its CIQUAL code to ORIGINES.DBF,
// beside the Food table. A food already added (its code is the origin of a
// food of the table) is refused with that food's number; a name another food
// bears (letter case and outer blanks aside) asks for another name; the food
// passes the same checks as a food typed in the editing window.
//
// Each food is written as one unit: the side tables first (a record there
// applies only to a food bearing its number and name, so it means nothing
// until the food exists), then the food itself. When a write fails, the side
// tables are put back as they were and the food is not in the table; the
// foods added before it stay.
#include <QHash>
#include <QString>
#include <QVector>

#include "core/foodtable/foodorigins.h"

class CiqualCatalogue;
class Prompter;
class Table;

class CiqualImport {
public:
    // taliments: the Food table, open for writing (its directory holds the
    // side tables). Questions and messages go through prompter.
    CiqualImport(Table& taliments, const CiqualCatalogue& catalogue, Prompter& prompter);

    struct Food {
        long long numero = 0;
        QString nom;
        QString categorie;
    };
    // The food of the table that was taken from the catalogue's entry, or a
    // food with numero 0 when none was.
    Food inTable(int entry) const;

    // Adds the entries in order and tells the user what was added. Returns
    // the foods added. A write that fails throws DataError naming the food
    // (and those added before it).
    QVector<Food> add(const QVector<int>& entries);

private:
    // The name the food takes: the builder's short name, or the one typed
    // when it clashes; "" when the user gives up.
    QString nameFor(int entry);
    Food addOne(int entry, const QString& nom);
    void readTable();

    Table& m_t;
    const CiqualCatalogue& m_catalogue;
    Prompter& m_prompter;
    FoodOrigins m_origins;
    QHash<long long, QString> m_names;   // the table's foods: number -> trimmed name
};
