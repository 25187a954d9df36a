#include "core/bmi/indice.h"

#include <QtMath>
#include <algorithm>

#include "core/schema/numformat.h"

namespace Indice {

namespace {
const int kPrecision = 5;   // significant digits kept
const int kDecimales = 2;

// Writes "<mantissa>E<exponent>" with trailing zeros of the mantissa dropped
// and no sign or leading zeros on a positive exponent.
QString exponentDe(double value, const QLocale& locale) {
    const QString e = QString::number(value, 'e', kPrecision - 1);   // d.dddde+XX
    const int at = e.indexOf(QLatin1Char('e'));
    QString mantissa = e.left(at);
    while (mantissa.contains(QLatin1Char('.')) && mantissa.endsWith(QLatin1Char('0'))) mantissa.chop(1);
    if (mantissa.endsWith(QLatin1Char('.'))) mantissa.chop(1);
    mantissa.replace(QLatin1Char('.'), locale.decimalPoint());
    const int exponent = e.mid(at + 1).toInt();
    return mantissa + QLatin1Char('E') + QString::number(exponent);
}
}   // namespace

double nombreDe(const QString& text) {
    double v = 0;
    return NumFormat::LitSaisie(text, &v) ? v : 0.0;
}

double indice(double poids, double taille) { return poids * 10000.0 / (taille * taille); }

Classe classeDe(double indice) {
    if (indice < 18.5) return Classe::Maigre;
    if (indice <= 25) return Classe::Normal;
    if (indice < 30) return Classe::Surpoids;
    return Classe::Obese;
}

QString texteDe(double indice, const QLocale& locale) {
    // Rounded to the precision first: 1314.924 becomes 1314.9, shown 1314,90.
    const double rounded = QString::number(indice, 'e', kPrecision - 1).toDouble();
    const double magnitude = qAbs(rounded);
    if (magnitude >= 1e5) return exponentDe(rounded, locale);
    QLocale plain(locale);
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(rounded, 'f', kDecimales);
}

Calcul calcule(const QString& poidsTexte, const QString& tailleTexte, const QLocale& locale) {
    Calcul c;
    c.poids = nombreDe(poidsTexte);
    c.taille = nombreDe(tailleTexte);
    if (c.taille == 0) return c;
    c.poids = std::min(c.poids, double(PoidsMaximum));
    c.taille = std::min(c.taille, double(TailleMaximum));
    c.vide = false;
    c.indice = indice(c.poids, c.taille);
    c.texte = texteDe(c.indice, locale);
    c.classe = classeDe(c.indice);
    return c;
}

}   // namespace Indice
