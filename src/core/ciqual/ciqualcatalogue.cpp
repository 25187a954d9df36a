#include "core/ciqual/ciqualcatalogue.h"

#include <QFileInfo>

#include "core/ciqual/ciqualgroups.h"
#include "core/io/dataerror.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

QString CiqualCatalogue::sourceName() { return QStringLiteral("CIQUAL 2020"); }

CiqualCatalogue::CiqualCatalogue(RunContext& run, const QString& path)
    : m_path(QFileInfo(path).absoluteFilePath()), m_table(std::make_unique<Table>(run, ciqualSchema())) {
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
    m_names.reserve(n);
    for (int r = 0; r < n; ++r) m_names << text(r, "NOM");
}

CiqualCatalogue::~CiqualCatalogue() = default;

QString CiqualCatalogue::problem(RunContext& run, const QString& path) {
    try {
        CiqualCatalogue check(run, path);
        return QString();
    } catch (const DataError& e) {
        return e.message();
    }
}

QString CiqualCatalogue::text(int i, const char* field) const {
    return m_table->valueAt(i, QLatin1String(field)).toString().trimmed();
}

CiqualEntry CiqualCatalogue::entry(int i) const {
    return CiqualEntry{text(i, "CODE"),    m_names.at(i),      text(i, "SSGRP"),
                       text(i, "SSSSGRP"), text(i, "GRP_NOM"), text(i, "SSGRP_NOM")};
}

int CiqualCatalogue::indexOfCode(const QString& code) const {
    if (m_byCode.isEmpty())
        for (int i = 0; i < size(); ++i) m_byCode.insert(text(i, "CODE"), i);
    return m_byCode.value(code.trimmed(), -1);
}

QString CiqualCatalogue::category(int i) const {
    return CiqualGroups::category(text(i, "SSGRP"), text(i, "SSSSGRP"));
}

double CiqualCatalogue::value(int i, const QString& field) const {
    return m_table->valueAt(i, field).toDouble();
}

QStringList CiqualCatalogue::unmeasured(int i) const {
    QStringList out;
    const QVector<DbfField>& food = foodSchema().fields;
    for (int f = 3; f < food.size(); ++f) {
        const QString flag = m_table->valueAt(i, ciqualUnmeasuredField(food[f].name)).toString();
        if (flag.trimmed().compare(QLatin1String("T"), Qt::CaseInsensitive) == 0) out << food[f].name;
    }
    return out;
}
