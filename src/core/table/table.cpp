// Table handle over one dBase file: the file, field access, calculated fields
// and the events, over three parts of its own:
//   - TagIndex (tagindex.h): the index tags, built when first used;
//   - RecordFilter (recordfilter.h): the filter condition and which records
//     pass it;
//   - TableCursor (tablecursor.h): the view, the cursor and the pending
//     record; every navigation goes through its one move helper.
// The handle's private state is Table::Impl (tableimpl.h); finding records by
// key or by a field's value is in tablesearch.cpp.
//
// How data flows: open() reads the whole file through DbfFile and lays out
// the view (rebuildView): the current tag's order (built then if it never
// was) or the record order, without deleted records, and only the records
// that pass the filter when it is on. Field writes go into the pending
// record; post() writes it through to the file, then takes the record out of
// the built tags under its old keys, puts it back under its new ones, checks
// it against the filter and lays out the view again.
//
// Schema against file: every field of the schema must be in the file with the
// same kind (text for 'C', number for 'N' or 'F'; TableSchema::checkFile). Widths and decimals may
// differ (files written by other programs): the file's own widths are used for
// reading and writing, so a text is cut to the file's width and a number that
// does not fit the file's field is refused. Fields of the file that the schema
// does not know are kept as they are (blank in new records).
#include "core/table/table.h"

#include <algorithm>
#include <optional>

#include "core/table/tableimpl.h"

// ---------------------------------------------------------------------------
// Calculated fields

double Table::Impl::calcValue(int rec, int k) const {
    if (calcTarget) return (*calcTarget)[k];   // read from inside onCalcFields
    if (rec < 0 || !q->onCalcFields) return 0.0;
    const bool cacheable = !(cursor.pending() && rec == cursor.pendingRecord());
    if (cacheable) {
        auto it = calcCache.constFind(rec);
        if (it != calcCache.constEnd()) return it.value()[k];
    }
    // The event reads the record through the handle: point the reads at rec
    // for its duration, without moving the cursor nor emitting anything.
    QVector<double> values(calcNames.size(), 0.0);
    const int savedOverride = readOverride;
    readOverride = rec;
    calcTarget = &values;
    try {
        q->onCalcFields(*q);
    } catch (...) {
        readOverride = savedOverride;
        calcTarget = nullptr;
        throw;
    }
    readOverride = savedOverride;
    calcTarget = nullptr;
    if (cacheable) calcCache.insert(rec, values);
    return values[k];
}

// ---------------------------------------------------------------------------

Table::Table(RunContext& run, const TableSchema& schema, QObject* parent)
    : QObject(parent), d(new Impl(this, run)) {
    d->schema = schema;
    d->fileName = schema.fileName;
    d->tagName = schema.defaultTag.toUpper();
}

Table::~Table() = default;

void Table::setDirectory(const QString& dir) { d->dir = dir; }
QString Table::directory() const { return d->dir.isEmpty() ? d->run.dataDir().path() : d->dir; }
void Table::setFileName(const QString& name) { d->fileName = name; }
QString Table::fileName() const { return d->fileName; }
QString Table::filePath() const { return DataDirectory::resolveIn(directory(), d->fileName); }
RunContext& Table::run() const { return d->run; }
const TableSchema& Table::schema() const { return d->schema; }

void Table::setIndexName(const QString& tag) {
    const QString name = tag.trimmed().toUpper();
    if (!name.isEmpty() && !d->schema.tag(name))
        throw DataError(QStringLiteral("L'index %1 n'existe pas pour la table %2.").arg(tag, d->shownName()));
    if (!d->file) {
        d->tagName = name;
        return;
    }
    // The current record stays current; only the order changes.
    d->cursor.move(
        [&] {
            const int rec = d->currentRec();
            d->tagName = name;
            d->tagIdx = name.isEmpty() ? -1 : d->tags.find(name);
            d->rebuildView();
            const int row = d->cursor.rowOf(rec);
            const bool empty = d->cursor.rows().empty();
            return std::optional<Impl::Position>({row >= 0 ? row : (empty ? -1 : 0), empty, empty});
        },
        TableCursor::Change::Layout);
}

QString Table::indexName() const { return d->tagName; }

void Table::setFilter(const QString& text) {
    const bool live = d->file && d->filter.enabled();
    // A new text is checked before anything changes.
    if (live && !text.trimmed().isEmpty()) RecordFilter::checkText(text, *d->file, d->shownName());
    if (live) d->cursor.settle();
    d->filter.setText(text);
    if (live) d->refilter();
}

QString Table::filter() const { return d->filter.text(); }

void Table::setFilterValue(const QString& field, const QString& value) {
    const bool live = d->file && d->filter.enabled();
    if (live) {
        RecordFilter::checkField(field, *d->file, d->shownName());
        d->cursor.settle();
    }
    d->filter.setValue(field, value);
    if (live) d->refilter();
}

