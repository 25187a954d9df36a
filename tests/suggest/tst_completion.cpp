// "Compléter la ration" in the core: on known days of the supplied tables,
// every constraint holds in the proposal (not which foods it names); the
// requests it must refuse, the solver stopped by time or failing, the
// values it must not rely on, the portion table, the exclusions file and
// the lines added to the day, all or nothing.
#include <QDir>
#include <QtTest>

#include "core/compose/dailytotals.h"
#include "core/io/dataerror.h"
#include "core/io/fileseam.h"
#include "core/diagnosis/page1.h"
#include "core/diagnosis/page2.h"
#include "core/schema/schema.h"
#include "core/suggest/completion.h"
#include "core/suggest/completiondata.h"
#include "core/needs/efsareference.h"
#include "core/needs/personneeds.h"
#include "support/files.h"
#include "support/testsupport.h"

using T = DailyTotals;
using N = GroupNeeds;
using Day = QVector<QPair<QString, int>>;
Q_DECLARE_METATYPE(Day)

namespace {
// A Data directory with the supplied tables.
struct Supplied {
    mutable TempDataDir dir;
    Supplied() { Fixtures::copySuppliedTables(dir.path()); }
    CompletionRequest request(const QString& group, const Day& day, int maxFoods = 5) const {
        CompletionRequest r;
        r.foods = CompletionData::readFoods(dir.run());
        r.needs = CompletionData::readNeeds(dir.run(), colonneDuGroupe(group));
        r.limits =
            PersonNeedsRules::groupUpperLimits(colonneDuGroupe(group), Fixtures::efsaReference().table());
        r.groupName = group;
        r.maxFoods = maxFoods;
        QVector<ProposedLine> lines;
        for (const auto& [name, grams] : day) lines << ProposedLine{indexOf(r, name), grams};
        r.day = totalsAfter(r, lines);
        return r;
    }
    static int indexOf(const CompletionRequest& r, const QString& name) {
        for (int i = 0; i < r.foods.size(); ++i)
            if (r.foods[i].name == name) return i;
        qFatal("unknown food");
        return -1;
    }
};

// The lines respect their portions, the exclusions and the number of
// foods; the day after them keeps every limit.
void checkLimits(const CompletionRequest& r, const Completion& c) {
    QVERIFY(c.lines.size() <= r.maxFoods);
    QSet<int> foods;
    for (const ProposedLine& l : c.lines) {
        const CandidateFood& f = r.foods[l.food];
        QVERIFY2(!foods.contains(l.food), qPrintable(f.name));
        foods.insert(l.food);
        QVERIFY2(l.grams >= f.portion.minGrams && l.grams <= f.portion.maxGrams, qPrintable(f.name));
        QVERIFY2(!r.exclusions.excludes(f) && f.category != CategorieComposee, qPrintable(f.name));
    }
    const DailyTotals& a = c.after;
    auto within = [](double before, double after, double max, double allowance) {
        return before > max ? after - before <= allowance + 1e-6 : after <= max + 1e-6;
    };
    const double e = r.needs[N::Energie];
    QVERIFY(within(r.day[T::CALORIES], a[T::CALORIES], 1.05 * e, 0.05 * e));
    QVERIFY(within(r.day[T::GLUC_S], a[T::GLUC_S], r.needs[N::Sucre], 0.05 * r.needs[N::Sucre]));
    QVERIFY(within(r.day[T::LIPI_A], a[T::LIPI_A], r.needs[N::LipiA], 0.05 * r.needs[N::LipiA]));
    QVERIFY(within(r.day[T::NA], a[T::NA], r.needs[N::Sodium], 0.05 * r.needs[N::Sodium]));
    // Under each upper level; nothing more of what the day already has too much of.
    for (const LignePage2& row : LignesPage2())
        if (r.limits[row.need] > 0)
            QVERIFY2(within(r.day[row.intake], a[row.intake], r.limits[row.need], 0.0), qPrintable(row.label));
    // Page 1's own advice on the lipids' share does not appear, or the share
    // does not grow.
    const auto share = [](const DailyTotals& t) {
        return (t[T::LIPI_A] + t[T::LIPI_V]) * 900.0 / t[T::CALORIES];
    };
    if (ceilingsOf(r.day, r.needs).lipidSharePassed)
        QVERIFY(share(a) <= share(r.day) + 1e-9);
    else
        QVERIFY(!conseils(a, r.needs).join(' ').contains(QStringLiteral("Attention ! le pourcentage")));
}

// A small request of its own, every need 100 and energy 2000 kcal.
CompletionRequest tinyRequest() {
    CompletionRequest r;
    for (double& v : r.needs.v) v = 100.0;
    r.needs[N::Energie] = 2000.0;
    r.needs[N::LipiA] = r.needs[N::LipiV] = 40.0;
    auto food = [](const QString& name, const QString& category, double c, double energyGrams) {
        CandidateFood f;
        f.name = name;
        f.category = category;
        f.per100[T::GLUC_A] = energyGrams;
        f.per100[T::CALORIES] = 4.0 * energyGrams;
        f.per100[T::VIT_C] = c;
        f.portion = Portion{10, 200, {}};
        return f;
    };
    // Unmeasured lipids make its energy a lower bound.
    r.foods << food(QStringLiteral("Unmeasured"), categories()[9], 0.0, 10.0)
            << food(QStringLiteral("Composite"), CategorieComposee, 500.0, 10.0)
            << food(QStringLiteral("Plain"), categories()[9], 20.0, 10.0);
    r.foods[0].unmeasured = {T::LIPI_A, T::LIPI_V, T::CALORIES};
    return r;
}
}   // namespace

