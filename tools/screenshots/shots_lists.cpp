// Screenshots of the two printed lists: the ranking window (on animal
// proteins, then on calcium) with its printed page, and the chosen-list
// report's preview with its printed pages (a day, and a list of 45 lines
// over two pages), the PDFs beside the PNGs; and page 2 of the diagnosis
// with a row selected, from which the ranking of its nutrient opens.
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QTest>

#include "compose/compimpr.h"
#include "compose/compose.h"
#include "core/io/runcontext.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "core/diagnosis/needs.h"
#include "diagnosis/diagnost.h"
#include "foodtable/dietri.h"
#include "screenshots.h"
#include "ui/printerservice.h"

namespace {
QString outFile(const QString& name) { return QDir(Shots::outputDir()).absoluteFilePath(name); }

void rankingShots(Shots::Shot& shot, const Shots::SaveFn& save) {
    TFDietri w(shot.desktop);
    if (!w.prepare()) return;
    save(&w, QStringLiteral("dietri-prot_a"));
    w.RBcalciumClick();
    save(&w, QStringLiteral("dietri-calcium"));
    shot.desktop.printers().setPdfOutput(outFile(QStringLiteral("dietri-impression.pdf")));
    w.SBimprimerClick();
    shot.desktop.printers().setPdfOutput(QString());
    w.close();
}

// The Choice table filled with `lines` foods of the Food table, every fifth
// food from the first, with quantities from 50 to 250 g.
void writeChoice(const QString& dir, int lines, double quantite = 0) {
    DbfFile::create(QDir(dir).filePath(choiceSchema().fileName), choiceSchema().fields);
    RunContext run{DataDirectory(dir)};
    Table food(run, foodSchema()), choice(run, choiceSchema());
    food.open();
    choice.open();
    int n = 0;
    for (food.first(); !food.eof() && n < lines; food.next()) {
        if (food.recordCount() > 5 * lines && food.currentRow() % 5 != 0) continue;
        const double q = quantite > 0 ? quantite : 50.0 + 25.0 * (n % 9);
        choice.append();
        choice.setString(QStringLiteral("NOM"), food.asString(QStringLiteral("NOM")));
        choice.setFloat(QStringLiteral("QTE"), q);
        for (const QString& f : lineComputedFields())
            if (f != QLatin1String("CALORIES")) choice.setFloat(f, food.asFloat(f) * q / 100.0);
        choice.setFloat(QStringLiteral("CALORIES"),
                        foodEnergy(food.asFloat("PROT_A"), food.asFloat("PROT_V"), food.asFloat("LIPI_A"),
                                   food.asFloat("LIPI_V"), food.asFloat("GLUC_S"), food.asFloat("GLUC_A")) *
                            q / 100.0);
        choice.post();
        ++n;
    }
}

void reportShots(Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dir = shot.dir;
    writeChoice(dir, 12);
    TFcompose compose(shot.session, shot.desktop);
    TFcompimpr& compimpr = *compose.Fcompimpr();
    shot.desktop.onRun = [&](QDialog& d) {
        d.resize(900, 1000);
        save(&d, QStringLiteral("compimpr-apercu"));
        d.reject();
    };
    Table& tchoix = compose.Tchoix();
    tchoix.open();
    compimpr.Preview(tchoix);
    shot.desktop.printers().setPdfOutput(outFile(QStringLiteral("compimpr-impression.pdf")));
    compimpr.Print(tchoix);
    tchoix.close();

    writeChoice(dir, 45);
    tchoix.open();
    shot.desktop.printers().setPdfOutput(outFile(QStringLiteral("compimpr-45-lignes.pdf")));
    compimpr.Print(tchoix);
    shot.desktop.printers().setPdfOutput(QString());
    tchoix.close();

    // Lines of 10 000 g: the columns widen to their values.
    writeChoice(dir, 12, 10000);
    tchoix.open();
    shot.desktop.onRun = [&](QDialog& d) {
        d.resize(900, 1000);
        save(&d, QStringLiteral("compimpr-10000g"));
        d.reject();
    };
    compimpr.Preview(tchoix);
    tchoix.close();
}

// Page 2 of the diagnosis with the iron row selected: the dotted frame that
// a double-click or Enter turns into the ranking on iron.
void shortfallShot(Shots::Shot& shot, const Shots::SaveFn& save) {
    const QString& dir = shot.dir;
    if (!QFileInfo::exists(DataDirectory::resolveIn(dir, needsSchema().fileName))) return;
    writeChoice(dir, 12);
    Session& session = shot.session;
    session.FirstPaint = false;
    TFdiagnost d(session, shot.desktop);
    d.setGroup(QStringLiteral("Femme active"));
    d.show();
    d.SBpage2Click();
    d.choisitLigne(4);
    save(&d, QStringLiteral("diagnost-page2-fer"));
    d.close();
}
}   // namespace

NUTRIMO_SHOT(dietri, rankingShots);
NUTRIMO_SHOT(diagnost_fer, shortfallShot);
NUTRIMO_SHOT(compimpr, reportShots);
