#include "core/table/tablecursor.h"

#include <algorithm>

int TableCursor::recordAtRow(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    if (row < static_cast<int>(rows_.size())) return rows_[static_cast<size_t>(row)];
    return pendingRec_;
}

int TableCursor::rowOf(int record) const {
    if (insertRow_ && record == pendingRec_) return static_cast<int>(rows_.size());
    auto it = std::find(rows_.begin(), rows_.end(), record);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

bool TableCursor::move(const std::function<std::optional<Position>()>& pick, Change change) {
    settle();
    const std::optional<Position> p = pick();
    if (!p) return false;
    place(*p);
    if (change == Change::Layout) emit q_->layoutReset();
    emit q_->currentChanged(cur_);
    return true;
}

TableCursor::Position TableCursor::top() const {
    const int n = rowCount();
    return {n == 0 ? -1 : 0, n == 0, true};
}

void TableCursor::first() {
    move([&] { return std::optional<Position>(top()); });
}

// From the last row the cursor stays there and end-of-table is set.
void TableCursor::next() {
    move([&]() -> std::optional<Position> {
        const int n = rowCount();
        if (n == 0) return Position{-1, true, true};
        if (cur_ < n - 1) return Position{cur_ + 1, false, false};
        return Position{n - 1, true, false};
    });
}

void TableCursor::prior() {
    move([&]() -> std::optional<Position> {
        const int n = rowCount();
        if (n == 0) return Position{-1, true, true};
        if (cur_ > 0) return Position{cur_ - 1, false, false};
        return Position{0, false, true};
    });
}

void TableCursor::last() {
    move([&]() -> std::optional<Position> {
        const int n = rowCount();
        return Position{n - 1, n == 0, n == 0};
    });
}

void TableCursor::beginInsert(const QByteArray& blank, int record) {
    rowBeforeInsert_ = cur_;
    buffer_ = blank;
    pendingRec_ = record;
    modified_ = false;
    state_ = State::Insert;
    insertRow_ = true;
    place({rowCount() - 1, false, false});
    emit q_->stateChanged(state_);
    emit q_->layoutReset();
    emit q_->currentChanged(cur_);
}

void TableCursor::beginEdit(const QByteArray& bytes, int record) {
    pendingRec_ = record;
    buffer_ = bytes;
    modified_ = false;
    state_ = State::Edit;
    emit q_->stateChanged(state_);
}

void TableCursor::settle() {
    if (!pending()) return;
    if (modified_)
        q_->post();
    else
        dropPending();
}

void TableCursor::dropPending() {
    if (state_ == State::Insert) {
        endPending();
        const int n = rowCount();
        place({n == 0 ? -1 : std::clamp(rowBeforeInsert_, 0, n - 1), n == 0, n == 0});
        emit q_->layoutReset();
        emit q_->stateChanged(state_);
        emit q_->currentChanged(cur_);
    } else if (state_ == State::Edit) {
        endPending();
        emit q_->stateChanged(state_);
        if (cur_ >= 0) emit q_->rowChanged(cur_);
    }
}

void TableCursor::endPending() {
    insertRow_ = false;
    buffer_.clear();
    pendingRec_ = -1;
    modified_ = false;
    state_ = State::Browse;
}

void TableCursor::reset(State s) {
    rows_.clear();
    endPending();
    state_ = s;
    place({-1, true, true});
}
