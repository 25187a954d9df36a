#pragma once
// Table: one handle on one dBase table file, with a cursor, named index tags
// built in memory, a filter, an edit buffer and change notifications.
//
// How data flows: open() reads the whole file into memory (DbfFile) and lays
// out the view, the visible records in the current order; the cursor is a row
// of it (TableCursor). Index tags (TagIndex) are sorted arrays of record
// numbers, each built the first time it is selected and kept up to date on
// append, edit and delete from then on; the filter (RecordFilter) marks the
// records that may be seen. Field writes go into a pending record; every post
// writes it through to the file at once (record, then header count). Moving
// the cursor posts a modified pending record and drops an unmodified one;
// closing drops whatever is pending and writes nothing.
//
// Cursor rules (callers rely on them): after open() and first() the cursor is
// on the first visible record of the current order; next() from the last
// visible record leaves the cursor on it and sets eof(); on a view with no
// record eof() is true right after first(). Field reads on an empty view give
// 0 and "". deleteRecord() moves to the following record, or sets eof() (the
// cursor then stays on the new last record) when none follows.
//
// Index tags are those the schema describes (TableSchema::tags): key field,
// direction and tie-break come from there. Text keys order by the French
// collation key described in collation.h, numbers as numbers, and the record
// number breaks the last ties. findKey compares the whole key exactly
// (trailing blanks aside: "Pomme" and "pomme" are two keys); findNearest lands
// on the first visible record whose key does not come before the text in the
// tag's order, the text's letters compared without accents or case ("pomme"
// lands on "Pomme" when both are there).
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

#include "core/dbf/dbf.h"
#include "core/schema/schema.h"

class RunContext;

class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    // The schema gives the file name, the fields the file must hold and the
    // tags that can be set; the directory defaults to the run's Data
    // directory, and the file is read and written through the run's seam.
    Table(RunContext& run, const TableSchema& schema, QObject* parent = nullptr);
    ~Table() override;

    void setDirectory(const QString& dir);
    QString directory() const;
    void setFileName(const QString& name);   // resolved whatever its letter case
    QString fileName() const;
    QString filePath() const;   // resolved absolute path
    const TableSchema& schema() const;
    RunContext& run() const;   // the run the handle belongs to

    // Index tag by name ("" for natural order). Unknown names throw DataError.
    // On an open handle the current record is kept; only the order changes.
    void setIndexName(const QString& tag);
    QString indexName() const;

    // Filter text of the form FIELD='value' (the value taken as it stands
    // between the first quote and the last). A text that does not parse throws
    // DataError when the filter is switched on or set while on (the previous
    // filter then stays). An empty text filters nothing.
    void setFilter(const QString& text);
    QString filter() const;
    // The same filter given as field and value, so that values holding quotes
    // are matched exactly; replaces any filter text.
    void setFilterValue(const QString& field, const QString& value);
    void setFiltered(bool on);
    bool filtered() const;
    void setFilterCaseInsensitive(bool on);
    void setReadOnly(bool on);

    // Opens the file (validated against the schema's fields: a missing field
    // or a field of the wrong kind is refused with a DataError naming both).
    // The cursor goes to the first visible record. Opening an open handle is a
    // no-op.
    void open();
    void close();   // drops a pending record
    bool isOpen() const;

    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;   // no visible record

    // Exact search on the current tag's key among visible records. On success
    // the cursor moves there; on failure it stays where it was.
    bool findKey(const QString& key);
    // First visible record whose key is >= the given text in the current
    // tag's order (a text by its letters, accents and case aside), or the
    // last one when every key is smaller.
    void findNearest(const QString& key);
    // From the first record in the current order, the first visible record
    // whose field equals value as a whole (field name without regard to case;
    // value optionally without regard to case).
    bool locate(const QString& field, const QString& value, bool caseInsensitive = false);
    // The same comparison without moving the cursor or posting: the first
    // visible row from fromRow on whose field equals value, or -1. The row of
    // a record being edited is compared with its pending values.
    int locateRow(const QString& field, const QString& value, bool caseInsensitive = false,
                  int fromRow = 0) const;

    void append();         // new blank record at the end; insert state
    void edit();           // current record into edit state
    void post();           // writes the pending record (throws DataError, record stays pending)
    void cancel();         // drops the pending change
    void deleteRecord();   // removes the current record (before-delete may cancel)
    State state() const;

    double asFloat(const QString& field) const;
    QString asString(const QString& field) const;
    // A field's number on the open handle, for a loop that reads the same
    // fields on every record without looking their names up each time
    // (throws DataError like a read by name); then asFloat by that number.
    int fieldNumber(const QString& field) const;
    double asFloatAt(int fieldNumber) const;
    // Writes into the pending record (an edit is begun if browsing).
    // Values are checked when written: a text cp1252 cannot hold or a number
    // too wide for its field throws DataError and the buffer is unchanged.
    void setFloat(const QString& field, double value);
    void setString(const QString& field, const QString& value);

    // Records not deleted that pass the filter.
    int recordCount() const;

    // Calculated fields (numeric, not in the file): their values are given by
    // the onCalcFields event through setCalculated(), for the current record.
    void addCalculatedField(const QString& name);
    void setCalculated(const QString& name, double value);

    // Events. beforeDelete returning false cancels the deletion silently.
    std::function<void(Table&)> beforeInsert;
    std::function<void(Table&)> onNewRecord;
    std::function<bool(Table&)> beforeDelete;
    std::function<void(Table&)> onCalcFields;

    // For data-aware views: the visible records in the current order.
    int rowCount() const;
    int currentRow() const;    // -1 when the view is empty
    void moveToRow(int row);   // a cursor move (posts a pending record)
    // Value of a field on a visible row: double for numbers (calculated fields
    // included), QString for texts; the pending buffer for the current row.
    QVariant valueAt(int row, const QString& field) const;
    QStringList fieldNames() const;   // file fields then calculated fields

signals:
    // Rows added or removed, order or filter changed, opened or closed.
    void layoutReset();
    // The values of one visible row changed (post, or the pending buffer).
    void rowChanged(int row);
    // The cursor moved to another row (or eof changed).
    void currentChanged(int row);
    void stateChanged(Table::State state);

private:
    // Encodes a value into a field of the pending record (begun if browsing).
    void writeField(const QString& field, const std::function<QByteArray(int)>& encode);

    struct Impl;
    std::unique_ptr<Impl> d;
};