class TestCompletion : public QObject {
    Q_OBJECT
private slots:
    void constraintsHold_data();
    void constraintsHold();
    void refusals_data();
    void refusals();
    void solverStopped_data();
    void solverStopped();
    void notReliedOn();
    void limitsBlocking_data();
    void limitsBlocking();
    void upperLevels_data();
    void upperLevels();
    void nothingToAdd();
    void portions_data();
    void portions();
    void portionTableRefusesBadRow();
    void exclusionsFile();
    void damagedExclusions_data();
    void damagedExclusions();
    void foodsWithTheirMarks();
    void addToDayAllOrNothing();
    void damagedNeedsTable();
};

void TestCompletion::constraintsHold_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<Day>("day");
    QTest::addColumn<int>("maxFoods");
    QTest::addColumn<QStringList>("excludedCategories");
    const Day three = {{QStringLiteral("Pain, baguette"), 120},
                       {QStringLiteral("Poulet, rôti"), 150},
                       {QStringLiteral("Pomme"), 150}};
    const QStringList none;
    QTest::newRow("empty day, active man") << QStringLiteral("Homme actif") << Day{} << 8 << none;
    QTest::newRow("three foods, active woman") << QStringLiteral("Femme active") << three << 5 << none;
    QTest::newRow("three foods, child of 8, three foods")
        << QStringLiteral("Enfant de 8 ans") << three << 3 << none;
    QTest::newRow("vegetarian, pregnant")
        << QStringLiteral("Femme enceinte") << three << 6
        << QStringList{categories()[0], categories()[1], categories()[2], categories()[3]};
    QTest::newRow("energy, sugar and sodium already passed")
        << QStringLiteral("Femme âgée")
        << Day{{QStringLiteral("Pâte à tartiner chocolat"), 300},
               {QStringLiteral("Saucisson sec"), 200},
               {QStringLiteral("Cola"), 1000},
               {QStringLiteral("Beurre doux"), 100}}
        << 5 << none;
}

