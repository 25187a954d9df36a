// The word search shared by the composition and CIQUAL windows: every typed
// word in any order, letter case, accents and punctuation aside, and the best
// matches first (the names starting with the text, then those whose words
// start with the typed words, then the others, each in the order given).
#include <QtTest>

#include "core/search/wordsearch.h"

namespace {
const QStringList kNames = {
    "Poulet, rôti",      "Crème fraîche", "Rôti de porc", "Pomme",    "Pommes de terre, cuites",
    "Compote de pommes", "Œuf dur",       "Boeuf, steak", "Épinards", "Riz 1/2 complet"};
}

class TestWordSearch : public QObject {
    Q_OBJECT
private slots:
    void fold() {
        QCOMPARE(WordSearch::fold(QStringLiteral("  L'Œuf, à la CRÈME ! ")), QByteArray("l oeuf a la creme"));
        QCOMPARE(WordSearch::fold(QStringLiteral("Riz ½ 1/2")), QByteArray("riz 1 2"));
        QCOMPARE(WordSearch::fold(QStringLiteral(",;-")), QByteArray());
    }

    void find_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("two words") << "poulet roti" << QStringList{"Poulet, rôti"};
        QTest::newRow("any order") << "roti poulet" << QStringList{"Poulet, rôti"};
        QTest::newRow("accents typed or not") << "CRÈME fraiche" << QStringList{"Crème fraîche"};
        QTest::newRow("ligature") << "oeuf" << QStringList{"Œuf dur", "Boeuf, steak"};
        QTest::newRow("start before word before inside")
            << "pomme" << QStringList{"Pomme", "Pommes de terre, cuites", "Compote de pommes"};
        QTest::newRow("every word, each starting a word")
            << "pomme de" << QStringList{"Pommes de terre, cuites", "Compote de pommes"};
        QTest::newRow("inside words, in the given order")
            << "ti" << QStringList{"Poulet, rôti", "Rôti de porc"};
        QTest::newRow("digits") << "1 2" << QStringList{"Riz 1/2 complet"};
        QTest::newRow("a word no name holds") << "poulet frit" << QStringList{};
        QTest::newRow("outside cp1252") << QString::fromUtf8("ő") << QStringList{};
        QTest::newRow("no word: every name") << " ,; " << kNames;
    }
    void find() {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        const WordSearch search(kNames);
        QStringList got;
        for (int i : search.find(typed)) got << kNames.at(i);
        QCOMPARE(got, found);
    }
};

QTEST_GUILESS_MAIN(TestWordSearch)
#include "tst_wordsearch.moc"
