// The supplied Food table: the Base foods as chosen in foods.csv, their values
// as the CIQUAL rules give them, and their Food energy against CIQUAL's own.
#include <QSet>
#include <QtTest>

#include "ciqualtable.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "foodlist.h"
#include "nutrientrules.h"
#include "suppliedtables.h"
#include "support/testsupport.h"
#include "unmeasuredtable.h"

namespace {

const QString kDataDir = QStringLiteral(NUTRIMO_SOURCE_DIR "/data");

// The parts of CIQUAL's energy (EU regulation 1169/2011) that the Food energy
// 4 x proteins + 9 x lipids + 4 x (sugars + starch) does not count.
enum Reason { Fibres = 1, Alcool = 2, Polyols = 4, AcidesOrganiques = 8 };

// Energy check: the Food energy of a Base food is within max(5 kcal, 5 %) of
// CIQUAL's energy, or the food is listed here and the listed components
// (fibre 2 kcal/g, alcohol 7, polyols 2.4, organic acids 3) explain the gap
// within the same tolerance. The same list is in data/README.md.
struct Exception {
    int numero;
    const char* nom;
    int reasons;
};
const Exception kExceptions[] = {
    {77, "Yaourt nature", Fibres | AcidesOrganiques},
    {113, "Pain complet", Fibres},
    {121, "Pâtes complètes, cuites", Fibres},
    {123, "Blé précuit, cuit", Fibres},
    {125, "Quinoa, cuit", Fibres},
    {127, "Flocons d'avoine", Fibres},
    {134, "Carotte crue", Fibres},
    {141, "Céleri-rave cru", Fibres},
    {142, "Poivron rouge cru", Fibres | Polyols | AcidesOrganiques},
    {143, "Chou rouge cru", Fibres},
    {146, "Oignon cru", Fibres},
    {147, "Carottes cuites", Fibres},
    {148, "Haricots verts cuits", Fibres},
    {152, "Épinards cuits", Fibres},
    {153, "Poireau cuit", Fibres},
    {154, "Chou vert cuit", Fibres},
    {155, "Choux de Bruxelles cuits", Fibres},
    {156, "Aubergine cuite", Fibres | AcidesOrganiques},
    {157, "Artichaut cuit", Fibres | AcidesOrganiques},
    {161, "Potiron cuit", Fibres | AcidesOrganiques},
    {162, "Haricots verts en conserve", Fibres},
    {168, "Lentilles cuites", Fibres},
    {169, "Haricots blancs cuits", Fibres},
    {170, "Haricots rouges cuits", Fibres},
    {171, "Flageolets cuits", Fibres},
    {172, "Pois chiches cuits", Fibres},
    {173, "Petits pois cuits", Fibres},
    {174, "Maïs doux en conserve", Fibres},
    {177, "Banane", Fibres},
    {178, "Orange", Fibres | AcidesOrganiques},
    {179, "Clémentine", Fibres | AcidesOrganiques},
    {181, "Kiwi", Fibres | AcidesOrganiques},
    {182, "Fraises", Fibres | AcidesOrganiques},
    {191, "Mangue", Fibres | AcidesOrganiques},
    {219, "Vin rouge", Alcool},
    {221, "Cidre doux", Alcool | Polyols},
    {223, "Ketchup", Fibres | AcidesOrganiques},
    {224, "Vinaigre", Alcool | AcidesOrganiques},
    {227, "Cornichons", Fibres | AcidesOrganiques},
    {228, "Levure alimentaire", Fibres},
    {229, "Germe de blé", Fibres},
    {230, "Son de blé", Fibres},
};

}   // namespace

class TestSuppliedFoods : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void baseFoodsInOrder();
    void namesAndCategories();
    void valuesFollowTheRules();
    void energyAgainstCiqual();
    void openedByTheTableHandle();
    void unmeasuredBesideTheFoodTable();
    void readmeListsStayTrue_data();
    void readmeListsStayTrue();

private:
    std::unique_ptr<DbfFile> m_table;
    std::unique_ptr<CiqualTable> m_ciqual;
    QVector<BaseFood> m_foods;
};

void TestSuppliedFoods::initTestCase() {
    m_table = DbfFile::open(Fixtures::suppliedTablesDir() + "/DIETAB.DBF", true);
    m_ciqual = std::make_unique<CiqualTable>(CiqualTable::read(kDataDir + "/sources/ciqual-2020.csv"));
    m_foods = FoodList::read(kDataDir + "/foods.csv", *m_ciqual);
}

void TestSuppliedFoods::baseFoodsInOrder() {
    QCOMPARE(m_table->recordCount(), DernierAlimentDeBase);
    QCOMPARE(m_table->fields().size(), foodSchema().fields.size());
    for (int f = 0; f < foodSchema().fields.size(); ++f) {
        QCOMPARE(m_table->fields().at(f).name, foodSchema().fields.at(f).name);
        QCOMPARE(m_table->fields().at(f).length, foodSchema().fields.at(f).length);
    }
    const int numero = m_table->fieldIndex("NUMERO");
    for (int r = 0; r < m_table->recordCount(); ++r) {
        QVERIFY(!m_table->isDeleted(r));
        QCOMPARE(m_table->number(r, numero), double(r + 1));
    }
}