void TestCompletion::constraintsHold() {
    QFETCH(QString, group);
    QFETCH(Day, day);
    QFETCH(int, maxFoods);
    QFETCH(QStringList, excludedCategories);
    const Supplied s;
    CompletionRequest r = s.request(group, day, maxFoods);
    r.exclusions.categories = QSet<QString>(excludedCategories.begin(), excludedCategories.end());
    r.exclusions.foods << QStringLiteral("Foie de veau, cuit");
    const Completion c = completeDay(r);
    QCOMPARE(c.status, Completion::Status::Proposed);
    QVERIFY(!c.lines.isEmpty());
    checkLimits(r, c);
    const DailyTotals& a = c.after;
    QCOMPARE(
        a[T::QTE], r.day[T::QTE] + [&] {
            int g = 0;
            for (auto& l : c.lines) g += l.grams;
            return g;
        }());
    const Ceilings ceil = ceilingsOf(r.day, r.needs);
    QCOMPARE(c.notes.join(' ').contains(QStringLiteral("dépasse déjà 105")), ceil.energyPassed);

    // Every rate short of its target is explained, and only those.
    QSet<int> explained;
    for (const Shortfall& sh : c.shortfalls) {
        explained.insert(sh.row);
        QVERIFY(!sh.text.isEmpty());
        QCOMPARE(sh.after, pageTwoRate(sh.row, a, r.needs));
    }
    for (int i = 0; i < LignesPage2().size(); ++i)
        QCOMPARE(explained.contains(i), pageTwoRate(i, a, r.needs) < targetOf(i));
    QVERIFY(coveredRates(a, r.needs) >= coveredRates(r.day, r.needs));
    // The greedy baseline (the solver's first solution) keeps the same limits.
    checkLimits(r, greedyCompletion(r));
}

void TestCompletion::refusals_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("maxFoods");
    QTest::addColumn<bool>("allExcluded");
    QTest::addColumn<QString>("message");
    QTest::newRow("energy need 0") << int(N::Energie) << 0.0 << 5 << false << QStringLiteral("« Énergie »");
    QTest::newRow("calcium need 0") << int(N::Calcium) << 0.0 << 5 << false << QStringLiteral("(ligne 10)");
    QTest::newRow("sugar need not a number")
        << int(N::Sucre) << qQNaN() << 5 << false << QStringLiteral("valeur illisible");
    QTest::newRow("two foods") << -1 << 0.0 << 2 << false << QStringLiteral("de 3 à 8");
    QTest::newRow("nine foods") << -1 << 0.0 << 9 << false << QStringLiteral("de 3 à 8");
    QTest::newRow("everything excluded") << -1 << 0.0 << 5 << true << QStringLiteral("sont exclus");
}

void TestCompletion::refusals() {
    QFETCH(int, slot);
    QFETCH(double, value);
    QFETCH(int, maxFoods);
    QFETCH(bool, allExcluded);
    QFETCH(QString, message);
    const Supplied s;
    CompletionRequest r = s.request(QStringLiteral("Homme actif"), Day{}, 5);
    if (slot >= 0) r.needs.v[slot] = value;
    r.maxFoods = maxFoods;
    if (allExcluded) r.exclusions.categories = QSet<QString>(categories().begin(), categories().end());
    const Completion c = completeDay(r);
    QCOMPARE(c.status, Completion::Status::Refused);
    QVERIFY2(c.message.contains(message), qPrintable(c.message));
    QVERIFY(c.lines.isEmpty());
}

void TestCompletion::solverStopped_data() {
    QTest::addColumn<int>("timeLimitMs");
    QTest::addColumn<int>("iterations");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("no time") << 0 << 0 << int(Completion::Status::TimedOut) << QStringLiteral("temps imparti");
    QTest::newRow("one simplex iteration")
        << 5000 << 1 << int(Completion::Status::SolverFailed) << QStringLiteral("solveur n'a pas pu");
}

void TestCompletion::solverStopped() {
    QFETCH(int, timeLimitMs);
    QFETCH(int, iterations);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Supplied s;
    CompletionOptions o;
    o.timeLimitMs = timeLimitMs;
    o.simplexIterationLimit = iterations;
    const Completion c = completeDay(s.request(QStringLiteral("Femme active"), Day{}), o);
    QCOMPARE(int(c.status), status);
    QVERIFY2(c.message.contains(message) && c.message.contains(QStringLiteral("rien n'est proposé")),
             qPrintable(c.message));
    QVERIFY(c.lines.isEmpty());
}

