#pragma once
// Table::Impl, the private state of a Table handle: the open file, its tags,
// filter and cursor, the calculated fields, and the helpers every part of the
// handle reads fields through. Only the handle's own units include it
// (table.cpp, and tablesearch.cpp for finding records).
#include <QHash>

#include <memory>
#include <optional>

#include "core/io/dataerror.h"
#include "core/io/fileerror.h"
#include "core/io/runcontext.h"
#include "core/table/recordfilter.h"
#include "core/table/table.h"
#include "core/table/tablecursor.h"
#include "core/table/tagindex.h"

struct Table::Impl {
    using Position = TableCursor::Position;

    Impl(Table* table, RunContext& run) : q(table), run(run), cursor(table) {}

    Table* q = nullptr;
    RunContext& run;
    TableSchema schema;
    QString dir;
    QString fileName;
    QString tagName;
    bool readOnly = false;

    std::unique_ptr<DbfFile> file;
    TagIndex tags;
    int tagIdx = -1;
    RecordFilter filter;
    TableCursor cursor;

    QStringList calcNames;   // upper case
    mutable QHash<int, QVector<double>> calcCache;
    mutable int readOverride = -1;   // record read by onCalcFields for another row
    mutable QVector<double>* calcTarget = nullptr;

    // --- helpers -----------------------------------------------------------
    static bool isNumeric(char type) { return type == 'N' || type == 'F'; }

    QString shownName() const {
        if (file) return file->displayName();
        return FileError::shownName(fileName.isEmpty() ? schema.fileName : fileName);
    }
    [[noreturn]] void notOpen() const {
        throw DataError(QStringLiteral("La table %1 n'est pas ouverte.").arg(shownName()));
    }
    void requireOpen() const {
        if (!file) notOpen();
    }
    void requireWritable() const {
        requireOpen();
        if (readOnly)
            throw DataError(QStringLiteral("La table %1 est ouverte en lecture seule.").arg(shownName()));
    }
    void requireTag() const {
        if (tagIdx < 0)
            throw DataError(QStringLiteral("Aucun index n'est actif sur la table %1 : la recherche "
                                           "par clé est impossible.")
                                .arg(shownName()));
    }
    int currentRec() const { return cursor.record(); }
    int readRec() const { return readOverride >= 0 ? readOverride : currentRec(); }

    // Field lookup: index >= 0 in the file, or -2 - k for calculated field k.
    int resolve(const QString& name) const {
        requireOpen();
        const int f = file->fieldIndex(name);
        if (f >= 0) return f;
        const int c = calcNames.indexOf(name.toUpper());
        if (c >= 0) return -2 - c;
        throw DataError(QStringLiteral("Le champ %1 n'existe pas dans la table %2.").arg(name, shownName()));
    }

    const char* fieldBytes(int rec, int f) const {
        if (cursor.pending() && rec == cursor.pendingRecord())
            return cursor.buffer().constData() + file->fields()[f].offset;
        return file->fieldData(rec, f);
    }
    double readNumber(int rec, int f) const {
        if (rec < 0) return 0.0;
        return DbfFile::parseNumber(fieldBytes(rec, f), file->fields()[f].length);
    }
    QString readText(int rec, int f) const {
        if (rec < 0) return QString();
        return DbfFile::decodeText(fieldBytes(rec, f), file->fields()[f]);
    }
    double calcValue(int rec, int k) const;

    // The visible records in the current order.
    void rebuildView() {
        std::vector<int> rows;
        if (!file) {
            cursor.setRows(std::move(rows));
            return;
        }
        if (tagIdx < 0) {
            const int n = file->recordCount();
            rows.reserve(static_cast<size_t>(n));
            for (int r = 0; r < n; ++r)
                if (!file->isDeleted(r) && filter.passes(r)) rows.push_back(r);
        } else {
            // A tag holds live records only.
            const std::vector<int>& order = tags.order(tagIdx);
            if (!filter.active()) {
                rows = order;
            } else {
                rows.reserve(order.size());
                for (int r : order)
                    if (filter.passes(r)) rows.push_back(r);
            }
        }
        cursor.setRows(std::move(rows));
    }
    // A new filter condition (or none) on an open handle: compiled, and the
    // cursor on the first record of the new view.
    void refilter() {
        cursor.move(
            [&] {
                filter.compile(*file, shownName());
                rebuildView();
                return std::optional<Position>(cursor.top());
            },
            TableCursor::Change::Layout);
    }
};