void TestSuppliedFoods::namesAndCategories() {
    const int nom = m_table->fieldIndex("NOM"), cat = m_table->fieldIndex("CATEGORIE");
    QSet<QString> names;
    QHash<QString, int> perCategory;
    for (int r = 0; r < m_table->recordCount(); ++r) {
        const QString name = m_table->text(r, nom);
        QCOMPARE(name, m_foods.at(r).nom);
        QVERIFY2(!name.isEmpty() && name == name.trimmed() && name.size() <= 30, qPrintable(name));
        QVERIFY2(!names.contains(name.toCaseFolded()), qPrintable(name));
        names.insert(name.toCaseFolded());
        const QString category = m_table->text(r, cat);
        QVERIFY2(categories().contains(category), qPrintable(category));
        ++perCategory[category];
    }
    for (const QString& c : categories()) {
        if (c == CategorieComposee)
            QCOMPARE(perCategory.value(c), 0);
        else
            QVERIFY2(perCategory.value(c) >= 6, qPrintable(c));
    }
}

void TestSuppliedFoods::valuesFollowTheRules() {
    const NutrientRules rules(*m_ciqual);
    for (int r = 0; r < m_table->recordCount(); ++r) {
        const BaseFood& f = m_foods.at(r);
        const NutrientValues expected = rules.compute(*m_ciqual->find(f.ciqualCode), f.shares);
        for (const Nutrient& n : nutrients()) {
            const double stored = m_table->number(r, m_table->fieldIndex(QLatin1String(n.field)));
            QVERIFY2(qAbs(stored - expected.value(QLatin1String(n.field))) <= 0.0000005,
                     qPrintable(QStringLiteral("%1, %2").arg(f.nom, QLatin1String(n.field))));
        }
    }
}

void TestSuppliedFoods::energyAgainstCiqual() {
    const NutrientRules rules(*m_ciqual);
    QHash<int, Exception> exceptions;
    for (const Exception& e : kExceptions) exceptions.insert(e.numero, e);
    auto field = [&](int r, const char* name) { return m_table->number(r, m_table->fieldIndex(name)); };
    int checked = 0;
    for (int r = 0; r < m_table->recordCount(); ++r) {
        const BaseFood& f = m_foods.at(r);
        const CiqualFood& c = *m_ciqual->find(f.ciqualCode);
        const auto ciqualKcal = rules.ciqualEnergy(c);
        if (!ciqualKcal) {
            QVERIFY2(!exceptions.contains(f.numero), qPrintable(f.nom));
            continue;
        }
        ++checked;
        const double energy = foodEnergy(field(r, "PROT_A"), field(r, "PROT_V"), field(r, "LIPI_A"),
                                         field(r, "LIPI_V"), field(r, "GLUC_S"), field(r, "GLUC_A"));
        const double tolerance = qMax(5.0, 0.05 * *ciqualKcal);
        const double gap = energy - *ciqualKcal;
        const QString what =
            QStringLiteral("%1 %2 : %3 kcal, CIQUAL %4").arg(f.numero).arg(f.nom).arg(energy).arg(*ciqualKcal);
        if (!exceptions.contains(f.numero)) {
            QVERIFY2(qAbs(gap) <= tolerance, qPrintable(what));
            continue;
        }
        const Exception& e = exceptions.value(f.numero);
        QCOMPARE(f.nom, QString::fromUtf8(e.nom));
        QVERIFY2(qAbs(gap) > tolerance, qPrintable(what + " : plus besoin d'exception"));
        double uncounted = 0;
        if (e.reasons & Fibres) uncounted += 2 * rules.fibres(c);
        if (e.reasons & Alcool) uncounted += 7 * rules.alcohol(c);
        if (e.reasons & Polyols) uncounted += 2.4 * rules.polyols(c);
        if (e.reasons & AcidesOrganiques) uncounted += 3 * rules.organicAcids(c);
        QVERIFY2(qAbs(gap + uncounted) <= tolerance, qPrintable(what + " : écart inexpliqué"));
    }
    QVERIFY(checked > 200);
}

