#pragma once
// FoodEditor: editing the Food table one food at a time, without widgets.
//
// How data flows: the window's boxes hand each typed text to ecritTexte,
// which writes it into the pending record of the handle (a number takes ","
// or "." as its decimal point, whatever the locale; a blank number stays
// blank and reads as 0). A food
// is written by confirme, or first by ecritAvantDeplacement before any move,
// search or change of order, and in both cases only once it passes the checks
// of erreurAliment; a refused food stays in editing and nothing is written.
// A renamed food keeps its records in the side tables (its unmeasured
// values, its origin), which name it.
// The handle's events number a new food (the highest number plus one, zeros
// in the nutrients) and guard deletions: the Base foods are never deleted,
// and the Composite table's lines of a deleted food go before the food.
#include <QMetaObject>
#include <QString>
#include <QStringList>

class Prompter;
class Table;

class FoodEditor {
public:
    // Installs the events of taliments (before insert, new record, before
    // delete); talimCompo is the Composite table, indexed on NOM_COMPO.
    FoodEditor(Table& taliments, Table& talimCompo);
    ~FoodEditor();
    FoodEditor(const FoodEditor&) = delete;
    FoodEditor& operator=(const FoodEditor&) = delete;

    // A composite food: exactly the category "PRODUITS COMPOSÉS".
    static bool estCompose(const QString& categorie);
    // The text of a number box made into a number, "," or "." as its decimal
    // point; false when it does not read as one. A blank text reads as 0.
    static bool litNombre(const QString& text, double* value);

    // The Composite lock: the current food is a composite, so that its name,
    // nutrients and category must not be changed here.
    bool verrouCompose() const;

    // Typing begins editing the current food (a new one on an empty table).
    void commenceEdition();
    // Writes a typed text into a field of the current food. A number that
    // does not read is refused with a DataError naming the text and the field,
    // and the field keeps its value; so is the composite category for a food
    // that is not already a composite.
    void ecritTexte(const QString& field, const QString& text);
    // A field was changed since the food went into editing.
    bool modifie() const { return m_modifie; }

    // Why the pending food cannot be written: an empty name, a name another
    // food already bears (letter case and outer blanks aside), a blank
    // category, a negative value. "" when it can.
    QString erreurAliment() const;
    // The same checks on the pending food of any Food table handle (a food
    // added from the CIQUAL table passes them too).
    static QString erreurAliment(const Table& taliments);

    // Confirmer: writes a pending food that passes the checks (the refusal is
    // told through the prompter). True when nothing is left pending.
    bool confirme();
    // Before a move, a search or a change of order: a changed food is written
    // as by confirme; an unchanged one is left for the move to drop.
    bool ecritAvantDeplacement();
    // Annuler: the stored values come back, or a new food is dropped.
    void annule();
    // Ajouter: a new food, once a changed one is written.
    bool insere();
    // Supprimer, after the question "Supprimer l'enregistrement ?": a new
    // food is dropped; a Base food is refused with a message; any other food
    // is deleted with its composition lines, both as one unit
    // (CompositeJournal). True when a food was deleted or dropped.
    bool supprime();

    // The handle's events (installed by the constructor).
    void TalimentsBeforeInsert(Table& t);
    void TalimentsNewRecord(Table& t);
    bool TalimentsBeforeDelete(Table& t);

private:
    // The run of the tables: the user is asked through its Prompter.
    Prompter& prompter() const;
    bool ecrit();

    Table& m_t;
    Table& m_compo;
    long long m_numero = 0;   // taken before the new record is begun
    bool m_modifie = false;
    QStringList m_tapes;    // the nutrient fields typed since editing began
    QString m_nomStocke;    // the stored name of the food being edited
    bool m_refus = false;   // the last deletion was refused
    QMetaObject::Connection m_etat;
};
