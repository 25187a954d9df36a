#include "core/foodtable/foodeditor.h"

#include <QObject>
#include <algorithm>
#include <cmath>

#include "core/compose/compositefood.h"
#include "core/compose/compositejournal.h"
#include "core/compose/foodrecords.h"
#include "core/compose/nomsaliments.h"
#include "core/compose/nonmesures.h"
#include "core/io/dataerror.h"
#include "core/schema/numformat.h"
#include "core/foodtable/foodorigins.h"
#include "core/interfaces/prompter.h"
#include "core/schema/schema.h"
#include "core/io/runcontext.h"
#include "core/table/table.h"

namespace {
bool estNumerique(const QString& field) {
    const DbfField* f = foodSchema().field(field);
    return f && (f->type == 'N' || f->type == 'F');
}
}   // namespace

Prompter& FoodEditor::prompter() const { return m_t.run().prompter(); }

FoodEditor::FoodEditor(Table& taliments, Table& talimCompo) : m_t(taliments), m_compo(talimCompo) {
    m_t.beforeInsert = [this](Table& t) { TalimentsBeforeInsert(t); };
    m_t.onNewRecord = [this](Table& t) { TalimentsNewRecord(t); };
    m_t.beforeDelete = [this](Table& t) { return TalimentsBeforeDelete(t); };
    // Each change of state (editing begun, written, dropped) starts afresh:
    // only the fields written since count as a change.
    m_etat = QObject::connect(&m_t, &Table::stateChanged, [this](Table::State state) {
        m_modifie = false;
        m_tapes.clear();
        m_nomStocke = state == Table::State::Edit ? m_t.asString(Fields::NOM) : QString();
    });
}

FoodEditor::~FoodEditor() {
    QObject::disconnect(m_etat);
    m_t.beforeInsert = nullptr;
    m_t.onNewRecord = nullptr;
    m_t.beforeDelete = nullptr;
}

bool FoodEditor::estCompose(const QString& categorie) { return categorie == CategorieComposee; }

bool FoodEditor::litNombre(const QString& text, double* value) {
    if (text.trimmed().isEmpty()) {
        *value = 0;
        return true;
    }
    return NumFormat::LitSaisie(text, value);
}

bool FoodEditor::verrouCompose() const {
    if (!m_t.isOpen() || m_t.isEmpty()) return false;
    return estCompose(m_t.asString(Fields::CATEGORIE));
}

void FoodEditor::commenceEdition() {
    if (m_t.state() == Table::State::Browse) m_t.edit();
}

void FoodEditor::ecritTexte(const QString& field, const QString& text) {
    // A composite is a food with its recipe in the Composite table: only
    // composite mode makes one. Given to any other food here, the
    // category would lock it for good, a Base food beyond deletion.
    if (field.compare(Fields::CATEGORIE, Qt::CaseInsensitive) == 0 && estCompose(text) &&
        !estCompose(m_t.asString(Fields::CATEGORIE))) {
        const QString nom = m_t.asString(Fields::NOM).trimmed();
        throw DataError(QStringLiteral("La catégorie « %1 » est celle des aliments composés, qui se "
                                       "créent avec leur recette par Table > Création ou modification "
                                       "d'un aliment composé : %2 garde sa catégorie.")
                            .arg(CategorieComposee, nom.isEmpty()
                                                        ? QStringLiteral("le nouvel aliment")
                                                        : QStringLiteral("l'aliment « %1 »").arg(nom)));
    }
    commenceEdition();
    if (estNumerique(field)) {
        double v = 0;
        if (!litNombre(text, &v))
            throw DataError(QStringLiteral("'%1' n'est pas une valeur flottante correcte pour le champ '%2'")
                                .arg(text, field));
        if (text.trimmed().isEmpty())
            m_t.setString(field, QString());   // a blank number reads as 0
        else
            m_t.setFloat(field, v);
        m_tapes << field.toUpper();
    } else if (field.compare(Fields::NOM, Qt::CaseInsensitive) == 0) {
        // A name is shown, sorted and searched without blanks before it.
        m_t.setString(field, text.trimmed());
    } else {
        m_t.setString(field, text);
    }
    m_modifie = true;
}

QString FoodEditor::erreurAliment() const { return erreurAliment(m_t); }

QString FoodEditor::erreurAliment(const Table& t) {
    if (t.state() != Table::State::Edit && t.state() != Table::State::Insert) return QString();
    const QString nom = t.asString(Fields::NOM);
    if (nom.trimmed().isEmpty())
        return QStringLiteral("L'aliment n° %1 n'a pas de nom : tapez son nom avant de l'enregistrer.")
            .arg(NumFormat::Nearest(t.asFloat(Fields::NUMERO)));
    // A composite's lines are keyed by its name, and a day's line finds its
    // food by name: two foods whose names differ only by letter case or outer
    // blanks could not be told apart.
    const int moi = t.currentRow();
    int autre = NomsAliments::ligneDuNom(t, Fields::NOM, nom);
    if (autre == moi) autre = NomsAliments::ligneDuNom(t, Fields::NOM, nom, moi + 1);
    if (autre >= 0)
        return QStringLiteral(
                   "Le nom « %1 » est déjà celui de l'aliment n° %2 (« %3 ») : "
                   "donnez un autre nom à cet aliment.")
            .arg(nom)
            .arg(NumFormat::Nearest(t.valueAt(autre, Fields::NUMERO).toDouble()))
            .arg(t.valueAt(autre, Fields::NOM).toString());
    if (t.asString(Fields::CATEGORIE).trimmed().isEmpty())
        return QStringLiteral(
                   "L'aliment « %1 » n'a pas de catégorie : choisissez-en une avant de "
                   "l'enregistrer.")
            .arg(nom);
    for (const Nutrient& n : nutrients()) {
        const QString field = QString::fromLatin1(n.field);
        const double v = t.asFloat(field);
        if (v < 0)
            return QStringLiteral(
                       "La valeur de %1 de l'aliment « %2 » est négative (%3) : une "
                       "teneur pour 100 g ne peut pas être négative.")
                .arg(field, nom, NumFormat::General(v));
    }
    return QString();
}

