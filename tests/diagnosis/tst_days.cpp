// The bilan of several days without windows: the saved days listed and read
// (read-only, damaged or missing files, foods gone from the Food table), the
// mean of three known days recomputed here on pages 1 and 2, the marks of any
// day carried over, page 3 and the second printed sheet.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "core/compose/savedday.h"
#include "core/diagnosis/daysbilan.h"
#include "core/diagnosis/page1.h"
#include "core/diagnosis/page2.h"
#include "core/diagnosis/page3.h"
#include "core/diagnosis/sheet.h"
#include "pagetestdata.h"
#include "support/files.h"
#include "support/testsupport.h"

namespace {
QVariantMap line(const QString& nom, double qte, const QVariantMap& values) {
    QVariantMap m = values;
    m["NOM"] = nom;
    m["QTE"] = qte;
    return m;
}

// Three days of known lines (only a few nutrients each, the rest blank).
const QVector<QVector<QVariantMap>>& troisJours() {
    static const QVector<QVector<QVariantMap>> days = {
        {line(QStringLiteral("Poulet, rôti"), 150,
              {{"PROT_A", 30},
               {"LIPI_A", 15},
               {"CALORIES", 255},
               {"CA", 20},
               {"FE", 1.5},
               {"VIT_D", 0.0015},
               {"A_G_SAT", 4},
               {"A_G_MONO", 6},
               {"A_G_POLY", 3}}),
         line(QStringLiteral("Pain blanc"), 100,
              {{"PROT_V", 9},
               {"GLUC_A", 50},
               {"GLUC_S", 3},
               {"LIPI_V", 1},
               {"CALORIES", 257},
               {"CA", 30},
               {"FE", 1.1},
               {"K", 110}})},
        {line(QStringLiteral("Cabillaud"), 200,
              {{"PROT_A", 36},
               {"LIPI_A", 2},
               {"CALORIES", 162},
               {"CA", 40},
               {"FE", 0.8},
               {"VIT_D", 0.002},
               {"I", 0.11}}),
         line(QStringLiteral("Yaourt nature"), 125,
              {{"PROT_A", 5},
               {"GLUC_S", 6},
               {"LIPI_A", 1.25},
               {"CALORIES", 53},
               {"CA", 150},
               {"A_G_SAT", 0.8}})},
        {line(QStringLiteral("Boeuf, steak grillé"), 120,
              {{"PROT_A", 31.2}, {"LIPI_A", 9.6}, {"CALORIES", 211.2}, {"FE", 3.1}, {"CA", 10}, {"ZN", 5.2}}),
         line(QStringLiteral("Pain blanc"), 200,
              {{"PROT_V", 18},
               {"GLUC_A", 100},
               {"GLUC_S", 6},
               {"LIPI_V", 2},
               {"CALORIES", 514},
               {"CA", 60},
               {"FE", 2.0},
               {"VIT_C", 12}}),
         line(QStringLiteral("Beurre"), 10,
              {{"LIPI_A", 8.2}, {"CALORIES", 74}, {"A_G_SAT", 5}, {"VIT_A", 0.07}})},
    };
    return days;
}

// The mean of one field over the three days, added up here from the lines.
double moyenne(const char* field) {
    double sum = 0;
    for (const auto& day : troisJours())
        for (const QVariantMap& l : day) sum += l.value(QLatin1String(field)).toDouble();
    return sum / troisJours().size();
}

QDateTime jour(int d) { return QDateTime(QDate(2026, 3, 2).addDays(d), QTime(20, 0)); }

// The three days saved in a fresh Data directory, newest first on disk.
struct TroisJours {
    TempDataDir dir;
    TroisJours() {
        Fixtures::writeAllTables(dir.path());
        const char* names[] = {"lundi.dat", "mardi.dat", "mercredi.dat"};
        for (int d = 2; d >= 0; --d)
            Fixtures::writeSavedDay(dir.path(), QLatin1String(names[d]), troisJours()[d], jour(d));
    }
    DiagnosisData bilan() {
        return bilanDesJours(SavedDays::readAll(dir.run()), QStringLiteral("Femme active"),
                             PageTest::baseline().needs);
    }
};

bool rowHas(const RecordingSurface& s, int y, const QString& text) {
    for (const auto& op : PageTest::onRow(s, y))
        if (op.text.trimmed() == text) return true;
    return false;
}
QString f2(double v) { return QString::number(v, 'f', 2); }
}   // namespace

