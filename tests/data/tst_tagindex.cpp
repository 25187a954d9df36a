// Index tags built when first used: a tag selected before, during or after a
// run of appends, edits and deletes gives the same order as sorting the
// records afresh; and the schemas' tag descriptions fit their fields.
#include <QtTest>

#include <algorithm>
#include <random>

#include "core/dbf/collation.h"
#include "core/table/table.h"
#include "support/testsupport.h"

namespace {

struct Row {
    int numero;   // records are appended in NUMERO order: it is the record order
    QString nom;
    QString categorie;
    double protA;
};

// Names and values chosen to tie often: equal values, names equal but for
// case or accents.
const QStringList kNames = {"Pomme", "pomme", "Épinards", "Epinards", "Œuf", "oeuf", "Cèpe", "cepe", "Zeste"};
const QStringList kCategories = {"FRUITS", "POISSONS", "LÉGUMES FÉCULENTS"};
const double kValues[] = {0, 0.5, 1, 2, 12.5};

QVector<Row> rowsInOrder(Table& t) {
    QVector<Row> out;
    for (t.first(); !t.eof(); t.next())
        out.push_back(
            {int(t.asFloat("NUMERO")), t.asString("NOM"), t.asString("CATEGORIE"), t.asFloat("PROT_A")});
    return out;
}

// The order a tag must give, sorted afresh from the rows.
QList<int> expectedOrder(QVector<Row> rows, const QString& tag) {
    auto text = [](const QString& a, const QString& b) {
        return Collation::compare(Collation::key(a), Collation::key(b));
    };
    std::sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        int c = 0;
        if (tag == "NOM")
            c = text(a.nom, b.nom);
        else if (tag == "CATEGORIE")
            c = text(a.categorie, b.categorie);
        else if (tag == "PROT_A") {
            c = a.protA > b.protA ? -1 : (a.protA < b.protA ? 1 : 0);
            if (c == 0) c = text(a.nom, b.nom);
        }
        return c != 0 ? c < 0 : a.numero < b.numero;
    });
    QList<int> out;
    for (const Row& r : rows) out << r.numero;
    return out;
}

QList<int> numeros(const QVector<Row>& rows) {
    QList<int> out;
    for (const Row& r : rows) out << r.numero;
    return out;
}

}   // namespace

class TestTagIndex : public QObject {
    Q_OBJECT
private slots:
    // "before": the tag is kept up to date through every change; "after": it
    // is first built on the changed file; "between": built half-way, then
    // kept up to date (a nutrient tag then holds the tie-break names of its
    // ties only, and later changes make new ties).
    void orderAfterChanges_data() {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("when");
        for (const char* tag : {"NOM", "NUMERO", "PROT_A", "CATEGORIE"})
            for (const char* when : {"before", "after", "between"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(tag, when)))
                    << QString::fromLatin1(tag) << QString::fromLatin1(when);
    }
    void orderAfterChanges() {
        QFETCH(QString, tag);
        QFETCH(QString, when);
        TempDataDir dir;
        const QString path = Fixtures::createEmpty(foodSchema(), dir.path());
        std::mt19937 rng(11);
        auto name = [&] { return kNames[int(rng() % kNames.size())]; };
        auto value = [&] { return kValues[rng() % 5]; };
        QVector<QVariantMap> start;
        int numero = 0;
        for (; numero < 40; ++numero)
            start << QVariantMap{{"NUMERO", numero + 1},
                                 {"NOM", name()},
                                 {"CATEGORIE", kCategories[numero % 3]},
                                 {"PROT_A", value()}};
        Fixtures::appendRecords(foodSchema(), path, start);

        Table t(dir.run(), foodSchema());
        t.setIndexName(when == "before" ? tag : QString());
        t.open();
        const int steps = 120;
        for (int step = 0; step < steps; ++step) {
            if (when == "between" && step == steps / 2) t.setIndexName(tag);
            const int op = int(rng() % 4);
            if (op == 0 || t.rowCount() < 5) {
                t.append();
                t.setFloat("NUMERO", ++numero);
                t.setString("NOM", name());
                t.setString("CATEGORIE", kCategories[int(rng() % 3)]);
                t.setFloat("PROT_A", value());
                t.post();
                continue;
            }
            t.moveToRow(int(rng() % t.rowCount()));
            if (op == 1) {
                t.deleteRecord();
                continue;
            }
            if (op == 2 || rng() % 2) t.setString("NOM", name());
            if (op == 3 || rng() % 2) t.setFloat("PROT_A", value());
            if (rng() % 4 == 0) t.setString("CATEGORIE", kCategories[int(rng() % 3)]);
            t.next();   // posts the change by moving on
        }
        if (when == "after") t.setIndexName(tag);
        const QVector<Row> got = rowsInOrder(t);
        t.setIndexName(QString());
        const QVector<Row> natural = rowsInOrder(t);
        QCOMPARE(got.size(), natural.size());
        QCOMPARE(numeros(got), expectedOrder(natural, tag));

        // The same order from a fresh open of the file.
        t.close();
        t.setIndexName(tag);
        t.open();
        QCOMPARE(numeros(rowsInOrder(t)), expectedOrder(natural, tag));
    }

