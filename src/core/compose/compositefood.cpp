#include "core/compose/compositefood.h"

#include <QScopeGuard>
#include <QVector>
#include <algorithm>

#include "core/compose/choicefiles.h"
#include "core/io/runcontext.h"
#include "core/compose/compositejournal.h"
#include "core/compose/dailytotals.h"
#include "core/compose/foodrecords.h"
#include "core/compose/nonmesures.h"
#include "core/compose/nomsaliments.h"
#include "core/dbf/collation.h"
#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"
#include "core/io/fileops.h"
#include "core/table/pending.h"
#include "core/schema/numformat.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

namespace {
// Restores a handle's filter switch and index tag whatever happens.
auto keepView(Table& t) {
    return qScopeGuard([&t, filtered = t.filtered(), tag = t.indexName()] {
        try {
            if (t.isOpen() && t.indexName() != tag) t.setIndexName(tag);
            if (t.filtered() != filtered) t.setFiltered(filtered);
        } catch (...) {
        }
    });
}

// The ingredient line of the composite name (used by name searches).
void filterOn(Table& talimCompo, const QString& nom) {
    talimCompo.setFilterValue(Fields::NOM_COMPO, nom);
    talimCompo.setFiltered(true);
}
}   // namespace

CompositeFood::CompositeFood(Table& talim, Table& tchoix, Table& talimCompo)
    : m_talim(talim), m_tchoix(tchoix), m_talimCompo(talimCompo) {}

Prompter& CompositeFood::prompter() const { return m_tchoix.run().prompter(); }

bool CompositeFood::trouveNom(Table& t, const QString& field, const QString& nom) {
    // The key search may compare keys more loosely than the name itself (the
    // order of the tags ignores case); only the record of exactly that name
    // counts.
    if (t.findKey(nom) && t.asString(field) == nom) return true;
    return t.locate(field, nom, false);
}

bool CompositeFood::NomPris(Table& talim, Table& talimCompo, const QString& nom) {
    talim.setFiltered(false);
    // An existing composite, under exactly its name, is reopened; any other
    // name that a food or a composite already bears, whatever its case, is taken.
    if (ComposeExiste(talimCompo, nom)) return false;
    return NomsAliments::nomPris(talim, talimCompo, nom);
}

bool CompositeFood::ComposeExiste(Table& talimCompo, const QString& nom) {
    return trouveNom(talimCompo, Fields::NOM_COMPO, nom);
}

QStringList CompositeFood::nomsComposes(Table& talimCompo) {
    QStringList names;
    talimCompo.first();
    while (!talimCompo.eof()) {
        const QString n = talimCompo.asString(Fields::NOM_COMPO);
        if (!n.isEmpty() && !names.contains(n)) names << n;
        talimCompo.next();
    }
    // In the order of the name tags, whatever the handle's current tag.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return Collation::compare(Collation::key(a), Collation::key(b)) < 0;
    });
    return names;
}

QString CompositeFood::erreurDeNom(const QString& nom) {
    const DbfField* f = foodSchema().field(Fields::NOM);
    const int width = f ? f->length : 30;
    if (nom.size() > width)
        return QStringLiteral("Le nom d'un aliment ne peut pas dépasser %1 caractères.").arg(width);
    if (!Cp1252::canEncode(nom))
        return QStringLiteral("Le nom ") + nom +
               QStringLiteral(" contient un caractère que la table des aliments ne peut pas enregistrer.");
    return {};
}

void CompositeFood::LigneVersCompo(const Table& tchoix, Table& talimCompo) {
    for (const QString& f : lineComputedFields()) talimCompo.setFloat(f, tchoix.asFloat(f));
}

void CompositeFood::CompoVersLigne(const Table& talimCompo, Table& tchoix) {
    for (const QString& f : lineComputedFields()) tchoix.setFloat(f, talimCompo.asFloat(f));
}

void CompositeFood::commence(const QString& nom) {
    NomCompose = nom;
    NomOrigine = nom;
    ModifCompose = ComposeExiste(m_talimCompo, nom);
}

void CompositeFood::metDeCote() {
    m_tchoix.close();
    try {
        // A day an earlier stay could not put back is put back first, rather
        // than set aside again under this list.
        ChoiceFiles::remetJourDeCote(m_tchoix.run());
        ChoiceFiles::metJourDeCote(m_tchoix.run());
    } catch (const DataError&) {
        // A failure may still leave the day aside (see metJourDeCote).
        m_backup = FileOps::fileExists(m_tchoix.run(), FileNames::sauvegardeChoix());
        try {
            m_tchoix.open();
        } catch (const DataError&) {
        }
        throw;
    }
    m_backup = true;
    m_tchoix.open();
}

