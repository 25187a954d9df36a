#include "core/ciqual/ciqualcatalogue.h"

#include <QFileInfo>
#include <algorithm>

#include "core/ciqual/ciqualgroups.h"
#include "core/dbf/collation.h"
#include "core/dbf/dataerror.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

QString CiqualCatalogue::sourceName() { return QStringLiteral("CIQUAL 2020"); }

CiqualCatalogue::CiqualCatalogue(const QString& path)
    : m_path(QFileInfo(path).absoluteFilePath()), m_table(std::make_unique<Table>(ciqualSchema())) {
    const QFileInfo info(m_path);
    if (path.isEmpty())
        throw DataError(QStringLiteral("Impossible d'ouvrir le fichier %1 : fichier introuvable.")
                            .arg(ciqualSchema().fileName));
    m_table->setReadOnly(true);
    m_table->setDirectory(info.absolutePath());
    m_table->setFileName(info.fileName());
    m_table->setIndexName(QString());
    m_table->open();
    const int n = m_table->rowCount();
    if (n == 0)
        throw DataError(QStringLiteral("Le fichier %1 ne contient aucun aliment.").arg(info.fileName()));
    struct Keyed {
        QByteArray key;
        CiqualEntry entry;
    };
    QVector<Keyed> keyed;
    keyed.reserve(n);
    for (int r = 0; r < n; ++r) {
        auto text = [&](const char* field) { return m_table->valueAt(r, QLatin1String(field)).toString(); };
        CiqualEntry e;
        e.row = r;
        e.code = text("CODE").trimmed();
        e.name = text("NOM").trimmed();
        e.subgroup = text("SSGRP").trimmed();
        e.subsubgroup = text("SSSSGRP").trimmed();
        e.groupName = text("GRP_NOM").trimmed();
        e.subgroupName = text("SSGRP_NOM").trimmed();
        keyed.append({Collation::key(e.name), e});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return Collation::compare(a.key, b.key) < 0; });
    m_entries.reserve(n);
    for (const Keyed& k : keyed) {
        m_byCode.insert(k.entry.code, m_entries.size());
        m_entries << k.entry;
    }
}

CiqualCatalogue::~CiqualCatalogue() = default;

QString CiqualCatalogue::problem(const QString& path) {
    try {
        CiqualCatalogue check(path);
        return QString();
    } catch (const DataError& e) {
        return e.message();
    }
}

QStringList CiqualCatalogue::names() const {
    QStringList out;
    out.reserve(m_entries.size());
    for (const CiqualEntry& e : m_entries) out << e.name;
    return out;
}

int CiqualCatalogue::indexOfCode(const QString& code) const { return m_byCode.value(code.trimmed(), -1); }

QString CiqualCatalogue::category(int i) const {
    const CiqualEntry& e = m_entries.at(i);
    return CiqualGroups::category(e.subgroup, e.subsubgroup);
}

double CiqualCatalogue::value(int i, const QString& field) const {
    return m_table->valueAt(m_entries.at(i).row, field).toDouble();
}

QStringList CiqualCatalogue::unmeasured(int i) const {
    QStringList out;
    const QVector<DbfField>& food = foodSchema().fields;
    for (int f = 3; f < food.size(); ++f) {
        const QString flag = m_table->valueAt(m_entries.at(i).row, ciqualUnmeasuredField(food[f].name)).toString();
        if (flag.trimmed().compare(QLatin1String("T"), Qt::CaseInsensitive) == 0) out << food[f].name;
    }
    return out;
}
