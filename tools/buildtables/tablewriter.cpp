#include "tablewriter.h"

#include <QDir>
#include <QFile>

#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"

namespace {

void writeOne(const QString& path, const PendingTable& t) {
    DbfFile::create(path, t.schema->fields, nullptr, TableWriter::kYear, TableWriter::kMonth,
                    TableWriter::kDay);
    auto file = DbfFile::open(path);
    const QVector<DbfField>& fields = file->fields();
    for (int r = 0; r < t.records.size(); ++r) {
        const TableRecord& rec = t.records.at(r);
        for (auto it = rec.constBegin(); it != rec.constEnd(); ++it)
            if (file->fieldIndex(it.key()) < 0)
                throw DataError(QStringLiteral("%1 : champ %2 inconnu.").arg(t.fileName, it.key()));
        QByteArray bytes;
        bytes.reserve(file->recordLength() - 1);
        for (int f = 0; f < fields.size(); ++f) {
            const auto it = rec.constFind(fields.at(f).name);
            if (it == rec.constEnd()) {
                bytes += QByteArray(fields.at(f).length, ' ');
            } else if (fields.at(f).type == 'C') {
                bytes += file->encodeText(f, it.value().toString());
            } else if (fields.at(f).type == 'L') {
                bytes += it.value().toBool() ? 'T' : 'F';
            } else {
                bytes += file->encodeNumber(f, it.value().toDouble());
            }
        }
        file->writeRecord(r, bytes);
    }
}

}   // namespace

void TableWriter::writeAll(const QString& dir, const QVector<PendingTable>& tables) {
    if (!QDir().mkpath(dir)) throw DataError(QStringLiteral("Impossible de créer le répertoire %1.").arg(dir));
    QStringList temporaries;
    try {
        for (const PendingTable& t : tables) {
            const QString tmp = QDir(dir).filePath(t.fileName + QStringLiteral(".tmp"));
            temporaries << tmp;
            writeOne(tmp, t);
        }
    } catch (...) {
        for (const QString& tmp : temporaries) QFile::remove(tmp);
        throw;
    }
    for (int i = 0; i < tables.size(); ++i) {
        const QString final = QDir(dir).filePath(tables.at(i).fileName);
        QFile::remove(final);
        if (!QFile::rename(temporaries.at(i), final))
            throw DataError(QStringLiteral("Impossible de renommer %1 en %2.").arg(temporaries.at(i), final));
    }
}
