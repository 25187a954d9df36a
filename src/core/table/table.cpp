// Table handle over one dBase file.
//
// How data flows: open() reads the whole file through DbfFile and builds, for
// every index tag of the schema, a sorted array of record numbers. The view
// (`rows`) is the list of records that a caller can see: the current tag's
// order (or record order), without deleted records, and only those that pass
// the filter when it is on. The cursor is a row of that view. Field writes go
// into a pending record buffer; post() writes the buffer through to the file,
// then updates the tags (remove the record under its old keys, insert it under
// the new ones) and rebuilds the view.
//
// While a new record is being inserted it is shown as one extra row at the
// end of the view (its record number is the next one of the file), so a grid
// can show it; it takes its place in the order once posted.
//
// Tag orders:
//   - text tags (NOM, CATEGORIE, NOM_COMPO): the French key of Collation (letters
//     without accents and case, then the exact text), then the record number;
//   - NUMERO: the number, then the record number;
//   - nutrient tags: the largest value first; equal values by the NOM key, then
//     by record number.
//
// Searches:
//   - findKey compares the whole key exactly (trailing blanks aside): "Pomme"
//     and "pomme" are two different keys, as composite food names must be;
//     on a numeric tag the text is read as a number;
//   - findNearest lands on the first visible record that is at or after the
//     text in the tag's order (French order for texts; on a nutrient tag, the
//     first value that is not larger), or on the last one when none is.
//
// Schema against file: every field of the schema must be in the file with the
// same kind (text for 'C', number for 'N' or 'F'). Widths and decimals may
// differ (files written by other programs): the file's own widths are used for
// reading and writing, so a text is cut to the file's width and a number that
// does not fit the file's field is refused. Fields of the file that the schema
// does not know are kept as they are (blank in new records).
#include "core/table/table.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>

#include "core/dbf/collation.h"
#include "core/dbf/dataerror.h"
#include "core/dbf/datadir.h"
#include "core/dbf/fileerror.h"

namespace {

inline bool isPad(char c) { return c == ' ' || c == '\0'; }

inline int trimmedLength(const char* p, int n) {
    while (n > 0 && isPad(p[n - 1])) --n;
    return n;
}

inline bool isNumeric(char type) { return type == 'N' || type == 'F'; }

// Parses "FIELD='value'": the field name before '=', the value between the
// first quote after it and the last quote of the text (so that a value holding
// a quote still reads whole), nothing but blanks after the last quote.
bool parseFilterText(const QString& text, QString* field, QString* value) {
    const int eq = text.indexOf(QLatin1Char('='));
    if (eq <= 0) return false;
    const QString name = text.left(eq).trimmed();
    if (name.isEmpty()) return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('_')) return false;
    int open = eq + 1;
    while (open < text.size() && text[open] == QLatin1Char(' ')) ++open;
    if (open >= text.size()) return false;
    const QChar quote = text[open];
    if (quote != QLatin1Char('\'') && quote != QLatin1Char('"')) return false;
    const int close = text.lastIndexOf(quote);
    if (close <= open) return false;
    for (int i = close + 1; i < text.size(); ++i)
        if (text[i] != QLatin1Char(' ')) return false;
    *field = name;
    *value = text.mid(open + 1, close - open - 1);
    return true;
}

