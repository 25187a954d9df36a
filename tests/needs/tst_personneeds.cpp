// The needs of a person: the seventeen groups found again from their
// parameters, EFSA's energy table from its reference bodies, the parameters
// refused, the upper levels, the persons remembered in the Data directory
// and the EFSA file found beside the installed program.
#include <QDir>
#include <QtTest>
#include <cmath>

#include "core/dbf/dbf.h"
#include "core/io/fileseam.h"
#include "core/needs/efsareference.h"
#include "core/needs/efsatable.h"
#include "core/needs/needscolumn.h"
#include "core/needs/personneeds.h"
#include "core/needs/persontable.h"
#include "core/schema/schema.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/testsupport.h"

namespace {
const QString kEfsaFile = QStringLiteral(NUTRIMO_SOURCE_DIR "/data/sources/efsa-drv.csv");

// The body EFSA's energy figure is for: weight (kg) and height (cm).
struct Body {
    double weight, height;
};
// Adults: a body mass index of 22 at the height of the age band.
Body adult(double heightCm) { return {22 * heightCm * heightCm / 10000, heightCm}; }

Person person(Person::Sex sex, int age, Body body, double pal = 1.4,
              Person::State state = Person::State::None) {
    Person p;
    p.sex = sex;
    p.age = age;
    p.weight = body.weight;
    p.height = body.height;
    p.pal = pal;
    p.state = state;
    return p;
}
constexpr auto F = Person::Sex::Female;
constexpr auto H = Person::Sex::Male;
}   // namespace

Q_DECLARE_METATYPE(Person)
Q_DECLARE_METATYPE(Body)

class TestPersonNeeds : public QObject {
    Q_OBJECT
    std::unique_ptr<EfsaTable> m_efsa;

private slots:
    void initTestCase() { m_efsa = std::make_unique<EfsaTable>(EfsaTable::read(kEfsaFile)); }

