#include "core/foodtable/foodorigins.h"

#include <QFileInfo>

#include "core/io/dataerror.h"
#include "core/io/datadirectory.h"
#include "core/dbf/dbf.h"
#include "core/schema/numformat.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

namespace {
bool exists(const QString& dir) {
    return QFileInfo::exists(DataDirectory::resolveIn(dir, originsSchema().fileName));
}

// The side table of the directory, open for writing.
void openSide(Table& t, const QString& dir) {
    t.setDirectory(dir);
    t.setIndexName(QString());
    t.open();
}

bool findNumero(Table& t, double numero) {
    for (t.first(); !t.eof(); t.next())
        if (t.asFloat(Fields::NUMERO) == numero) return true;
    return false;
}
}   // namespace

FoodOrigins FoodOrigins::read(const QString& dir) {
    FoodOrigins out;
    if (!exists(dir)) return out;
    try {
        const auto file = DbfFile::open(DataDirectory::resolveIn(dir, originsSchema().fileName), true);
        const int numero = file->fieldIndex(Fields::NUMERO), nom = file->fieldIndex(Fields::NOM),
                  source = file->fieldIndex(Fields::SOURCE), code = file->fieldIndex(Fields::CODE);
        if (numero < 0 || nom < 0 || source < 0 || code < 0) return out;
        for (int r = 0; r < file->recordCount(); ++r) {
            if (file->isDeleted(r)) continue;
            Origin o{NumFormat::Nearest(file->number(r, numero)), file->text(r, nom).trimmed(),
                     file->text(r, source).trimmed(), file->text(r, code).trimmed()};
            out.m_byNumero.insert(o.numero, out.m_records.size());
            out.m_records << o;
        }
    } catch (const DataError&) {
        return FoodOrigins();
    }
    return out;
}

QString FoodOrigins::text(const Origin& origin) {
    return QStringLiteral("%1, code %2").arg(origin.source, origin.code);
}

QString FoodOrigins::textOf(double numero, const QString& nom) const {
    const auto it = m_byNumero.constFind(NumFormat::Nearest(numero));
    if (it == m_byNumero.constEnd()) return QString();
    const Origin& o = m_records.at(it.value());
    return o.nom == nom.trimmed() ? text(o) : QString();
}

QVector<FoodOrigins::Origin> FoodOrigins::withCode(const QString& source, const QString& code) const {
    QVector<Origin> out;
    for (const Origin& o : m_records)
        if (o.code == code && o.source == source) out << o;
    return out;
}

void FoodOrigins::note(RunContext& run, const QString& dir, const Origin& origin) {
    if (!exists(dir))
        DbfFile::create(DataDirectory::resolveIn(dir, originsSchema().fileName), originsSchema().fields, &run);
    Table t(run, originsSchema());
    openSide(t, dir);
    if (findNumero(t, static_cast<double>(origin.numero))) {
        t.edit();
    } else {
        t.append();
        t.setFloat(Fields::NUMERO, static_cast<double>(origin.numero));
    }
    t.setString(Fields::NOM, origin.nom.trimmed());
    t.setString(Fields::SOURCE, origin.source);
    t.setString(Fields::CODE, origin.code);
    t.post();
}

void FoodOrigins::rename(RunContext& run, const QString& dir, double numero, const QString& oldName,
                         const QString& newName) {
    if (!exists(dir) || oldName.trimmed() == newName.trimmed()) return;
    Table t(run, originsSchema());
    openSide(t, dir);
    if (!findNumero(t, numero) || t.asString(Fields::NOM).trimmed() != oldName.trimmed()) return;
    t.setString(Fields::NOM, newName.trimmed());
    t.post();
}
