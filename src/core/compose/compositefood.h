#pragma once
// CompositeFood: composite mode of the composition window, without widgets.
//
// A composite food is a recipe stored as a food of its own: one Food table
// record in the category "PRODUITS COMPOSÉS" holding per-100 g values, and one
// Composite table line per ingredient holding the values of its list line.
// While it is being edited, the ingredient list lives in a Choice table of its
// own; the day's choice waits in the Choice backup file choix.tmp and is put
// back, byte for byte, whenever the window closes (ChoiceFiles::metJourDeCote).
//
// Names are compared exactly, and lines are found through filters given as a
// field and a value, so a name may hold quotes or any other character.
#include <QString>
#include <QStringList>

struct DailyTotals;
class Prompter;
class Table;

class CompositeFood {
public:
    CompositeFood(Table& talim, Table& tchoix, Table& talimCompo);

    // True when the name cannot be given to the composite: a food or another
    // composite bears it, compared without regard to case, and it is not
    // exactly the name of an existing composite (which is reopened). Leaves the
    // category filter of talim off.
    static bool NomPris(Table& talim, Table& talimCompo, const QString& nom);
    // True when the Composite table holds a line of that composite (the handle
    // is then on one of its lines).
    static bool ComposeExiste(Table& talimCompo, const QString& nom);
    // The names of the existing composites, each once, sorted.
    static QStringList nomsComposes(Table& talimCompo);
    // Why a name cannot be stored ("" when it can): longer than a name field, or
    // holding a character that the tables cannot hold.
    static QString erreurDeNom(const QString& nom);
    // A search by name that finds only the record bearing exactly that name.
    static bool trouveNom(Table& t, const QString& field, const QString& nom);
    // Deletes every line of the composite named nom (exact name), whatever
    // the handle's filter, which it leaves as it was; the count.
    static int supprimeLignes(Table& talimCompo, const QString& nom);

    // The thirty-two computed fields of the current line, one way or the other.
    static void LigneVersCompo(const Table& tchoix, Table& talimCompo);
    static void CompoVersLigne(const Table& talimCompo, Table& tchoix);

    // Composite mode starts for this name (as accepted by the name dialog):
    // NomCompose, ModifCompose.
    void commence(const QString& nom);
    // Sets the day's choice aside in choix.tmp and empties the Choice table.
    void metDeCote();
    // An existing composite: its lines into the (empty) list, with their stored values.
    void chargeLignes();

    // Asks a new name ("Nouvel aliment"); true when NomCompose changed. A name
    // that belongs to another food, or cannot be stored, is refused with a
    // message and the name stays.
    bool renommer();

    // Saving at the exit (Enregistrer/Sortir). Returns false when the save was
    // refused and the window must stay open, true when the window may close.
    bool enregistre(DailyTotals& totals);

    // After the window's handles are closed: the day's choice back from
    // choix.tmp, by a rename over the list. If it fails the day stays in
    // choix.tmp, which the next command (or the next start-up) puts back.
    void restaure();

    QString NomCompose;          // name of the composite being edited
    bool ModifCompose = false;   // it existed when composite mode started
    QString NomOrigine;          // its name when composite mode started
    bool sauvegardeFaite() const { return m_backup; }

private:
    // The run of the tables: the user is asked through its Prompter.
    Prompter& prompter() const;
    // The NUMERO of the food of that name (0 when there is none).
    double numeroDe(const QString& nom);
    // Gives the food of that number the unmeasured fields of its ingredients
    // in the side table (none: its record goes).
    void noteNonMesures(const QStringList& champs, double numero);
    void ecritAliment(const DailyTotals& totals);
    void ecritLignes();
    void supprimeAliment();

    Table& m_talim;
    Table& m_tchoix;
    Table& m_talimCompo;
    bool m_backup = false;
};
