#pragma once
// Names of foods as the composition window compares them.
//
// The Food table is searched by name without regard to letter case (a line of
// the day's choice finds its food that way), so two foods whose names differ
// only by case could not be told apart: such a name is refused wherever a name
// is given (the name dialog, renaming, the food-editing window), and a search
// prefers the exact name before the case-blind one. Names compare as the
// program shows and searches them: case folded, accents kept, blanks before
// and after ignored (" Pomme" is "pomme").
//
// The searches below leave the handles as they found them: filter switch and
// current food, so that the food list does not move under the user.
#include <QString>

class Table;

namespace NomsAliments {
// True when a and b are one name without regard to case and outer blanks.
bool memeNom(const QString& a, const QString& b);
// A key of the name as memeNom reads it: two names are one exactly when their
// keys are equal (for sets and hashes of names).
QString cleDuNom(const QString& nom);
// The first visible row of t, from fromRow on, whose field bears nom as
// memeNom reads it (the row being edited with its pending value); -1 if none.
int ligneDuNom(const Table& t, const QString& field, const QString& nom, int fromRow = 0);

// True when a food of talim or a composite of talimCompo bears nom without
// regard to case, other than the food named exactly sauf (the composite being
// renamed; empty: none is excepted). Every record counts, whatever the filters.
bool nomPris(Table& talim, Table& talimCompo, const QString& nom, const QString& sauf = QString());

// Moves talim, filter switched off, to the food named exactly nom, else to the
// first one bearing it as memeNom reads it; false when there is none (the
// cursor then stays). The caller switches the filter back on.
bool trouveAliment(Table& talim, const QString& nom);

// Keeps a handle's filter switch and current row for a scope, so that a search
// over the whole table leaves the view where the user left it.
class VueGardee {
public:
    explicit VueGardee(Table& t);
    ~VueGardee();
    VueGardee(const VueGardee&) = delete;
    VueGardee& operator=(const VueGardee&) = delete;

private:
    Table& m_t;
    bool m_filtered;
    int m_row;
};
}   // namespace NomsAliments
