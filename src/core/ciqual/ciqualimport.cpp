#include "core/ciqual/ciqualimport.h"

#include <QFileInfo>

#include "core/ciqual/ciqualcatalogue.h"
#include "core/ciqual/ciqualnames.h"
#include "core/compose/foodrecords.h"
#include "core/compose/nomsaliments.h"
#include "core/compose/nonmesures.h"
#include "core/io/dataerror.h"
#include "core/io/datadirectory.h"
#include "core/dbf/dbf.h"
#include "core/io/fileerror.h"
#include "core/io/fileseam.h"
#include "core/schema/numformat.h"
#include "core/io/wholefile.h"
#include "core/foodtable/foodeditor.h"
#include "core/interfaces/prompter.h"
#include "core/io/runcontext.h"
#include "core/io/datadirectory.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

namespace {
constexpr int kNameLength = 30;

// The side tables as they were before a food's writes, to put them back when
// one of the writes fails.
class SideTables {
public:
    SideTables(RunContext& run, const QString& dir) : m_run(run) {
        for (const TableSchema* s : {&nonMesuresSchema(), &originsSchema()}) {
            Saved saved{DataDirectory::resolveIn(dir, s->fileName), {}, false};
            saved.existed = QFileInfo::exists(saved.path);
            if (saved.existed) saved.bytes = WholeFile::read(saved.path, s->fileName);
            m_saved << saved;
        }
    }
    // Each table back whole (replaced in one piece) or removed when the food's
    // writes made it; "" when all are back, else why not.
    QString restore() const {
        QStringList failures;
        for (const Saved& s : m_saved) {
            try {
                if (s.existed) {
                    WholeFile::replace(m_run.seam(), s.path, s.bytes, FileError::shownName(s.path));
                } else if (QFileInfo::exists(s.path)) {
                    if (const int err = m_run.seam().remove(s.path))
                        throw DataError(
                            QStringLiteral("Impossible de supprimer le fichier %1 : %2.")
                                .arg(FileError::shownName(s.path), FileError::fromErrno(err, s.path)));
                }
            } catch (const DataError& e) {
                failures << e.message();
            }
        }
        return failures.join(QLatin1Char('\n'));
    }

private:
    struct Saved {
        QString path;
        QByteArray bytes;
        bool existed;
    };
    RunContext& m_run;
    QVector<Saved> m_saved;
};

QString foodLabel(const CiqualImport::Food& f) {
    return QStringLiteral("n° %1 « %2 »").arg(f.numero).arg(f.nom);
}
}   // namespace

CiqualImport::CiqualImport(Table& taliments, const CiqualCatalogue& catalogue, Prompter& prompter)
    : m_t(taliments), m_catalogue(catalogue), m_prompter(prompter) {
    readTable();
}

void CiqualImport::readTable() {
    m_origins = FoodOrigins::read(m_t.directory());
    m_names.clear();
    const NomsAliments::VueGardee keep(m_t);
    m_t.setFiltered(false);
    for (int r = 0; r < m_t.rowCount(); ++r)
        m_names.insert(NumFormat::Nearest(m_t.valueAt(r, Fields::NUMERO).toDouble()),
                       m_t.valueAt(r, Fields::NOM).toString().trimmed());
}

CiqualImport::Food CiqualImport::inTable(int entry) const {
    const CiqualEntry& e = m_catalogue.entry(entry);
    for (const FoodOrigins::Origin& o : m_origins.withCode(CiqualCatalogue::sourceName(), e.code)) {
        const auto it = m_names.constFind(o.numero);
        if (it != m_names.constEnd() && it.value() == o.nom) return Food{o.numero, o.nom, QString()};
    }
    return Food();
}

QString CiqualImport::nameFor(int entry) {
    const CiqualEntry& e = m_catalogue.entry(entry);
    const NomsAliments::VueGardee keep(m_t);
    m_t.setFiltered(false);
    QString nom = CiqualNames::shortName(e.name, kNameLength);
    for (;;) {
        QString why;
        if (nom.isEmpty()) {
            why = QStringLiteral("Le nom ne peut pas être vide.");
        } else if (nom.size() > kNameLength) {
            why = QStringLiteral("Le nom « %1 » a %2 caractères : la table en garde %3 au plus.")
                      .arg(nom)
                      .arg(nom.size())
                      .arg(kNameLength);
        } else if (const int bad = Cp1252::firstUnencodable(nom); bad >= 0) {
            why = QStringLiteral(
                      "Le nom « %1 » contient le caractère « %2 », que la table ne peut pas "
                      "enregistrer.")
                      .arg(nom, Cp1252::characterAt(nom, bad));
        } else if (const int row = NomsAliments::ligneDuNom(m_t, Fields::NOM, nom); row >= 0) {
            why = QStringLiteral("Le nom « %1 » est déjà celui de l'aliment n° %2.")
                      .arg(nom)
                      .arg(NumFormat::Nearest(m_t.valueAt(row, Fields::NUMERO).toDouble()));
        } else {
            return nom;
        }
        const std::optional<QString> typed =
            m_prompter.input(QStringLiteral("Nom de l'aliment"),
                             QStringLiteral("%1\nNom à donner à « %2 » (%3, code %4), %5 caractères au plus :")
                                 .arg(why, e.name, CiqualCatalogue::sourceName(), e.code)
                                 .arg(kNameLength),
                             nom);
        if (!typed) return QString();
        nom = typed->simplified();
    }
}

