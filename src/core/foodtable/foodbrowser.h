#pragma once
// FoodBrowser: browsing the Food table one food at a time, without widgets,
// for the consultation and editing windows.
//
// The browsing order is one of three index tags (number, name, category);
// changing it keeps the current food. The name search and the category jump
// land on the nearest key of their tag, then the order is set back from the
// chosen sort button, so that a search never leaves the table in an order
// that the window does not show.
#include <QString>
#include <functional>

class Prompter;
class Table;

class FoodBrowser {
public:
    enum class Tri { Numero, Nom, Categorie };

    explicit FoodBrowser(Table& taliments);

    // The index tag of an order: "NUMERO", "NOM" or "CATEGORIE".
    static QString index(Tri tri);
    // The order in force (and kept while the handle is closed).
    Tri tri() const { return m_tri; }
    // Switches the order; on an open handle the current food stays current.
    void setSortOrder(Tri tri);

    // Asks the beginning of a name ("Recherche d'un aliment"). Confirmed, and
    // once avantDeplacement (when given) lets the cursor move: the first food
    // in name order whose name starts like the text, accents and case aside
    // (the next name when none does, the last one after every name), becomes
    // current and the order becomes the name. Cancelled or refused, nothing
    // moves and a pending food stays pending. True when it moved.
    bool chercheNom(const std::function<bool()>& avantDeplacement = {});
    // The first food, in category order, whose category sorts at or after the
    // text (the last food when none does); the order becomes the category.
    void sauteCategorie(const QString& categorie);

    // The current food's category ("" on an empty table).
    QString categorie() const;

    // Gives a handle the calculated field KCAL, the Food energy per 100 g of
    // each record, held unrounded.
    static void ajouteKcal(Table& taliments);

private:
    // The run of the tables: the user is asked through its Prompter.
    Prompter& prompter() const;
    Table& m_t;
    Tri m_tri = Tri::Numero;
};
