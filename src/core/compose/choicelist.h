#pragma once
// ChoiceList: the list commands of the composition window, without any widget.
// The list is the Choice table (Tchoix): every command writes its change to
// the file at once. Foods come from the current record of the Food table
// handle (Talim), filtered on one category by the window.
//
// Each command asks its questions through the prompter and returns true when
// the list changed, so that the window refreshes its totals strip. A command
// that fails part-way drops the line it was filling: no half-written line is
// ever posted.
#include <QString>

class CompositeFood;
class Prompter;
class Table;

class ChoiceList {
public:
    ChoiceList(Table& talim, Table& tchoix);

    // Fills the current line of tchoix with q grams of the current food of
    // talim: each nutrient scaled to q, and CALORIES, in the line's field order.
    static void CalculLigne(const Table& talim, Table& tchoix, double q);
    // Food energy of 100 g of the current food of talim, in kcal.
    static long double energiePour100(const Table& talim);
    // The value a line of q grams holds for a value per 100 g, as CalculLigne
    // writes it.
    static double valeurLigne(double q, long double per100);

    // Adds the selected food with a quantity asked for. An empty food view, or
    // the composite being edited (enCours) as its own ingredient, is refused
    // with a message and nothing is asked.
    bool ajouter(const CompositeFood* enCours = nullptr);
    // Appends q grams of the current food of talim to the list, without
    // asking: the second half of ajouter, also used to add a proposal.
    void ajouteLigne(double q);
    // Asks a new quantity for the current line and recomputes the line from the
    // food of that name in the whole Food table (exact name first, then without
    // regard to case). A food that is gone is told and nothing changes.
    bool modifier();
    // Removes the current line after confirmation (nothing for a quantity 0).
    bool supprimer();
    // Empties the list after confirmation, by copying the empty template over
    // the Choice table, or line by line when the copy fails.
    bool effacer();

    // Empties the list without asking (the second half of Effacer).
    void vide();

private:
    // The run of the tables: the user is asked through its Prompter.
    Prompter& prompter() const;
    Table& m_talim;
    Table& m_tchoix;
};