class TestDays : public QObject {
    Q_OBJECT
private slots:
    // Every saved day is listed by date, read without a byte written; what
    // cannot take part in a bilan says why.
    void listing() {
        TroisJours f;
        const QString dir = f.dir.path();
        Fixtures::writeSavedDay(dir, QStringLiteral("vide.dat"), {}, jour(5));
        Fixtures::writeSavedDay(dir, QStringLiteral("ancien.DAT"),
                                {line(QStringLiteral("Ragoût d'autrefois"), 300, {{"CALORIES", 450}}),
                                 line(QStringLiteral(" pain BLANC "), 50, {{"CALORIES", 128}}),
                                 line(QStringLiteral("Plat disparu"), 100, {{"CALORIES", 90}})},
                                jour(-3));
        QVERIFY(Files::writeBytes(f.dir.file(QStringLiteral("abime.dat")), QByteArray("pas un choix du jour")));
        QFile(f.dir.file(QStringLiteral("abime.dat"))).open(QIODevice::ReadWrite);
        QVERIFY(
            QFile::link(f.dir.file(QStringLiteral("nulle-part.dbf")), f.dir.file(QStringLiteral("parti.dat"))));
        Fixtures::appendRecords(choiceSchema(), f.dir.file(QStringLiteral("CHOIX.DBF")), troisJours()[0]);
        QMap<QString, QByteArray> avant;
        for (const QString& n : QDir(dir).entryList(QDir::Files)) avant[n] = Files::bytesOf(f.dir.file(n));

        const QVector<SavedDay> days = SavedDays::readAll(f.dir.run());
        QStringList order, remarks;
        for (const SavedDay& d : days) {
            order << d.name;
            remarks << d.remark();
        }
        // abime.dat is dated now, after every other day; the missing one comes last.
        QCOMPARE(order, QStringList({"ancien.DAT", "lundi.dat", "mardi.dat", "mercredi.dat", "vide.dat",
                                     "abime.dat", "parti.dat"}));
        QCOMPARE(remarks, QStringList({"2 aliments absents de la table", "", "", "", "vide", "endommagé",
                                       "introuvable"}));
        QCOMPARE(days[0].lines, 3);
        QCOMPARE(days[0].totals[DailyTotals::CALORIES], 668.0);   // the stored values count all the same
        QVERIFY(days[0].tickable());
        QCOMPARE(days[3].lines, 3);
        QCOMPARE(days[1].modified, jour(0));
        for (int i : {4, 5, 6}) QVERIFY(!days[i].tickable());
        QVERIFY2(days[5].reason.contains(QStringLiteral("abime.dat")), qPrintable(days[5].reason));
        QVERIFY(!days[6].modified.isValid());

        for (auto it = avant.constBegin(); it != avant.constEnd(); ++it)
            QVERIFY2(Files::bytesOf(f.dir.file(it.key())) == it.value(), qPrintable(it.key()));
        QVERIFY(!QFileInfo::exists(f.dir.file(QStringLiteral("nulle-part.dbf"))));
    }

