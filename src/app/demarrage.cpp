#include "app/demarrage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/diet.h"
#include "app/helpviewer.h"
#include "core/interfaces/prompter.h"
#include "core/session/reprisedemarrage.h"
#include "core/session/session.h"
#include "diagnosis/diagnost.h"
#include "ui/desktop.h"
#include "ui/errorhandler.h"

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

TFdiet* creeFenetres(Session& session, Desktop& desktop) {
    desktop.installF1Handler();
    auto* diet = new TFdiet(session, desktop);
    HelpViewer::install(desktop, diet);
    return diet;
}

void lecturesInitiales(Session& session, TFdiet& diet) {
    // Before anything reads the tables, under the Data directory's lock: an
    // interrupted composite save, or composite-food session (the day's choice
    // left in choix.tmp and an ingredient list in choix.dbf).
    ErrorHandler::run(session.prompter(), [&] { RepriseDemarrage::execute(session.run()); });
    ErrorHandler::run(session.prompter(), [&] { diet.Fdiagnost->premiereLecture(); });
    ErrorHandler::run(session.prompter(), [&] {
        const QString why = diet.verifieTableCiqual();
        if (!why.isEmpty()) session.prompter().message(Prompter::Kind::Warning, why);
    });
}

}   // namespace Demarrage
