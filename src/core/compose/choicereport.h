#pragma once
// The printed list of the day's choice: a banded report drawn on a Surface.
//
// Bands, in report pixels (96 to the inch) from the top of the page's
// printable area (inside 10 mm margins):
//   title        40 high, first page only: print date, "Liste des aliments
//                choisis", print time;
//   column head  40 high, at the top of every page's rows;
//   detail       31 high, one per Choice line: NOM, QTE and the six
//                macronutrients and CALORIES, each right-aligned in its
//                column; a column is as wide as its widest value (rows and
//                every page's totals) and at least its drawn box, taking the
//                page's unused width on the right first, then the names'
//                room, so that no number runs into its neighbour; a name too
//                long for the room left before the quantity is cut there
//                with "…";
//   footer       kept at the bottom of every page: "Totaux" and the running
//                sums of every row printed so far.
// On one page the footer is 960 - 31 x (number of lines) high, so that its
// totals, 2 pixels below its top, come right under the last row. A list too
// long for that (31 lines or more) runs over as many pages as needed, the
// footer keeping its drawn height of 40 at the foot of each page.
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class Surface;
class Table;

// One line of the list, as read from the Choice table.
struct LigneListe {
    enum Colonne { QTE, PROT_A, PROT_V, GLUC_S, GLUC_A, LIPI_A, LIPI_V, CALORIES, NbColonnes };
    QString nom;
    double valeurs[NbColonnes] = {};
};

// The Choice table's fields of the columns, in column order.
const QStringList& champsListe();
// Every line of the table from the first, in the table's current order; the
// table is left on its first line.
QVector<LigneListe> lignesListe(Table& tchoix);

namespace Bandes {
constexpr int Titre = 40;
constexpr int Colonnes = 40;
constexpr int Ligne = 31;
constexpr int PiedDessin = 40;                       // the footer's drawn height
constexpr int Zone = 960;                            // below the title and column head: rows and footer
constexpr int BasDePage = Titre + Colonnes + Zone;   // where the footer ends
constexpr int DecalageLigne = 2;                     // text below a row's or the footer's top
constexpr int Largeur = 718;                         // the printable width: 794 less two margins of 10 mm
// The footer height set before printing: 960 - 31 x lines (negative when the
// lines cannot all stand on one page).
int hauteurPied(int nbLignes);
}

class ChoiceReport {
public:
    struct Page {
        int premiere = 0;     // index of its first line
        int nombre = 0;       // lines on it
        bool titre = false;   // the title band (first page)
        int piedY = 0;        // top of its footer
    };

    // An empty list makes no page.
    ChoiceReport(QVector<LigneListe> lignes, const QDateTime& quand, const QLocale& locale = QLocale());

    int pageCount() const { return m_pages.size(); }
    const Page& page(int index) const { return m_pages.at(index); }
    const QVector<LigneListe>& lignes() const { return m_lignes; }
    // The running sums of the first n lines, one per column.
    QVector<double> sommes(int n) const;

    // Texts as printed.
    QString texteLigne(const LigneListe& l, int colonne) const;
    QString texteTotal(const QVector<double>& sommes, int colonne) const;

    // Draws one page; `echelle` device units per report pixel.
    void dessinePage(Surface& surface, int index, double echelle) const;
    // Draws every page, the columns measured once for all of them (a long
    // list would otherwise measure every line again for each page);
    // pageSuivante runs between two pages.
    void dessine(Surface& surface, double echelle, const std::function<void()>& pageSuivante) const;

private:
    // Where the columns stand on a surface: the right edge and width of each,
    // and the room left for the names, in device units.
    struct Colonnes {
        int droite[LigneListe::NbColonnes] = {};
        int largeur[LigneListe::NbColonnes] = {};
        int placeNom = 0;
    };
    // Measured in the rows' font, which it sets.
    Colonnes colonnes(Surface& surface, double echelle) const;
    void dessinePage(Surface& surface, int index, double echelle, const Colonnes& col) const;

    QVector<LigneListe> m_lignes;
    QDateTime m_quand;
    QLocale m_locale;
    QVector<Page> m_pages;
};
