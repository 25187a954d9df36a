#include "support/testsupport.h"

#include <QDir>
#include <QFile>

#include "core/dbf/dbf.h"
#include "core/session/session.h"
#include "support/recordbuilder.h"
#include "core/needs/efsareference.h"

TempDataDir::TempDataDir() : m_session(std::make_unique<Session>(m_dir.path())) {}

TempDataDir::~TempDataDir() = default;

RunContext& TempDataDir::run() { return m_session->run(); }

QString TempDataDir::path() const { return m_dir.path(); }
QString TempDataDir::file(const QString& name) const { return m_dir.filePath(name); }
bool TempDataDir::isValid() const { return m_dir.isValid(); }

namespace Fixtures {

QString createEmpty(const TableSchema& schema, const QString& dir, const QString& fileName) {
    const QString path = QDir(dir).filePath(fileName.isEmpty() ? schema.fileName : fileName);
    DbfFile::create(path, schema.fields);
    return path;
}

void appendRecords(const TableSchema& schema, const QString& path, const QVector<QVariantMap>& records) {
    auto file = DbfFile::open(path);
    Q_UNUSED(schema);
    for (const auto& rec : records) {
        RecordBuilder builder(*file);
        for (auto it = rec.begin(); it != rec.end(); ++it) builder.set(it.key(), it.value());
        file->writeRecord(file->recordCount(), builder.bytes());
    }
}

QString writeSmallFoodTable(const QString& dir) {
    const QString path = createEmpty(foodSchema(), dir);
    auto food = [](int n, const QString& nom, const QString& cat, double pa, double pv, double la, double lv,
                   double gs, double ga) {
        QVariantMap m;
        m["NUMERO"] = n;
        m["NOM"] = nom;
        m["CATEGORIE"] = cat;
        m["PROT_A"] = pa;
        m["PROT_V"] = pv;
        m["LIPI_A"] = la;
        m["LIPI_V"] = lv;
        m["GLUC_S"] = gs;
        m["GLUC_A"] = ga;
        m["CA"] = 10.0 * n;
        m["FE"] = 0.5 * n;
        m["VIT_D"] = 0.0001 * n;
        m["CHOLEST"] = 5.0 * n;
        return m;
    };
    const QStringList& c = categories();
    appendRecords(foodSchema(), path,
                  {food(1, QStringLiteral("Poulet, rôti"), c[0], 20, 0, 10, 0, 0, 0),
                   food(2, QStringLiteral("Boeuf, steak grillé"), c[0], 26, 0, 8, 0, 0, 0),
                   food(3, QStringLiteral("Agneau, gigot"), c[0], 25, 0, 12, 0, 0, 0),
                   food(4, QStringLiteral("Jambon cuit"), c[1], 18, 0, 4, 0, 1, 0),
                   food(5, QStringLiteral("Cabillaud"), c[2], 18, 0, 1, 0, 0, 0),
                   food(6, QStringLiteral("Yaourt nature"), c[4], 4, 0, 1, 0, 5, 0),
                   food(7, QStringLiteral("Beurre"), c[5], 1, 0, 82, 0, 1, 0),
                   food(8, QStringLiteral("Pain blanc"), c[6], 0, 9, 0, 1, 3, 50),
                   food(9, QStringLiteral("Épinards, cuits"), c[7], 0, 3, 0, 0.5, 0.5, 1),
                   food(10, QStringLiteral("Pomme"), c[9], 0, 0.3, 0, 0.2, 11, 0.5),
                   food(11, QStringLiteral("Test énergie"), c[13], 10, 2, 5, 0, 1, 3)});
    return path;
}

void writeAllTables(const QString& dir) {
    writeSmallFoodTable(dir);
    createEmpty(choiceSchema(), dir);
    createEmpty(choiceSchema(), dir, QStringLiteral("choix0.dbf"));
    createEmpty(compositeSchema(), dir);
    const QString needs = createEmpty(needsSchema(), dir);
    QVector<QVariantMap> rows;
    for (int r = 1; r <= 29; ++r) {
        QVariantMap m;
        m["NOM"] = QStringLiteral("Ligne %1").arg(r);
        for (int c = 1; c < needsSchema().fields.size(); ++c)
            m[needsSchema().fields[c].name] = (r == 1) ? 2000.0 + 10 * c : 10.0 * r + c;
        rows << m;
    }
    appendRecords(needsSchema(), needs, rows);
}

QString writeSavedDay(const QString& dir, const QString& name, const QVector<QVariantMap>& lines,
                      const QDateTime& modified) {
    const QString path = createEmpty(choiceSchema(), dir, name);
    appendRecords(choiceSchema(), path, lines);
    QFile f(path);
    if (f.open(QIODevice::ReadWrite)) f.setFileTime(modified, QFileDevice::FileModificationTime);
    return path;
}

QStringList liveChoiceNames(const QString& dir, QList<double>* quantities) {
    auto f = DbfFile::open(QDir(dir).filePath(QStringLiteral("CHOIX.DBF")), true);
    const int nom = f->fieldIndex(QStringLiteral("NOM"));
    const int qte = f->fieldIndex(QStringLiteral("QTE"));
    QStringList names;
    for (int r = 0; r < f->recordCount(); ++r) {
        if (f->isDeleted(r)) continue;
        names << f->text(r, nom);
        if (quantities) *quantities << f->number(r, qte);
    }
    return names;
}

void appendBreadLine(const QString& dir) {
    QVariantMap line;
    line["NOM"] = QStringLiteral("Pain blanc");
    line["QTE"] = 100.0;
    line["GLUC_A"] = 50.0;
    line["CALORIES"] = 200.0;
    appendRecords(choiceSchema(), QDir(dir).filePath(choiceSchema().fileName), {line});
}

QString suppliedTablesDir() { return QStringLiteral(NUTRIMO_TABLES_DIR); }

QString ciqualTable() { return QDir(suppliedTablesDir()).filePath(ciqualSchema().fileName); }

void copySuppliedTables(const QString& dir) {
    const QDir from(suppliedTablesDir());
    for (const QString& name : from.entryList(QDir::Files))
        if (name != ciqualSchema().fileName) QFile::copy(from.filePath(name), QDir(dir).filePath(name));
}

const EfsaReference& efsaReference() {
    static const EfsaReference efsa(QStringLiteral(NUTRIMO_SOURCE_DIR "/data/sources/efsa-drv.csv"));
    return efsa;
}

QStringList editCsvLine(QStringList lines, int line, int field, const QString& text) {
    if (field < 0) {
        lines.removeAt(line - 1);
        return lines;
    }
    QStringList cells = lines.at(line - 1).split(QLatin1Char(';'));
    if (text == QLatin1String("REMOVE"))
        cells.removeAt(field);
    else
        cells[field] = text;
    lines[line - 1] = cells.join(QLatin1Char(';'));
    return lines;
}

}   // namespace Fixtures
