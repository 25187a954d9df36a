#include "core/compose/choicelist.h"

#include "core/compose/compositefood.h"
#include "core/io/runcontext.h"
#include "core/compose/nomsaliments.h"
#include "core/compose/quantite.h"
#include "core/io/dataerror.h"
#include "core/io/fileops.h"
#include "core/schema/numformat.h"
#include "core/table/pending.h"
#include "core/schema/schema.h"
#include "core/table/table.h"


ChoiceList::ChoiceList(Table& talim, Table& tchoix) : m_talim(talim), m_tchoix(tchoix) {}

Prompter& ChoiceList::prompter() const { return m_tchoix.run().prompter(); }

long double ChoiceList::energiePour100(const Table& talim) {
    return foodEnergyExtended(talim.asFloat(QStringLiteral("PROT_A")), talim.asFloat(QStringLiteral("PROT_V")),
                              talim.asFloat(QStringLiteral("LIPI_A")), talim.asFloat(QStringLiteral("LIPI_V")),
                              talim.asFloat(QStringLiteral("GLUC_S")), talim.asFloat(QStringLiteral("GLUC_A")));
}

double ChoiceList::valeurLigne(double q, long double per100) {
    return static_cast<double>(static_cast<long double>(q) * per100 / 100.0L);
}

void ChoiceList::CalculLigne(const Table& talim, Table& tchoix, double q) {
    for (const QString& field : lineComputedFields()) {
        const long double per100 = field == QLatin1String("CALORIES")
                                       ? energiePour100(talim)
                                       : static_cast<long double>(talim.asFloat(field));
        tchoix.setFloat(field, valeurLigne(q, per100));
    }
}

bool ChoiceList::ajouter(const CompositeFood* enCours) {
    // A line naming no food is not a food eaten: with an empty food view there
    // is nothing to add.
    if (m_talim.isEmpty()) {
        prompter().message(Prompter::Kind::Information, QStringLiteral("Aucun aliment dans cette catégorie"));
        return false;
    }
    const QString nom = m_talim.asString(QStringLiteral("NOM"));
    // A recipe cannot hold itself: its values would be computed from the very
    // values being computed.
    if (enCours &&
        (NomsAliments::memeNom(nom, enCours->NomCompose) || NomsAliments::memeNom(nom, enCours->NomOrigine))) {
        prompter().message(Prompter::Kind::Warning,
                           QStringLiteral("L'aliment ") + nom +
                               QStringLiteral(" ne peut pas entrer dans sa propre composition !"));
        return false;
    }
    const std::optional<double> q = Quantite::saisie(prompter(), QStringLiteral("Entrez le poids de ") + nom);
    if (!q) return false;
    ajouteLigne(*q);
    return true;
}

void ChoiceList::ajouteLigne(double q) {
    m_tchoix.append();
    fillPending(m_tchoix, [&] {
        m_tchoix.setString(QStringLiteral("NOM"), m_talim.asString(QStringLiteral("NOM")));
        m_tchoix.setFloat(QStringLiteral("QTE"), q);
        CalculLigne(m_talim, m_tchoix, q);
    });
}

bool ChoiceList::modifier() {
    const QString nom = m_tchoix.asString(QStringLiteral("NOM"));
    if (m_tchoix.isEmpty()) {
        // Nothing to modify; the prompt is still shown, with no name.
        Quantite::saisie(prompter(), QStringLiteral("Entrez le nouveau poids de ") + nom);
        return false;
    }
    // The food is looked up in the whole Food table, not only in the category
    // shown (the exact name first, so that a food whose name differs only by
    // case is never taken for it), and the line is recomputed from its current
    // values. The food list stays where the user left it.
    {
        const NomsAliments::VueGardee garde(m_talim);
        if (!NomsAliments::trouveAliment(m_talim, nom)) {
            prompter().message(Prompter::Kind::Information, QStringLiteral("L'aliment ") + nom +
                                                                QStringLiteral(" n'existe plus dans la table"));
            return false;
        }
    }
    const std::optional<double> q =
        Quantite::saisie(prompter(), QStringLiteral("Entrez le nouveau poids de ") + nom);
    if (!q) return false;
    const NomsAliments::VueGardee garde(m_talim);
    if (!NomsAliments::trouveAliment(m_talim, nom)) return false;
    m_tchoix.edit();
    fillPending(m_tchoix, [&] {
        m_tchoix.setFloat(QStringLiteral("QTE"), *q);
        CalculLigne(m_talim, m_tchoix, *q);
    });
    return true;
}

bool ChoiceList::supprimer() {
    const QString nom = m_tchoix.asString(QStringLiteral("NOM"));
    const double qte = m_tchoix.asFloat(QStringLiteral("QTE"));
    if (qte == 0.0 || m_tchoix.isEmpty()) return false;
    const QString question = QStringLiteral("Désirez-vous supprimer les ") +
                             QString::number(NumFormat::Nearest(qte)) + QStringLiteral(" g de ") + nom +
                             QStringLiteral(" ?");
    if (!prompter().ask(Prompter::Kind::Information, question, Prompter::Default::No)) return false;
    m_tchoix.deleteRecord();
    return true;
}

bool ChoiceList::effacer() {
    if (!prompter().ask(Prompter::Kind::Information, QStringLiteral("Désirez-vous effacer tous vos choix ?"),
                        Prompter::Default::No))
        return false;
    vide();
    return true;
}

void ChoiceList::vide() {
    m_tchoix.close();
    bool copied = true;
    try {
        FileOps::copyFile(m_tchoix.run(), FileNames::choixVide(), FileNames::choix());
    } catch (const DataError&) {
        // Without the template the lines are deleted one by one below.
        copied = false;
    }
    m_tchoix.open();
    if (!copied) {
        while (!m_tchoix.isEmpty()) {
            m_tchoix.first();
            m_tchoix.deleteRecord();
        }
    }
}