void Table::setFiltered(bool on) {
    if (on == d->filter.enabled()) return;
    if (!d->file) {
        d->filter.setEnabled(on);
        return;
    }
    d->cursor.settle();
    d->filter.setEnabled(on);
    try {
        d->refilter();
    } catch (...) {
        d->filter.setEnabled(!on);   // the condition in force stays
        throw;
    }
}

bool Table::filtered() const { return d->filter.enabled(); }

void Table::setFilterCaseInsensitive(bool on) {
    if (on == d->filter.caseInsensitive()) return;
    d->filter.setCaseInsensitive(on);
    if (d->file && d->filter.enabled()) d->refilter();
}

void Table::setReadOnly(bool on) {
    if (d->file && on != d->readOnly)
        throw DataError(QStringLiteral("La table %1 est ouverte : fermez-la avant de changer son "
                                       "mode de lecture seule.")
                            .arg(d->shownName()));
    d->readOnly = on;
}

void Table::open() {
    if (d->file) return;
    const QString path = filePath();
    std::unique_ptr<DbfFile> file = DbfFile::open(path, d->readOnly, &d->run);
    d->schema.checkFile(*file);
    d->file = std::move(file);
    try {
        d->tags.attach(d->file.get(), d->schema.tags);
        d->tagIdx = d->tagName.isEmpty() ? -1 : d->tags.find(d->tagName);
        d->filter.compile(*d->file, d->shownName());
        d->calcCache.clear();
        d->cursor.reset(State::Browse);
        d->rebuildView();   // builds the current tag
    } catch (...) {
        d->file.reset();
        d->tags.clear();
        d->filter.reset();
        d->cursor.reset(State::Inactive);
        throw;
    }
    emit stateChanged(State::Browse);
    d->cursor.move([&] { return std::optional<Impl::Position>(d->cursor.top()); }, TableCursor::Change::Layout);
}

void Table::close() {
    if (!d->file) return;
    // A pending record is dropped: closing never writes.
    d->file.reset();
    d->tags.clear();
    d->filter.reset();
    d->calcCache.clear();
    d->cursor.reset(State::Inactive);
    emit layoutReset();
    emit stateChanged(State::Inactive);
    emit currentChanged(-1);
}

bool Table::isOpen() const { return d->file != nullptr; }

void Table::first() {
    d->requireOpen();
    d->cursor.first();
}

void Table::next() {
    d->requireOpen();
    d->cursor.next();
}

void Table::prior() {
    d->requireOpen();
    d->cursor.prior();
}

void Table::last() {
    d->requireOpen();
    d->cursor.last();
}

bool Table::eof() const { return !d->file || d->cursor.eof(); }
bool Table::bof() const { return !d->file || d->cursor.bof(); }
bool Table::isEmpty() const { return d->cursor.rowCount() == 0; }

void Table::append() {
    d->requireWritable();
    d->cursor.settle();
    if (beforeInsert) beforeInsert(*this);   // may throw to refuse the insertion
    d->cursor.beginInsert(d->file->blankRecord(), d->file->recordCount());
    if (onNewRecord) {
        try {
            onNewRecord(*this);
        } catch (...) {
            d->cursor.dropPending();
            throw;
        }
    }
    // Defaults given by the new-record event do not count as a change: a
    // new record left alone is dropped when the cursor moves.
    d->cursor.setModified(false);
}

void Table::edit() {
    d->requireWritable();
    if (d->cursor.pending()) return;
    const int rec = d->currentRec();
    if (rec < 0) {
        // Nothing to edit on an empty view: start a new record instead.
        append();
        return;
    }
    d->cursor.beginEdit(d->file->recordBytes(rec), rec);
}

void Table::post() {
    d->requireOpen();
    TableCursor& c = d->cursor;
    if (!c.pending()) return;
    d->requireWritable();
    const int rec = c.pendingRecord();
    const bool isNew = c.state() == State::Insert;
    const int oldRow = c.row();
    // The file first: if the write fails, the record stays pending and
    // nothing else has changed.
    d->file->writeRecord(rec, c.buffer());

    if (!isNew) d->tags.remove(rec);   // under its old keys
    c.endPending();                    // reads now come from the file
    d->tags.insert(rec);
    d->filter.update(*d->file, rec);
    d->calcCache.remove(rec);
    const std::vector<int> before = c.rows();
    d->rebuildView();
    int row = c.rowOf(rec);
    const int n = c.rowCount();
    if (row < 0) row = n == 0 ? -1 : std::clamp(oldRow, 0, n - 1);
    c.place({row, n == 0, n == 0});
    emit stateChanged(c.state());
    if (isNew || c.rows() != before)
        emit layoutReset();
    else if (oldRow >= 0)
        emit rowChanged(oldRow);
    emit currentChanged(c.row());
}

void Table::cancel() {
    if (!d->file) return;
    d->cursor.dropPending();
}

