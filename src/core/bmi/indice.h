#pragma once
// The body mass index: a weight in kilograms over the square of a height in
// metres, from the two numbers the dialog's spin edits hold ("72,5" and
// "72.5" alike, whatever the locale), shown with two decimals and placed in
// one of four weight classes.
#include <QLocale>
#include <QString>

namespace Indice {

// The largest weight (kg) and height (cm) the dialog keeps.
constexpr int PoidsMaximum = 200;
constexpr int TailleMaximum = 250;

enum class Classe { Maigre, Normal, Surpoids, Obese };

// What one change of either spin edit gives.
struct Calcul {
    bool vide = true;    // height 0: the index is emptied, the classes keep their styles
    double poids = 0;    // the weight after the cap (what the spin edit must show)
    double taille = 0;   // the height after the cap
    double indice = 0;
    QString texte;   // the index as shown
    Classe classe = Classe::Maigre;
};

// A spin edit's text as a number: "," or "." as the decimal point, blanks
// around it and an optional sign allowed; anything else (empty, a second
// separator, letters) reads as 0.
double nombreDe(const QString& text);

// kg × 10000 / cm².
double indice(double poids, double taille);

// The weight class: below 18.5 thin, 18.5 to 25 inclusive normal, above 25
// and below 30 overweight, 30 and above obese.
Classe classeDe(double indice);

// Fixed notation with 2 decimals after rounding to 5 significant digits, with
// the locale's decimal separator (22,86 in French). An index with more than
// five digits before the separator (heights of a few centimetres) is written
// in exponent notation with 5 significant digits: 2E6, 1,25E5.
QString texteDe(double indice, const QLocale& locale);

// The whole computation from the two texts: the caps applied first, then
// the index and its class (nothing when the height is 0).
Calcul calcule(const QString& poidsTexte, const QString& tailleTexte, const QLocale& locale);

}   // namespace Indice
