#include "core/compose/nonmesures.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "core/io/datadirectory.h"
#include "core/io/runcontext.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

namespace {
QString cle(const QString& nom) { return nom.trimmed(); }

// Reads a table of the directory read-only; nullptr when it is absent or
// cannot be read.
std::unique_ptr<DbfFile> litSiPresent(const QString& name, const QString& dir) {
    const QString path = DataDirectory::resolveIn(dir, name);
    if (!QFileInfo::exists(path)) return nullptr;
    try {
        return DbfFile::open(path, true);
    } catch (...) {
        return nullptr;
    }
}
}   // namespace

QHash<QString, QSet<int>> marquesDesAliments(const QString& dir) {
    QHash<QString, QSet<int>> out;
    const auto side = litSiPresent(nonMesuresSchema().fileName, dir);
    if (!side || side->recordCount() == 0) return out;
    const int sideNumero = side->fieldIndex(QStringLiteral("NUMERO"));
    const int sideNom = side->fieldIndex(QStringLiteral("NOM"));
    if (sideNumero < 0 || sideNom < 0) return out;

    // The unmeasured manquants of each food of the side table, by name and number.
    struct Manques {
        int numero;
        QVector<int> manquants;
    };
    QHash<QString, Manques> parNom;
    for (int r = 0; r < side->recordCount(); ++r) {
        if (side->isDeleted(r)) continue;
        Manques m{static_cast<int>(side->number(r, sideNumero)), {}};
        for (int f = 0; f < side->fields().size(); ++f) {
            const int slot = DailyTotals::slotOf(side->fields()[f].name);
            if (slot < 0 || side->fields()[f].type != 'L') continue;
            const QString v = side->text(r, f).trimmed().toUpper();
            if (v == QLatin1String("T") || v == QLatin1String("Y")) m.manquants << slot;
        }
        if (!m.manquants.isEmpty()) parNom.insert(cle(side->text(r, sideNom)), m);
    }
    if (parNom.isEmpty()) return out;

    // A record counts only for the food of the Food table with the same name
    // and number.
    const auto food = litSiPresent(foodSchema().fileName, dir);
    if (!food) return out;
    const int numero = food->fieldIndex(QStringLiteral("NUMERO"));
    const int nom = food->fieldIndex(QStringLiteral("NOM"));
    if (numero < 0 || nom < 0) return out;
    const DailyTotals::Slot energie[] = {DailyTotals::PROT_A, DailyTotals::PROT_V, DailyTotals::GLUC_S,
                                         DailyTotals::GLUC_A, DailyTotals::LIPI_A, DailyTotals::LIPI_V};
    for (int r = 0; r < food->recordCount(); ++r) {
        if (food->isDeleted(r)) continue;
        const auto it = parNom.constFind(cle(food->text(r, nom)));
        if (it == parNom.constEnd() || static_cast<int>(food->number(r, numero)) != it->numero) continue;
        QSet<int> marques;
        for (int slot : it->manquants) {
            marques.insert(slot);
            for (DailyTotals::Slot e : energie)
                if (slot == e) marques.insert(DailyTotals::CALORIES);
        }
        out.insert(it.key(), marques);
    }
    return out;
}

NonMesures lisNonMesures(Table& tchoix, const QString& dir) {
    NonMesures out;
    const QHash<QString, QSet<int>> marques = marquesDesAliments(dir);
    if (marques.isEmpty()) return out;
    for (tchoix.first(); !tchoix.eof(); tchoix.next())
        ajouteLigne(out, marques, tchoix.asString(QStringLiteral("NOM")),
                    tchoix.asFloat(QStringLiteral("QTE")));
    return out;
}

QString ajouteLigne(NonMesures& nm, const QHash<QString, QSet<int>>& marques, const QString& nom, double qte) {
    if (qte == 0.0) return QString();
    const auto it = marques.constFind(cle(nom));
    if (it == marques.constEnd()) return QString();
    for (int slot : *it) nm.manquants[slot] = true;
    nm.lignes << *it;
    return it.key();
}

QStringList NonMesures::champs() const {
    QStringList out;
    for (const QString& field : choiceNumericFields()) {
        const int slot = DailyTotals::slotOf(field);
        if (slot >= 0 && manquants[slot] && nonMesuresSchema().field(field)) out << field;
    }
    return out;
}

namespace FichierNonMesures {
namespace {
// Applies change to the food's flags (a set of unmeasured fields) and writes
// the result: the record replaced, added, or removed when no field is left.
template <class Change>
void modifie(RunContext& run, const QString& dir, double numero, const QString& nom, Change change) {
    if (!QFileInfo::exists(DataDirectory::resolveIn(dir, nonMesuresSchema().fileName))) return;
    Table t(run, nonMesuresSchema());
    t.setDirectory(dir);
    t.setIndexName(QString());
    t.open();
    bool found = false;
    // A food is known by its number (unique and kept when it is renamed).
    for (t.first(); !t.eof(); t.next())
        if (t.asFloat(QStringLiteral("NUMERO")) == numero) {
            found = true;
            break;
        }
    QSet<QString> champs;
    if (found)
        for (const DbfField& f : nonMesuresSchema().fields)
            if (f.type == 'L' && t.asString(f.name).trimmed().toUpper() == QLatin1String("T")) champs << f.name;
    const QSet<QString> avant = champs;
    change(champs);
    if (found && champs == avant && cle(t.asString(QStringLiteral("NOM"))) == cle(nom)) return;
    if (champs.isEmpty()) {
        if (found) t.deleteRecord();
        return;
    }
    if (found) {
        t.edit();
    } else {
        t.append();
        t.setFloat(QStringLiteral("NUMERO"), numero);
    }
    t.setString(QStringLiteral("NOM"), cle(nom));
    for (const DbfField& f : nonMesuresSchema().fields)
        if (f.type == 'L')
            t.setString(f.name, champs.contains(f.name) ? QStringLiteral("T") : QStringLiteral("F"));
    t.post();
}
}   // namespace

void marque(RunContext& run, const QString& dir, double numero, const QString& nom, const QStringList& champs) {
    modifie(run, dir, numero, nom, [&](QSet<QString>& c) { c = QSet<QString>(champs.begin(), champs.end()); });
}

void renomme(RunContext& run, const QString& dir, double numero, const QString& ancien,
             const QString& nouveau) {
    if (cle(ancien) == cle(nouveau) ||
        !QFileInfo::exists(DataDirectory::resolveIn(dir, nonMesuresSchema().fileName)))
        return;
    Table t(run, nonMesuresSchema());
    t.setDirectory(dir);
    t.setIndexName(QString());
    t.open();
    for (t.first(); !t.eof(); t.next())
        if (t.asFloat(QStringLiteral("NUMERO")) == numero) {
            if (cle(t.asString(QStringLiteral("NOM"))) != cle(ancien)) return;
            t.setString(QStringLiteral("NOM"), cle(nouveau));
            t.post();
            return;
        }
}

void oublie(RunContext& run, const QString& dir, double numero, const QString& nom, const QStringList& champs) {
    modifie(run, dir, numero, nom, [&](QSet<QString>& c) {
        for (const QString& f : champs) c.remove(f.toUpper());
    });
}
}   // namespace FichierNonMesures