    // Each group's parameters give its column of the supplied Needs table:
    // every row with the group's energy, and the energy itself, from the
    // body EFSA's figure is for, within 1 % of it.
    void groupsFoundAgain_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVector<Body>>("bodies");   // the girl's (or woman's), then the boy's
        QTest::newRow("E_2_ANS") << "E_2_ANS" << QVector<Body>{{12.0, 86}, {12.5, 87}};
        QTest::newRow("E_5_ANS") << "E_5_ANS" << QVector<Body>{{18.5, 109}, {19.5, 110}};
        QTest::newRow("E_8_ANS") << "E_8_ANS" << QVector<Body>{{27.5, 127}, {28.0, 127}};
        QTest::newRow("F_11_ANS") << "F_11_ANS" << QVector<Body>{{39.0, 144}};
        QTest::newRow("G_11_ANS") << "G_11_ANS" << QVector<Body>{{37.5, 143}};
        QTest::newRow("F_13_ANS") << "F_13_ANS" << QVector<Body>{{48.0, 157}};
        QTest::newRow("G_13_ANS") << "G_13_ANS" << QVector<Body>{{47.0, 156}};
        QTest::newRow("F_17_ANS") << "F_17_ANS" << QVector<Body>{{57.5, 164}};
        QTest::newRow("G_17_ANS") << "G_17_ANS" << QVector<Body>{{67.5, 175}};
        for (const char* c : {"F_SEDENT", "F_ENCEINTE", "F_ALLETANT", "F_FORCE"})
            QTest::newRow(c) << c << QVector<Body>{adult(164)};
        for (const char* c : {"H_SEDENT", "H_FORCE"}) QTest::newRow(c) << c << QVector<Body>{adult(178)};
        QTest::newRow("F_VIEILLAR") << "F_VIEILLAR" << QVector<Body>{adult(159)};
        QTest::newRow("H_VIEILLAR") << "H_VIEILLAR" << QVector<Body>{adult(172)};
    }
    void groupsFoundAgain() {
        QFETCH(QString, column);
        QFETCH(QVector<Body>, bodies);
        const auto table = DbfFile::open(Fixtures::suppliedTablesDir() + "/BESOINS.DBF", true);
        const int field = table->fieldIndex(column);
        QVERIFY(field > 0);
        const QVector<Person> persons = PersonNeedsRules::groupPersons(column);
        QCOMPARE(persons.size(), bodies.size());
        QVector<double> rows(kNeedsRows, 0.0);
        double energy = 0;
        for (int i = 0; i < persons.size(); ++i) {
            const PersonNeeds n = PersonNeedsRules::needsAt(persons[i], table->number(0, field), *m_efsa);
            for (int r = 0; r < kNeedsRows; ++r) rows[r] += n.rows[r] / persons.size();
            Person reference = persons[i];
            reference.weight = bodies[i].weight;
            reference.height = bodies[i].height;
            QVERIFY2(PersonRules::check(reference).isEmpty(), qPrintable(PersonRules::check(reference)));
            energy += PersonNeedsRules::energyOf(reference, *m_efsa).kcal / persons.size();
        }
        for (int r = 0; r < kNeedsRows; ++r) {
            const double want = table->number(r, field);
            QVERIFY2(
                std::fabs(rows[r] - want) <= 0.000006 + 1e-9 * want,
                qPrintable(QStringLiteral("ligne %1 : %2 au lieu de %3").arg(r + 1).arg(rows[r]).arg(want)));
        }
        const double ar = table->number(0, field);
        QVERIFY2(std::fabs(energy / ar - 1) < 0.01,
                 qPrintable(QStringLiteral("%1 kcal pour %2").arg(energy).arg(ar)));
    }

    // Every adult row of EFSA's energy table (six age bands, four activity
    // levels, two sexes) from the body of its band, within 1 %.
    void efsaAdultEnergy() {
        const QMap<int, double> women = {{18, 164.5}, {30, 164}, {40, 163}, {50, 162}, {60, 160}, {70, 159}};
        const QMap<int, double> men = {{18, 178}, {30, 178}, {40, 176.5}, {50, 175}, {60, 174}, {70, 172}};
        const QRegularExpression band(QStringLiteral("^(\\d+)\\D.*PAL=([0-9.]+)$"));
        int checked = 0;
        for (const EfsaEntry& row : m_efsa->entries()) {
            const auto m = band.match(row.age);
            if (row.nutrient != QLatin1String("Energy") || row.population != QLatin1String("Adults") ||
                !m.hasMatch())
                continue;
            const Person::Sex sex = row.gender == QLatin1String("Female") ? F : H;
            const int from = m.captured(1).toInt();
            const Person p =
                person(sex, from + 5, adult((sex == F ? women : men).value(from)), m.captured(2).toDouble());
            const double ar = m_efsa->lookup(row.nutrient, row.population, row.age, row.gender).amount;
            const double mj = PersonNeedsRules::energyOf(p, *m_efsa).kcal / 239;
            QVERIFY2(std::fabs(mj / ar - 1) < 0.01, qPrintable(row.age + QStringLiteral(" : %1 MJ").arg(mj)));
            ++checked;
        }
        QCOMPARE(checked, 48);
    }

    // What EFSA adds: growth under 18, the trimester's energy and proteins.
    void increments_data() {
        QTest::addColumn<Person>("p");
        QTest::addColumn<double>("growth");   // energy = BMR x PAL x growth + increment
        QTest::addColumn<double>("mj");
        QTest::addColumn<double>("protein");   // grams over the PRI x weight
        const Body b = adult(164);
        QTest::newRow("1st trimester") << person(F, 30, b, 1.4, Person::State::Pregnant1) << 1.0 << 0.29 << 1.0;
        QTest::newRow("3rd trimester") << person(F, 30, b, 1.4, Person::State::Pregnant3) << 1.0 << 2.1 << 28.0;
        QTest::newRow("breastfeeding, 0-6 months")
            << person(F, 30, b, 1.4, Person::State::Lactating0to6) << 1.0 << 2.1 << 19.0;
        QTest::newRow("breastfeeding, after 6 months")
            << person(F, 30, b, 1.4, Person::State::LactatingAfter6) << 1.0 << 2.1 << 13.0;
        QTest::newRow("boy of 17: growth") << person(H, 17, {67.5, 175}, 2.0) << 1.01 << 0.0 << 0.0;
        QTest::newRow("man of 18: none") << person(H, 18, adult(178), 2.0) << 1.0 << 0.0 << 0.0;
    }
    void increments() {
        QFETCH(Person, p);
        QFETCH(double, growth);
        QFETCH(double, mj);
        QFETCH(double, protein);
        const PersonNeeds n = PersonNeedsRules::computeNeeds(p, *m_efsa);
        const double bmr = PersonNeedsRules::henryBmr(p.sex, p.age, p.weight, p.height / 100);
        QVERIFY2(std::fabs(n.energy.kcal / 239 - (bmr * p.pal * growth + mj)) < 1e-9,
                 qPrintable(QString::number(n.energy.kcal)));
        const double pri = p.age < 18 ? 0.86 : 0.83;   // g/kg: boys of 17, adults
        QVERIFY2(std::fabs(n.rows[1] - pri * p.weight - protein) < 1e-9, qPrintable(n.formulas[1]));
    }

    void refused_data() {
        QTest::addColumn<Person>("p");
        QTest::addColumn<QString>("message");
        const Body b = adult(170);
        QTest::newRow("1 year") << person(F, 1, {10, 75}) << "Âge : de 2 à 100 ans (valeur indiquée : 1 an)";
        QTest::newRow("101 years") << person(H, 101, b) << "Âge : de 2 à 100 ans";
        QTest::newRow("too tall at 2") << person(F, 2, {12, 120}) << "Taille : de 70 à 105 cm à 2 ans";
        QTest::newRow("too short for an adult") << person(F, 40, {30, 100}) << "Taille : de 120 à 230 cm";
        QTest::newRow("too heavy") << person(H, 40, {200, 170}) << "Poids : de 37,6 à 173,4 kg pour 170 cm";
        QTest::newRow("too light") << person(F, 40, {20, 170}) << "valeur indiquée : 20 kg";
        QTest::newRow("PAL 2.2") << person(H, 40, b, 2.2)
                                 << "Activité : un niveau d'activité physique (PAL) de 1,4 à 2,0";
        QTest::newRow("PAL 1.2") << person(H, 40, b, 1.2) << "valeur indiquée : 1,2";
        QTest::newRow("pregnant man") << person(H, 30, b, 1.4, Person::State::Pregnant2)
                                      << "État : la grossesse et l'allaitement ne concernent qu'une femme";
        QTest::newRow("pregnant at 16") << person(F, 16, {55, 165}, 1.4, Person::State::Pregnant1)
                                        << "État : grossesse ou allaitement de 18 à 55 ans";
    }
    void refused() {
        QFETCH(Person, p);
        QFETCH(QString, message);
        QVERIFY2(PersonRules::check(p).contains(message), qPrintable(PersonRules::check(p)));
        EXPECT_DATA_ERROR(Contains, message, PersonNeedsRules::computeNeeds(p, *m_efsa));
    }

    // At the edges of what is accepted (ages, heights, body mass index,
    // activity, state), every need is a positive number.
    void edgesGivePositiveNeeds() {
        int persons = 0;
        for (int age : {2, 3, 4, 9, 10, 13, 17, 18, 29, 30, 49, 50, 55, 59, 60, 100})
            for (Person::Sex sex : {F, H})
                for (bool tall : {false, true})
                    for (bool heavy : {false, true})
                        for (double pal : {1.4, 2.0})
                            for (Person::State state : {Person::State::None, Person::State::Pregnant3,
                                                        Person::State::LactatingAfter6}) {
                                const double h =
                                    tall ? PersonRules::maxHeight(age) : PersonRules::minHeight(age);
                                const double w =
                                    heavy ? std::floor(PersonRules::maxBmi(age) * h * h / 1000 + 1e-9)
                                          : std::ceil(PersonRules::minBmi(age) * h * h / 1000 - 1e-9);
                                const Person p = person(sex, age, {w / 10, h}, pal, state);
                                if (!PersonRules::check(p).isEmpty()) continue;
                                const PersonNeeds n = PersonNeedsRules::computeNeeds(p, *m_efsa);
                                for (int r = 0; r < kNeedsRows; ++r)
                                    QVERIFY2(n.rows[r] > 0,
                                             qPrintable(describePerson(p) +
                                                        QStringLiteral(", ligne %1").arg(r + 1)));
                                ++persons;
                            }
        QCOMPARE(persons, 352);
    }

    // Which upper levels apply, in mg: EFSA's row of the person, else of the
    // adults of the age; none for magnesium, folate and niacin (their ULs are
    // of supplements' forms) nor where EFSA sets none.
    void upperLimits_data() {
        QTest::addColumn<Person>("p");
        QTest::addColumn<int>("slot");
        QTest::addColumn<double>("mg");
        using N = GroupNeeds;
        const Body b = adult(164);
        QTest::newRow("copper, man") << person(H, 40, adult(178)) << int(N::Cuivre) << 5.0;
        QTest::newRow("copper, pregnant: the adults'")
            << person(F, 30, b, 1.4, Person::State::Pregnant2) << int(N::Cuivre) << 5.0;
        QTest::newRow("copper, child of 5") << person(F, 5, {18.5, 109}) << int(N::Cuivre) << 2.0;
        QTest::newRow("vitamin A, woman of 75: the adults'") << person(F, 75, b) << int(N::VitA) << 3.0;
        QTest::newRow("vitamin A, child of 8") << person(H, 8, {28, 127}) << int(N::VitA) << 1.5;
        QTest::newRow("iodine") << person(F, 30, b) << int(N::Iode) << 0.6;
        QTest::newRow("zinc, boy of 13") << person(H, 13, {47, 156}) << int(N::Zinc) << 18.0;
        QTest::newRow("vitamin D, child of 2") << person(F, 2, {12, 86}) << int(N::VitD) << 0.05;
        QTest::newRow("vitamin B6") << person(H, 40, adult(178)) << int(N::VitB6) << 25.0;
        QTest::newRow("calcium, adult") << person(F, 30, b) << int(N::Calcium) << 2500.0;
        QTest::newRow("calcium, child: none") << person(F, 8, {27.5, 127}) << int(N::Calcium) << 0.0;
        QTest::newRow("magnesium: none") << person(H, 40, adult(178)) << int(N::Magnesium) << 0.0;
        QTest::newRow("folate: none") << person(F, 30, b) << int(N::VitB9) << 0.0;
        QTest::newRow("niacin: none") << person(F, 30, b) << int(N::VitPP) << 0.0;
        QTest::newRow("iron: none") << person(F, 30, b) << int(N::Fer) << 0.0;
    }
    void upperLimits() {
        QFETCH(Person, p);
        QFETCH(int, slot);
        QFETCH(double, mg);
        QCOMPARE(PersonNeedsRules::upperLimitsOf(p, *m_efsa)[GroupNeeds::Slot(slot)], mg);
    }

    void groupLimitsAreTheirPersons() {
        const UpperLimits child = PersonNeedsRules::groupUpperLimits(QStringLiteral("E_5_ANS"), *m_efsa);
        QCOMPARE(child[GroupNeeds::Zinc], 10.0);
        const UpperLimits man = PersonNeedsRules::groupUpperLimits(QStringLiteral("H_FORCE"), *m_efsa);
        QCOMPARE(man[GroupNeeds::Cuivre], 5.0);
        QVERIFY(!PersonNeedsRules::groupUpperLimits(QStringLiteral("inconnu"), *m_efsa).any());
    }

    // Remembered, found again by name (letter case aside), renamed, changed,
    // forgotten; a write that fails leaves the table as it was.
    void personsTable() {
        TempDataDir dir;
        QVERIFY(PersonTable::read(dir.run()).isEmpty());
        Person marie = person(F, 72, {81, 160}, 1.4);
        marie.name = QStringLiteral("Marie");
        Person theo = person(H, 15, {60, 172}, 2.0);
        theo.name = QStringLiteral("Théo");
        PersonTable::remember(dir.run(), theo);
        PersonTable::remember(dir.run(), marie);
        QCOMPARE(PersonTable::read(dir.run()), (QVector<Person>{marie, theo}));

        marie.weight = 79.5;
        marie.name = QStringLiteral("MARIE");
        PersonTable::remember(dir.run(), marie);
        Person renamed = theo;
        renamed.name = QStringLiteral("Théo D.");
        renamed.state = Person::State::None;
        PersonTable::remember(dir.run(), renamed, QStringLiteral("théo"));
        QCOMPARE(PersonTable::read(dir.run()), (QVector<Person>{marie, renamed}));

        const QByteArray before = Files::bytesOf(dir.file(personsSchema().fileName));
        Person third = person(F, 30, adult(164));
        third.name = QStringLiteral("Léa");
        dir.run().seam().failAt(FileSeam::Op::Write, 1, FileSeam::Fault::DiskFull, true);
        EXPECT_DATA_ERROR(Contains, "PERSONNE.DBF", PersonTable::remember(dir.run(), third));
        marie.weight = 60;
        EXPECT_DATA_ERROR(Contains, "PERSONNE.DBF", PersonTable::remember(dir.run(), marie));
        dir.run().seam().reset();
        QCOMPARE(Files::bytesOf(dir.file(personsSchema().fileName)), before);

        PersonTable::forget(dir.run(), QStringLiteral("marie"));
        QCOMPARE(PersonTable::read(dir.run()), (QVector<Person>{renamed}));
        EXPECT_DATA_ERROR(StartsWith, "Une personne se retrouve par son nom",
                          PersonTable::remember(dir.run(), Person()));
    }

    // Installed, the program is in libexec/nutrimo and the file in
    // share/nutrimo; in the build tree, share/nutrimo is at its top.
    void efsaFileFound() {
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath("libexec/nutrimo") && QDir(prefix.path()).mkpath("share/nutrimo"));
        QCOMPARE(EfsaReference::locate(prefix.filePath("libexec/nutrimo")), QString());
        QVERIFY(QFile::copy(kEfsaFile, prefix.filePath("share/nutrimo/efsa-drv.csv")));
        const QString found = EfsaReference::locate(prefix.filePath("libexec/nutrimo"));
        QCOMPARE(found, QFileInfo(prefix.filePath("share/nutrimo/efsa-drv.csv")).canonicalFilePath());
        QCOMPARE(EfsaReference::locate(prefix.path()), found);
        QVERIFY(EfsaReference(found).table().rowFor("Iron", "Children", "Male", 13));
        EXPECT_DATA_ERROR(StartsWith,
                          "Le fichier efsa-drv.csv des valeurs de référence de l'EFSA est introuvable",
                          EfsaReference(QString()).table());
    }
};

QTEST_GUILESS_MAIN(TestPersonNeeds)
#include "tst_personneeds.moc"
