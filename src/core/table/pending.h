#pragma once
// Filling a pending record safely: if anything fails while the record is being
// filled or posted, the record is dropped before the error goes on, so that the
// next cursor move cannot post a half-filled record.
#include "core/table/table.h"

template <class F>
void fillPending(Table& t, F&& fill) {
    try {
        fill();
        t.post();
    } catch (...) {
        t.cancel();
        throw;
    }
}
