#include "ciqualtable.h"

#include "core/needs/csvfile.h"
#include "core/io/dataerror.h"

namespace {
// The identifying columns come first; nutrient columns follow.
constexpr int kFirstNutrientColumn = 9;
}

CiqualTable CiqualTable::read(const QString& path) {
    const CsvFile csv = CsvFile::read(path, QLatin1Char(';'));
    CiqualTable t;
    t.m_name = csv.name();
    t.m_header = csv.header();
    const int cCode = csv.requireColumn(QStringLiteral("alim_code"));
    const int cName = csv.requireColumn(QStringLiteral("alim_nom_fr"));
    const int cGrp = csv.requireColumn(QStringLiteral("alim_grp_code"));
    const int cSsgrp = csv.requireColumn(QStringLiteral("alim_ssgrp_code"));
    const int cSsssgrp = csv.requireColumn(QStringLiteral("alim_ssssgrp_code"));
    // The group names only describe: a file without them still reads.
    const int cGrpNom = csv.header().indexOf(QStringLiteral("alim_grp_nom_fr"));
    const int cSsgrpNom = csv.header().indexOf(QStringLiteral("alim_ssgrp_nom_fr"));

    for (const CsvRow& row : csv.rows()) {
        const QString code = row.fields.at(cCode).trimmed();
        if (code.isEmpty())
            throw DataError(QStringLiteral("%1 : ligne sans code d'aliment (alim_code).").arg(csv.where(row)));
        auto it = t.m_byCode.constFind(code);
        if (it == t.m_byCode.constEnd()) {
            CiqualFood f;
            f.line = row.line;
            f.code = code;
            f.name = row.fields.at(cName).trimmed();
            f.group = row.fields.at(cGrp).trimmed();
            f.subgroup = row.fields.at(cSsgrp).trimmed();
            f.subsubgroup = row.fields.at(cSsssgrp).trimmed();
            if (cGrpNom >= 0) f.groupName = row.fields.value(cGrpNom).trimmed();
            if (cSsgrpNom >= 0) f.subgroupName = row.fields.value(cSsgrpNom).trimmed();
            f.cells = row.fields;
            t.m_byCode.insert(code, t.m_foods.size());
            t.m_foods << f;
            continue;
        }
        // A second row for the same food completes the first one.
        CiqualFood& f = t.m_foods[it.value()];
        for (int c = kFirstNutrientColumn; c < row.fields.size(); ++c) {
            const QString mine = f.cells.at(c).trimmed();
            const QString other = row.fields.at(c).trimmed();
            if (other.isEmpty()) continue;
            if (mine.isEmpty()) {
                f.cells[c] = other;
            } else if (mine != other) {
                throw DataError(QStringLiteral("%1 : l'aliment %2 figure aussi ligne %3 avec une "
                                               "autre valeur pour « %4 » (%5 / %6).")
                                    .arg(csv.where(row), code)
                                    .arg(f.line)
                                    .arg(t.m_header.at(c), other, mine));
            }
        }
    }
    return t;
}

const CiqualFood* CiqualTable::find(const QString& code) const {
    auto it = m_byCode.constFind(code.trimmed());
    return it == m_byCode.constEnd() ? nullptr : &m_foods.at(it.value());
}

int CiqualTable::column(const QString& title) const {
    const int i = m_header.indexOf(title);
    if (i < 0) throw DataError(QStringLiteral("%1 : colonne « %2 » absente de l'en-tête.").arg(m_name, title));
    return i;
}

CiqualValue CiqualTable::value(const CiqualFood& food, int column) const {
    const auto v = parseCiqualCell(food.cells.at(column));
    if (!v)
        throw DataError(QStringLiteral("%1:%2 : valeur illisible « %3 » dans la colonne « %4 » "
                                       "(aliment %5).")
                            .arg(m_name)
                            .arg(food.line)
                            .arg(food.cells.at(column), m_header.at(column), food.code));
    return *v;
}
