// Finding records in a Table handle: by the current tag's key (exact or
// nearest), and by the value of any field (locate), compared on the stored
// bytes so that a search over thousands of records decodes none of them.
#include <algorithm>

#include "core/dbf/collation.h"
#include "core/table/tableimpl.h"

bool Table::findKey(const QString& key) {
    d->requireOpen();
    return d->cursor.move([&]() -> std::optional<Impl::Position> {
        d->requireTag();
        const int found = d->tags.findKey(d->tagIdx, d->cursor.rows(), key);
        if (found < 0) return std::nullopt;
        return Impl::Position{found, false, false};
    });
}

void Table::findNearest(const QString& key) {
    d->requireOpen();
    d->cursor.move([&]() -> std::optional<Impl::Position> {
        d->requireTag();
        const auto& rows = d->cursor.rows();
        if (rows.empty()) return d->cursor.top();
        // Every key smaller: the last record.
        const int at = std::min(d->tags.findNearest(d->tagIdx, rows, key), static_cast<int>(rows.size()) - 1);
        return Impl::Position{at, false, at == 0};
    });
}

bool Table::locate(const QString& field, const QString& value, bool caseInsensitive) {
    d->resolve(field);
    return d->cursor.move([&]() -> std::optional<Impl::Position> {
        const int found = locateRow(field, value, caseInsensitive);
        if (found < 0) return std::nullopt;
        return Impl::Position{found, false, found == 0};
    });
}

int Table::locateRow(const QString& field, const QString& value, bool caseInsensitive, int fromRow) const {
    const int f = d->resolve(field);
    const auto& rows = d->cursor.rows();
    const size_t from = static_cast<size_t>(std::max(fromRow, 0));
    if (f < 0) {
        // A calculated field: compare its value as a number.
        double v = 0;
        if (!DbfFile::parseNumber(value, &v)) return -1;
        for (size_t i = from; i < rows.size(); ++i)
            if (d->calcValue(rows[i], -2 - f) == v) return static_cast<int>(i);
        return -1;
    }
    const DbfField& fd = d->file->fields()[f];
    if (Impl::isNumeric(fd.type)) {
        double v = 0;
        if (!value.trimmed().isEmpty() && !DbfFile::parseNumber(value, &v)) return -1;
        for (size_t i = from; i < rows.size(); ++i)
            if (d->readNumber(rows[i], f) == v) return static_cast<int>(i);
        return -1;
    }
    const Collation::TextEquality want(value, caseInsensitive);
    for (size_t i = from; i < rows.size(); ++i)
        if (want.matches(d->fieldBytes(rows[i], f), fd.length)) return static_cast<int>(i);
    return -1;
}