    // The mean of three known days, recomputed here from their lines, is
    // what pages 1 and 2 show, as one day's values would be.
    void averageOfThreeKnownDays() {
        TroisJours f;
        const DiagnosisData data = f.bilan();
        QCOMPARE(data.jours.size(), 3);
        const DiagLayout l = DiagLayout::ecran();

        RecordingSurface p1;
        dessinePage1(p1, l, data);
        QVERIFY(rowHas(p1, l.rowY(1), QStringLiteral("Moyenne de 3 jours")));
        QVERIFY(rowHas(p1, l.rowY(0), QString::number(moyenne("CALORIES"), 'f', 0) + QStringLiteral(" kcal")));
        const struct {
            int row;
            const char* field;
        } grams[] = {{4, "PROT_A"},  {5, "PROT_V"},   {8, "GLUC_S"},    {9, "GLUC_A"},   {12, "LIPI_A"},
                     {13, "LIPI_V"}, {16, "A_G_SAT"}, {17, "A_G_MONO"}, {18, "A_G_POLY"}};
        for (const auto& g : grams)
            QVERIFY2(rowHas(p1, l.rowY(g.row), f2(moyenne(g.field)) + QStringLiteral(" g")), g.field);
        // Protein energy: 4 kcal per gram of the mean grams.
        const long long k = std::llround((moyenne("PROT_A") + moyenne("PROT_V")) * 4);
        QVERIFY(PageTest::countTexts(p1, [&](const RecordingSurface::Op& op) {
                    return op.text.startsWith(QStringLiteral("(environ %1 ").arg(k, 4));
                }) == 1);

        RecordingSurface p2;
        dessinePage2(p2, l, data);
        QVERIFY(rowHas(p2, l.rowY(1), QStringLiteral("Moyenne de 3 jours")));
        const GroupNeeds& n = data.needs;
        const struct {
            const char* label;
            const char* field;
            double need;
            const char* suffix;
            double factor;
        } rows[] = {{"- Énergie", "CALORIES", n[GroupNeeds::Energie], " kcal", 1},
                    {"- Calcium", "CA", n[GroupNeeds::Calcium], " mg", 1},
                    {"- Fer", "FE", n[GroupNeeds::Fer], " mg", 1},
                    {"- Iode", "I", n[GroupNeeds::Iode], " mg", 1},
                    {"- Potassium", "K", n[GroupNeeds::Potassium], " mg", 1},
                    {"- Zinc", "ZN", n[GroupNeeds::Zinc], " mg", 1},
                    {"- Vit. A", "VIT_A", n[GroupNeeds::VitA], " mg", 1},
                    {"- Vit. C", "VIT_C", n[GroupNeeds::VitC], " mg", 1},
                    {"- Vit. D", "VIT_D", n[GroupNeeds::VitD], " µg", 1000}};
        for (const auto& r : rows) {
            const RecordingSurface::Op* label = p2.findText(QString::fromUtf8(r.label));
            QVERIFY2(label, r.label);
            const double mean = moyenne(r.field);
            QVERIFY2(rowHas(p2, label->y, f2(mean * r.factor) + QString::fromUtf8(r.suffix)), r.label);
            QVERIFY2(rowHas(p2, label->y, f2(mean * 100 / r.need) + QStringLiteral(" %")), r.label);
        }
    }

    // A rate is marked when any chosen day lacks a measured value for it;
    // a food lacking one counts once however many days it was chosen.
    void marksOfAnyDay() {
        TroisJours f;
        Fixtures::createEmpty(nonMesuresSchema(), f.dir.path());
        FichierNonMesures::marque(f.dir.run(), f.dir.path(), 8, QStringLiteral("Pain blanc"),
                                  {QStringLiteral("VIT_C")});

        const DiagnosisData data = f.bilan();
        QVERIFY(data.nonMesures.marque(DailyTotals::VIT_C));
        QVERIFY(!data.nonMesures.marque(DailyTotals::CA));
        QCOMPARE(data.nonMesures.aliments, 1);   // on Monday and on Wednesday, one food
        RecordingSurface p2;
        const DiagLayout l = DiagLayout::ecran();
        dessinePage2(p2, l, data);
        QVERIFY(rowHas(p2, p2.findText(QStringLiteral("- Vit. C"))->y, QStringLiteral("*")));
        QVERIFY(!rowHas(p2, p2.findText(QStringLiteral("- Calcium"))->y, QStringLiteral("*")));
        QVERIFY(p2.findText(texteNonMesures(1)));
        RecordingSurface p3;
        dessinePage3Ecran(p3, data, 1);
        QVERIFY(rowHas(p3, l.rowY(3), QStringLiteral("C*")));
    }