void Table::deleteRecord() {
    d->requireWritable();
    TableCursor& c = d->cursor;
    if (c.state() == State::Insert) {
        // Deleting the record being inserted simply drops it.
        c.dropPending();
        return;
    }
    if (d->currentRec() < 0) return;
    if (beforeDelete && !beforeDelete(*this)) return;
    const int rec = d->currentRec();
    if (rec < 0) return;
    if (c.state() == State::Edit) c.dropPending();
    d->file->setDeleted(rec, true);
    d->tags.remove(rec);
    d->calcCache.remove(rec);
    const int row = c.rowOf(rec);
    if (row >= 0) c.eraseRow(row);
    const int n = c.rowCount();
    if (n == 0)
        c.place({-1, true, true});
    else if (c.row() >= n)
        c.place({n - 1, true, false});   // nothing follows: the new last record, end of table
    else
        c.place({c.row(), false, c.row() == 0});
    emit layoutReset();
    emit currentChanged(c.row());
}

Table::State Table::state() const { return d->cursor.state(); }

double Table::asFloat(const QString& field) const { return asFloatAt(d->resolve(field)); }

int Table::fieldNumber(const QString& field) const { return d->resolve(field); }

double Table::asFloatAt(int f) const {
    d->requireOpen();
    const int rec = d->readRec();
    if (f < 0) return d->calcValue(rec, -2 - f);
    return d->readNumber(rec, f);
}

QString Table::asString(const QString& field) const {
    const int f = d->resolve(field);
    const int rec = d->readRec();
    if (f < 0) return rec < 0 ? QString() : QString::number(d->calcValue(rec, -2 - f), 'g', 15);
    return d->readText(rec, f);
}

void Table::setFloat(const QString& field, double value) {
    writeField(field, [&](int f) { return d->file->encodeNumber(f, value); });
}

void Table::setString(const QString& field, const QString& value) {
    writeField(field, [&](int f) { return d->file->encodeText(f, value); });
}

void Table::writeField(const QString& field, const std::function<QByteArray(int)>& encode) {
    d->requireWritable();
    const int f = d->resolve(field);
    if (f < 0)
        throw DataError(
            QStringLiteral("Le champ %1 est calculé : il ne peut pas être modifié.").arg(field.toUpper()));
    // Encoded first: a value that does not fit changes nothing.
    const QByteArray bytes = encode(f);
    if (!d->cursor.pending()) edit();
    d->cursor.buffer().replace(d->file->fields()[f].offset, bytes.size(), bytes);
    d->cursor.setModified(true);
    emit rowChanged(d->cursor.row());
}

int Table::recordCount() const { return static_cast<int>(d->cursor.rows().size()); }

void Table::addCalculatedField(const QString& name) {
    const QString n = name.toUpper();
    if (d->calcNames.contains(n)) return;
    if (d->file && d->file->fieldIndex(n) >= 0)
        throw DataError(QStringLiteral("Le champ calculé %1 porte le nom d'un champ de la table %2.")
                            .arg(n, d->shownName()));
    d->calcNames << n;
    d->calcCache.clear();
}

void Table::setCalculated(const QString& name, double value) {
    const int k = d->calcNames.indexOf(name.toUpper());
    if (k < 0)
        throw DataError(
            QStringLiteral("Le champ calculé %1 n'existe pas dans la table %2.").arg(name, d->shownName()));
    if (d->calcTarget) {
        (*d->calcTarget)[k] = value;
        return;
    }
    // Outside the event: the value of the current record until it changes.
    const int rec = d->currentRec();
    if (rec < 0 || (d->cursor.pending() && rec == d->cursor.pendingRecord())) return;
    auto it = d->calcCache.find(rec);
    if (it == d->calcCache.end()) it = d->calcCache.insert(rec, QVector<double>(d->calcNames.size(), 0.0));
    it.value()[k] = value;
}

int Table::rowCount() const { return d->cursor.rowCount(); }
int Table::currentRow() const { return d->cursor.rowCount() == 0 ? -1 : d->cursor.row(); }

void Table::moveToRow(int row) {
    d->requireOpen();
    // The record of that row, found again once the pending record is settled.
    const int target = d->cursor.recordAtRow(row);
    d->cursor.move([&] {
        const int n = d->cursor.rowCount();
        int r = target >= 0 ? d->cursor.rowOf(target) : -1;
        if (r < 0) r = n == 0 ? -1 : std::clamp(row, 0, n - 1);
        return std::optional<Impl::Position>({r, n == 0, n == 0 || r == 0});
    });
}

QVariant Table::valueAt(int row, const QString& field) const {
    if (!d->file) return QVariant();
    const int rec = d->cursor.recordAtRow(row);
    if (rec < 0) return QVariant();
    int f;
    try {
        f = d->resolve(field);
    } catch (const DataError&) {
        return QVariant();
    }
    if (f < 0) return d->calcValue(rec, -2 - f);
    const DbfField& fd = d->file->fields()[f];
    if (Impl::isNumeric(fd.type)) return d->readNumber(rec, f);
    return d->readText(rec, f);
}

QStringList Table::fieldNames() const {
    QStringList names;
    if (d->file)
        for (const DbfField& f : d->file->fields()) names << f.name;
    else
        names = d->schema.fieldNames();
    return names + d->calcNames;
}