const double kPow10[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Sortable image of a double: unsigned order of the result is the numeric
// order of the values (-0 and 0 are the same key).
inline quint64 orderedBits(double v) {
    if (v == 0.0) v = 0.0;
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    return (bits & 0x8000000000000000ULL) ? ~bits : (bits | 0x8000000000000000ULL);
}

// Stable sort of (key, record) pairs by key: std::stable_sort for small sets,
// else an LSD radix sort in 16-bit digits, all the histograms counted in one
// pass and the digits that every key shares skipped. Stability keeps the
// input order among equal keys. Returns the records in key order.
template <class Key>
std::vector<int> stableSortPairs(std::vector<std::pair<Key, int>>& a) {
    const size_t n = a.size();
    if (n < 4096) {
        std::stable_sort(a.begin(), a.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
    } else {
        constexpr int kDigits = static_cast<int>(sizeof(Key)) / 2;
        std::vector<std::pair<Key, int>> b(n);
        std::vector<quint32> count(static_cast<size_t>(kDigits) * 65536, 0);
        for (const auto& e : a)
            for (int d = 0; d < kDigits; ++d)
                ++count[static_cast<size_t>(d) * 65536 + ((e.first >> (16 * d)) & 0xFFFF)];
        for (int d = 0; d < kDigits; ++d) {
            quint32* c = count.data() + static_cast<size_t>(d) * 65536;
            const int shift = 16 * d;
            if (c[(a[0].first >> shift) & 0xFFFF] == n) continue;   // shared digit
            quint32 sum = 0;
            for (int v = 0; v < 65536; ++v) {
                const quint32 here = c[v];
                c[v] = sum;
                sum += here;
            }
            for (const auto& e : a) b[c[(e.first >> shift) & 0xFFFF]++] = e;
            a.swap(b);
        }
    }
    std::vector<int> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = a[i].second;
    return out;
}

// Records by exact scaled values spanning less than 2^32 (32-bit keys, two
// passes), largest first when down.
std::vector<int> radixSortScaled(const std::vector<int>& records, const std::vector<qint64>& scaled,
                                 qint64 lowest, bool down) {
    std::vector<std::pair<quint32, int>> a(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const quint32 k = static_cast<quint32>(scaled[static_cast<size_t>(records[i])] - lowest);
        a[i] = {down ? ~k : k, records[i]};
    }
    return stableSortPairs(a);
}

// Records by their value through its ordered 64-bit image (four passes),
// largest first when down.
std::vector<int> radixSortByValue(const std::vector<int>& records, const std::vector<double>& values,
                                  bool down) {
    std::vector<std::pair<quint64, int>> a(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const quint64 k = orderedBits(values[static_cast<size_t>(records[i])]);
        a[i] = {down ? ~k : k, records[i]};
    }
    return stableSortPairs(a);
}

// Stable sort of records by their text key: the distinct keys are sorted
// (few for a category, one per food for a name), then the records are
// placed by the rank of their key with a counting sort, so that records of
// equal keys keep their input (record) order.
std::vector<int> sortByTextKey(const std::vector<int>& records, const std::vector<QByteArray>& keys) {
    QHash<QByteArray, int> ids;
    ids.reserve(static_cast<int>(records.size()));
    std::vector<int> idOf(records.size());
    std::vector<const QByteArray*> distinct;
    for (size_t i = 0; i < records.size(); ++i) {
        const QByteArray& k = keys[static_cast<size_t>(records[i])];
        auto it = ids.constFind(k);
        if (it == ids.constEnd()) {
            it = ids.insert(k, static_cast<int>(distinct.size()));
            distinct.push_back(&k);
        }
        idOf[i] = it.value();
    }
    std::vector<int> byKey(distinct.size());
    for (size_t i = 0; i < byKey.size(); ++i) byKey[i] = static_cast<int>(i);
    std::sort(byKey.begin(), byKey.end(), [&](int x, int y) {
        return Collation::compare(*distinct[static_cast<size_t>(x)], *distinct[static_cast<size_t>(y)]) < 0;
    });
    std::vector<int> start(distinct.size() + 1, 0);
    std::vector<int> rankOf(distinct.size());
    for (size_t r = 0; r < byKey.size(); ++r) rankOf[static_cast<size_t>(byKey[r])] = static_cast<int>(r);
    for (int id : idOf) ++start[static_cast<size_t>(rankOf[static_cast<size_t>(id)]) + 1];
    for (size_t r = 1; r < start.size(); ++r) start[r] += start[r - 1];
    std::vector<int> out(records.size());
    for (size_t i = 0; i < records.size(); ++i)
        out[static_cast<size_t>(start[static_cast<size_t>(rankOf[static_cast<size_t>(idOf[i])])]++)] = records[i];
    return out;
}

// Runs a on a second thread and b on this one when `parallel`, one after the
// other otherwise; an exception of either is thrown here once both are done.
// Used to build the index tags of large tables on both cores.
template <class A, class B>
void inParallel(bool parallel, A&& a, B&& b) {
    if (!parallel) {
        a();
        b();
        return;
    }
    std::exception_ptr failure;
    std::thread other([&] {
        try {
            a();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    try {
        b();
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (failure) std::rethrow_exception(failure);
}

// Tables from this size on build their tags on two threads.
constexpr int kParallelRecords = 20000;

}  // namespace

struct Table::Impl {
    enum class Kind { Text, NumberUp, NumberDown };
    struct Tag {
        QString name;
        int field = -1;
        Kind kind = Kind::Text;
        std::vector<int> order;   // record numbers, sorted
    };

    Table* q = nullptr;
    TableSchema schema;
    QString dir;
    QString fileName;
    QString tagName;
    QString filterText;
    bool filterIsValue = false;   // set by setFilterValue
    QString filterValueField, filterValueText;
    bool filterOn = false;
    bool filterCaseInsensitive = false;
    bool readOnly = false;

    std::unique_ptr<DbfFile> file;
    std::vector<Tag> tags;
    int tagIdx = -1;
    // Keys per field, indexed by record (only for fields that a tag uses).
    std::vector<std::vector<QByteArray>> textKeys;
    std::vector<std::vector<double>> numberKeys;
    int nomField = -1;   // tie-break of the nutrient tags

    // Active filter, compiled.
    bool filterActive = false;
    int filterField = -1;
    QByteArray filterBytes;    // encoded, trailing blanks removed (case-folded if needed)
    bool filterEncodable = true;
    double filterNumber = 0;
    bool filterNumberOk = false;
    std::vector<char> pass;    // per record

    std::vector<int> rows;
    bool insertRow = false;
    int cur = -1;
    bool eof = true;
    bool bof = true;
    State state = State::Inactive;

    QByteArray buffer;
    int pendingRec = -1;
    bool modified = false;
    int rowBeforeInsert = -1;

    QStringList calcNames;   // upper case
    mutable QHash<int, QVector<double>> calcCache;
    mutable int readOverride = -1;            // record read by onCalcFields for another row
    mutable QVector<double>* calcTarget = nullptr;

    // --- helpers -----------------------------------------------------------
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
            throw DataError(
                QStringLiteral("La table %1 est ouverte en lecture seule.").arg(shownName()));
    }
    bool pending() const { return state == State::Edit || state == State::Insert; }
    int rowCount() const { return static_cast<int>(rows.size()) + (insertRow ? 1 : 0); }
    int recordAtRow(int row) const {
        if (row < 0 || row >= rowCount()) return -1;
        if (row < static_cast<int>(rows.size())) return rows[static_cast<size_t>(row)];
        return pendingRec;
    }
    int currentRec() const { return recordAtRow(cur); }
    int readRec() const { return readOverride >= 0 ? readOverride : currentRec(); }
    int rowOf(int rec) const {
        if (insertRow && rec == pendingRec) return static_cast<int>(rows.size());
        auto it = std::find(rows.begin(), rows.end(), rec);
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }

    // Field lookup: index >= 0 in the file, or -2 - k for calculated field k.
    int resolve(const QString& name) const {
        requireOpen();
        const int f = file->fieldIndex(name);
        if (f >= 0) return f;
        const int c = calcNames.indexOf(name.toUpper());
        if (c >= 0) return -2 - c;
        throw DataError(QStringLiteral("Le champ %1 n'existe pas dans la table %2.")
                            .arg(name, shownName()));
    }

    const char* fieldBytes(int rec, int f) const {
        if (pending() && rec == pendingRec)
            return buffer.constData() + file->fields()[f].offset;
        return file->fieldData(rec, f);
    }
    double readNumber(int rec, int f) const {
        if (rec < 0) return 0.0;
        return DbfFile::parseNumber(fieldBytes(rec, f), file->fields()[f].length);
    }
    QString readText(int rec, int f) const {
        if (rec < 0) return QString();
        const DbfField& fd = file->fields()[f];
        const char* p = fieldBytes(rec, f);
        int n = fd.length;
        if (isNumeric(fd.type))
            while (n > 0 && isPad(*p)) ++p, --n;
        n = trimmedLength(p, n);
        return Cp1252::decode(QByteArray::fromRawData(p, n));
    }
    double calcValue(int rec, int k) const;

    // Keys and tags.
    QByteArray textKeyOf(int rec, int f) const {
        const char* p = fieldBytes(rec, f);
        return Collation::key(p, trimmedLength(p, file->fields()[f].length));
    }
    bool less(const Tag& t, int a, int b) const {
        switch (t.kind) {
        case Kind::Text: {
            const auto& k = textKeys[static_cast<size_t>(t.field)];
            const int c = Collation::compare(k[static_cast<size_t>(a)], k[static_cast<size_t>(b)]);
            return c != 0 ? c < 0 : a < b;
        }
        case Kind::NumberUp: {
            const auto& k = numberKeys[static_cast<size_t>(t.field)];
            const double va = k[static_cast<size_t>(a)], vb = k[static_cast<size_t>(b)];
            return va != vb ? va < vb : a < b;
        }
        case Kind::NumberDown: {
            const auto& k = numberKeys[static_cast<size_t>(t.field)];
            const double va = k[static_cast<size_t>(a)], vb = k[static_cast<size_t>(b)];
            if (va != vb) return va > vb;
            if (nomField >= 0) {
                const auto& n = textKeys[static_cast<size_t>(nomField)];
                const int c = Collation::compare(n[static_cast<size_t>(a)], n[static_cast<size_t>(b)]);
                if (c != 0) return c < 0;
            }
            return a < b;
        }
        }
        return a < b;
    }
    void computeKeys(int rec);
    void buildTags();
    void removeFromTag(Tag& t, int rec);
    void insertIntoTag(Tag& t, int rec);

    // Filter and view.
    void compileFilter();
    bool matches(int rec) const;
    void rebuildView();

    // Edit discipline.
    void settle();   // posts a modified pending record, drops an unmodified one
    void dropPending();
    void beginEdit();
    void refilter();
};

// ---------------------------------------------------------------------------
// Keys and tags

void Table::Impl::computeKeys(int rec) {
    const size_t r = static_cast<size_t>(rec);
    // Only the fields that a tag uses have key arrays (reserved at open).
    for (size_t f = 0; f < textKeys.size(); ++f) {
        auto& k = textKeys[f];
        if (k.capacity() == 0) continue;
        if (k.size() <= r) k.resize(r + 1);
        k[r] = textKeyOf(rec, static_cast<int>(f));
    }
    for (size_t f = 0; f < numberKeys.size(); ++f) {
        auto& k = numberKeys[f];
        if (k.capacity() == 0) continue;
        if (k.size() <= r) k.resize(r + 1);
        k[r] = readNumber(rec, static_cast<int>(f));
    }
}

void Table::Impl::buildTags() {
    const int n = file->recordCount();
    const int nf = file->fields().size();
    textKeys.assign(static_cast<size_t>(nf), {});
    numberKeys.assign(static_cast<size_t>(nf), {});
    tags.clear();
    nomField = file->fieldIndex(QStringLiteral("NOM"));

    std::vector<int> live;
    live.reserve(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r)
        if (!file->isDeleted(r)) live.push_back(r);

    bool anyDown = false;
    for (const QString& name : schema.tags) {
        Tag t;
        t.name = name.toUpper();
        t.field = file->fieldIndex(name);
        if (t.field < 0) continue;   // cannot happen: tags are schema fields
        const DbfField& fd = file->fields()[t.field];
        if (isNumeric(fd.type))
            t.kind = nutrientTags().contains(t.name) ? Kind::NumberDown : Kind::NumberUp;
        else
            t.kind = Kind::Text;
        anyDown = anyDown || t.kind == Kind::NumberDown;
        tags.push_back(std::move(t));
    }

    // Keys, computed once per record and field, in one pass over the records
    // (record by record, so each record's bytes are read while in cache). A
    // field's key array is reserved even when the table is empty, so that
    // later appends fill it.
    std::vector<int> textFields, numberFields;
    auto need = [&](int f, bool text) {
        auto& list = text ? textFields : numberFields;
        if (std::find(list.begin(), list.end(), f) == list.end()) list.push_back(f);
    };
    if (anyDown && nomField >= 0) need(nomField, true);
    for (const Tag& t : tags) need(t.field, t.kind == Kind::Text);
    for (int f : textFields) {
        auto& k = textKeys[static_cast<size_t>(f)];
        k.reserve(static_cast<size_t>(n) + 16);
        k.resize(static_cast<size_t>(n));
    }
    // Numbers are also kept, while the tags are built, as exact counts of
    // the field's smallest decimal when they are written plainly: those sort
    // faster, on narrower keys.
    struct Scaled {
        std::vector<qint64> values;
        bool exact = true;
        qint64 lowest = 0, highest = 0;
    };
    std::vector<Scaled> scaled(static_cast<size_t>(nf));
    for (int f : numberFields) {
        auto& k = numberKeys[static_cast<size_t>(f)];
        k.reserve(static_cast<size_t>(n) + 16);
        k.resize(static_cast<size_t>(n), 0.0);
        scaled[static_cast<size_t>(f)].values.resize(static_cast<size_t>(n), 0);
    }
    const QVector<DbfField>& fds = file->fields();
    // One pass over a range of the live records; each range has its own
    // bounds and exactness, merged below. Ranges write distinct elements.
    struct Bounds {
        bool exact = true, any = false;
        qint64 lowest = 0, highest = 0;
    };
    auto keyPass = [&](size_t from, size_t to, std::vector<Bounds>& bounds) {
        bounds.assign(static_cast<size_t>(nf), Bounds());
        for (size_t i = from; i < to; ++i) {
            const int r = live[i];
            const size_t ri = static_cast<size_t>(r);
            for (int f : numberFields) {
                const char* p = file->fieldData(r, f);
                double& value = numberKeys[static_cast<size_t>(f)][ri];
                Bounds& bd = bounds[static_cast<size_t>(f)];
                qint64 m = 0;
                if (!bd.exact || !DbfFile::parseScaled(p, fds[f].length, fds[f].decimals, &m)) {
                    bd.exact = false;
                    value = DbfFile::parseNumber(p, fds[f].length);
                    continue;
                }
                // m / 10^d is one correctly rounded division of exact values:
                // the same double as parseNumber gives.
                if (m > -(1LL << 53) && m < (1LL << 53))
                    value = static_cast<double>(m) / kPow10[fds[f].decimals];
                else
                    value = DbfFile::parseNumber(p, fds[f].length);
                scaled[static_cast<size_t>(f)].values[ri] = m;
                if (!bd.any || m < bd.lowest) bd.lowest = m;
                if (!bd.any || m > bd.highest) bd.highest = m;
                bd.any = true;
            }
            for (int f : textFields) {
                const char* p = file->fieldData(r, f);
                textKeys[static_cast<size_t>(f)][ri] = Collation::key(p, trimmedLength(p, fds[f].length));
            }
        }
    };
    const bool parallel = n >= kParallelRecords;
    const size_t half = parallel ? live.size() / 2 : live.size();
    std::vector<Bounds> first, second;
    inParallel(parallel, [&] { keyPass(half, live.size(), second); },
               [&] { keyPass(0, half, first); });
    for (int f : numberFields) {
        Scaled& sc = scaled[static_cast<size_t>(f)];
        sc.exact = true;
        bool any = false;
        for (const auto* part : {&first, &second}) {
            if (part->empty()) continue;
            const Bounds& bd = (*part)[static_cast<size_t>(f)];
            sc.exact = sc.exact && bd.exact;
            if (!bd.any) continue;
            sc.lowest = any ? std::min(sc.lowest, bd.lowest) : bd.lowest;
            sc.highest = any ? std::max(sc.highest, bd.highest) : bd.highest;
            any = true;
        }
    }

    auto byTextKey = [&](int f) { return sortByTextKey(live, textKeys[static_cast<size_t>(f)]); };
    // Records in name order: the nutrient tags are stable sorts of it by
    // value, which orders equal values by name, then record number.
    std::vector<int> byName;
    std::vector<Tag*> textTags, numberTags;
    for (Tag& t : tags) (t.kind == Kind::Text ? textTags : numberTags).push_back(&t);
    auto sortText = [&](bool skipName) {
        for (Tag* t : textTags)
            if (!skipName || t->field != nomField) t->order = byTextKey(t->field);
    };
    auto sortNumbers = [&](size_t from, size_t step) {
        for (size_t i = from; i < numberTags.size(); i += step) {
            Tag& t = *numberTags[i];
            const bool down = t.kind == Kind::NumberDown;
            const std::vector<int>& input = down && !byName.empty() ? byName : live;
            const Scaled& sc = scaled[static_cast<size_t>(t.field)];
            if (sc.exact && sc.highest >= sc.lowest &&
                static_cast<quint64>(sc.highest - sc.lowest) <= 0xFFFFFFFFULL)
                t.order = radixSortScaled(input, sc.values, sc.lowest, down);
            else
                t.order = radixSortByValue(input, numberKeys[static_cast<size_t>(t.field)], down);
        }
    };
    if (anyDown && nomField >= 0) {
        // The name order first (the other tags but NOM meanwhile), then the
        // numeric tags shared between the two threads.
        inParallel(parallel, [&] { sortText(true); }, [&] { byName = byTextKey(nomField); });
        for (Tag* t : textTags)
            if (t->field == nomField) t->order = byName;
        inParallel(parallel, [&] { sortNumbers(1, 2); }, [&] { sortNumbers(0, 2); });
    } else {
        inParallel(parallel, [&] { sortText(false); }, [&] { sortNumbers(0, 1); });
    }
}

void Table::Impl::removeFromTag(Tag& t, int rec) {
    auto it = std::lower_bound(t.order.begin(), t.order.end(), rec,
                               [&](int a, int b) { return less(t, a, b); });
    if (it == t.order.end() || *it != rec) it = std::find(t.order.begin(), t.order.end(), rec);
    if (it != t.order.end()) t.order.erase(it);
}

void Table::Impl::insertIntoTag(Tag& t, int rec) {
    auto it = std::lower_bound(t.order.begin(), t.order.end(), rec,
                               [&](int a, int b) { return less(t, a, b); });
    t.order.insert(it, rec);
}

// ---------------------------------------------------------------------------
// Filter and view

void Table::Impl::compileFilter() {
    filterActive = false;
    filterField = -1;
    if (!filterOn || !file) return;
    QString field, value;
    if (filterIsValue) {
        field = filterValueField;
        value = filterValueText;
    } else if (filterText.trimmed().isEmpty()) {
        return;   // no filter text: every record passes
    } else if (!parseFilterText(filterText, &field, &value)) {
        throw DataError(QStringLiteral("Le filtre « %1 » de la table %2 n'est pas valide : il "
                                       "doit avoir la forme CHAMP='valeur'.")
                            .arg(filterText, shownName()));
    }
    const int f = file->fieldIndex(field);
    if (f < 0)
        throw DataError(QStringLiteral("Le filtre de la table %1 porte sur le champ %2, qui "
                                       "n'existe pas.")
                            .arg(shownName(), field));
    filterField = f;
    const DbfField& fd = file->fields()[f];
    if (isNumeric(fd.type)) {
        // A blank value selects the blank (zero) numbers; a value that is not
        // a number selects nothing.
        filterNumber = 0;
        filterNumberOk = value.trimmed().isEmpty() || DbfFile::parseNumber(value, &filterNumber);
    } else {
        filterEncodable = Cp1252::canEncode(value);
        filterBytes = filterEncodable ? Cp1252::encode(value) : QByteArray();
        filterBytes.truncate(trimmedLength(filterBytes.constData(), filterBytes.size()));
        if (filterCaseInsensitive)
            for (char& c : filterBytes)
                c = static_cast<char>(Collation::lowerByte(static_cast<unsigned char>(c)));
    }
    filterActive = true;
    const int n = file->recordCount();
    pass.assign(static_cast<size_t>(n), 0);
    for (int r = 0; r < n; ++r) pass[static_cast<size_t>(r)] = matches(r) ? 1 : 0;
}

bool Table::Impl::matches(int rec) const {
    if (!filterActive) return true;
    const DbfField& fd = file->fields()[filterField];
    if (isNumeric(fd.type))
        return filterNumberOk && readNumber(rec, filterField) == filterNumber;
    if (!filterEncodable) return false;
    const char* p = fieldBytes(rec, filterField);
    const int n = trimmedLength(p, fd.length);
    if (n != filterBytes.size()) return false;
    if (!filterCaseInsensitive) return std::memcmp(p, filterBytes.constData(), static_cast<size_t>(n)) == 0;
    for (int i = 0; i < n; ++i)
        if (Collation::lowerByte(static_cast<unsigned char>(p[i])) !=
            static_cast<unsigned char>(filterBytes[i]))
            return false;
    return true;
}

// A new filter (or none): the view is rebuilt and the cursor goes to its
// first record.
void Table::Impl::refilter() {
    compileFilter();
    rebuildView();
    const int n = rowCount();
    cur = n == 0 ? -1 : 0;
    eof = n == 0;
    bof = true;
    emit q->layoutReset();
    emit q->currentChanged(cur);
}

void Table::Impl::rebuildView() {
    rows.clear();
    if (!file) return;
    auto visible = [&](int r) {
        return !file->isDeleted(r) && (!filterActive || pass[static_cast<size_t>(r)]);
    };
    if (tagIdx < 0) {
        const int n = file->recordCount();
        rows.reserve(static_cast<size_t>(n));
        for (int r = 0; r < n; ++r)
            if (visible(r)) rows.push_back(r);
    } else {
        const auto& order = tags[static_cast<size_t>(tagIdx)].order;
        rows.reserve(order.size());
        for (int r : order)
            if (visible(r)) rows.push_back(r);
    }
}

// ---------------------------------------------------------------------------
// Calculated fields

double Table::Impl::calcValue(int rec, int k) const {
    if (calcTarget) return (*calcTarget)[k];   // read from inside onCalcFields
    if (rec < 0 || !q->onCalcFields) return 0.0;
    const bool cacheable = !(pending() && rec == pendingRec);
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
// Edit discipline

void Table::Impl::dropPending() {
    if (state == State::Insert) {
        insertRow = false;
        buffer.clear();
        pendingRec = -1;
        modified = false;
        state = State::Browse;
        const int n = rowCount();
        cur = n == 0 ? -1 : std::clamp(rowBeforeInsert, 0, n - 1);
        eof = n == 0;
        bof = n == 0;
        emit q->layoutReset();
        emit q->stateChanged(state);
        emit q->currentChanged(cur);
    } else if (state == State::Edit) {
        buffer.clear();
        pendingRec = -1;
        modified = false;
        state = State::Browse;
        emit q->stateChanged(state);
        if (cur >= 0) emit q->rowChanged(cur);
    }
}

void Table::Impl::settle() {
    if (!pending()) return;
    if (modified)
        q->post();
    else
        dropPending();
}

void Table::Impl::beginEdit() {
    if (pending()) return;
    q->edit();
}

// ---------------------------------------------------------------------------

Table::Table(const TableSchema& schema, QObject* parent) : QObject(parent), d(new Impl) {
    d->q = this;
    d->schema = schema;
    d->fileName = schema.fileName;
    d->tagName = schema.defaultTag.toUpper();
}

Table::~Table() = default;

void Table::setDirectory(const QString& dir) { d->dir = dir; }
QString Table::directory() const { return d->dir.isEmpty() ? DataDir::path() : d->dir; }
void Table::setFileName(const QString& name) { d->fileName = name; }
QString Table::fileName() const { return d->fileName; }
QString Table::filePath() const { return DataDir::resolve(d->fileName, directory()); }
const TableSchema& Table::schema() const { return d->schema; }

void Table::setIndexName(const QString& tag) {
    const QString name = tag.trimmed().toUpper();
    if (!name.isEmpty()) {
        bool known = false;
        for (const QString& t : d->schema.tags) known = known || t.toUpper() == name;
        if (!known)
            throw DataError(QStringLiteral("L'index %1 n'existe pas pour la table %2.")
                                .arg(tag, d->shownName()));
    }
    if (!d->file) {
        d->tagName = name;
        return;
    }
    d->settle();
    const int rec = d->currentRec();
    d->tagName = name;
    d->tagIdx = -1;
    for (size_t i = 0; i < d->tags.size(); ++i)
        if (d->tags[i].name == name) d->tagIdx = static_cast<int>(i);
    d->rebuildView();
    const int row = d->rowOf(rec);
    d->cur = row >= 0 ? row : (d->rows.empty() ? -1 : 0);
    d->eof = d->rows.empty();
    d->bof = d->rows.empty();
    emit layoutReset();
    emit currentChanged(d->cur);
}

QString Table::indexName() const { return d->tagName; }

void Table::setFilter(const QString& text) {
    if (d->file && d->filterOn && !text.trimmed().isEmpty()) {
        // Check the new text before anything changes.
        QString f, v;
        if (!parseFilterText(text, &f, &v))
            throw DataError(QStringLiteral("Le filtre « %1 » de la table %2 n'est pas valide : il "
                                           "doit avoir la forme CHAMP='valeur'.")
                                .arg(text, d->shownName()));
        if (d->file->fieldIndex(f) < 0)
            throw DataError(QStringLiteral("Le filtre de la table %1 porte sur le champ %2, qui "
                                           "n'existe pas.")
                                .arg(d->shownName(), f));
    }
    if (d->file && d->filterOn) d->settle();
    d->filterText = text;
    d->filterIsValue = false;
    if (d->file && d->filterOn) d->refilter();
}

QString Table::filter() const {
    if (d->filterIsValue)
        return d->filterValueField + QStringLiteral("='") + d->filterValueText + QLatin1Char('\'');
    return d->filterText;
}

void Table::setFilterValue(const QString& field, const QString& value) {
    if (d->file && d->filterOn) {
        if (d->file->fieldIndex(field) < 0)
            throw DataError(QStringLiteral("Le filtre de la table %1 porte sur le champ %2, qui "
                                           "n'existe pas.")
                                .arg(d->shownName(), field));
        d->settle();
    }
    d->filterIsValue = true;
    d->filterValueField = field;
    d->filterValueText = value;
    d->filterText = field + QStringLiteral("='") + value + QLatin1Char('\'');
    if (d->file && d->filterOn) d->refilter();
}

void Table::setFiltered(bool on) {
    if (on == d->filterOn) return;
    if (!d->file) {
        d->filterOn = on;
        return;
    }
    d->settle();
    const bool was = d->filterOn;
    d->filterOn = on;
    try {
        d->compileFilter();
    } catch (...) {
        d->filterOn = was;
        d->compileFilter();
        throw;
    }
    d->refilter();
}

bool Table::filtered() const { return d->filterOn; }

void Table::setFilterCaseInsensitive(bool on) {
    if (on == d->filterCaseInsensitive) return;
    d->filterCaseInsensitive = on;
    if (d->file && d->filterOn) {
        d->settle();
        d->refilter();
    }
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
    std::unique_ptr<DbfFile> file = DbfFile::open(path, d->readOnly);
    for (const DbfField& sf : d->schema.fields) {
        const int f = file->fieldIndex(sf.name);
        if (f < 0)
            throw DataError(QStringLiteral("Le fichier %1 ne convient pas : il n'a pas le champ %2.")
                                .arg(file->displayName(), sf.name));
        const DbfField& ff = file->fields()[f];
        const bool wantNumber = isNumeric(sf.type);
        if (wantNumber != isNumeric(ff.type) || (!wantNumber && ff.type != sf.type))
            throw DataError(QStringLiteral("Le fichier %1 ne convient pas : le champ %2 devrait "
                                           "être %3.")
                                .arg(file->displayName(), sf.name,
                                     wantNumber ? QStringLiteral("numérique")
                                                : QStringLiteral("de type texte")));
    }
    d->file = std::move(file);
    try {
        d->buildTags();
        d->tagIdx = -1;
        for (size_t i = 0; i < d->tags.size(); ++i)
            if (d->tags[i].name == d->tagName) d->tagIdx = static_cast<int>(i);
        d->compileFilter();
    } catch (...) {
        d->file.reset();
        d->tags.clear();
        d->textKeys.clear();
        d->numberKeys.clear();
        throw;
    }
    d->calcCache.clear();
    d->state = State::Browse;
    d->insertRow = false;
    d->pendingRec = -1;
    d->modified = false;
    d->rebuildView();
    d->cur = d->rows.empty() ? -1 : 0;
    d->eof = d->rows.empty();
    d->bof = true;
    emit stateChanged(d->state);
    emit layoutReset();
    emit currentChanged(d->cur);
}

void Table::close() {
    if (!d->file) return;
    // A pending record is dropped: closing never writes.
    d->file.reset();
    d->tags.clear();
    d->textKeys.clear();
    d->numberKeys.clear();
    d->pass.clear();
    d->rows.clear();
    d->calcCache.clear();
    d->insertRow = false;
    d->buffer.clear();
    d->pendingRec = -1;
    d->modified = false;
    d->cur = -1;
    d->eof = true;
    d->bof = true;
    d->filterActive = false;
    d->state = State::Inactive;
    emit layoutReset();
    emit stateChanged(d->state);
    emit currentChanged(-1);
}

bool Table::isOpen() const { return d->file != nullptr; }

void Table::first() {
    d->requireOpen();
    d->settle();
    const int n = d->rowCount();
    d->cur = n == 0 ? -1 : 0;
    d->eof = n == 0;
    d->bof = true;
    emit currentChanged(d->cur);
}

void Table::next() {
    d->requireOpen();
    d->settle();
    const int n = d->rowCount();
    if (n == 0) {
        d->cur = -1;
        d->eof = true;
    } else if (d->cur < n - 1) {
        ++d->cur;
        d->eof = false;
    } else {
        d->cur = n - 1;
        d->eof = true;
    }
    d->bof = n == 0;
    emit currentChanged(d->cur);
}

void Table::prior() {
    d->requireOpen();
    d->settle();
    const int n = d->rowCount();
    if (n == 0) {
        d->cur = -1;
        d->bof = true;
        d->eof = true;
    } else if (d->cur > 0) {
        --d->cur;
        d->bof = false;
        d->eof = false;
    } else {
        d->cur = 0;
        d->bof = true;
        d->eof = false;
    }
    emit currentChanged(d->cur);
}

void Table::last() {
    d->requireOpen();
    d->settle();
    const int n = d->rowCount();
    d->cur = n - 1;
    d->eof = n == 0;
    d->bof = n == 0;
    emit currentChanged(d->cur);
}

bool Table::eof() const { return !d->file || d->eof; }
bool Table::bof() const { return !d->file || d->bof; }
bool Table::isEmpty() const { return d->rowCount() == 0; }

bool Table::findKey(const QString& key) {
    d->requireOpen();
    d->settle();
    if (d->tagIdx < 0)
        throw DataError(QStringLiteral("Aucun index n'est actif sur la table %1 : la recherche "
                                       "par clé est impossible.")
                            .arg(d->shownName()));
    const Impl::Tag& t = d->tags[static_cast<size_t>(d->tagIdx)];
    auto& rows = d->rows;
    int found = -1;
    if (t.kind == Impl::Kind::Text) {
        const QByteArray probe = Collation::key(key);
        const auto& k = d->textKeys[static_cast<size_t>(t.field)];
        auto it = std::lower_bound(rows.begin(), rows.end(), probe, [&](int r, const QByteArray& p) {
            return Collation::compare(k[static_cast<size_t>(r)], p) < 0;
        });
        if (it != rows.end() && Collation::compare(k[static_cast<size_t>(*it)], probe) == 0)
            found = static_cast<int>(it - rows.begin());
    } else {
        double v = 0;
        if (!DbfFile::parseNumber(key, &v)) return false;
        const auto& k = d->numberKeys[static_cast<size_t>(t.field)];
        const bool down = t.kind == Impl::Kind::NumberDown;
        auto it = std::lower_bound(rows.begin(), rows.end(), v, [&](int r, double p) {
            const double x = k[static_cast<size_t>(r)];
            return down ? x > p : x < p;
        });
        if (it != rows.end() && k[static_cast<size_t>(*it)] == v)
            found = static_cast<int>(it - rows.begin());
    }
    if (found < 0) return false;
    d->cur = found;
    d->eof = false;
    d->bof = false;
    emit currentChanged(d->cur);
    return true;
}

void Table::findNearest(const QString& key) {
    d->requireOpen();
    d->settle();
    if (d->tagIdx < 0)
        throw DataError(QStringLiteral("Aucun index n'est actif sur la table %1 : la recherche "
                                       "par clé est impossible.")
                            .arg(d->shownName()));
    const Impl::Tag& t = d->tags[static_cast<size_t>(d->tagIdx)];
    auto& rows = d->rows;
    if (rows.empty()) {
        first();
        return;
    }
    std::vector<int>::iterator it;
    if (t.kind == Impl::Kind::Text) {
        const QByteArray probe = Collation::key(key);
        const auto& k = d->textKeys[static_cast<size_t>(t.field)];
        it = std::lower_bound(rows.begin(), rows.end(), probe, [&](int r, const QByteArray& p) {
            return Collation::compare(k[static_cast<size_t>(r)], p) < 0;
        });
    } else {
        double v = 0;
        DbfFile::parseNumber(key, &v);   // not a number: from 0
        const auto& k = d->numberKeys[static_cast<size_t>(t.field)];
        const bool down = t.kind == Impl::Kind::NumberDown;
        it = std::lower_bound(rows.begin(), rows.end(), v, [&](int r, double p) {
            const double x = k[static_cast<size_t>(r)];
            return down ? x > p : x < p;
        });
    }
    if (it == rows.end()) --it;   // every key is smaller: the last record
    d->cur = static_cast<int>(it - rows.begin());
    d->eof = false;
    d->bof = d->cur == 0;
    emit currentChanged(d->cur);
}

bool Table::locate(const QString& field, const QString& value, bool caseInsensitive) {
    d->resolve(field);
    d->settle();
    const int found = locateRow(field, value, caseInsensitive);
    if (found < 0) return false;
    d->cur = found;
    d->eof = false;
    d->bof = found == 0;
    emit currentChanged(d->cur);
    return true;
}

int Table::locateRow(const QString& field, const QString& value, bool caseInsensitive,
                     int fromRow) const {
    const int f = d->resolve(field);
    const size_t from = static_cast<size_t>(std::max(fromRow, 0));
    if (f < 0) {
        // A calculated field: compare its value as a number.
        double v = 0;
        if (!DbfFile::parseNumber(value, &v)) return -1;
        for (size_t i = from; i < d->rows.size(); ++i)
            if (d->calcValue(d->rows[i], -2 - f) == v) return static_cast<int>(i);
        return -1;
    }
    const DbfField& fd = d->file->fields()[f];
    if (isNumeric(fd.type)) {
        double v = 0;
        if (!value.trimmed().isEmpty() && !DbfFile::parseNumber(value, &v)) return -1;
        for (size_t i = from; i < d->rows.size(); ++i)
            if (d->readNumber(d->rows[i], f) == v) return static_cast<int>(i);
        return -1;
    }
    if (!Cp1252::canEncode(value)) return -1;
    QByteArray want = Cp1252::encode(value);
    want.truncate(trimmedLength(want.constData(), want.size()));
    if (caseInsensitive)
        for (char& c : want) c = static_cast<char>(Collation::lowerByte(static_cast<unsigned char>(c)));
    for (size_t i = from; i < d->rows.size(); ++i) {
        const char* p = d->fieldBytes(d->rows[i], f);
        const int n = trimmedLength(p, fd.length);
        if (n != want.size()) continue;
        bool same = true;
        for (int j = 0; j < n && same; ++j) {
            const unsigned char c = static_cast<unsigned char>(p[j]);
            same = (caseInsensitive ? Collation::lowerByte(c) : c) == static_cast<unsigned char>(want[j]);
        }
        if (same) return static_cast<int>(i);
    }
    return -1;
}

void Table::append() {
    d->requireWritable();
    d->settle();
    if (beforeInsert) beforeInsert(*this);   // may throw to refuse the insertion
    d->rowBeforeInsert = d->cur;
    d->buffer = d->file->blankRecord();
    d->pendingRec = d->file->recordCount();
    d->modified = false;
    d->state = State::Insert;
    d->insertRow = true;
    d->cur = d->rowCount() - 1;
    d->eof = false;
    d->bof = false;
    emit stateChanged(d->state);
    emit layoutReset();
    emit currentChanged(d->cur);
    if (onNewRecord) {
        try {
            onNewRecord(*this);
        } catch (...) {
            d->dropPending();
            throw;
        }
    }
    // Defaults given by the new-record event do not count as a change: a
    // new record left alone is dropped when the cursor moves.
    d->modified = false;
}

void Table::edit() {
    d->requireWritable();
    if (d->pending()) return;
    const int rec = d->currentRec();
    if (rec < 0) {
        // Nothing to edit on an empty view: start a new record instead.
        append();
        return;
    }
    d->pendingRec = rec;
    d->buffer = d->file->recordBytes(rec);
    d->modified = false;
    d->state = State::Edit;
    emit stateChanged(d->state);
}

void Table::post() {
    d->requireOpen();
    if (!d->pending()) return;
    d->requireWritable();
    const int rec = d->pendingRec;
    const bool isNew = d->state == State::Insert;
    const int oldRow = d->cur;
    // The file first: if the write fails, the record stays pending and
    // nothing else has changed.
    d->file->writeRecord(rec, d->buffer);

    const int oldVisibleRow = isNew ? -1 : d->cur;
    if (!isNew)
        for (auto& t : d->tags) d->removeFromTag(t, rec);
    d->state = State::Browse;   // reads now come from the file
    d->computeKeys(rec);
    for (auto& t : d->tags) d->insertIntoTag(t, rec);
    if (d->filterActive) {
        if (d->pass.size() <= static_cast<size_t>(rec)) d->pass.resize(static_cast<size_t>(rec) + 1);
        d->pass[static_cast<size_t>(rec)] = d->matches(rec) ? 1 : 0;
    }
    d->calcCache.remove(rec);
    d->buffer.clear();
    d->pendingRec = -1;
    d->modified = false;
    d->insertRow = false;
    const std::vector<int> before = d->rows;
    d->rebuildView();
    int row = d->rowOf(rec);
    const int n = d->rowCount();
    if (row < 0) row = n == 0 ? -1 : std::clamp(oldRow, 0, n - 1);
    d->cur = row;
    d->eof = n == 0;
    d->bof = n == 0;
    emit stateChanged(d->state);
    if (isNew || d->rows != before)
        emit layoutReset();
    else if (oldVisibleRow >= 0)
        emit rowChanged(oldVisibleRow);
    emit currentChanged(d->cur);
}

void Table::cancel() {
    if (!d->file) return;
    d->dropPending();
}

void Table::deleteRecord() {
    d->requireWritable();
    if (d->state == State::Insert) {
        // Deleting the record being inserted simply drops it.
        d->dropPending();
        return;
    }
    if (d->currentRec() < 0) return;
    if (beforeDelete && !beforeDelete(*this)) return;
    const int rec = d->currentRec();
    if (rec < 0) return;
    if (d->state == State::Edit) d->dropPending();
    d->file->setDeleted(rec, true);
    for (auto& t : d->tags) d->removeFromTag(t, rec);
    d->calcCache.remove(rec);
    const int row = d->rowOf(rec);
    if (row >= 0) d->rows.erase(d->rows.begin() + row);
    const int n = d->rowCount();
    if (n == 0) {
        d->cur = -1;
        d->eof = true;
        d->bof = true;
    } else if (d->cur >= n) {
        // Nothing follows: stay on the new last record, at end-of-table.
        d->cur = n - 1;
        d->eof = true;
        d->bof = false;
    } else {
        d->eof = false;
        d->bof = d->cur == 0;
    }
    emit layoutReset();
    emit currentChanged(d->cur);
}

Table::State Table::state() const { return d->state; }

double Table::asFloat(const QString& field) const {
    const int f = d->resolve(field);
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
        throw DataError(QStringLiteral("Le champ %1 est calculé : il ne peut pas être modifié.")
                            .arg(field.toUpper()));
    // Encoded first: a value that does not fit changes nothing.
    const QByteArray bytes = encode(f);
    d->beginEdit();
    d->buffer.replace(d->file->fields()[f].offset, bytes.size(), bytes);
    d->modified = true;
    emit rowChanged(d->cur);
}

int Table::recordCount() const { return static_cast<int>(d->rows.size()); }

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
        throw DataError(QStringLiteral("Le champ calculé %1 n'existe pas dans la table %2.")
                            .arg(name, d->shownName()));
    if (d->calcTarget) {
        (*d->calcTarget)[k] = value;
        return;
    }
    // Outside the event: the value of the current record until it changes.
    const int rec = d->currentRec();
    if (rec < 0 || (d->pending() && rec == d->pendingRec)) return;
    auto it = d->calcCache.find(rec);
    if (it == d->calcCache.end()) it = d->calcCache.insert(rec, QVector<double>(d->calcNames.size(), 0.0));
    it.value()[k] = value;
}

int Table::rowCount() const { return d->rowCount(); }
int Table::currentRow() const { return d->rowCount() == 0 ? -1 : d->cur; }

void Table::moveToRow(int row) {
    d->requireOpen();
    const int target = d->recordAtRow(row);
    d->settle();
    const int n = d->rowCount();
    int r = target >= 0 ? d->rowOf(target) : -1;
    if (r < 0) r = n == 0 ? -1 : std::clamp(row, 0, n - 1);
    d->cur = r;
    d->eof = n == 0;
    d->bof = n == 0 || r == 0;
    emit currentChanged(d->cur);
}

QVariant Table::valueAt(int row, const QString& field) const {
    if (!d->file) return QVariant();
    const int rec = d->recordAtRow(row);
    if (rec < 0) return QVariant();
    int f;
    try {
        f = d->resolve(field);
    } catch (const DataError&) {
        return QVariant();
    }
    if (f < 0) return d->calcValue(rec, -2 - f);
    const DbfField& fd = d->file->fields()[f];
    if (isNumeric(fd.type)) return d->readNumber(rec, f);
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