    // Page 3: a row per day and their mean, each day's energy and rates; the
    // bars as high as the values; the chart's nutrient picked in the table.
    void dayByDay() {
        TroisJours f;
        const DiagnosisData data = f.bilan();
        const DiagLayout l = DiagLayout::ecran();
        const GroupNeeds& n = data.needs;
        // The lowest coverage among minerals and vitamins: chlorine, none
        // chosen (0 %), the first of those at 0 %.
        QCOMPARE(nutrimentParDefaut(data), 2);
        RecordingSurface s;
        dessinePage3Ecran(s, data, 4);   // Fer
        QVERIFY(s.findText(QStringLiteral("JOUR PAR JOUR :")));
        const QStringList days = {"1 lundi", "2 mardi", "3 mercredi"};
        for (int d = 0; d < 3; ++d) {
            const int y = l.rowY(rangeeJourPage3(d));
            QVERIFY(rowHas(s, y, days[d]));
            double kcal = 0, fe = 0;
            for (const QVariantMap& li : troisJours()[d]) {
                kcal += li.value("CALORIES").toDouble();
                fe += li.value("FE").toDouble();
            }
            QVERIFY2(rowHas(s, y, QString::number(std::lround(kcal))), qPrintable(days[d]));
            QVERIFY2(rowHas(s, y, QString::number(std::lround(fe * 100 / n[GroupNeeds::Fer]))),
                     qPrintable(days[d]));
        }
        const int ym = l.rowY(rangeeMoyennePage3(3));
        QVERIFY(rowHas(s, ym, QStringLiteral("Moyenne")));
        QVERIFY(rowHas(s, ym, QString::number(std::lround(moyenne("CALORIES")))));
        QVERIFY(s.findText(QStringLiteral("Fer par jour (% du besoin) ; tirets : 100 %")));
        // The chosen column's heading stands out.
        int ferStyle = -1;
        for (const auto& op : PageTest::onRow(s, l.rowY(3)))
            if (op.text == QLatin1String("Fe")) ferStyle = op.style;
        QCOMPARE(ferStyle, Surface::Bold | Surface::Underline);

        // The energy bars (red, vertical) stand in proportion to the days' energy.
        QList<RecordingSurface::Op> bars;
        for (const auto& op : s.lines())
            if (op.colour == SurfaceColour::Red && op.x == op.x2) bars << op;
        QCOMPARE(bars.size(), 3);
        const double h0 = bars[0].y - bars[0].y2, h2 = bars[2].y - bars[2].y2;
        QVERIFY(std::abs(h0 / h2 - (255.0 + 257.0) / (211.2 + 514.0 + 74.0)) < 0.02);

        // A column found again from its x; the day-name column is no nutrient.
        for (int ligne : {0, 1, 4, 20})
            QCOMPARE(lignePage2EnX(l, bordColonnePage3(l, colonneDeLignePage2(ligne)) - 3), ligne);
        QCOMPARE(lignePage2EnX(l, 20), -1);
    }

    // The second sheet: page 3 at the paper's scale, then the days with
    // their files, dates, lines and energy.
    void secondSheet() {
        TroisJours f;
        const DiagnosisData data = f.bilan();
        RecordingSurface s;
        dessineFeuilleJours(s, 8, data, 1);
        QVERIFY(s.findText(QStringLiteral("JOURS :")));
        const RecordingSurface::Op* mardi = s.findText(QStringLiteral("mardi.dat"));
        QVERIFY(mardi);
        QVERIFY(rowHas(s, mardi->y, QStringLiteral("03/03/2026 20:00")));
        QVERIFY(rowHas(s, mardi->y, QStringLiteral("2 lignes")));
        QVERIFY(rowHas(s, mardi->y, QStringLiteral("215 kcal")));
        for (const auto& op : s.texts()) QCOMPARE(op.font, QStringLiteral("Times New Roman"));
        QVERIFY(s.findText(QStringLiteral("JOURS :"))->y > s.findText(QStringLiteral("Moyenne"))->y);
    }
};

QTEST_GUILESS_MAIN(TestDays)
#include "tst_days.moc"
