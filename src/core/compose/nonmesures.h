#pragma once
// Values the Food table does not know: the side table NONMESUR.DBF marks,
// per food, the values its source did not measure (stored as 0). A chosen
// line whose food has such a value for a nutrient makes that nutrient's
// intake, and every rate built on it, a lower bound. Composite foods inherit
// the marks of their ingredients; values typed in the editing window count as
// measured.
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVector>

#include "core/compose/dailytotals.h"

class RunContext;
class Table;

struct NonMesures {
    // Per Daily totals slot: some chosen food lacks a measured value for it.
    // Energy is marked when one of the macronutrients it sums is.
    QVector<bool> manquants = QVector<bool>(DailyTotals::Count, false);
    // The slots each marked line lacks, one entry per marked line.
    QVector<QSet<int>> lignes;
    // Chosen foods lacking a value that the page showing the marks uses (set
    // by the page that counts them).
    int aliments = 0;
    bool marque(DailyTotals::Slot slot) const { return manquants[slot]; }
    // The nutrient fields (PROT_A ... FIBRES) that are marked.
    QStringList champs() const;
};

// Reads the side table of the directory for the lines of the open Choice
// table (left on its last line). A missing or unreadable side table (an older
// Data directory) marks nothing and is no error; a record applies to a line
// only when the Food table has a food of that name and that number, so a
// replaced Food table gets no marks.
NonMesures lisNonMesures(Table& tchoix, const QString& dir);
// Adds the marks of one chosen line to nm: those of its food in marques
// (marquesDesAliments), none for a line without quantity. Returns the key of
// the marked food in marques, or an empty text when the line adds nothing.
QString ajouteLigne(NonMesures& nm, const QHash<QString, QSet<int>>& marques, const QString& nom, double qte);
// The unmeasured slots of each food of the directory's Food table that the
// side table marks, by trimmed name; energy is marked with the
// macronutrients it sums. Empty when there is no side table.
QHash<QString, QSet<int>> marquesDesAliments(const QString& dir);

namespace FichierNonMesures {
// Gives the food (number and name) exactly these unmeasured fields: its
// record is replaced, or removed when fields is empty. Nothing is done when
// the directory has no side table.
void marque(RunContext& run, const QString& dir, double numero, const QString& nom, const QStringList& champs);
// The given fields of the food are now measured (typed by hand).
void oublie(RunContext& run, const QString& dir, double numero, const QString& nom, const QStringList& champs);
// The food numero has been renamed: its record follows it, if it was its own
// (named ancien).
void renomme(RunContext& run, const QString& dir, double numero, const QString& ancien, const QString& nouveau);
}
