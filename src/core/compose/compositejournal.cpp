#include "core/compose/compositejournal.h"

#include <QFile>
#include <QSet>
#include <QVector>

#include <cerrno>
#include <unistd.h>

#include "core/io/dataerror.h"
#include "core/io/runcontext.h"
#include "core/dbf/dbf.h"
#include "core/io/fileerror.h"
#include "core/io/fileops.h"
#include "core/io/wholefile.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

namespace CompositeJournal {
namespace {

const QByteArray kEntete = "NUTRIMO COMPOSE\n";

struct Copie {
    QString table;
    QString copie;
};

QVector<Copie> copies() {
    return {{foodSchema().fileName, QStringLiteral("DIETAB.jnl")},
            {compositeSchema().fileName, QStringLiteral("Alimcomp.jnl")}};
}

// The words of the messages for each operation.
struct Mots {
    QString cle;      // in the journal
    QString le;       // "l'enregistrement"
    QString Le;       // "L'enregistrement"
    QString fait;     // "enregistré"
    QString acheve;   // "achevé", agreeing with le
};

const Mots& mots(Operation operation) {
    static const Mots enregistrement{QStringLiteral("enregistrement"), QStringLiteral("l'enregistrement"),
                                     QStringLiteral("L'enregistrement"), QStringLiteral("enregistré"),
                                     QStringLiteral("achevé")};
    static const Mots suppression{QStringLiteral("suppression"), QStringLiteral("la suppression"),
                                  QStringLiteral("La suppression"), QStringLiteral("supprimé"),
                                  QStringLiteral("achevée")};
    return operation == Operation::Suppression ? suppression : enregistrement;
}

struct Journal {
    QString etat;
    QString nom;
    Operation operation = Operation::Enregistrement;   // a journal without the line is a save's
};

void ecritJournal(RunContext& run, const QString& etat, const Journal& j) {
    const QByteArray bytes = kEntete + "etat=" + etat.toUtf8() + "\nnom=" + j.nom.toUtf8() +
                             "\noperation=" + mots(j.operation).cle.toUtf8() + "\n";
    WholeFile::replace(run.seam(), run.dataDir().resolve(fichierJournal()), bytes, fichierJournal());
}

// The journal as written; false when there is none.
bool litJournal(RunContext& run, Journal* j) {
    if (!FileOps::fileExists(run, fichierJournal())) return false;
    const QByteArray bytes = WholeFile::read(run.dataDir().resolve(fichierJournal()), fichierJournal());
    if (!bytes.startsWith(kEntete))
        throw DataError(QStringLiteral("Le fichier %1 n'est pas un journal d'enregistrement "
                                       "d'aliment composé : il est laissé tel quel.")
                            .arg(fichierJournal()));
    for (const QByteArray& line : bytes.mid(kEntete.size()).split('\n')) {
        if (line.startsWith("etat=")) j->etat = QString::fromUtf8(line.mid(5));
        if (line.startsWith("nom=")) j->nom = QString::fromUtf8(line.mid(4));
        if (line == "operation=" + mots(Operation::Suppression).cle.toUtf8())
            j->operation = Operation::Suppression;
    }
    return true;
}

void supprimeSansErreur(RunContext& run, const QString& name) {
    try {
        FileOps::deleteFile(run, name);
    } catch (const DataError&) {
    }
}

// The journal first: copies without a journal are only removed at start-up.
void nettoie(RunContext& run) {
    supprimeSansErreur(run, fichierJournal());
    for (const Copie& c : copies()) supprimeSansErreur(run, c.copie);
}

// Puts the copy's bytes back into the table file itself (same file, so no
// space is needed and every name stays): written, cut to size and flushed.
// Done again whole if it is interrupted.
void remetEnPlace(RunContext& run, const Copie& c, const Mots& m) {
    const QByteArray bytes = WholeFile::read(run.dataDir().resolve(c.copie), c.copie);
    DbfFile::fromBytes(bytes, c.copie);   // a copy that does not read is not put back
    const QString path = run.dataDir().resolve(c.table);
    int fd = -1;
    int err = run.seam().openForWriting(path, &fd);
    if (!err) err = run.seam().writeAll(fd, 0, bytes.constData(), bytes.size(), path);
    if (!err && ::ftruncate(fd, bytes.size()) < 0) err = errno;
    if (!err) err = run.seam().flush(fd, path);
    if (fd >= 0) ::close(fd);
    if (err)
        throw DataError(QStringLiteral("Impossible de remettre le fichier %1 dans son état "
                                       "d'avant %3 : %2. Il le sera au prochain démarrage.")
                            .arg(c.table, FileError::fromErrno(err, path), m.le));
}

}   // namespace

const QString& fichierJournal() {
    static const QString name = QStringLiteral("compose.jnl");
    return name;
}

void enUnite(Table& talim, Table& talimCompo, const QString& nom, Operation operation,
             const std::function<void()>& ecritures) {
    RunContext& run = talim.run();
    commence(run, nom, operation);
    try {
        ecritures();
        termine(run);
    } catch (const DataError& e) {
        // The handles hold the tables in memory: closed while the files are
        // put back, then reopened on what is on disk.
        talim.close();
        talimCompo.close();
        QString suite =
            QStringLiteral("Les tables des aliments sont restées telles qu'avant %1.").arg(mots(operation).le);
        try {
            annule(run);
        } catch (const DataError& undo) {
            suite = undo.message();
        }
        try {
            talim.open();
            talimCompo.open();
        } catch (const DataError&) {
        }
        throw DataError(QStringLiteral("L'aliment %1 n'a pas été %2.\n%3\n%4")
                            .arg(nom, mots(operation).fait, e.message(), suite));
    }
}

void commence(RunContext& run, const QString& nom, Operation operation) {
    const QString pasFait = QStringLiteral("L'aliment %1 n'a pas été %2 : ").arg(nom, mots(operation).fait);
    // The copies of a save that could not be undone are kept for the next
    // start-up: a new save must not replace them with half-written tables.
    if (FileOps::fileExists(run, fichierJournal()))
        throw DataError(pasFait + QStringLiteral("une modification précédente des aliments "
                                                 "composés n'a pas pu être défaite (%1). Quittez "
                                                 "puis relancez le programme, qui remettra les "
                                                 "tables en état.")
                                      .arg(fichierJournal()));
    const Journal j{QString(), nom, operation};
    try {
        ecritJournal(run, QStringLiteral("debut"), j);
        for (const Copie& c : copies()) {
            FileOps::copyFile(run, c.table, c.copie);
            if (!FileOps::sameContent(run, c.table, c.copie))
                throw DataError(QStringLiteral("La copie de sécurité %1 ne relit pas les mêmes "
                                               "octets que %2.")
                                    .arg(c.copie, c.table));
        }
        ecritJournal(run, QStringLiteral("ecriture"), j);
    } catch (const DataError& e) {
        nettoie(run);
        throw DataError(pasFait + QStringLiteral("les copies de sécurité des tables n'ont pas pu "
                                                 "être faites.\n%1\nLes tables n'ont pas été "
                                                 "modifiées.")
                                      .arg(e.message()));
    }
}

void termine(RunContext& run) {
    Journal j;
    litJournal(run, &j);
    ecritJournal(run, QStringLiteral("fait"), j);
    nettoie(run);
}

void annule(RunContext& run) {
    Journal j;
    litJournal(run, &j);
    for (const Copie& c : copies()) remetEnPlace(run, c, mots(j.operation));
    nettoie(run);
}

QString reprise(RunContext& run) {
    Journal j;
    if (!litJournal(run, &j)) {
        // Copies without a journal: a save finished all but their removal.
        for (const Copie& c : copies()) supprimeSansErreur(run, c.copie);
        return QString();
    }
    const Mots& m = mots(j.operation);
    if (j.etat == QLatin1String("ecriture")) {
        annule(run);
        return QStringLiteral(
                   "Le programme s'est arrêté pendant %2 de l'aliment composé %1.\n"
                   "Les tables des aliments ont été remises dans leur état d'avant %2 : "
                   "l'aliment %1 n'a pas été %3.")
            .arg(j.nom, m.le, m.fait);
    }
    nettoie(run);
    if (j.etat == QLatin1String("fait"))
        return QStringLiteral(
                   "Le programme s'est arrêté à la fin de %2 de l'aliment composé %1.\n"
                   "%3 était %4 : les tables des aliments sont dans leur état d'après "
                   "%2.")
            .arg(j.nom, m.le, m.Le, m.acheve);
    return QStringLiteral(
               "Le programme s'est arrêté au début de %2 de l'aliment composé %1.\n"
               "Rien n'avait encore été écrit : les tables des aliments sont dans leur "
               "état d'avant %2.")
        .arg(j.nom, m.le);
}

QStringList orphelins(RunContext& run) {
    // A missing table is reported by the readings that need it.
    if (!FileOps::fileExists(run, foodSchema().fileName) ||
        !FileOps::fileExists(run, compositeSchema().fileName))
        return {};
    auto aliments = DbfFile::open(run.dataDir().resolve(foodSchema().fileName), true, &run);
    auto lignes = DbfFile::open(run.dataDir().resolve(compositeSchema().fileName), true, &run);
    foodSchema().checkFile(*aliments);
    compositeSchema().checkFile(*lignes);
    const int nomCompo = lignes->fieldIndex(QStringLiteral("NOM_COMPO"));
    QSet<QString> composes;
    for (int r = 0; r < lignes->recordCount(); ++r)
        if (!lignes->isDeleted(r)) composes.insert(lignes->text(r, nomCompo));
    const int nom = aliments->fieldIndex(QStringLiteral("NOM"));
    const int categorie = aliments->fieldIndex(QStringLiteral("CATEGORIE"));
    const int numero = aliments->fieldIndex(QStringLiteral("NUMERO"));
    QStringList names;
    for (int r = 0; r < aliments->recordCount(); ++r) {
        if (aliments->isDeleted(r) || aliments->text(r, categorie) != CategorieComposee) continue;
        // A Base food is never deleted: naming it would ask for the impossible.
        if (aliments->number(r, numero) <= DernierAlimentDeBase) continue;
        const QString n = aliments->text(r, nom);
        if (!composes.contains(n)) names << n;
    }
    return names;
}

}   // namespace CompositeJournal
