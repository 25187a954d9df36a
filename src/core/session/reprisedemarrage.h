#pragma once
// Start-up recovery: what a stopped program left in the Data directory, put
// in order before anything reads the tables. It runs only under the Data
// directory's lock (DataLock), so that it never touches the live files of
// another running program:
//   - temporary files of an interrupted copy are removed;
//   - an interrupted composite save is finished one way or the other
//     (CompositeJournal::reprise), and the user told which;
//   - the day's choice set aside in choix.tmp by an interrupted composite
//     mode is put back (ChoiceFiles::restaureChoixInterrompu);
//   - composite foods without any line (left by older versions) that can be
//     deleted are named, with the way to delete them.
// Each step reports its own DataError through the Prompter and the next
// step still runs.
class RunContext;

namespace RepriseDemarrage {
// Takes the lock of the Data directory if this run does not hold it;
// returns false, having touched nothing, when another program holds it.
bool execute(RunContext& run);
}
