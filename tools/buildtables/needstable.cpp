#include "needstable.h"

#include <QFile>
#include <QHash>
#include <cmath>

#include "core/needs/csvfile.h"
#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"

NeedsTable Needs::read(const QString& path, const EfsaTable& efsa, bool checkWritten) {
    const CsvFile csv = CsvFile::read(path, QLatin1Char(';'));
    const int cRow = csv.requireColumn(QStringLiteral("LIGNE"));
    const int cName = csv.requireColumn(QStringLiteral("NOM"));
    const int cCol = csv.requireColumn(QStringLiteral("COLONNE"));
    const int cVal = csv.requireColumn(QStringLiteral("VALEUR"));
    const int cUnit = csv.requireColumn(QStringLiteral("UNITE"));
    const int cFormula = csv.requireColumn(QStringLiteral("FORMULE"));
    const int cPop = csv.requireColumn(QStringLiteral("POPULATION"));

    NeedsTable t;
    for (int i = 1; i < needsSchema().fields.size(); ++i) t.columns << needsSchema().fields.at(i).name;
    const int nameWidth = needsSchema().fields.at(0).length;
    t.rowNames = QStringList(kNeedsRows, QString());
    QVector<int> nameLine(kNeedsRows, 0);
    t.cells = QVector<QVector<NeedsCell>>(kNeedsRows, QVector<NeedsCell>(t.columns.size()));

    for (const CsvRow& r : csv.rows()) {
        const QString where = csv.where(r);
        bool ok = false;
        const int row = r.fields.at(cRow).trimmed().toInt(&ok);
        if (!ok || row < 1 || row > kNeedsRows)
            throw DataError(QStringLiteral("%1 : ligne « %2 » invalide (de 1 à %3).")
                                .arg(where, r.fields.at(cRow))
                                .arg(kNeedsRows));
        const int col = t.columns.indexOf(r.fields.at(cCol).trimmed());
        if (col < 0)
            throw DataError(QStringLiteral("%1 : colonne « %2 » inconnue.").arg(where, r.fields.at(cCol)));
        NeedsCell& cell = t.cells[row - 1][col];
        if (cell.line)
            throw DataError(QStringLiteral("%1 : la ligne %2, colonne %3, est déjà décrite ligne %4.")
                                .arg(where)
                                .arg(row)
                                .arg(t.columns.at(col))
                                .arg(cell.line));

        const QString name = r.fields.at(cName).trimmed();
        if (name.isEmpty() || name.size() > nameWidth || !Cp1252::canEncode(name))
            throw DataError(QStringLiteral("%1 : nom de ligne « %2 » invalide (1 à %3 caractères "
                                           "de la page de code Windows occidentale).")
                                .arg(where, name)
                                .arg(nameWidth));
        if (nameLine[row - 1] && t.rowNames[row - 1] != name)
            throw DataError(QStringLiteral("%1 : la ligne %2 s'appelle « %3 » ligne %4 et « %5 » ici.")
                                .arg(where)
                                .arg(row)
                                .arg(t.rowNames[row - 1])
                                .arg(nameLine[row - 1])
                                .arg(name));
        t.rowNames[row - 1] = name;
        nameLine[row - 1] = r.line;

        const QString unit = r.fields.at(cUnit).trimmed();
        if (unit != needsRowUnit(row))
            throw DataError(QStringLiteral("%1 : unité « %2 » pour la ligne %3 (« %4 » attendu).")
                                .arg(where, unit)
                                .arg(row)
                                .arg(needsRowUnit(row)));
        QString written = r.fields.at(cVal).trimmed();
        written.replace(QLatin1Char(','), QLatin1Char('.'));
        cell.written = written.toDouble(&ok);
        if (!ok && checkWritten)
            throw DataError(QStringLiteral("%1 : valeur « %2 » illisible.").arg(where, r.fields.at(cVal)));
        cell.line = r.line;
        cell.formula = r.fields.at(cFormula).trimmed();
        cell.population = r.fields.at(cPop).trimmed();
    }
    for (int row = 1; row <= kNeedsRows; ++row)
        for (int col = 0; col < t.columns.size(); ++col)
            if (!t.cells[row - 1][col].line)
                throw DataError(QStringLiteral("%1 : aucune valeur pour la ligne %2, colonne %3.")
                                    .arg(csv.name())
                                    .arg(row)
                                    .arg(t.columns.at(col)));

    // Evaluation, each cell once, following row references within a group;
    // VALEUR checked as each cell is computed.
    for (int col = 0; col < t.columns.size(); ++col) {
        NeedsColumnSource source;
        for (int row = 1; row <= kNeedsRows; ++row) source.formulas << t.cells[row - 1][col].formula;
        source.where = [&](int row) {
            return QStringLiteral("%1:%2").arg(csv.name()).arg(t.cells[row - 1][col].line);
        };
        source.onValue = [&](int row, double v) {
            const NeedsCell& cell = t.cells[row - 1][col];
            if (checkWritten && std::fabs(v - cell.written) > 0.000005 + 1e-9 * std::fabs(v))
                throw DataError(
                    QStringLiteral("%1 : valeur écrite %2, la formule donne %3 : corrigez "
                                   "la colonne VALEUR.")
                        .arg(source.where(row), formatNeedsValue(cell.written), formatNeedsValue(v)));
        };
        const QVector<double> values = evaluateNeedsColumn(source, efsa);
        for (int row = 1; row <= kNeedsRows; ++row) t.cells[row - 1][col].value = values[row - 1];
    }
    return t;
}

QString Needs::rewrite(const QString& path, const NeedsTable& table) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("%1 : lecture impossible (%2).").arg(path, file.errorString()));
    const QString text = QString::fromUtf8(file.readAll());
    QHash<int, double> byLine;
    for (const auto& row : table.cells)
        for (const NeedsCell& c : row) byLine.insert(c.line, c.value);
    const CsvFile csv = CsvFile::parse(text, QLatin1Char(';'), path);
    const int cVal = csv.requireColumn(QStringLiteral("VALEUR"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (const CsvRow& r : csv.rows()) {
        if (!byLine.contains(r.line)) continue;
        QStringList fields = r.fields;
        fields[cVal] = formatNeedsValue(byLine.value(r.line));
        for (QString& f : fields)
            if (f.contains(QLatin1Char(';')) || f.contains(QLatin1Char('"')))
                f = QLatin1Char('"') + QString(f).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                    QLatin1Char('"');
        QString& l = lines[r.line - 1];
        const bool cr = l.endsWith(QLatin1Char('\r'));
        l = fields.join(QLatin1Char(';')) + (cr ? QStringLiteral("\r") : QString());
    }
    return lines.join(QLatin1Char('\n'));
}
