#include "core/foodtable/foodbrowser.h"

#include "core/schema/schema.h"
#include "core/io/runcontext.h"
#include "core/table/table.h"

Prompter& FoodBrowser::prompter() const { return m_t.run().prompter(); }

FoodBrowser::FoodBrowser(Table& taliments) : m_t(taliments) { m_t.setIndexName(index(m_tri)); }

QString FoodBrowser::index(Tri tri) {
    switch (tri) {
    case Tri::Numero:
        return QStringLiteral("NUMERO");
    case Tri::Nom:
        return QStringLiteral("NOM");
    case Tri::Categorie:
        return QStringLiteral("CATEGORIE");
    }
    return QStringLiteral("NUMERO");
}

void FoodBrowser::setSortOrder(Tri tri) {
    m_t.setIndexName(index(tri));
    m_tri = tri;
}

bool FoodBrowser::chercheNom(const std::function<bool()>& avantDeplacement) {
    const std::optional<QString> texte = prompter().input(
        QStringLiteral("Recherche d'un aliment"), QStringLiteral("Entrer le début d'un nom : "), QString());
    // A search that does not move touches neither the order nor a food being
    // edited: a change of index would write or drop it.
    if (!texte || (avantDeplacement && !avantDeplacement())) return false;
    m_t.setIndexName(index(Tri::Nom));
    m_t.findNearest(*texte);
    m_tri = Tri::Nom;
    return true;
}

void FoodBrowser::sauteCategorie(const QString& categorie) {
    m_t.setIndexName(index(Tri::Categorie));
    m_tri = Tri::Categorie;
    m_t.findNearest(categorie);
}

QString FoodBrowser::categorie() const {
    if (!m_t.isOpen() || m_t.isEmpty()) return QString();
    return m_t.asString(QStringLiteral("CATEGORIE"));
}

void FoodBrowser::ajouteKcal(Table& taliments) {
    taliments.addCalculatedField(QStringLiteral("KCAL"));
    taliments.onCalcFields = [](Table& t) {
        t.setCalculated(QStringLiteral("KCAL"),
                        foodEnergy(t.asFloat(QStringLiteral("PROT_A")), t.asFloat(QStringLiteral("PROT_V")),
                                   t.asFloat(QStringLiteral("LIPI_A")), t.asFloat(QStringLiteral("LIPI_V")),
                                   t.asFloat(QStringLiteral("GLUC_S")), t.asFloat(QStringLiteral("GLUC_A"))));
    };
}
