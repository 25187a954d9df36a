#include "core/needs/efsareference.h"

#include <QDir>
#include <QFileInfo>

#include "core/io/dataerror.h"
#include "core/needs/efsatable.h"

EfsaReference::EfsaReference(const QString& path) : m_path(path) {}
EfsaReference::~EfsaReference() = default;

const QString& EfsaReference::fileName() {
    static const QString name = QStringLiteral("efsa-drv.csv");
    return name;
}

QString EfsaReference::locate(const QString& programDir) {
    QDir dir(programDir);
    for (int up = 0; up <= 2; ++up) {
        const QString candidate = dir.filePath(QStringLiteral("share/nutrimo/") + fileName());
        if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).canonicalFilePath();
        if (!dir.cdUp()) break;
    }
    return QString();
}

const EfsaTable& EfsaReference::table() const {
    if (!m_table) {
        if (m_path.isEmpty())
            throw DataError(
                QStringLiteral("Le fichier %1 des valeurs de référence de l'EFSA est introuvable : il "
                               "s'installe avec Nutrimo dans share/nutrimo. Réinstallez le programme.")
                    .arg(fileName()));
        m_table = std::make_unique<EfsaTable>(EfsaTable::read(m_path));
    }
    return *m_table;
}
