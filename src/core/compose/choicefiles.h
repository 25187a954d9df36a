#pragma once
// Saving the day's choice to a Saved choice file (*.dat) and opening one
// again: the decisions of the open/save dialog's OK button, without any
// widget, so that a whole command runs in a test. Messages and questions go
// through the run's Prompter; file errors are thrown as DataError for the
// standard error handler.
//
// A Saved choice file is a byte copy of choix.dbf in the Data directory. The
// name box's text is cut to its first 12 characters (a short name: eight
// characters, a dot, three characters) and must end in "DAT" in any case.
#include <QString>

class RunContext;

namespace ChoiceFiles {

constexpr int LongueurNom = 12;
// The name used: the first 12 characters of the name box's text.
QString nomCoupe(const QString& text);
// The last three characters of the name (all of it when shorter), upper-cased,
// compare equal to "DAT".
bool extensionDat(const QString& name);
// Refuses a text that names a file outside the Data directory (a path
// separator, an absolute name, "." or ".."): the French message, or an empty
// text when the name stays in the Data directory.
QString refusChemin(const QString& text);
// Save mode only: refuses a name that cannot be a file name (wildcards and
// other forbidden characters, no name before the extension).
QString refusNomInvalide(const QString& name);

// Throws DataError naming the file when it is not a Choice table that the
// composition window can open (damaged header, missing or wrong fields).
// Nothing is written.
void verifieTableChoix(RunContext& run, const QString& name);

enum class Suite { Reste, Ferme };   // the dialog stays open, or closes

// Save mode: checks the name, asks before overwriting, copies choix.dbf to it.
Suite enregistrer(RunContext& run, const QString& text);
// Open mode: checks the name and the file, copies it over choix.dbf. On
// Ferme the caller reopens the composition window on the loaded choice.
Suite ouvrir(RunContext& run, const QString& text);

// Fichier > Nouveau: the day's choice becomes a copy of the empty template.
// A day that holds lines (or that cannot be read to say it holds none) is
// emptied only once the user answers Oui to "Effacer le choix en cours ?",
// Non being the default. False when the day was kept; a missing template
// throws DataError and the day stays as it was.
bool nouveauChoix(RunContext& run);


// Composite mode works in a Choice table of its own while the day's choice
// waits aside in choix.tmp. Both moves are renames, so that neither needs
// free space once the empty list is written: the day's own file is renamed
// choix.tmp, then a new empty list (a copy of choix0.dbf written beforehand)
// takes the name choix.dbf; coming back, choix.tmp is renamed over the list.
// At every moment the day is whole under one of the two names.
//
// Sets the day aside. Throws DataError when it cannot: the day is then in
// place, unless choix.tmp exists (a rename could not be undone), in which
// case it is aside and remetJourDeCote() brings it back.
void metJourDeCote(RunContext& run);
// Brings back a day set aside: false when none is (no choix.tmp). Throws
// DataError saying where the day is kept when it cannot be put back; until
// it is, choix.dbf holds an ingredient list that no command may take for the
// day, and every command that uses the day calls this first.
bool remetJourDeCote(RunContext& run);

// Start-up: remetJourDeCote(), telling the user. A choix.tmp that cannot be
// read as a Choice table is left where it is and choix.dbf is not touched.
// Returns true when the choice was restored.
bool restaureChoixInterrompu(RunContext& run);

}   // namespace ChoiceFiles
