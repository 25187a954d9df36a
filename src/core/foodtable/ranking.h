#pragma once
// The nutrient ranking: the thirty rankings the ranking window offers (one
// radio button each, with the Food table's index tag of the same name that
// orders the foods from the richest down) and the printed list of the 94
// richest foods for one of them, drawn on a Surface in printer dots.
//
// The printout's positions are all multiples of a print unit u, the page
// width over 640 to the nearest whole number (halves to even): the title on
// y0 = 10u, centred; two columns of 47 rows every 16u from row 2, names at
// 40u and 370u, amounts ending at 250u and 560u with the unit after them.
#include <QString>
#include <QVector>

class Surface;
class Table;

// One ranking: its radio button (name, caption, place) and what it ranks.
struct Ranking {
    const char* bouton;   // "RBprot_a"
    QString caption;      // "Prot. anim."
    int left;
    int top;
    QString champ;     // the Ranking field, and the name of its index tag: "PROT_A"
    QString libelle;   // the Ranking label: "protéines d'origine animale"
    QString unite;     // the Ranking unit: " g" or " mg"
};

// The thirty rankings in the buttons' tab order (PROT_A first).
const QVector<Ranking>& classements();
// The ranking of a field (case-insensitive), or nullptr (FIBRES, CALORIES...).
const Ranking* classementDe(const QString& champ);

// The print unit of a page width in printer dots: W / 640 to the nearest
// whole number, halves to even; at least 1, so that a narrow page still
// prints legibly rather than stacking every row on the first.
int uniteImpression(int pageWidth);
// The amount of one row: fixed, three decimals, a point, padded on the left
// to seven characters ("  0.000", " 12.500", "1234.000").
QString montantTri(double value);
// The title: "Aliments comprenant le plus de " and the Ranking label.
QString titreTri(const Ranking& c);

// Where the printout puts things, for a print unit.
struct RankingPrintLayout {
    int u = 1;
    int y0() const { return 10 * u; }
    int rowY(int i) const { return y0() + 16 * u * i; }   // i = 2 .. 48
    static constexpr int premiereLigne = 2;
    static constexpr int derniereLigne = 48;
    static constexpr int lignesParColonne = derniereLigne - premiereLigne + 1;   // 47
    int nameX(int column) const { return (column == 0 ? 40 : 370) * u; }
    int amountRight(int column) const { return (column == 0 ? 250 : 560) * u; }
};

// The printout on a page `pageWidth` dots wide: the title, then the first 94
// foods of the table in its current order (the ranking tag), reading the
// Ranking field; the table is left on its first food. The table must be open.
void imprimeTri(Surface& surface, int pageWidth, const Ranking& c, Table& talimtri);
