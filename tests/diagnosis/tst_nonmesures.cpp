// Rates resting on unmeasured values: which chosen foods the side table
// NONMESUR.DBF marks, and the marks page 2 draws for them (on screen and on
// the printed sheet), read back from the supplied tables.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "core/compose/compositefood.h"
#include "core/dbf/dbf.h"
#include "core/foodtable/foodeditor.h"
#include "core/compose/nonmesures.h"
#include "core/diagnosis/page2.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "diagnosis/pagetestdata.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"

namespace {
// A Base food of the supplied tables whose vitamin D was not measured, and
// one whose every value was.
struct Foods {
    QString sansVitD;
    int numeroSansVitD = 0;
    QString mesure;
};

Foods suppliedFoods() {
    Foods f;
    const QString dir = Fixtures::suppliedTablesDir();
    const auto side = DbfFile::open(QDir(dir).filePath(nonMesuresSchema().fileName), true);
    QSet<QString> marques;
    for (int r = 0; r < side->recordCount(); ++r) {
        const QString nom = side->text(r, side->fieldIndex("NOM")).trimmed();
        marques << nom;
        if (f.sansVitD.isEmpty() && side->text(r, side->fieldIndex("VIT_D")) == QLatin1String("T")) {
            f.sansVitD = nom;
            f.numeroSansVitD = int(side->number(r, side->fieldIndex("NUMERO")));
        }
    }
    const auto food = DbfFile::open(QDir(dir).filePath(foodSchema().fileName), true);
    for (int r = 0; r < food->recordCount() && f.mesure.isEmpty(); ++r) {
        const QString nom = food->text(r, food->fieldIndex("NOM")).trimmed();
        if (!marques.contains(nom)) f.mesure = nom;
    }
    return f;
}

QVariantMap line(const QString& nom, double qte) {
    QVariantMap m;
    m["NOM"] = nom;
    m["QTE"] = qte;
    m["VIT_D"] = 0.001;
    m["CALORIES"] = 100.0;
    return m;
}
}   // namespace

class TestNonMesures : public QObject {
    Q_OBJECT
    Foods foods;
    std::unique_ptr<TempDataDir> dir;

    NonMesures read(const QVector<QVariantMap>& lines) {
        Fixtures::appendRecords(choiceSchema(), dir->file("CHOIX.DBF"), lines);
        Table t(dir->run(), choiceSchema());
        t.setDirectory(dir->path());
        t.setReadOnly(true);
        t.open();
        NonMesures nm = lisNonMesures(t, dir->path());
        nm.aliments = alimentsNonMesuresPage2(nm);
        return nm;
    }

private slots:
    void initTestCase() {
        foods = suppliedFoods();
        QVERIFY(!foods.sansVitD.isEmpty());
        QVERIFY(!foods.mesure.isEmpty());
    }
    void init() {
        dir = std::make_unique<TempDataDir>();
        for (const QString& t : {foodSchema().fileName, nonMesuresSchema().fileName})
            QVERIFY(QFile::copy(QDir(Fixtures::suppliedTablesDir()).filePath(t), dir->file(t)));
        Fixtures::createEmpty(choiceSchema(), dir->path());
        Fixtures::createEmpty(compositeSchema(), dir->path());
    }
    void cleanup() { dir.reset(); }