bool FoodEditor::ecrit() {
    const QString erreur = erreurAliment();
    if (!erreur.isEmpty()) {
        prompter().message(Prompter::Kind::Warning, erreur);
        return false;
    }
    // A value typed here is one the user knows: it no longer counts as
    // unmeasured (the side table is written once the food is).
    const QStringList tapes = m_tapes;
    const QString ancien = m_nomStocke;
    const double numero = m_t.asFloat(Fields::NUMERO);
    const QString nom = m_t.asString(Fields::NOM);
    m_t.post();
    // The side tables only inform: the food is written whatever happens to
    // them, and a failure there is told without undoing it.
    try {
        if (!ancien.isEmpty()) {
            FichierNonMesures::renomme(m_t.run(), m_t.directory(), numero, ancien, nom);
            FoodOrigins::rename(m_t.run(), m_t.directory(), numero, ancien, nom);
        }
        if (!tapes.isEmpty()) FichierNonMesures::oublie(m_t.run(), m_t.directory(), numero, nom, tapes);
    } catch (const DataError& e) {
        m_t.run().prompter().message(Prompter::Kind::Warning,
                                     QStringLiteral("L'aliment « %1 » est enregistré, mais ses tables annexes "
                                                    "n'ont pas pu être mises à jour.\n%2")
                                         .arg(nom.trimmed(), e.message()));
    }
    return true;
}

bool FoodEditor::confirme() {
    if (m_t.state() != Table::State::Edit && m_t.state() != Table::State::Insert) return true;
    return ecrit();
}

bool FoodEditor::ecritAvantDeplacement() {
    if (!m_modifie) return true;
    if (m_t.state() != Table::State::Edit && m_t.state() != Table::State::Insert) return true;
    return ecrit();
}

void FoodEditor::annule() { m_t.cancel(); }

bool FoodEditor::insere() {
    if (!ecritAvantDeplacement()) return false;
    m_t.append();
    return true;
}

bool FoodEditor::supprime() {
    if (m_t.isEmpty()) return false;
    // Deleting is the one answer that destroys: Enter alone answers Annuler.
    if (!prompter().confirm(Prompter::Kind::Confirmation, QStringLiteral("Supprimer l'enregistrement ?"),
                            Prompter::Default::No))
        return false;
    m_refus = false;
    if (m_t.state() == Table::State::Insert) {
        m_t.deleteRecord();   // a new food is dropped without the events
        return true;
    }
    // A Base food is refused before anything else, so that what was typed
    // over it stays pending as typed (its number is never edited).
    if (FoodRecords::isBase(m_t.asFloat(Fields::NUMERO))) {
        m_t.deleteRecord();
        return !m_refus;
    }
    // The food as stored is deleted, not what was typed over it.
    m_t.cancel();
    const QString nom = m_t.asString(Fields::NOM);
    // A food with composition lines goes with them as one unit, as composite
    // mode deletes it: stopped at any write, neither is left without the other.
    if (nom.trimmed().isEmpty() || !CompositeFood::ComposeExiste(m_compo, nom)) {
        m_t.deleteRecord();
        return !m_refus;
    }
    try {
        CompositeJournal::enUnite(m_t, m_compo, nom, CompositeJournal::Operation::Suppression,
                                  [&] { m_t.deleteRecord(); });
    } catch (const DataError&) {
        // The handles were reopened on the tables as they were: back on the food.
        if (m_t.isOpen()) m_t.locate(Fields::NOM, nom, false);
        throw;
    }
    return !m_refus;
}

void FoodEditor::TalimentsBeforeInsert(Table& t) { m_numero = FoodRecords::nextNumber(t); }

void FoodEditor::TalimentsNewRecord(Table& t) {
    t.setFloat(Fields::NUMERO, static_cast<double>(m_numero));
    for (const DbfField& f : foodSchema().fields)
        if (f.name != Fields::NUMERO && (f.type == 'N' || f.type == 'F')) t.setFloat(f.name, 0.0);
}

bool FoodEditor::TalimentsBeforeDelete(Table& t) {
    if (FoodRecords::isBase(t.asFloat(Fields::NUMERO))) {
        prompter().message(Prompter::Kind::Information, FoodRecords::baseDeletionRefused());
        m_refus = true;
        return false;
    }
    // The lines named after the food go first, whatever its category: a
    // composite whose category was changed, or lines left without their food
    // by an interrupted deletion, are not left behind.
    CompositeFood::supprimeLignes(m_compo, t.asString(Fields::NOM));
    return true;
}