CiqualImport::Food CiqualImport::addOne(int entry, const QString& nom) {
    const CiqualEntry& e = m_catalogue.entry(entry);
    const QString dir = m_t.directory();
    const NomsAliments::VueGardee keep(m_t);
    m_t.setFiltered(false);
    Food food{FoodRecords::nextNumber(m_t), nom, m_catalogue.category(entry)};
    if (food.categorie.isEmpty())
        throw DataError(QStringLiteral("L'aliment « %1 » (%2, code %3) n'a pas été ajouté : son "
                                       "sous-groupe CIQUAL « %4 » n'a pas de catégorie.")
                            .arg(e.name, CiqualCatalogue::sourceName(), e.code, e.subgroup));
    const SideTables before(m_t.run(), dir);
    try {
        const QStringList unmeasured = m_catalogue.unmeasured(entry);
        if (!unmeasured.isEmpty() &&
            !QFileInfo::exists(DataDirectory::resolveIn(dir, nonMesuresSchema().fileName)))
            DbfFile::create(DataDirectory::resolveIn(dir, nonMesuresSchema().fileName),
                            nonMesuresSchema().fields, &m_t.run());
        // Also clears the marks a deleted food of the same number left.
        FichierNonMesures::marque(m_t.run(), dir, static_cast<double>(food.numero), nom, unmeasured);
        FoodOrigins::note(m_t.run(), dir, {food.numero, nom, CiqualCatalogue::sourceName(), e.code});

        m_t.append();
        m_t.setFloat(Fields::NUMERO, static_cast<double>(food.numero));
        m_t.setString(Fields::NOM, nom);
        m_t.setString(Fields::CATEGORIE, food.categorie);
        for (const Nutrient& n : nutrients()) {
            const QString field = QString::fromLatin1(n.field);
            m_t.setFloat(field, m_catalogue.value(entry, field));
        }
        const QString refused = FoodEditor::erreurAliment(m_t);
        if (!refused.isEmpty()) throw DataError(refused);
        m_t.post();
    } catch (const DataError& error) {
        if (m_t.state() == Table::State::Insert) m_t.cancel();
        const QString undo = before.restore();
        throw DataError(QStringLiteral("L'aliment « %1 » (%2, code %3) n'a pas été ajouté : %4\n%5")
                            .arg(nom, CiqualCatalogue::sourceName(), e.code, error.message(),
                                 undo.isEmpty()
                                     ? QStringLiteral("La table des aliments et ses tables annexes sont "
                                                      "restées telles qu'avant.")
                                     : QStringLiteral("La table des aliments est restée telle qu'avant ; "
                                                      "une table annexe n'a pas pu être remise en état "
                                                      "(%1), mais ce qu'elle note ne s'applique à aucun "
                                                      "aliment.")
                                           .arg(undo)));
    }
    m_names.insert(food.numero, nom);
    return food;
}

QVector<CiqualImport::Food> CiqualImport::add(const QVector<int>& entries) {
    QVector<Food> added;
    for (int entry : entries) {
        const CiqualEntry& e = m_catalogue.entry(entry);
        const Food there = inTable(entry);
        if (there.numero > 0) {
            m_prompter.message(Prompter::Kind::Information,
                               QStringLiteral("« %1 » (%2, code %3) est déjà dans la table des aliments : "
                                              "c'est l'aliment %4. Il n'est pas ajouté une seconde fois.")
                                   .arg(e.name, CiqualCatalogue::sourceName(), e.code, foodLabel(there)));
            continue;
        }
        const QString nom = nameFor(entry);
        if (nom.isEmpty()) continue;
        try {
            added << addOne(entry, nom);
        } catch (const DataError& error) {
            if (added.isEmpty()) throw;
            QStringList before;
            for (const Food& f : added) before << foodLabel(f);
            throw DataError(error.message() + QStringLiteral("\nAjoutés avant lui : ") +
                            before.join(QStringLiteral(", ")) + QLatin1Char('.'));
        }
        m_origins = FoodOrigins::read(m_t.directory());
    }
    if (added.size() == 1) {
        m_prompter.message(Prompter::Kind::Information,
                           QStringLiteral("L'aliment %1 est ajouté à la table des aliments, dans la "
                                          "catégorie %2.")
                               .arg(foodLabel(added.first()), added.first().categorie));
    } else if (added.size() > 1) {
        QStringList lines;
        for (const Food& f : added) lines << QStringLiteral("%1 (%2)").arg(foodLabel(f), f.categorie);
        m_prompter.message(Prompter::Kind::Information,
                           QStringLiteral("%1 aliments sont ajoutés à la table des aliments :\n%2")
                               .arg(added.size())
                               .arg(lines.join(QLatin1Char('\n'))));
    }
    return added;
}
