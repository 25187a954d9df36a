#pragma once
// The Needs table (BESOINS.DBF) and the seventeen population groups.
//
// The diagnosis window's caption is the group's name followed by
// SuffixeBilan; NomGroupe takes the name back, ChoixColonne finds the group's
// column of the Needs table, and LitBesoins reads the 27 recommendations of
// that column into the Group needs. The rows of the table are identified by
// their position alone (the NOM column is only for people reading the file).
#include <QString>
#include <QVector>

class Table;

// One population group of the Diagnostic submenu.
struct PopulationGroup {
    const char* menuItem;   // e.g. "Femmeactive1"
    QString caption;        // the group's name, e.g. "Femme active"
    QString column;         // its column of the Needs table, e.g. "F_FORCE"
};

// The seventeen groups in the order of the Diagnostic submenu.
const QVector<PopulationGroup>& populationGroups();

// " : bilan de la ration journalière" (33 characters), which follows the
// group's name in the diagnosis window's caption.
extern const QString SuffixeBilan;
// The column used when no caption matches the group name.
extern const QString ColonneParDefaut;   // "E_2_ANS"

// The group's recommended daily values, in the row order of the Needs table.
struct GroupNeeds {
    enum Slot {
        Energie,   // row 1, kcal per day
        ProtA,     // row 3, animal proteins (minimum), g
        ProtV,     // row 4, vegetable proteins (minimum), g
        LipiA,     // row 5, animal lipids (maximum), g
        LipiV,     // row 6, vegetable lipids, g
        Sucre,     // row 8, sugar (maximum), g
        Amidon,    // row 9, starch (minimum), g
        Calcium,   // rows 10 to 29, mg
        Magnesium,
        Phosphore,
        Fer,
        Zinc,
        Iode,
        VitA,
        VitB1,
        VitB2,
        VitB6,
        VitB9,
        VitC,
        VitD,   // stored in mg like the other vitamins
        VitPP,
        Chlore,
        Soufre,
        Manganese,
        Cuivre,
        Sodium,
        Potassium,   // row 29
        Count
    };
    double v[Count] = {};
    double operator[](Slot s) const { return v[s]; }
    double& operator[](Slot s) { return v[s]; }
    // The (1-based) row of the Needs table that fills a slot.
    static int rowOf(Slot s);
};

// Tolerable upper intake levels, per slot of the Group needs and in its unit;
// 0 where none applies.
struct UpperLimits {
    double v[GroupNeeds::Count] = {};
    double operator[](GroupNeeds::Slot s) const { return v[s]; }
    double& operator[](GroupNeeds::Slot s) { return v[s]; }
    bool any() const;
};

// The caption without its last 33 characters; empty when the caption is not
// longer than that.
QString NomGroupe(const QString& caption);
// Compares the name with each of the seventeen captions, exactly and with
// letter case, and makes the first match the group column; a name that
// matches nothing leaves the column as it was.
void ChoixColonne(const QString& groupName, QString& groupColumn);
// ColonneParDefaut, then ChoixColonne: the column of a group name.
QString colonneDuGroupe(const QString& groupName);

// Reads the group column of the open Needs table from its first row: row 1
// into the energy slot, then rows 3 to 6 and 8 to 29 into the following
// slots (rows 2 and 7 are passed over). An empty cell reads as 0. A table of
// fewer rows stays on its last row, which then fills every later slot.
// Leaves the cursor on row 29 (or the last row).
void LitBesoins(Table& tbesoins, const QString& groupColumn, GroupNeeds& needs);
