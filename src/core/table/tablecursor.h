#pragma once
// TableCursor: the handle's view, its cursor and its pending record.
//
// How data flows: the handle lays out the view (the visible records in the
// current order) with setRows(); the cursor is a row of it, with the
// end-of-table and start-of-table flags. Every move goes through move(): the
// pending record is posted if it was modified and dropped if not, the target
// row is then picked on the view as it stands after that, and the views are
// told (layoutReset when the view itself changed, then currentChanged). The
// pending record is a copy of the record's bytes that field writes change;
// while a new record is being inserted it is shown as one extra row at the
// end of the view.
#include <QByteArray>

#include <functional>
#include <optional>
#include <vector>

#include "core/table/table.h"

class TableCursor {
public:
    using State = Table::State;
    struct Position {
        int row;
        bool eof;
        bool bof;
    };
    enum class Change { Cursor, Layout };

    explicit TableCursor(Table* table) : q_(table) {}

    // The view.
    void setRows(std::vector<int> rows) { rows_ = std::move(rows); }
    const std::vector<int>& rows() const { return rows_; }
    int rowCount() const { return static_cast<int>(rows_.size()) + (insertRow_ ? 1 : 0); }
    int recordAtRow(int row) const;
    int rowOf(int record) const;   // -1 when not in the view
    void eraseRow(int row) { rows_.erase(rows_.begin() + row); }

    // The cursor.
    int row() const { return cur_; }
    int record() const { return recordAtRow(cur_); }
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    void place(const Position& p) {
        cur_ = p.row;
        eof_ = p.eof;
        bof_ = p.bof;
    }

    // The one way the cursor moves: settles the pending record, asks `pick`
    // for the new position (none: the cursor stays and nothing is told) and
    // tells the views. Returns whether it moved.
    bool move(const std::function<std::optional<Position>()>& pick, Change change = Change::Cursor);
    void first();
    void next();
    void prior();
    void last();
    // The first row of the view (or none), start of table.
    Position top() const;

    // The pending record.
    State state() const { return state_; }
    void setState(State s) { state_ = s; }
    bool pending() const { return state_ == State::Edit || state_ == State::Insert; }
    int pendingRecord() const { return pendingRec_; }
    QByteArray& buffer() { return buffer_; }
    const QByteArray& buffer() const { return buffer_; }
    bool modified() const { return modified_; }
    void setModified(bool on) { modified_ = on; }
    // A new record (blank bytes, the next record number) as an extra last
    // row with the cursor on it; tells the views.
    void beginInsert(const QByteArray& blank, int record);
    // The current record into the edit buffer; tells the views.
    void beginEdit(const QByteArray& bytes, int record);
    // Posts a modified pending record, drops an unmodified one.
    void settle();
    // Forgets the pending record, the cursor back where it was before an
    // insert; tells the views.
    void dropPending();
    // Forgets the pending record once written (the handle tells the views).
    void endPending();
    // Everything forgotten: no view, no cursor, no pending record.
    void reset(State s);

private:
    Table* q_;
    std::vector<int> rows_;
    bool insertRow_ = false;
    int cur_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    State state_ = State::Inactive;
    QByteArray buffer_;
    int pendingRec_ = -1;
    bool modified_ = false;
    int rowBeforeInsert_ = -1;
};