void TestCompletion::notReliedOn() {
    // A composite rich in vitamin C, and a food whose energy is a lower
    // bound: the proposal counts on neither for them, so one plain food is
    // all it has for each.
    const CompletionRequest r = tinyRequest();
    const Completion c = completeDay(r);
    QCOMPARE(c.status, Completion::Status::Proposed);
    for (const ProposedLine& l : c.lines) QCOMPARE(r.foods[l.food].name, QStringLiteral("Plain"));
    QMap<int, Shortfall> bySlot;
    for (const Shortfall& s : c.shortfalls) bySlot[LignesPage2()[s.row].intake] = s;
    for (const auto& [slot, text] :
         {qMakePair(int(T::VIT_C), QStringLiteral("Vitamine C : 40.00 % au lieu de")),
          qMakePair(int(T::CALORIES), QStringLiteral("Énergie : 4.00 % au lieu de"))}) {
        QCOMPARE(bySlot[slot].reason, Shortfall::Reason::Portions);
        QVERIFY2(bySlot[slot].text.startsWith(text), qPrintable(bySlot[slot].text));
        QVERIFY(bySlot[slot].text.contains(QStringLiteral("le seul aliment permis")));
    }
    // Without the plain food, nothing allowed brings any.
    CompletionRequest without = r;
    without.exclusions.foods << QStringLiteral("Plain");
    for (const Shortfall& s : completeDay(without).shortfalls)
        if (LignesPage2()[s.row].intake == T::VIT_C) QCOMPARE(s.reason, Shortfall::Reason::NoFood);
}

void TestCompletion::limitsBlocking_data() {
    QTest::addColumn<int>("foodSlot");   // what the vitamin C food is rich in, besides
    QTest::addColumn<int>("daySlot");    // the day already at its limit
    QTest::addColumn<double>("dayValue");
    QTest::addColumn<int>("reason");
    QTest::addColumn<QString>("text");
    QTest::newRow("energy") << int(T::GLUC_A) << int(T::CALORIES) << 2000.0 << int(Shortfall::Reason::Energy)
                            << QStringLiteral("dépasser 105 % du besoin en énergie");
    QTest::newRow("sugars") << int(T::GLUC_S) << int(T::GLUC_S) << 100.0 << int(Shortfall::Reason::Limits)
                            << QStringLiteral("dépasser le maximum de sucres de la page 1");
    QTest::newRow("sodium") << int(T::NA) << int(T::NA) << 95.0 << int(Shortfall::Reason::Limits)
                            << QStringLiteral("dépasser le maximum de sodium");
    // Copper's upper level is set at 100 below.
    QTest::newRow("upper level") << int(T::CU) << int(T::CU) << 95.0 << int(Shortfall::Reason::Limits)
                                 << QStringLiteral("dépasser la limite supérieure de sécurité d'un nutriment");
}

void TestCompletion::limitsBlocking() {
    // One food brings vitamin C and much of what a limit holds back.
    QFETCH(int, foodSlot);
    QFETCH(int, daySlot);
    QFETCH(double, dayValue);
    QFETCH(int, reason);
    QFETCH(QString, text);
    CompletionRequest r = tinyRequest();
    r.foods.resize(1);
    CandidateFood& f = r.foods[0];
    f.unmeasured.clear();
    f.per100 = {};
    f.per100[T::VIT_C] = 60.0;
    f.per100[foodSlot] = 100.0;
    f.per100[T::CALORIES] = foodSlot == T::NA ? 0.0 : 400.0;
    r.day[static_cast<T::Slot>(daySlot)] = dayValue;
    r.limits[N::Cuivre] = 100.0;
    Shortfall vitC;
    for (const Shortfall& s : completeDay(r).shortfalls)
        if (LignesPage2()[s.row].intake == T::VIT_C) vitC = s;
    QCOMPARE(int(vitC.reason), reason);
    QVERIFY2(vitC.text.contains(text), qPrintable(vitC.text));
}

