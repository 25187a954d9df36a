// buildtables: makes the tables supplied with Nutrimo from the data directory
// (foods.csv, needs.csv and the CIQUAL and EFSA sources under sources/).
//
//   buildtables [--donnees DIR] --sortie DIR
//       writes DIETAB.DBF and its side tables NONMESUR.DBF and ORIGINES.DBF,
//       BESOINS.DBF, CHOIX.DBF, choix0.dbf and Alimcomp.DBF, and the whole
//       CIQUAL table CIQUAL.DBF that the program reads its added foods from
//   buildtables [--donnees DIR] --ciqual-complet FICHIER.DBF
//       writes the whole CIQUAL table as one Food table
//   buildtables [--donnees DIR] --recalculer-besoins
//       prints needs.csv with its VALEUR column recomputed
//
// A bad source row stops it with a French message naming the row
// (file:line) and exit status 1; nothing is written then.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>

#include "core/io/dataerror.h"
#include "suppliedtables.h"

#ifndef NUTRIMO_DATA_DIR
#define NUTRIMO_DATA_DIR "data"
#endif

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("buildtables"));
    QTextStream out(stdout), err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Construit les tables fournies avec Nutrimo à partir des données CIQUAL et EFSA."));
    parser.addHelpOption();
    const QCommandLineOption dataOpt(QStringLiteral("donnees"),
                                     QStringLiteral("Répertoire des données (foods.csv, needs.csv, sources/)."),
                                     QStringLiteral("répertoire"), QStringLiteral(NUTRIMO_DATA_DIR));
    const QCommandLineOption outOpt(QStringLiteral("sortie"),
                                    QStringLiteral("Répertoire où écrire les tables fournies et CIQUAL.DBF."),
                                    QStringLiteral("répertoire"));
    const QCommandLineOption fullOpt(QStringLiteral("ciqual-complet"),
                                     QStringLiteral("Écrit toute la table CIQUAL dans ce fichier."),
                                     QStringLiteral("fichier"));
    const QCommandLineOption needsOpt(QStringLiteral("recalculer-besoins"),
                                      QStringLiteral("Affiche needs.csv avec les valeurs recalculées."));
    parser.addOptions({dataOpt, outOpt, fullOpt, needsOpt});
    parser.process(app);

    const int modes = int(parser.isSet(outOpt)) + int(parser.isSet(fullOpt)) + int(parser.isSet(needsOpt));
    if (modes != 1) {
        err << "buildtables : indiquez une seule des options --sortie, --ciqual-complet, "
               "--recalculer-besoins.\n";
        return 2;
    }
    const SourcePaths sources = SourcePaths::inDataDir(parser.value(dataOpt));
    QElapsedTimer timer;
    timer.start();
    try {
        if (parser.isSet(outOpt)) {
            SuppliedTables::build(sources, parser.value(outOpt));
            out << "Tables fournies écrites dans " << parser.value(outOpt) << " en " << timer.elapsed()
                << " ms.\n";
        } else if (parser.isSet(fullOpt)) {
            const int n = SuppliedTables::buildFullCiqual(sources.ciqual, parser.value(fullOpt));
            out << n << " aliments CIQUAL écrits dans " << parser.value(fullOpt) << " en " << timer.elapsed()
                << " ms.\n";
        } else {
            const EfsaTable efsa = EfsaTable::read(sources.efsa);
            const NeedsTable needs = Needs::read(sources.needs, efsa, false);
            out << Needs::rewrite(sources.needs, needs);
        }
    } catch (const DataError& e) {
        err << "buildtables : " << e.message() << "\n";
        return 1;
    }
    return 0;
}
