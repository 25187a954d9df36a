#include "core/compose/compositejournal.h"

#include <QFile>
#include <QSet>
#include <QVector>

#include <cerrno>
#include <unistd.h>

#include "core/dbf/dataerror.h"
#include "core/dbf/datadir.h"
#include "core/dbf/dbf.h"
#include "core/dbf/fileerror.h"
#include "core/dbf/fileops.h"
#include "core/dbf/fileseam.h"
#include "core/dbf/wholefile.h"
#include "core/schema/schema.h"

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

void ecritJournal(const QString& etat, const QString& nom) {
    const QByteArray bytes = kEntete + "etat=" + etat.toUtf8() + "\nnom=" + nom.toUtf8() + "\n";
    WholeFile::replace(DataDir::resolve(fichierJournal()), bytes, fichierJournal());
}

// The journal's state and name; false when there is no journal.
bool litJournal(QString* etat, QString* nom) {
    if (!FileOps::fileExists(fichierJournal())) return false;
    const QByteArray bytes = WholeFile::read(DataDir::resolve(fichierJournal()), fichierJournal());
    if (!bytes.startsWith(kEntete))
        throw DataError(QStringLiteral("Le fichier %1 n'est pas un journal d'enregistrement "
                                       "d'aliment composé : il est laissé tel quel.")
                            .arg(fichierJournal()));
    for (const QByteArray& line : bytes.mid(kEntete.size()).split('\n')) {
        if (line.startsWith("etat=")) *etat = QString::fromUtf8(line.mid(5));
        if (line.startsWith("nom=")) *nom = QString::fromUtf8(line.mid(4));
    }
    return true;
}

void supprimeSansErreur(const QString& name) {
    try {
        FileOps::deleteFile(name);
    } catch (const DataError&) {
    }
}

// The journal first: copies without a journal are only removed at start-up.
void nettoie() {
    supprimeSansErreur(fichierJournal());
    for (const Copie& c : copies()) supprimeSansErreur(c.copie);
}

// Puts the copy's bytes back into the table file itself (same file, so no
// space is needed and every name stays): written, cut to size and flushed.
// Done again whole if it is interrupted.
void remetEnPlace(const Copie& c) {
    const QByteArray bytes = WholeFile::read(DataDir::resolve(c.copie), c.copie);
    DbfFile::fromBytes(bytes, c.copie);   // a copy that does not read is not put back
    const QString path = DataDir::resolve(c.table);
    int fd = -1;
    int err = FileSeam::openForWriting(path, &fd);
    if (!err) err = FileSeam::writeAll(fd, 0, bytes.constData(), bytes.size(), path);
    if (!err && ::ftruncate(fd, bytes.size()) < 0) err = errno;
    if (!err) err = FileSeam::flush(fd, path);
    if (fd >= 0) ::close(fd);
    if (err)
        throw DataError(QStringLiteral("Impossible de remettre le fichier %1 dans son état "
                                       "d'avant l'enregistrement : %2. Il le sera au prochain "
                                       "démarrage.")
                            .arg(c.table, FileError::fromErrno(err, path)));
}

}  // namespace

const QString& fichierJournal() {
    static const QString name = QStringLiteral("compose.jnl");
    return name;
}

void commence(const QString& nom) {
    // The copies of a save that could not be undone are kept for the next
    // start-up: a new save must not replace them with half-written tables.
    if (FileOps::fileExists(fichierJournal()))
        throw DataError(QStringLiteral("L'aliment %1 n'a pas été enregistré : un enregistrement "
                                       "précédent n'a pas pu être défait (%2). Quittez puis "
                                       "relancez le programme, qui remettra les tables en état.")
                            .arg(nom, fichierJournal()));
    try {
        ecritJournal(QStringLiteral("debut"), nom);
        for (const Copie& c : copies()) {
            FileOps::copyFile(c.table, c.copie);
            if (!FileOps::sameContent(c.table, c.copie))
                throw DataError(QStringLiteral("La copie de sécurité %1 ne relit pas les mêmes "
                                               "octets que %2.")
                                    .arg(c.copie, c.table));
        }
        ecritJournal(QStringLiteral("ecriture"), nom);
    } catch (const DataError& e) {
        nettoie();
        throw DataError(QStringLiteral("L'aliment %1 n'a pas été enregistré : les copies de "
                                       "sécurité des tables n'ont pas pu être faites.\n%2\n"
                                       "Les tables n'ont pas été modifiées.")
                            .arg(nom, e.message()));
    }
}

void termine() {
    QString etat, nom;
    litJournal(&etat, &nom);
    ecritJournal(QStringLiteral("fait"), nom);
    nettoie();
}

void annule() {
    for (const Copie& c : copies()) remetEnPlace(c);
    nettoie();
}

QString reprise() {
    QString etat, nom;
    if (!litJournal(&etat, &nom)) {
        // Copies without a journal: a save finished all but their removal.
        for (const Copie& c : copies()) supprimeSansErreur(c.copie);
        return QString();
    }
    if (etat == QLatin1String("ecriture")) {
        annule();
        return QStringLiteral("Le programme s'est arrêté pendant l'enregistrement de l'aliment "
                              "composé %1.\nLes tables des aliments ont été remises dans leur "
                              "état d'avant l'enregistrement : l'aliment %1 n'a pas été "
                              "enregistré.")
            .arg(nom);
    }
    nettoie();
    if (etat == QLatin1String("fait"))
        return QStringLiteral("Le programme s'est arrêté à la fin de l'enregistrement de "
                              "l'aliment composé %1.\nL'enregistrement était achevé : les "
                              "tables des aliments sont dans leur état d'après "
                              "l'enregistrement.")
            .arg(nom);
    return QStringLiteral("Le programme s'est arrêté au début de l'enregistrement de l'aliment "
                          "composé %1.\nRien n'avait encore été écrit : les tables des aliments "
                          "sont dans leur état d'avant l'enregistrement.")
        .arg(nom);
}

QStringList orphelins() {
    // A missing table is reported by the readings that need it.
    if (!FileOps::fileExists(foodSchema().fileName) ||
        !FileOps::fileExists(compositeSchema().fileName))
        return {};
    auto aliments = DbfFile::open(DataDir::resolve(foodSchema().fileName), true);
    auto lignes = DbfFile::open(DataDir::resolve(compositeSchema().fileName), true);
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

}  // namespace CompositeJournal
