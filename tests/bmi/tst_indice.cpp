// The body mass index computed from the spin edits' texts: the value shown
// under a French and an English locale, "," and "." both read as the decimal
// point under either, the class bounds, the caps, and the height 0 (or a
// height that is not a number) that computes nothing.
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
        QTest::addColumn<double>("poidsGarde");
        QTest::addColumn<double>("tailleGardee");
        QTest::newRow("70 kg, 175 cm") << "70" << "175" << "22,86" << "22.86" << Classe::Normal << 70.0 << 175.0;
        QTest::newRow("exactly 25 is normal") << "81" << "180" << "25,00" << "25.00" << Classe::Normal << 81.0 << 180.0;
        QTest::newRow("exactly 18.5 is normal") << "74" << "200" << "18,50" << "18.50" << Classe::Normal << 74.0 << 200.0;
        QTest::newRow("just below 18.5") << "73" << "200" << "18,25" << "18.25" << Classe::Maigre << 73.0 << 200.0;
        QTest::newRow("just above 25") << "82" << "180" << "25,31" << "25.31" << Classe::Surpoids << 82.0 << 180.0;
        QTest::newRow("exactly 30 is obese") << "120" << "200" << "30,00" << "30.00" << Classe::Obese << 120.0 << 200.0;
        QTest::newRow("weight 0") << "0" << "170" << "0,00" << "0.00" << Classe::Maigre << 0.0 << 170.0;
        QTest::newRow("weight above 200 capped") << "300" << "200" << "50,00" << "50.00" << Classe::Obese << 200.0 << 200.0;
        QTest::newRow("height above 250 capped") << "125" << "300" << "20,00" << "20.00" << Classe::Normal << 125.0 << 250.0;
        QTest::newRow("weight not a number reads 0") << "7a" << "170" << "0,00" << "0.00" << Classe::Maigre << 0.0 << 170.0;
        QTest::newRow("blanks around the numbers") << " 70 " << " 175" << "22,86" << "22.86" << Classe::Normal << 70.0 << 175.0;
        // A decimal point typed either way, under either locale.
        QTest::newRow("decimal comma") << "72,5" << "175" << "23,67" << "23.67" << Classe::Normal << 72.5 << 175.0;
        QTest::newRow("decimal point") << "70" << "175.5" << "22,73" << "22.73" << Classe::Normal << 70.0 << 175.5;
        QTest::newRow("two separators read 0") << "7,2.5" << "170" << "0,00" << "0.00" << Classe::Maigre << 0.0 << 170.0;
        // Five significant digits, then two decimals: 1314.924 shows 1314,90.
        QTest::newRow("precision of five digits") << "200" << "39" << "1314,90" << "1314.90" << Classe::Obese << 200.0 << 39.0;
        QTest::newRow("five digits before the separator") << "200" << "5" << "80000,00" << "80000.00" << Classe::Obese << 200.0 << 5.0;
        QTest::newRow("six digits: exponent") << "200" << "4" << "1,25E5" << "1.25E5" << Classe::Obese << 200.0 << 4.0;
        QTest::newRow("seven digits: exponent") << "200" << "1" << "2E6" << "2E6" << Classe::Obese << 200.0 << 1.0;
        QTest::newRow("exponent rounded to five digits") << "200" << "3" << "2,2222E5" << "2.2222E5" << Classe::Obese << 200.0 << 3.0;
    }
    void calcule() {
        QFETCH(QString, poids);
        QFETCH(QString, taille);
        QFETCH(QString, francais);
        QFETCH(QString, anglais);
        QFETCH(Classe, classe);
        QFETCH(double, poidsGarde);
        QFETCH(double, tailleGardee);
        // The texts read the same whatever the program's locale.
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::French, QLocale::France)}) {
            QLocale::setDefault(locale);
            const Indice::Calcul fr = Indice::calcule(poids, taille, QLocale(QLocale::French, QLocale::France));
            QVERIFY(!fr.vide);
            QCOMPARE(fr.texte, francais);
            QCOMPARE(fr.classe, classe);
            QCOMPARE(fr.poids, poidsGarde);
            QCOMPARE(fr.taille, tailleGardee);
            const Indice::Calcul en = Indice::calcule(poids, taille, QLocale(QLocale::English, QLocale::UnitedStates));
            QCOMPARE(en.texte, anglais);
        }
        QLocale::setDefault(QLocale::c());
    }

    // Height 0 (or a height that is not a number) computes nothing and caps
    // nothing: a weight of 300 stays as typed.
    void heightZeroComputesNothing_data() {
        QTest::addColumn<QString>("poids");
        QTest::addColumn<QString>("taille");
        QTest::newRow("0 cm") << "70" << "0";
        QTest::newRow("empty height") << "70" << "";
        QTest::newRow("weight 300 kept") << "300" << "0";
        QTest::newRow("height not a number") << "70" << "1,7,5";
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