    void whichFoodsAreMarked_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("vitD");
        QTest::addColumn<int>("aliments");
        QTest::newRow("food without vitamin D") << "" << true << 1;
        QTest::newRow("twice the same food") << "twice" << true << 2;
        QTest::newRow("measured food only") << "measured" << false << 0;
        QTest::newRow("line of 0 g") << "zero" << false << 0;
        QTest::newRow("older Data directory") << "noSideTable" << false << 0;
        QTest::newRow("replaced Food table") << "renumbered" << false << 0;
    }
    void whichFoodsAreMarked() {
        QFETCH(QString, setup);
        QFETCH(bool, vitD);
        QFETCH(int, aliments);
        QVector<QVariantMap> lines{
            line(setup == "measured" ? foods.mesure : foods.sansVitD, setup == "zero" ? 0 : 150),
            line(foods.mesure, 100)};
        if (setup == "twice") lines << line(foods.sansVitD, 50);
        if (setup == "noSideTable") QVERIFY(QFile::remove(dir->file(nonMesuresSchema().fileName)));
        if (setup == "renumbered") {
            // The same name under another number: a Food table the side table
            // was not made for.
            Table food(dir->run(), foodSchema());
            food.setDirectory(dir->path());
            food.open();
            QVERIFY(food.locate("NOM", foods.sansVitD));
            food.setFloat("NUMERO", 9999);
            food.post();
        }
        const NonMesures nm = read(lines);
        QCOMPARE(nm.marque(DailyTotals::VIT_D), vitD);
        QCOMPARE(nm.aliments, aliments);
    }

    // The side table written back: a food's marks replaced, forgotten field by
    // field when typed in the editing window, and its record gone with the
    // last mark; an older Data directory without the table is left so.
    void sideTableWritten() {
        const QString nom = foods.sansVitD;
        const double numero = foods.numeroSansVitD;
        auto marks = [&]() {
            QFile::remove(dir->file("CHOIX.DBF"));
            Fixtures::createEmpty(choiceSchema(), dir->path());
            return read({line(nom, 100)}).champs();
        };
        FichierNonMesures::marque(dir->run(), dir->path(), numero, nom, {"VIT_D", "CL"});
        QCOMPARE(marks(), QStringList({"CL", "VIT_D"}));

        // Typing vitamin D in the editing window makes it measured.
        Table food(dir->run(), foodSchema());
        Table compo(dir->run(), compositeSchema());
        food.setDirectory(dir->path());
        compo.setDirectory(dir->path());
        food.setIndexName("NOM");
        compo.setIndexName("NOM_COMPO");
        food.open();
        compo.open();
        FoodEditor editor(food, compo);
        QVERIFY(food.locate("NOM", nom));
        editor.ecritTexte("VIT_D", "0,002");
        QVERIFY(editor.confirme());
        QCOMPARE(marks(), QStringList({"CL"}));

        FichierNonMesures::oublie(dir->run(), dir->path(), numero, nom, {"CL"});
        QVERIFY(marks().isEmpty());
        const auto side = DbfFile::open(dir->file(nonMesuresSchema().fileName), true);
        for (int r = 0; r < side->recordCount(); ++r)
            if (!side->isDeleted(r)) QVERIFY(side->text(r, side->fieldIndex("NOM")).trimmed() != nom);

        QVERIFY(QFile::remove(dir->file(nonMesuresSchema().fileName)));
        FichierNonMesures::marque(dir->run(), dir->path(), numero, nom, {"VIT_D"});
        QVERIFY(!QFile::exists(dir->file(nonMesuresSchema().fileName)));
    }

    // A composite inherits the marks of its ingredients when it is saved, and
    // a day holding it is marked in turn.
    void compositeInheritsMarks() {
        QFile::copy(dir->file("CHOIX.DBF"), dir->file("choix0.dbf"));
        Table food(dir->run(), foodSchema()), choice(dir->run(), choiceSchema()),
            compo(dir->run(), compositeSchema());
        for (Table* t : {&food, &choice, &compo}) t->setDirectory(dir->path());
        food.setIndexName("NOM");
        compo.setIndexName("NOM_COMPO");
        for (Table* t : {&food, &choice, &compo}) t->open();
        CompositeFood composite(food, choice, compo);
        composite.commence("Soupe maison");
        composite.metDeCote();
        for (const QString& nom : {foods.sansVitD, foods.mesure}) {
            choice.append();
            choice.setString("NOM", nom);
            choice.setFloat("QTE", 100);
            choice.post();
        }
        ScriptedPrompter p(dir->run());
        p.answer(true);
        DailyTotals totals;
        QVERIFY(composite.enregistre(totals));
        composite.restaure();
        QCOMPARE(p.unexpected, 0);

        QFile::remove(dir->file("CHOIX.DBF"));
        Fixtures::createEmpty(choiceSchema(), dir->path());
        const NonMesures nm = read({line("Soupe maison", 200)});
        QVERIFY(nm.marque(DailyTotals::VIT_D));
        QCOMPARE(nm.aliments, 1);
    }

    // Page 2 marks the vitamin D rate and says under the list for how many
    // chosen foods; the other rates and the rest of the page are unchanged.
    void page2Marks() {
        DiagnosisData d = PageTest::baseline();
        d.totals[DailyTotals::VIT_D] = 0.004;
        for (const DiagLayout& layout : {DiagLayout::ecran(), DiagLayout::papier(6)}) {
            // Letters as wide on paper as the paper's scale makes them.
            RecordingSurface plain(layout.x(6)), marked(layout.x(6));
            dessinePage2(plain, layout, d);
            DiagnosisData withMarks = d;
            withMarks.nonMesures.manquants[DailyTotals::VIT_D] = true;
            withMarks.nonMesures.aliments = 2;
            dessinePage2(marked, layout, withMarks);
            auto is = [](const char* text) {
                return [t = QString::fromUtf8(text)](const RecordingSurface::Op& op) { return op.text == t; };
            };
            QCOMPARE(PageTest::countTexts(marked, is("*")), 1);
            QCOMPARE(PageTest::countTexts(marked, is("* valeur non mesurée pour 2 aliments choisis")), 1);
            // Nothing else changes: the marked page is the plain one plus two texts.
            QCOMPARE(marked.texts().size(), plain.texts().size() + 2);
            const int vitD = PageTest::indexOf(marked, "- Vit. D");
            QVERIFY(vitD >= 0);
            const int star = PageTest::indexOf(marked, "*");
            QCOMPARE(marked.ops[star].y, marked.ops[vitD].y);
            // The mark stands after the rate's " %", covering none of it.
            QCOMPARE(marked.overlaps(), QStringList());
        }
        QCOMPARE(texteNonMesures(1), QStringLiteral("* valeur non mesurée pour 1 aliment choisi"));
    }
};

QTEST_MAIN(TestNonMesures)
#include "tst_nonmesures.moc"
