#pragma once
// The texts of the composition window's totals strip: twelve of the Daily
// totals, each rounded to the nearest whole number (halves to even) and
// right-aligned in at least four characters, with its abbreviation and unit.
#include <QString>
#include <QVector>

struct DailyTotals;

namespace TotalsStrip {
struct Entry {
    QString label;   // the label's name, e.g. "LtotalQTE"
    QString text;    // e.g. "Qté  150 g"
};
// A total as the strip writes it: " 150", "12345", "  -3".
QString valeur(double total);
// The twelve labels: the first row (QTE, PROT_A, GLUC_S, LIPI_A, A_G_SAT,
// A_G_POLY) then the second row (CALORIES, PROT_V, GLUC_A, LIPI_V, A_G_MONO,
// CHOLEST), each under the label above it.
QVector<Entry> textes(const DailyTotals& totals);
constexpr int ParRangee = 6;
}