void CompositeFood::chargeLignes() {
    if (!ModifCompose) return;
    const auto keep = keepView(m_talimCompo);
    filterOn(m_talimCompo, NomCompose);
    m_talimCompo.first();
    while (!m_talimCompo.eof()) {
        m_tchoix.append();
        fillPending(m_tchoix, [&] {
            m_tchoix.setString(Fields::NOM, m_talimCompo.asString(Fields::NOM));
            m_tchoix.setFloat(Fields::QTE, m_talimCompo.asFloat(Fields::QTE));
            CompoVersLigne(m_talimCompo, m_tchoix);
        });
        m_talimCompo.next();
    }
}

bool CompositeFood::renommer() {
    QString nom;
    do {
        const std::optional<QString> r = prompter().input(
            QStringLiteral("Nouvel aliment"), QStringLiteral("Modifiez le nom de l'aliment"), NomCompose);
        nom = r ? r->trimmed() : NomCompose;
    } while (nom.isEmpty());
    if (nom == NomCompose) return false;
    const QString error = erreurDeNom(nom);
    if (!error.isEmpty()) {
        prompter().message(Prompter::Kind::Warning, error);
        return false;
    }
    // Any name another food or composite bears, whatever its case, is taken;
    // the composite's own stored name is not another's.
    if (NomsAliments::nomPris(m_talim, m_talimCompo, nom, NomOrigine)) {
        prompter().message(Prompter::Kind::Plain,
                           QStringLiteral("L'aliment ") + nom + QStringLiteral(" existe déjà !"));
        return false;
    }
    NomCompose = nom;
    return true;
}

bool CompositeFood::enregistre(DailyTotals& totals) {
    const bool vide = m_tchoix.isEmpty();
    if (!vide) {
        CalculTotaux(m_tchoix, totals);
        if (totals[DailyTotals::QTE] == 0.0) {
            // Per-100 g values would divide by zero: nothing is written.
            prompter().message(Prompter::Kind::Warning,
                               QStringLiteral("La quantité totale des éléments de l'aliment ") + NomCompose +
                                   QStringLiteral(" est nulle : l'aliment ne peut pas être enregistré."));
            return false;
        }
        const QString question = (ModifCompose ? QStringLiteral("Voulez-vous modifier l'aliment ")
                                               : QStringLiteral("Voulez-vous enregistrer l'aliment ")) +
                                 NomCompose;
        if (prompter().ask(Prompter::Kind::Confirmation, question)) {
            // The food and its lines as one unit: a failure (or a stop of the
            // program) at any write puts both tables back.
            CompositeJournal::enUnite(m_talim, m_talimCompo, NomCompose,
                                      CompositeJournal::Operation::Enregistrement, [&] {
                                          ecritAliment(totals);
                                          ecritLignes();
                                      });
            noteNonMesures(lisNonMesures(m_tchoix, m_talim.directory()).champs(), numeroDe(NomCompose));
        }
        return true;
    }
    if (ModifCompose) {
        if (prompter().ask(Prompter::Kind::Confirmation,
                           QStringLiteral("Quantité nulle ! Voulez-vous supprimer l'aliment ") + NomCompose +
                               QStringLiteral(" ?"),
                           Prompter::Default::No)) {
            const double numero = numeroDe(NomOrigine);
            CompositeJournal::enUnite(m_talim, m_talimCompo, NomCompose,
                                      CompositeJournal::Operation::Suppression, [&] { supprimeAliment(); });
            if (numeroDe(NomOrigine) == 0) noteNonMesures({}, numero);
        } else {
            prompter().message(Prompter::Kind::Plain, QStringLiteral("L'aliment ") + NomCompose +
                                                          QStringLiteral(" n'a pas été modifié !"));
        }
    }
    return true;
}

double CompositeFood::numeroDe(const QString& nom) {
    const auto keep = keepView(m_talim);
    m_talim.setFiltered(false);
    return trouveNom(m_talim, Fields::NOM, nom) ? m_talim.asFloat(Fields::NUMERO) : 0.0;
}

void CompositeFood::noteNonMesures(const QStringList& champs, double numero) {
    // The composite lacks a value wherever one of its ingredients does. The
    // side table only informs: the food is saved whatever happens here, and a
    // failure is told without undoing it.
    if (numero <= 0) return;
    try {
        FichierNonMesures::marque(m_talim.run(), m_talim.directory(), numero, NomCompose, champs);
    } catch (const DataError& e) {
        prompter().message(
            Prompter::Kind::Warning,
            QStringLiteral("Les valeurs non mesurées de l'aliment %1 n'ont pas pu être notées.\n%2")
                .arg(NomCompose, e.message()));
    }
}