// On the day of the window's screenshot (bread, chicken, an apple), the
// proposal for an active woman kept no upper level: 120 g of veal liver
// brought copper to about 25 mg (5 mg at most) and vitamin A to nearly 20
// times the need. With the levels, the day stays under each; a day already
// above one gets nothing more of it, and the notes say so.
void TestCompletion::upperLevels_data() {
    QTest::addColumn<Day>("day");
    QTest::addColumn<bool>("copperPassed");
    const Day three = {{QStringLiteral("Pain, baguette"), 120},
                       {QStringLiteral("Poulet, rôti"), 150},
                       {QStringLiteral("Pomme"), 150}};
    QTest::newRow("three foods") << three << false;
    QTest::newRow("liver already") << (Day(three) << qMakePair(QStringLiteral("Foie de veau, cuit"), 60))
                                   << true;
}

void TestCompletion::upperLevels() {
    QFETCH(Day, day);
    QFETCH(bool, copperPassed);
    const Supplied s;
    const CompletionRequest r = s.request(QStringLiteral("Femme active"), day);
    QCOMPARE(r.limits[N::Cuivre], 5.0);
    QCOMPARE(r.limits[N::VitA], 3.0);
    QCOMPARE(r.day[T::CU] > 5.0, copperPassed);
    const Completion c = completeDay(r);
    QVERIFY(c.status == Completion::Status::Proposed || c.status == Completion::Status::NothingToAdd);
    checkLimits(r, c);
    QCOMPARE(c.notes.join(' ').contains(QStringLiteral("limite supérieure de sécurité en cuivre")),
             copperPassed);
    if (copperPassed) QCOMPARE(c.after[T::CU], r.day[T::CU]);
    if (copperPassed) return;
    // Without the levels, as before: far above them.
    CompletionRequest unbounded = r;
    unbounded.limits = UpperLimits();
    const Completion before = completeDay(unbounded);
    QVERIFY2(before.after[T::CU] > 20.0 && before.after[T::VIT_A] > 10 * r.needs[N::VitA],
             qPrintable(QString::number(before.after[T::CU])));
}

void TestCompletion::nothingToAdd() {
    CompletionRequest r = tinyRequest();
    for (const LignePage2& row : LignesPage2()) r.day[row.intake] = r.needs[row.need];
    const Completion c = completeDay(r);
    QCOMPARE(c.status, Completion::Status::NothingToAdd);
    QVERIFY(c.lines.isEmpty());
    QVERIFY(c.message.contains(QStringLiteral("rien à compléter")));
}

void TestCompletion::portions_data() {
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("maxGrams");
    QTest::newRow("oil") << 6 << QStringLiteral("Huile d'olive") << 10.0;
    QTest::newRow("butter") << 6 << QStringLiteral("Beurre doux") << 10.0;
    QTest::newRow("cod-liver oil") << 14 << QStringLiteral("Huile de foie de morue") << 5.0;
    QTest::newRow("cod-liver oil among fats") << 6 << QStringLiteral("Huile de foie de morue") << 5.0;
    QTest::newRow("spirulina") << 14 << QStringLiteral("Spiruline") << 3.0;
    QTest::newRow("yeast") << 14 << QStringLiteral("Levure alimentaire") << 10.0;
    QTest::newRow("salt") << 14 << QStringLiteral("Sel iodé") << 0.0;
    QTest::newRow("wine") << 12 << QStringLiteral("Vin rouge") << 0.0;
    QTest::newRow("vinegar is no wine") << 12 << QStringLiteral("Vinaigre") << 10.0;
    QTest::newRow("pâté, accents ignored") << 2 << QStringLiteral("Pâté de campagne") << 50.0;
    QTest::newRow("cooked rice") << 7 << QStringLiteral("Riz blanc, cuit") << 250.0;
    QTest::newRow("raw rice") << 7 << QStringLiteral("Riz blanc, cru") << 0.0;
    QTest::newRow("cheese") << 5 << QStringLiteral("Camembert") << 40.0;
    QTest::newRow("milk") << 5 << QStringLiteral("Lait demi-écrémé") << 250.0;
    QTest::newRow("dried seaweed") << 14 << QStringLiteral("Nori (Porphyra sp.), séchée") << 0.0;
    QTest::newRow("unknown category") << 0 << QStringLiteral("Pomme") << 0.0;
}