void TestSuppliedFoods::openedByTheTableHandle() {
    // What the windows do: a category filter per category list entry, and a
    // nutrient tag read from its start for the ranking.
    RunContext run{DataDirectory(Fixtures::suppliedTablesDir())};
    Table foods(run, foodSchema());
    foods.setReadOnly(true);
    foods.open();
    QCOMPARE(foods.recordCount(), DernierAlimentDeBase);
    int listed = 0;
    for (const QString& c : categories()) {
        foods.setFilter(QStringLiteral("CATEGORIE='%1'").arg(c));
        foods.setFilterCaseInsensitive(true);
        foods.setFiltered(true);
        int expected = 0;
        for (const BaseFood& f : m_foods) expected += f.categorie == c;
        QCOMPARE(foods.recordCount(), expected);
        listed += foods.recordCount();
        foods.setFiltered(false);
    }
    QCOMPARE(listed, DernierAlimentDeBase);
    foods.setIndexName(QStringLiteral("VIT_D"));
    foods.first();
    QCOMPARE(foods.asString("NOM"), QStringLiteral("Huile de foie de morue"));
    foods.setIndexName(QStringLiteral("I"));
    foods.first();
    QCOMPARE(foods.asString("NOM"), QStringLiteral("Sel iodé"));
    foods.close();
}

void TestSuppliedFoods::unmeasuredBesideTheFoodTable() {
    // Which values follow the rules is checked through an independent reader
    // in tst_buildtables; here, that the side table fits the Food table.
    const auto side = DbfFile::open(Fixtures::suppliedTablesDir() + "/NONMESUR.DBF", true);
    const TableSchema& schema = UnmeasuredTable::schema();
    QCOMPARE(side->fields().size(), 2 + nutrients().size());
    for (int f = 0; f < schema.fields.size(); ++f) {
        QCOMPARE(side->fields().at(f).name, schema.fields.at(f).name);
        QCOMPARE(side->fields().at(f).type, schema.fields.at(f).type);
        if (f >= 2) QCOMPARE(side->fields().at(f).name, foodSchema().fields.at(f + 1).name);
    }
    QHash<int, QStringList> marked;   // NUMERO -> fields marked unmeasured
    int previous = 0;
    for (int r = 0; r < side->recordCount(); ++r) {
        const int numero = int(side->number(r, side->fieldIndex("NUMERO")));
        QVERIFY(numero > previous);   // in NUMERO order, each food once
        previous = numero;
        QCOMPARE(side->text(r, side->fieldIndex("NOM")), m_table->text(numero - 1, m_table->fieldIndex("NOM")));
        for (const Nutrient& n : nutrients()) {
            const QString flag = side->text(r, side->fieldIndex(QLatin1String(n.field)));
            QVERIFY2(flag == "T" || flag == "F", qPrintable(flag));
            if (flag != "T") continue;
            marked[numero] << QLatin1String(n.field);
            // What is marked unmeasured is what the Food table holds as 0.
            QCOMPARE(m_table->number(numero - 1, m_table->fieldIndex(QLatin1String(n.field))), 0.0);
        }
        QVERIFY(marked.contains(numero));   // no record without a mark
    }
    // A veal cut CIQUAL barely measured, chloride and sodium included; a
    // mustard whose chloride comes from its sodium, which counts as measured.
    QCOMPARE(marked.value(10).size(), 16);
    QVERIFY(marked.value(10).contains("CL"));
    QVERIFY(!marked.contains(222));
    QVERIFY(m_table->number(221, m_table->fieldIndex("CL")) > 2800);
}

void TestSuppliedFoods::readmeListsStayTrue_data() {
    // Lists of foods that data/README.md gives by NUMERO, and the foods the
    // rules pick out: each list must name exactly those.
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("pattern");   // how a NUMERO is written in the section
    QTest::addColumn<QString>("which");
    QTest::newRow("chloride estimated from sodium") << "### Chloride estimated from sodium"
                                                    << R"(\((\d+)\))"
                                                    << "chloride";
    QTest::newRow("foods with alcohol") << "### Alcohol"
                                        << R"(^\| (\d+) \|)"
                                        << "alcohol";
}

void TestSuppliedFoods::readmeListsStayTrue() {
    QFETCH(QString, section);
    QFETCH(QString, pattern);
    QFETCH(QString, which);
    QFile file(kDataDir + "/README.md");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const int start = text.indexOf(section + '\n');
    QVERIFY2(start >= 0, qPrintable(section));
    const int end = text.indexOf(QRegularExpression("\n#+ "), start + section.size());
    const QString body = text.mid(start, end < 0 ? -1 : end - start);
    QSet<int> listed;
    auto it = QRegularExpression(pattern, QRegularExpression::MultilineOption).globalMatch(body);
    while (it.hasNext()) listed.insert(it.next().captured(1).toInt());

    QSet<int> actual;
    if (which == "chloride") {
        for (int n : SuppliedTables::baseFoods(m_foods, *m_ciqual).chlorideFromSodium) actual.insert(n);
    } else {
        const NutrientRules rules(*m_ciqual);
        for (const BaseFood& f : m_foods)
            if (rules.alcohol(*m_ciqual->find(f.ciqualCode)) > 0) actual.insert(f.numero);
    }
    QVERIFY(!actual.isEmpty());
    QCOMPARE(listed, actual);
}

QTEST_GUILESS_MAIN(TestSuppliedFoods)
#include "tst_suppliedfoods.moc"