void CompositeFood::ecritAliment(const DailyTotals& totals) {
    const auto keep = keepView(m_talim);
    m_talim.setFiltered(false);
    // An existing composite keeps its record (and its number), under its new
    // name if it was renamed; one whose record has gone gets a new one.
    const bool existing = ModifCompose && trouveNom(m_talim, Fields::NOM, NomOrigine);
    if (existing) {
        m_talim.edit();
    } else {
        const long long numero = FoodRecords::nextNumber(m_talim);
        m_talim.append();
        try {
            m_talim.setFloat(Fields::NUMERO, static_cast<double>(numero));
            m_talim.setString(Fields::CATEGORIE, CategorieComposee);
        } catch (...) {
            m_talim.cancel();
            throw;
        }
    }
    const long double qte = totals[DailyTotals::QTE];
    fillPending(m_talim, [&] {
        m_talim.setString(Fields::NOM, NomCompose);
        for (const Nutrient& n : nutrients()) {
            const QString field = QString::fromLatin1(n.field);
            const long double per100 = static_cast<long double>(totals.value(field)) * 100.0L / qte;
            m_talim.setFloat(field, static_cast<double>(per100));
        }
    });
}

void CompositeFood::ecritLignes() {
    const auto keepCompo = keepView(m_talimCompo);
    // The composite's present lines, in record order (values written below do
    // not move them), matched to the list lines by ingredient name: each list
    // line takes the first line of its name not yet taken, so an ingredient
    // listed twice keeps two lines.
    m_talimCompo.setIndexName(QString());
    filterOn(m_talimCompo, NomOrigine);
    const int present = m_talimCompo.rowCount();
    QVector<QString> presentNames(present);
    for (int r = 0; r < present; ++r) presentNames[r] = m_talimCompo.valueAt(r, Fields::NOM).toString();
    QVector<bool> taken(present, false);

    const int lines = m_tchoix.rowCount();
    QVector<int> matchOf(lines, -1);
    for (int i = 0; i < lines; ++i) {
        const QString nom = m_tchoix.valueAt(i, Fields::NOM).toString();
        for (int r = 0; r < present; ++r)
            if (!taken[r] && presentNames[r] == nom) {
                taken[r] = true;
                matchOf[i] = r;
                break;
            }
    }
    // Lines kept: updated in place.
    for (int i = 0; i < lines; ++i) {
        if (matchOf[i] < 0) continue;
        m_tchoix.moveToRow(i);
        m_talimCompo.moveToRow(matchOf[i]);
        m_talimCompo.edit();
        fillPending(m_talimCompo, [&] {
            m_talimCompo.setFloat(Fields::QTE, m_tchoix.asFloat(Fields::QTE));
            LigneVersCompo(m_tchoix, m_talimCompo);
        });
    }
    // Ingredients no longer listed: deleted, from the last so that the rows
    // still to be visited keep their place.
    for (int r = present - 1; r >= 0; --r) {
        if (taken[r]) continue;
        m_talimCompo.moveToRow(r);
        m_talimCompo.deleteRecord();
    }
    // A renamed composite: every line takes the new name (each leaves the view
    // once posted).
    if (NomCompose != NomOrigine) {
        while (!m_talimCompo.isEmpty()) {
            m_talimCompo.first();
            m_talimCompo.edit();
            fillPending(m_talimCompo, [&] { m_talimCompo.setString(Fields::NOM_COMPO, NomCompose); });
        }
    }
    // New ingredients: appended, in the order of the list.
    m_talimCompo.setFiltered(false);
    for (int i = 0; i < lines; ++i) {
        if (matchOf[i] >= 0) continue;
        m_tchoix.moveToRow(i);
        m_talimCompo.append();
        fillPending(m_talimCompo, [&] {
            m_talimCompo.setString(Fields::NOM_COMPO, NomCompose);
            m_talimCompo.setString(Fields::NOM, m_tchoix.asString(Fields::NOM));
            m_talimCompo.setFloat(Fields::QTE, m_tchoix.asFloat(Fields::QTE));
            LigneVersCompo(m_tchoix, m_talimCompo);
        });
    }
}

void CompositeFood::supprimeAliment() {
    const auto keep = keepView(m_talim);
    m_talim.setFiltered(false);
    if (trouveNom(m_talim, Fields::NOM, NomOrigine)) {
        if (FoodRecords::isBase(m_talim.asFloat(Fields::NUMERO))) {
            prompter().message(Prompter::Kind::Information, FoodRecords::baseDeletionRefused() + QChar(13) +
                                                                QStringLiteral("L'aliment ") + NomCompose +
                                                                QStringLiteral(" n'est pas modifié."));
            return;
        }
        m_talim.deleteRecord();
    }
    // Lines whose food record has gone are deleted all the same: they belong
    // to no food.
    supprimeLignes(m_talimCompo, NomOrigine);
}

int CompositeFood::supprimeLignes(Table& talimCompo, const QString& nom) {
    // A food without a name owns no line (blank names are no composite's).
    if (nom.trimmed().isEmpty()) return 0;
    const auto keep = keepView(talimCompo);
    talimCompo.setFiltered(false);
    int count = 0;
    while (trouveNom(talimCompo, Fields::NOM_COMPO, nom)) {
        talimCompo.deleteRecord();
        ++count;
    }
    return count;
}

void CompositeFood::restaure() {
    if (!m_backup) return;
    ChoiceFiles::remetJourDeCote(m_tchoix.run());
    m_backup = false;
}