void TestCompletion::portions() {
    QFETCH(int, category);
    QFETCH(QString, name);
    QFETCH(double, maxGrams);
    const QString cat = category > 0 ? categories()[category - 1] : QStringLiteral("INCONNUE");
    const Portion p = PortionTable::supplied().portionOf(cat, name);
    QCOMPARE(p.maxGrams, maxGrams);
    QVERIFY(p.minGrams <= p.maxGrams);
    QCOMPARE(p.rule.isEmpty(), category == 0);
}

void TestCompletion::portionTableRefusesBadRow() {
    const QByteArray csv =
        "categorie;nom;min_g;max_g;regle\nFRUITS;*;50;150;ok\nFRUITS;pomme;80;40;min > max\n";
    QVERIFY_THROWS_EXCEPTION(DataError, PortionTable::fromCsv(csv, QStringLiteral("p.csv")));
    try {
        PortionTable::fromCsv(csv, QStringLiteral("p.csv"));
    } catch (const DataError& e) {
        QCOMPARE(e.message(), QStringLiteral("p.csv, ligne 3 : le minimum dépasse le maximum."));
    }
    QCOMPARE(PortionTable::fromCsv(csv.left(csv.indexOf("FRUITS;pomme")), QStringLiteral("p.csv")).size(), 1);
}

void TestCompletion::exclusionsFile() {
    TempDataDir dir;
    QCOMPARE(CompletionData::readExclusions(dir.run()).foods.size(), 0);
    Exclusions e;
    e.categories = {categories()[2], categories()[0]};
    e.foods = {QStringLiteral("Foie de veau, cuit"), QStringLiteral("Épinards cuits")};
    CompletionData::writeExclusions(dir.run(), e);
    const Exclusions back = CompletionData::readExclusions(dir.run());
    QCOMPARE(back.categories, e.categories);
    QCOMPARE(back.foods, e.foods);
    const QByteArray written = Files::bytesOf(dir.file(CompletionData::exclusionsFile()));
    QVERIFY(written.indexOf("VIANDES") < written.indexOf("POISSONS"));

    // A write that fails leaves the file as it was.
    dir.run().seam().failAt(FileSeam::Op::Write, 1, FileSeam::Fault::DiskFull);
    e.foods.clear();
    try {
        CompletionData::writeExclusions(dir.run(), e);
        QFAIL("the write should fail");
    } catch (const DataError& err) {
        QVERIFY(err.message().contains(QStringLiteral("EXCLUS.TXT")) &&
                err.message().contains(QStringLiteral("disque plein")));
    }
    dir.run().seam().reset();
    QCOMPARE(Files::bytesOf(dir.file(CompletionData::exclusionsFile())), written);
}

void TestCompletion::damagedExclusions_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("line not understood")
        << QByteArray("# x\naliment : Pomme\nPoire\n")
        << QStringLiteral("EXCLUS.TXT, ligne 3, n'est pas compris : « Poire »");
    QTest::newRow("name missing") << QByteArray("catégorie :\n") << QStringLiteral("ligne 1");
    QTest::newRow("not UTF-8") << QByteArray("aliment : P\xe2t\xe9\n") << QStringLiteral("pas un texte UTF-8");
}

void TestCompletion::damagedExclusions() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TempDataDir dir;
    QVERIFY(Files::writeBytes(dir.file(CompletionData::exclusionsFile()), bytes));
    try {
        CompletionData::readExclusions(dir.run());
        QFAIL("the file should be refused");
    } catch (const DataError& err) {
        QVERIFY2(err.message().contains(message), qPrintable(err.message()));
    }
}

