#include "app/demarrage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/diet.h"
#include "app/helpviewer.h"
#include "app/ouvrir.h"
#include "compose/compimpr.h"
#include "compose/compose.h"
#include "core/interfaces/prompter.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "core/needs/efsareference.h"
#include "core/session/reprisedemarrage.h"
#include "diagnosis/diagnost.h"
#include "foodtable/dietri.h"
#include "foodtable/consult.h"
#include "foodtable/modif.h"
#include "ui/errorhandler.h"
#include "ui/help.h"
#include "suggest/completer.h"

namespace Demarrage {

QString fichierCiqual(const QString& programDir, const QString& named) {
    QStringList candidates;
    if (!named.isEmpty()) candidates << named;
    const QDir dir(programDir);
    candidates << QDir::cleanPath(dir.filePath(QStringLiteral("../../share/nutrimo/CIQUAL.DBF")))
               << dir.filePath(QStringLiteral("tables/CIQUAL.DBF"));
    for (const QString& c : candidates)
        if (QFileInfo::exists(c)) return c;
    return candidates.first();
}

TFdiet* creeFenetres(Session& session) {
    Help::setHelpFile(FileNames::aide());
    Help::installF1Handler();

    Fenetres f;
    // EFSA's values are installed beside the supplied tables.
    f.efsa = std::make_shared<EfsaReference>(EfsaReference::locate(QCoreApplication::applicationDirPath()));
    f.Fmodif = new TFmodif(session);
    f.Fconsult = new TFconsult(session);
    f.Fcompose = new TFcompose(session);
    f.Fouvrir = new TFouvrir(session);
    // The chosen-list report lives in its container, a child of the
    // composition window that runs it.
    auto* compimpr = new TFcompimpr(f.Fcompose);
    f.Fcompose->setPrintHandler([compimpr](Table& tchoix) { compimpr->Preview(tchoix); });
    f.Fdiagnost = new TFdiagnost(session, *f.Fcompose);
    // Page 2 of the diagnosis opens the ranking of a nutrient, made for that
    // opening and gone when it closes, as from the Table menu.
    TFdiagnost* diagnost = f.Fdiagnost;
    diagnost->setOuvreClassement([diagnost](const QString& champ) {
        TFDietri fdietri(diagnost);
        fdietri.setChampInitial(champ);
        fdietri.exec();
    });
    // "Compléter la ration" for the group or the person of the bilan shown,
    // made for that opening; the bilan reads the day again when lines were
    // added.
    diagnost->setOuvreComplement([diagnost, &session, efsa = f.efsa](const QString& groupe, const PersonBilan* personne) {
        TFcompleter completer(session, *efsa, diagnost);
        if (personne)
            completer.setPersonne(groupe, personne->needs, personne->limits);
        else
            completer.setGroupe(groupe, true);
        return completer.exec() == QDialog::Accepted;
    });
    auto* diet = new TFdiet(session, f);
    HelpViewer::install(diet);
    return diet;
}

void lecturesInitiales(TFdiet& diet) {
    // Before anything reads the tables, under the Data directory's lock: an
    // interrupted composite save, or composite-food session (the day's choice
    // left in choix.tmp and an ingredient list in choix.dbf).
    ErrorHandler::run([] { RepriseDemarrage::execute(); });
    ErrorHandler::run([&] {
        if (TFdiagnost* d = diet.fenetres().Fdiagnost) d->premiereLecture();
    });
    ErrorHandler::run([&] {
        const QString why = diet.verifieTableCiqual();
        if (!why.isEmpty()) prompter().message(Prompter::Kind::Warning, why);
    });
}

}  // namespace Demarrage
