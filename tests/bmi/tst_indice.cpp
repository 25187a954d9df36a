// The body mass index computed from the spin edits' texts: the value shown
// under a French and an English locale, "," and "." both read as the decimal
// point under the C and the French locale, the class bounds, the caps, and
// the height 0 (or a height that is not a number) that computes nothing.
#include <QtTest>

#include "core/bmi/indice.h"

using Indice::Classe;
Q_DECLARE_METATYPE(Indice::Classe)

class TestIndice : public QObject {
    Q_OBJECT
private slots:
    void calcule_data() {
        QTest::addColumn<QString>("poids");
        QTest::addColumn<QString>("taille");
        QTest::addColumn<QString>("francais");
        QTest::addColumn<QString>("anglais");
        QTest::addColumn<Classe>("classe");
        QTest::addColumn<int>("poidsGarde");
        QTest::addColumn<int>("tailleGardee");
        QTest::newRow("70 kg, 175 cm") << "70"
                                       << "175"
                                       << "22,86"
                                       << "22.86" << Classe::Normal << 70 << 175;
        QTest::newRow("exactly 25 is normal") << "81"
                                              << "180"
                                              << "25,00"
                                              << "25.00" << Classe::Normal << 81 << 180;
        QTest::newRow("exactly 18.5 is normal") << "74"
                                                << "200"
                                                << "18,50"
                                                << "18.50" << Classe::Normal << 74 << 200;
        QTest::newRow("just below 18.5") << "73"
                                         << "200"
                                         << "18,25"
                                         << "18.25" << Classe::Maigre << 73 << 200;
        QTest::newRow("just above 25") << "82"
                                       << "180"
                                       << "25,31"
                                       << "25.31" << Classe::Surpoids << 82 << 180;
        QTest::newRow("exactly 30 is obese") << "120"
                                             << "200"
                                             << "30,00"
                                             << "30.00" << Classe::Obese << 120 << 200;
        QTest::newRow("weight 0") << "0"
                                  << "170"
                                  << "0,00"
                                  << "0.00" << Classe::Maigre << 0 << 170;
        QTest::newRow("weight above 200 capped") << "300"
                                                 << "200"
                                                 << "50,00"
                                                 << "50.00" << Classe::Obese << 200 << 200;
        QTest::newRow("height above 250 capped") << "125"
                                                 << "300"
                                                 << "20,00"
                                                 << "20.00" << Classe::Normal << 125 << 250;
        QTest::newRow("weight not a number reads 0") << "7a"
                                                     << "170"
                                                     << "0,00"
                                                     << "0.00" << Classe::Maigre << 0 << 170;
        QTest::newRow("blanks around the numbers") << " 70 "
                                                   << " 175"
                                                   << "22,86"
                                                   << "22.86" << Classe::Normal << 70 << 175;
        // Five significant digits, then two decimals: 1314.924 shows 1314,90.
        QTest::newRow("precision of five digits") << "200"
                                                  << "39"
                                                  << "1314,90"
                                                  << "1314.90" << Classe::Obese << 200 << 39;
        QTest::newRow("five digits before the separator") << "200"
                                                          << "5"
                                                          << "80000,00"
                                                          << "80000.00" << Classe::Obese << 200 << 5;
        QTest::newRow("six digits: exponent") << "200"
                                              << "4"
                                              << "1,25E5"
                                              << "1.25E5" << Classe::Obese << 200 << 4;
        QTest::newRow("seven digits: exponent") << "200"
                                                << "1"
                                                << "2E6"
                                                << "2E6" << Classe::Obese << 200 << 1;
        QTest::newRow("exponent rounded to five digits") << "200"
                                                         << "3"
                                                         << "2,2222E5"
                                                         << "2.2222E5" << Classe::Obese << 200 << 3;
    }
    void calcule() {
        QFETCH(QString, poids);
        QFETCH(QString, taille);
        QFETCH(QString, francais);
        QFETCH(QString, anglais);
        QFETCH(Classe, classe);
        QFETCH(int, poidsGarde);
        QFETCH(int, tailleGardee);
        const Indice::Calcul fr = Indice::calcule(poids, taille, QLocale(QLocale::French, QLocale::France));
        QVERIFY(!fr.vide);
        QCOMPARE(fr.texte, francais);
        QCOMPARE(fr.classe, classe);
        QCOMPARE(fr.poids, double(poidsGarde));
        QCOMPARE(fr.taille, double(tailleGardee));
        const Indice::Calcul en =
            Indice::calcule(poids, taille, QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(en.texte, anglais);
    }

    void decimalSeparators_data() {
        QTest::addColumn<QString>("poids");
        QTest::addColumn<QString>("taille");
        QTest::addColumn<QString>("francais");
        QTest::newRow("decimal comma") << "72,5"
                                       << "175"
                                       << "23,67";
        QTest::newRow("decimal point") << "70"
                                       << "175.5"
                                       << "22,73";
        QTest::newRow("two separators read 0") << "7,2.5"
                                               << "170"
                                               << "0,00";
    }
    void decimalSeparators() {
        QFETCH(QString, poids);
        QFETCH(QString, taille);
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::French, QLocale::France)}) {
            QLocale::setDefault(locale);
            QTEST(Indice::calcule(poids, taille, QLocale(QLocale::French, QLocale::France)).texte, "francais");
        }
        QLocale::setDefault(QLocale::c());
    }

    // Height 0 (or a height that is not a number) computes nothing and caps
    // nothing: a weight of 300 stays as typed.
    void heightZeroComputesNothing_data() {
        QTest::addColumn<QString>("poids");
        QTest::addColumn<QString>("taille");
        QTest::newRow("0 cm") << "70"
                              << "0";
        QTest::newRow("empty height") << "70"
                                      << "";
        QTest::newRow("weight 300 kept") << "300"
                                         << "0";
        QTest::newRow("height not a number") << "70"
                                             << "1,7,5";
    }
    void heightZeroComputesNothing() {
        QFETCH(QString, poids);
        QFETCH(QString, taille);
        const Indice::Calcul c = Indice::calcule(poids, taille, QLocale(QLocale::French));
        QVERIFY(c.vide);
        QVERIFY(c.texte.isEmpty());
        QCOMPARE(c.poids, Indice::nombreDe(poids));
    }
};

QTEST_APPLESS_MAIN(TestIndice)
#include "tst_indice.moc"
