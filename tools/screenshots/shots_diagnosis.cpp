// Screenshots of the diagnosis window: page 1 and page 2 of a realistic day
// for "Femme active", and the printed sheet as a PDF beside the PNGs; then
// "Besoins d'une personne" on a woman of 72 among three persons kept, one
// error of range shown at once, and the bilan of the same day on her needs.
#include <QCoreApplication>
#include <QDateTime>
#include <QTreeWidget>
#include <cmath>
#include <QDir>
#include <QFileInfo>

#include <QListWidget>

#include "core/compose/dailytotals.h"
#include "core/io/runcontext.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "core/needs/efsareference.h"
#include "core/needs/persontable.h"
#include "diagnosis/diagnost.h"
#include "diagnosis/personne.h"
#include "diagnosis/jours.h"
#include "core/diagnosis/needs.h"
#include "screenshots.h"
#include "compose/compose.h"
#include "core/session/session.h"
#include "ui/printerservice.h"

namespace {
// Plausible daily recommendations for an active woman, in the row order of
// the Needs table (rows 2 and 7 hold the protein and lipid totals).
const double kNeeds[29] = {2400, 85,  45,  40,  40,  53,  93,    60, 250,  900, 360, 750, 16,   12,  0.15,
                           0.6,  1.1, 1.5, 1.5, 0.3, 110, 0.005, 11, 2300, 800, 2.5, 1.5, 2000, 3100};

void writeNeedsIfMissing(const QString& dir) {
    if (QFileInfo::exists(QDir(dir).filePath(needsSchema().fileName))) return;
    const QString path = QDir(dir).filePath(needsSchema().fileName);
    DbfFile::create(path, needsSchema().fields);
    RunContext run{DataDirectory(dir)};
    Table t(run, needsSchema());
    t.open();
    for (int r = 0; r < 29; ++r) {
        t.append();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Ligne %1").arg(r + 1));
        for (const PopulationGroup& g : populationGroups()) t.setFloat(g.column, kNeeds[r]);
        t.post();
    }
    t.close();
}

struct Portion {
    const char* name;   // the food's name in the Food table
    double grams;
};

// A day of about a dozen foods picked from the Food table by name; for the
// saved days of a bilan, each portion times scale and one food left out.
int writeDayFromFoodTable(const QString& dir, Table& choice, double scale = 1.0, int leftOut = -1) {
    if (!QFileInfo::exists(DataDirectory::resolveIn(dir, foodSchema().fileName))) return 0;
    Table food(choice.run(), foodSchema());
    food.open();
    const Portion day[] = {{"Pain de campagne", 150}, {"Lait demi-écrémé", 250},
                           {"Beurre doux", 15},       {"Poulet, rôti", 120},
                           {"Riz blanc, cuit", 180},  {"Haricots verts cuits", 150},
                           {"Yaourt nature", 125},    {"Pomme", 150},
                           {"Emmental", 30},          {"Huile d'olive", 15},
                           {"Lentilles cuites", 150}, {"Orange", 150},
                           {"Confiture", 20}};
    int lines = 0;
    for (const Portion& p0 : day) {
        if (&p0 - day == leftOut) continue;
        const Portion p{p0.name, std::round(p0.grams * scale)};
        // The food of that name, else the first whose name starts with it.
        const QString wanted = QString::fromUtf8(p.name);
        bool found = false;
        for (int pass = 0; pass < 2 && !found; ++pass)
            for (food.first(); !food.eof(); food.next()) {
                const QString nom = food.asString(QStringLiteral("NOM"));
                if (pass == 0 ? nom.compare(wanted, Qt::CaseInsensitive) == 0
                              : nom.startsWith(wanted, Qt::CaseInsensitive)) {
                    found = true;
                    break;
                }
            }
        if (!found) continue;
        choice.append();
        choice.setString(QStringLiteral("NOM"), food.asString(QStringLiteral("NOM")));
        choice.setFloat(QStringLiteral("QTE"), p.grams);
        for (const QString& f : lineComputedFields()) {
            if (f == QLatin1String("CALORIES")) continue;
            choice.setFloat(f, food.asFloat(f) * p.grams / 100.0);
        }
        choice.setFloat(QStringLiteral("CALORIES"),
                        foodEnergy(food.asFloat("PROT_A"), food.asFloat("PROT_V"), food.asFloat("LIPI_A"),
                                   food.asFloat("LIPI_V"), food.asFloat("GLUC_S"), food.asFloat("GLUC_A")) *
                            p.grams / 100.0);
        choice.post();
        ++lines;
    }
    return lines;
}

// Without a Food table: a plausible day written line by line. Values are for
// the line's quantity, in the Nutrient record's units.
void writePlausibleDay(Table& choice) {
    const QStringList fields = {
        "PROT_A", "PROT_V", "GLUC_S", "GLUC_A", "LIPI_A", "LIPI_V", "A_G_SAT", "A_G_MONO", "A_G_POLY", "CA",
        "MG",     "PH",     "FE",     "ZN",     "I",      "CL",     "S",       "MN",       "CU",       "NA",
        "K",      "VIT_A",  "VIT_B1", "VIT_B2", "VIT_B6", "VIT_B9", "VIT_C",   "VIT_D",    "VIT_PP"};
    struct Line {
        const char16_t* name;
        double qte;
        double v[29];
    };
    static const Line lines[] = {
        {u"Pain de campagne", 150, {0,   12.6, 2.4, 76,  0,     1.8,  0.4, 0.3, 0.8, 45,
                                    60,  180,  1.8, 1.2, 0.006, 900,  120, 0.9, 0.2, 780,
                                    210, 0,    0.2, 0.1, 0.15,  0.05, 0,   0,   2.4}},
        {u"Lait demi-écrémé", 250, {8.0, 0,    12,  0,    4.0,  0,     2.5, 1.1,     0.1,  300,
                                    27,  230,  0.1, 1.0,  0.04, 250,   75,  0.01,    0.02, 110,
                                    390, 0.05, 0.1, 0.45, 0.1,  0.012, 2.5, 0.00005, 0.25}},
        {u"Beurre doux", 15, {0.1, 0, 0.1, 0, 12.2, 0,   8.0,  3.2, 0.4, 2, 0.3, 3, 0,      0, 0,
                              2,   1, 0,   0, 1.5,  2.5, 0.12, 0,   0,   0, 0,   0, 0.0002, 0}},
        {u"Poulet, rôti", 120, {32,  0,    0,    0,   9.6,   0,    2.8, 4.0,    2.0, 14,
                                30,  240,  1.3,  2.0, 0.008, 90,   290, 0.02,   0.1, 85,
                                330, 0.03, 0.08, 0.2, 0.5,   0.01, 0,   0.0002, 10}},
        {u"Riz blanc, cuit", 180, {0, 4.9, 0.2, 50,  0, 0.5, 0.1, 0.1,  0.1,  18,  22,    60, 0.3, 0.9, 0.002,
                                   5, 40,  0.8, 0.1, 2, 55,  0,   0.04, 0.02, 0.1, 0.005, 0,  0,   0.7}},
        {u"Carottes, cuites", 150, {0,   1.2, 7.5,  0.5,  0,     0.3,  0.05, 0.02, 0.1,  45,
                                    15,  45,  0.5,  0.3,  0.003, 75,   12,   0.2,  0.05, 90,
                                    350, 1.2, 0.05, 0.06, 0.15,  0.03, 6,    0,    0.9}},
        {u"Yaourt nature", 125, {5.0, 0,    5.8,  0,   1.5,  0,    1.0, 0.4, 0.05, 180,
                                 15,  140,  0.1,  0.6, 0.02, 160,  50,  0,   0.01, 60,
                                 200, 0.02, 0.05, 0.2, 0.06, 0.01, 1.0, 0,   0.1}},
        {u"Pomme", 150, {0, 0.4, 17,   0.5,  0, 0.4, 0.05,  0.02, 0.1,  7,    6,     15, 0.2, 0.1, 0.001,
                         3, 7,   0.05, 0.05, 2, 170, 0.005, 0.03, 0.03, 0.07, 0.005, 7,  0,   0.15}},
        {u"Emmental", 40, {11,  0,  0, 0,    11.5, 0,  7.4, 3.0,  0.4,  410,  16,    250, 0.1,    1.8, 0.004,
                           120, 90, 0, 0.02, 110,  40, 0.1, 0.01, 0.12, 0.04, 0.004, 0,   0.0004, 0.04}},
        {u"Huile d'olive", 15, {0, 0, 0, 0, 0, 15, 2.1, 11, 1.5, 0, 0, 0, 0.1, 0, 0,
                                0, 0, 0, 0, 0, 0,  0,   0,  0,   0, 0, 0, 0,   0}},
        {u"Lentilles, cuites", 150, {0,   13.5,  0.8,  24,  0,     0.8,  0.1, 0.2, 0.4, 30,
                                     54,  270,   4.9,  1.9, 0.002, 20,   150, 0.7, 0.4, 5,
                                     550, 0.005, 0.25, 0.1, 0.25,  0.27, 2,   0,   1.5}},
    };
    for (const Line& l : lines) {
        choice.append();
        choice.setString(QStringLiteral("NOM"), QString::fromUtf16(l.name));
        choice.setFloat(QStringLiteral("QTE"), l.qte);
        for (int i = 0; i < fields.size(); ++i) choice.setFloat(fields[i], l.v[i]);
        choice.setFloat(QStringLiteral("CALORIES"), foodEnergy(l.v[0], l.v[1], l.v[4], l.v[5], l.v[2], l.v[3]));
        choice.post();
    }
}

// The printed sheets, beside the PNGs.
void imprimeVers(Shots::Shot& shot, TFdiagnost& w, const QString& pdf) {
    shot.desktop.printers().setPdfOutput(QDir(Shots::outputDir()).absoluteFilePath(pdf));
    w.SBimprimerClick();
    shot.desktop.printers().setPdfOutput(QString());
}

void personneShots(Shots::Shot& shot, const Shots::SaveFn& save) {
    const EfsaReference efsa(EfsaReference::locate(QCoreApplication::applicationDirPath()));
    const Person jeanne{QStringLiteral("Jeanne Martin"), Person::Sex::Female, 72, 81, 160, 1.4};
    for (const Person& p :
         {jeanne, Person{QStringLiteral("Lucas"), Person::Sex::Male, 15, 58, 172, 2.0},
          Person{QStringLiteral("Sarah"), Person::Sex::Female, 31, 62, 166, 1.6, Person::State::Pregnant3}})
        PersonTable::remember(shot.session.run(), p);

    TFpersonne dialog(shot.session.run(), efsa);
    dialog.show();
    dialog.LBpersonnes->setCurrentRow(0);
    save(&dialog, QStringLiteral("personne"));
    Person wrong = jeanne;
    wrong.height = 250;
    dialog.setPerson(wrong);
    save(&dialog, QStringLiteral("personne-hors-plage"));
    dialog.close();

    TFdiagnost w(shot.session, shot.desktop);
    const PersonBilan bilan = PersonNeedsRules::bilanOf(jeanne, efsa.table());
    w.setPerson(bilan);
    save(&w, QStringLiteral("personne-bilan-page1"));
    w.SBpage2Click();
    save(&w, QStringLiteral("personne-bilan-page2"));
    imprimeVers(shot, w, QStringLiteral("personne-impression.pdf"));
    w.close();
}

void diagnosisShots(Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dir = shot.dir;
    writeNeedsIfMissing(dir);
    const QString choicePath = DataDirectory::resolveIn(dir, choiceSchema().fileName);
    DbfFile::create(choicePath, choiceSchema().fields);   // the day starts empty
    TFcompose compose(shot.session, shot.desktop);
    Table& choice = compose.Tchoix();
    choice.open();
    if (writeDayFromFoodTable(dir, choice) < 6) {
        choice.close();
        DbfFile::create(choicePath, choiceSchema().fields);
        choice.open();
        writePlausibleDay(choice);
    }
    choice.close();

    {
        TFdiagnost w(shot.session, shot.desktop);
        w.setGroup(QStringLiteral("Femme active"));
        save(&w, QStringLiteral("diagnost-page1"));
        w.SBpage2Click();
        save(&w, QStringLiteral("diagnost-page2"));
        imprimeVers(shot, w, QStringLiteral("diagnost-impression.pdf"));
        w.close();
    }
    personneShots(shot, save);
}

// Five saved days of a week, a damaged file and a day from an older Food
// table; the window that picks them, and the bilan of four of them: its
// three pages and the two printed sheets.
void daysShots(Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dir = shot.dir;
    writeNeedsIfMissing(dir);
    const char* names[] = {"lundi.dat", "mardi.dat", "mercredi.dat", "jeudi.dat", "vendredi.dat"};
    const double scales[] = {0.9, 1.15, 0.75, 1.0, 1.3};
    const QDateTime monday(QDate(2026, 3, 9), QTime(21, 30));
    for (int d = 0; d < 5; ++d) {
        const QString path = QDir(dir).filePath(QString::fromLatin1(names[d]));
        DbfFile::create(path, choiceSchema().fields);
        Table choice(shot.session.run(), choiceSchema());
        choice.setFileName(QString::fromLatin1(names[d]));
        choice.open();
        if (writeDayFromFoodTable(dir, choice, scales[d], d * 2) < 6) writePlausibleDay(choice);
        if (d == 4) {   // a food the Food table no longer has
            choice.append();
            choice.setString(QStringLiteral("NOM"), QStringLiteral("Ancienne recette"));
            choice.setFloat(QStringLiteral("QTE"), 200);
            choice.setFloat(QStringLiteral("GLUC_A"), 30);
            choice.setFloat(QStringLiteral("CALORIES"), 120);
            choice.post();
        }
        choice.close();
        QFile f(path);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(monday.addDays(d), QFileDevice::FileModificationTime);
    }
    QFile damaged(QDir(dir).filePath(QStringLiteral("abime.dat")));
    damaged.open(QIODevice::WriteOnly);
    damaged.write("ceci n'est pas un choix du jour");
    damaged.close();

    TFdiagnost diagnost(shot.session, shot.desktop);
    QVector<SavedDay> chosen;
    QStringList groupes;
    for (const PopulationGroup& g : populationGroups()) groupes << g.caption;
    TFjours w(shot.session.run(), groupes, QStringLiteral("Femme active"),
              [&](const QString& groupe, const QVector<SavedDay>& jours) {
                  diagnost.setDays(groupe, jours);
                  chosen = jours;
              });
    w.show();
    for (int r = 0; r < 4; ++r) w.cocheJour(r, true);
    save(&w, QStringLiteral("jours-liste"));
    w.SBsuivantClick();
    save(&w, QStringLiteral("jours-groupes"));
    w.SBbilanClick();
    w.close();

    save(&diagnost, QStringLiteral("jours-page1"));
    diagnost.SBpage2Click();
    save(&diagnost, QStringLiteral("jours-page2"));
    diagnost.SBpage3Click();
    save(&diagnost, QStringLiteral("jours-page3"));
    imprimeVers(shot, diagnost, QStringLiteral("jours-impression.pdf"));
    diagnost.close();

    // Two weeks: the most days a bilan takes, page 3 at its most crowded.
    for (int d = 5; d < 14; ++d) {
        const QString copy = QDir(dir).filePath(QStringLiteral("jour%1.dat").arg(d + 1));
        QFile::copy(QDir(dir).filePath(QString::fromLatin1(names[d % 4])), copy);
        QFile f(copy);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(monday.addDays(d), QFileDevice::FileModificationTime);
    }
    w.show();
    w.cocheTout();
    w.SBsuivantClick();
    w.SBbilanClick();
    w.close();
    diagnost.SBpage3Click();
    save(&diagnost, QStringLiteral("jours-page3-14"));
    imprimeVers(shot, diagnost, QStringLiteral("jours-impression-14.pdf"));
    diagnost.close();
}
}   // namespace

NUTRIMO_SHOT(diagnosis, diagnosisShots);
NUTRIMO_SHOT(days, daysShots);