void TestCompletion::foodsWithTheirMarks() {
    // The side table's marks reach the foods, energy with the macronutrients.
    const Supplied s;
    const CompletionRequest r = s.request(QStringLiteral("Femme active"), Day{});
    QCOMPARE(r.foods.size(), 233);
    int marked = 0;
    for (const CandidateFood& f : r.foods) {
        marked += !f.unmeasured.isEmpty();
        if (f.unmeasured.contains(T::LIPI_A) || f.unmeasured.contains(T::GLUC_S))
            QVERIFY2(f.unmeasured.contains(T::CALORIES), qPrintable(f.name));
        QCOMPARE(f.per100[T::CALORIES],
                 foodEnergy(f.per100[T::PROT_A], f.per100[T::PROT_V], f.per100[T::LIPI_A], f.per100[T::LIPI_V],
                            f.per100[T::GLUC_S], f.per100[T::GLUC_A]));
        QVERIFY2(f.portion.maxGrams > 0 || f.portion.rule.contains(QStringLiteral("jamais")),
                 qPrintable(f.name));
    }
    QCOMPARE(marked, 55);
}

void TestCompletion::addToDayAllOrNothing() {
    const Supplied s;
    Fixtures::appendRecords(choiceSchema(), s.dir.file(QStringLiteral("CHOIX.DBF")),
                            {QVariantMap{{"NOM", QStringLiteral("Pomme")}, {"QTE", 150.0}}});
    CompletionRequest r = s.request(QStringLiteral("Femme active"), Day{});
    r.day = CompletionData::readDay(s.dir.run());
    const QVector<ProposedLine> lines = {{Supplied::indexOf(r, QStringLiteral("Lentilles cuites")), 200},
                                         {Supplied::indexOf(r, QStringLiteral("Brocoli cuit")), 150},
                                         {Supplied::indexOf(r, QStringLiteral("Sardine, grillée")), 100}};
    // Each write of the lines made to fail in turn: the day stays as it was.
    for (int nth = 1; nth <= 4; ++nth) {
        s.dir.run().seam().failAt(FileSeam::Op::Write, nth, FileSeam::Fault::DiskFull);
        try {
            CompletionData::addToDay(s.dir.run(), r, lines);
        } catch (const DataError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("rien n'a été ajouté")), qPrintable(e.message()));
        }
        s.dir.run().seam().reset();
        QCOMPARE(Fixtures::liveChoiceNames(s.dir.path()), QStringList{QStringLiteral("Pomme")});
    }
    // A food gone from the table refuses the whole proposal, before any write.
    CompletionRequest renamed = r;
    renamed.foods[lines[2].food].name = QStringLiteral("Sardine disparue");
    QVERIFY_THROWS_EXCEPTION(DataError, CompletionData::addToDay(s.dir.run(), renamed, lines));
    QCOMPARE(Fixtures::liveChoiceNames(s.dir.path()), QStringList{QStringLiteral("Pomme")});

    CompletionData::addToDay(s.dir.run(), r, lines);
    QList<double> grams;
    QCOMPARE(Fixtures::liveChoiceNames(s.dir.path(), &grams),
             (QStringList{"Pomme", "Lentilles cuites", "Brocoli cuit", "Sardine, grillée"}));
    QCOMPARE(grams, (QList<double>{150, 200, 150, 100}));
    // The rates the proposal announces are those page 2 computes from the day.
    const DailyTotals announced = totalsAfter(r, lines);
    const DailyTotals read = CompletionData::readDay(s.dir.run());
    for (int i = 0; i < LignesPage2().size(); ++i)
        QCOMPARE(QString::number(pageTwoRate(i, read, r.needs), 'f', 2),
                 QString::number(pageTwoRate(i, announced, r.needs), 'f', 2));
}

void TestCompletion::damagedNeedsTable() {
    TempDataDir dir;
    const QString path = Fixtures::createEmpty(needsSchema(), dir.path());
    Fixtures::appendRecords(needsSchema(), path, QVector<QVariantMap>(12, QVariantMap{{"E_2_ANS", 10.0}}));
    try {
        CompletionData::readNeeds(dir.run(), QStringLiteral("E_2_ANS"));
        QFAIL("a table of 12 rows should be refused");
    } catch (const DataError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("12 lignes sur les 29")), qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(TestCompletion)
#include "tst_completion.moc"