    // A nutrient tag built while the name tag is not: editing the name of a
    // food tied on the nutrient moves it among its ties, and a food given a
    // value it shares with others lands among them in name order.
    void tieBreakFollowsEdits() {
        TempDataDir dir;
        const QString path = Fixtures::createEmpty(foodSchema(), dir.path());
        Fixtures::appendRecords(foodSchema(), path,
                                {{{"NUMERO", 1}, {"NOM", "Banane"}, {"PROT_A", 1.0}},
                                 {{"NUMERO", 2}, {"NOM", "Abricot"}, {"PROT_A", 1.0}},
                                 {{"NUMERO", 3}, {"NOM", "Cerise"}, {"PROT_A", 5.0}},
                                 {{"NUMERO", 4}, {"NOM", "Datte"}, {"PROT_A", 3.0}}});
        Table t(dir.run(), foodSchema());
        t.setIndexName("PROT_A");
        t.open();
        QCOMPARE(numeros(rowsInOrder(t)), (QList<int>{3, 4, 2, 1}));
        QVERIFY(t.findKey("1"));   // Abricot, first of the ties
        t.setString("NOM", "Coing");
        t.post();
        QCOMPARE(numeros(rowsInOrder(t)), (QList<int>{3, 4, 1, 2}));
        QVERIFY(t.findKey("5"));   // Cerise joins the ties, between Banane and Coing
        t.setFloat("PROT_A", 1.0);
        t.post();
        QCOMPARE(numeros(rowsInOrder(t)), (QList<int>{4, 1, 3, 2}));
        t.setIndexName("NOM");
        QCOMPARE(numeros(rowsInOrder(t)), (QList<int>{1, 3, 2, 4}));
    }

    // Every declared tag keys on a field of its table, of its own kind, and
    // breaks ties on a field of the table.
    void descriptionsFitFields_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("Food") << 0;
        QTest::newRow("Choice") << 1;
        QTest::newRow("Composite") << 2;
    }
    void descriptionsFitFields() {
        QFETCH(int, which);
        const TableSchema& s = which == 0 ? foodSchema() : which == 1 ? choiceSchema() : compositeSchema();
        for (const TagDescription& d : s.tags) {
            const DbfField* f = s.field(d.field);
            QVERIFY2(f, qPrintable(d.name));
            QCOMPARE(f->type == 'N', d.kind == TagDescription::Kind::Number);
            if (!d.tieBreak.isEmpty()) QVERIFY2(s.field(d.tieBreak), qPrintable(d.name));
        }
        QVERIFY(s.defaultTag.isEmpty() || s.tag(s.defaultTag));
    }

    void foodTagRules() {
        const TableSchema& s = foodSchema();
        QCOMPARE(s.tags.size(), 33);
        for (const QString& n : nutrientTags()) {
            const TagDescription* d = s.tag(n.toLower());
            QVERIFY(d);
            QCOMPARE(d->direction, TagDescription::Direction::Descending);
            QCOMPARE(d->tieBreak, QStringLiteral("NOM"));
        }
        QCOMPARE(s.tag("NUMERO")->direction, TagDescription::Direction::Ascending);
        QVERIFY(s.tag("NOM")->tieBreak.isEmpty());
        QVERIFY(!s.tag("FIBRES"));
        QVERIFY(choiceSchema().tags.isEmpty());
        QCOMPARE(compositeSchema().tagNames(), (QStringList{"NOM_COMPO", "NOM"}));
    }
};

QTEST_GUILESS_MAIN(TestTagIndex)
#include "tst_tagindex.moc"
