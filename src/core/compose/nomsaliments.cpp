#include "core/compose/nomsaliments.h"

#include "core/dbf/collation.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

#include <algorithm>

namespace NomsAliments {
namespace {

QString sansBlancsAutour(const QString& s) {
    int from = 0;
    while (from < s.size() && s.at(from) == QLatin1Char(' ')) ++from;
    return DbfFile::trimmedText(s.mid(from));
}

// A visible row of t whose field bears nom as memeNom reads it, other than
// the rows bearing exactly sauf.
bool porte(const Table& t, const QString& field, const QString& nom, const QString& sauf) {
    const QString excepte = DbfFile::trimmedText(sauf);
    for (int row = ligneDuNom(t, field, nom); row >= 0; row = ligneDuNom(t, field, nom, row + 1))
        if (excepte.isEmpty() || DbfFile::trimmedText(t.valueAt(row, field).toString()) != excepte) return true;
    return false;
}
}   // namespace

int ligneDuNom(const Table& t, const QString& field, const QString& nom, int fromRow) {
    for (int row = std::max(fromRow, 0); row < t.rowCount(); ++row)
        if (memeNom(t.valueAt(row, field).toString(), nom)) return row;
    return -1;
}

bool memeNom(const QString& a, const QString& b) { return cleDuNom(a) == cleDuNom(b); }

QString cleDuNom(const QString& nom) {
    // Letters compared as the table's collation lowers them; a name that the
    // table's code page cannot hold is compared exactly, and its key cannot
    // equal the key of a name it can hold (their first characters differ).
    const QString x = sansBlancsAutour(nom);
    if (!Cp1252::canEncode(x)) return QLatin1Char('=') + x;
    return QLatin1Char('~') + QString::fromLatin1(Collation::lowered(Cp1252::encode(x)));
}

bool nomPris(Table& talim, Table& talimCompo, const QString& nom, const QString& sauf) {
    bool pris = false;
    {
        const VueGardee garde(talim);
        talim.setFiltered(false);
        pris = porte(talim, Fields::NOM, nom, sauf);
    }
    if (pris) return true;
    const VueGardee garde(talimCompo);
    talimCompo.setFiltered(false);
    return porte(talimCompo, Fields::NOM_COMPO, nom, sauf);
}

bool trouveAliment(Table& talim, const QString& nom) {
    talim.setFiltered(false);
    if (talim.locate(Fields::NOM, nom, false)) return true;
    const int row = ligneDuNom(talim, Fields::NOM, nom);
    if (row < 0) return false;
    talim.moveToRow(row);
    return true;
}

VueGardee::VueGardee(Table& t) : m_t(t), m_filtered(t.filtered()), m_row(t.currentRow()) {}

VueGardee::~VueGardee() {
    // The same filter over the same records gives the same rows.
    try {
        if (m_t.filtered() != m_filtered) m_t.setFiltered(m_filtered);
        if (m_t.isOpen() && m_row >= 0 && m_row < m_t.rowCount() && m_t.currentRow() != m_row)
            m_t.moveToRow(m_row);
    } catch (...) {
    }
}
}   // namespace NomsAliments
