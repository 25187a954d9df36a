// Tag building and upkeep. Building is the costly step of opening a table
// and of the ranking window (it reopens the Food table on another nutrient
// tag at each change), so a tag is sorted in two steps:
//   1. a stable LSD radix sort of the live records, in record order, on an
//      image of the key whose unsigned order is the key's order: the key's
//      first eight bytes for a text (collation keys compare bytewise); for a
//      number written plainly, its exact count of the field's last decimal
//      when all of them span less than 2^32 (32-bit keys), else the ordered
//      bits of its double;
//   2. each run of records whose images are equal, where the image does not
//      settle the order (texts sharing eight bytes, equal numbers of a tag
//      with a tie-break), sorted by the tag's whole order.
// So most of the work is linear, and the comparisons are spent on ties only.
#include "core/table/tagindex.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "core/dbf/collation.h"
#include "core/dbf/dbf.h"

namespace {

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

// The first eight bytes of a collation key, big-endian, zero-padded.
inline quint64 textPrefix(const QByteArray& key) {
    quint64 p = 0;
    const int n = std::min(8, static_cast<int>(key.size()));
    for (int i = 0; i < 8; ++i) p = (p << 8) | (i < n ? static_cast<unsigned char>(key[i]) : 0U);
    return p;
}

// Stable sort of (image, record) pairs by image: std::stable_sort for small
// sets, else an LSD radix sort in 16-bit digits, all the histograms counted
// in one pass and the digits that every image shares skipped.
template <class Key>
void stableSortPairs(std::vector<std::pair<Key, int>>& a) {
    const size_t n = a.size();
    if (n < 4096) {
        std::stable_sort(a.begin(), a.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
        return;
    }
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

// Records sorted by their images (images given in the records' order,
// reversed when descending), then, when `sortRuns`, each run of equal images
// sorted by `less`; first, when `prepare` is set, it is given the records of
// all the runs in record order (to read what `less` needs in one pass over
// the file).
template <class Key, class Prepare, class Less>
std::vector<int> sortRecords(std::vector<std::pair<Key, int>>& a, bool descending, bool sortRuns,
                             Prepare prepare, Less less) {
    if (descending)
        for (auto& e : a) e.first = ~e.first;
    stableSortPairs(a);
    std::vector<int> out(a.size());
    for (size_t i = 0; i < a.size(); ++i) out[i] = a[i].second;
    if (!sortRuns) return out;
    std::vector<std::pair<size_t, size_t>> runs;
    std::vector<int> inRuns;
    for (size_t i = 0; i < a.size();) {
        size_t j = i + 1;
        while (j < a.size() && a[j].first == a[i].first) ++j;
        if (j - i > 1) {
            runs.push_back({i, j});
            if (prepare)
                inRuns.insert(inRuns.end(), out.begin() + static_cast<long>(i),
                              out.begin() + static_cast<long>(j));
        }
        i = j;
    }
    if (prepare) {
        std::sort(inRuns.begin(), inRuns.end());
        prepare(inRuns);
    }
    for (const auto& run : runs)
        std::sort(out.begin() + static_cast<long>(run.first), out.begin() + static_cast<long>(run.second),
                  less);
    return out;
}

}   // namespace

void TagIndex::attach(const DbfFile* file, const QVector<TagDescription>& tags) {
    clear();
    file_ = file;
    keys_.resize(static_cast<size_t>(file->fields().size()));
    for (const TagDescription& d : tags) {
        Tag t;
        t.description = d;
        t.field = file->fieldIndex(d.field);
        t.tieField = d.tieBreak.isEmpty() ? -1 : file->fieldIndex(d.tieBreak);
        t.text = d.kind == TagDescription::Kind::Text;
        t.descending = d.direction == TagDescription::Direction::Descending;
        if (t.field < 0) continue;   // cannot happen: the file was checked against the schema
        tags_.push_back(std::move(t));
    }
    // A field's keys are text or number by the kind of the tag keyed on it;
    // a field used only as a tie-break, by its type in the file.
    for (const Tag& t : tags_) keys_[static_cast<size_t>(t.field)].text = t.text;
    for (const Tag& t : tags_) {
        if (t.tieField < 0) continue;
        bool keyed = false;
        for (const Tag& u : tags_) keyed = keyed || u.field == t.tieField;
        if (!keyed) {
            const char type = file->fields()[t.tieField].type;
            keys_[static_cast<size_t>(t.tieField)].text = type != 'N' && type != 'F';
        }
    }
}

void TagIndex::clear() {
    file_ = nullptr;
    tags_.clear();
    keys_.clear();
}

int TagIndex::find(const QString& name) const {
    for (size_t i = 0; i < tags_.size(); ++i)
        if (tags_[i].description.name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

const std::vector<int>& TagIndex::order(int tag) {
    Tag& t = tags_[static_cast<size_t>(tag)];
    if (!t.built) build(t);
    return t.order;
}


// Reads the keys of a field for the live records. For a number field it
// also gives, when asked, the values as exact counts of the field's last
// decimal (*exact false when some value is not written plainly).
void TagIndex::readKeys(int field, const std::vector<int>& live, std::vector<qint64>* scaled, bool* exact,
                        qint64* lowest, qint64* highest) {
    FieldKeys& k = keys_[static_cast<size_t>(field)];
    const int n = file_->recordCount();
    const DbfField& fd = file_->fields()[field];
    k.known.assign(static_cast<size_t>(n), 0);
    for (int r : live) k.known[static_cast<size_t>(r)] = 1;
    if (k.text) {
        k.texts.assign(static_cast<size_t>(n), QByteArray());
        for (int r : live) {
            const char* p = file_->fieldData(r, field);
            k.texts[static_cast<size_t>(r)] = Collation::key(p, DbfFile::trimmedLength(p, fd.length));
        }
    } else {
        k.numbers.assign(static_cast<size_t>(n), 0.0);
        bool plain = scaled != nullptr, any = false;
        if (scaled) scaled->assign(static_cast<size_t>(n), 0);
        for (int r : live) {
            const char* p = file_->fieldData(r, field);
            double& value = k.numbers[static_cast<size_t>(r)];
            qint64 m = 0;
            if (!plain || !DbfFile::parseScaled(p, fd.length, fd.decimals, &m)) {
                plain = false;
                value = DbfFile::parseNumber(p, fd.length);
                continue;
            }
            // m / 10^d is one correctly rounded division of exact values:
            // the same double as parseNumber gives.
            if (m > -(1LL << 53) && m < (1LL << 53))
                value = static_cast<double>(m) / kPow10[fd.decimals];
            else
                value = DbfFile::parseNumber(p, fd.length);
            (*scaled)[static_cast<size_t>(r)] = m;
            if (!any || m < *lowest) *lowest = m;
            if (!any || m > *highest) *highest = m;
            any = true;
        }
        if (exact) *exact = plain && any;
    }
    k.present = true;
}

void TagIndex::build(Tag& t) {
    const int n = file_->recordCount();
    std::vector<int> live;
    live.reserve(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r)
        if (!file_->isDeleted(r)) live.push_back(r);

    if (t.tieField >= 0) {
        // Tie-break keys are read for the ties only.
        FieldKeys& tk = keys_[static_cast<size_t>(t.tieField)];
        if (!tk.present) {
            tk.known.assign(static_cast<size_t>(n), 0);
            (tk.text ? tk.texts.resize(static_cast<size_t>(n))
                     : tk.numbers.resize(static_cast<size_t>(n), 0.0));
            tk.present = true;
        }
    }
    auto less = [&](int a, int b) { return this->less(t, a, b); };
    // Only the tie-break keys can be missing: those of the primary key were read.
    std::function<void(const std::vector<int>&)> prepare;
    if (t.tieField >= 0) {
        const int f = t.tieField;
        prepare = [this, f](const std::vector<int>& records) {
            for (int r : records)
                keys_[static_cast<size_t>(f)].text ? (void)textKey(f, r) : (void)numberKey(f, r);
        };
    }
    const bool tie = t.tieField >= 0 && t.tieField != t.field;

    FieldKeys& k = keys_[static_cast<size_t>(t.field)];
    std::vector<qint64> scaled;
    bool exact = false;
    qint64 lowest = 0, highest = 0;
    if (!k.present) readKeys(t.field, live, t.text ? nullptr : &scaled, &exact, &lowest, &highest);
    if (t.text) {
        std::vector<std::pair<quint64, int>> a(live.size());
        for (size_t i = 0; i < live.size(); ++i) a[i] = {textPrefix(textKey(t.field, live[i])), live[i]};
        t.order = sortRecords(a, t.descending, true, prepare, less);
    } else if (exact && static_cast<quint64>(highest - lowest) <= 0xFFFFFFFFULL) {
        std::vector<std::pair<quint32, int>> a(live.size());
        for (size_t i = 0; i < live.size(); ++i)
            a[i] = {static_cast<quint32>(scaled[static_cast<size_t>(live[i])] - lowest), live[i]};
        t.order = sortRecords(a, t.descending, tie, prepare, less);
    } else {
        std::vector<std::pair<quint64, int>> a(live.size());
        for (size_t i = 0; i < live.size(); ++i) a[i] = {orderedBits(numberKey(t.field, live[i])), live[i]};
        t.order = sortRecords(a, t.descending, tie, prepare, less);
    }
    t.built = true;
}

void TagIndex::readKey(int field, int record) const {
    FieldKeys& k = keys_[static_cast<size_t>(field)];
    const size_t r = static_cast<size_t>(record);
    const char* p = file_->fieldData(record, field);
    const int length = file_->fields()[field].length;
    if (k.known.size() <= r) k.known.resize(r + 1, 0);
    if (k.text) {
        if (k.texts.size() <= r) k.texts.resize(r + 1);
        k.texts[r] = Collation::key(p, DbfFile::trimmedLength(p, length));
    } else {
        if (k.numbers.size() <= r) k.numbers.resize(r + 1, 0.0);
        k.numbers[r] = DbfFile::parseNumber(p, length);
    }
    k.known[r] = 1;
}

const QByteArray& TagIndex::textKey(int field, int record) const {
    const FieldKeys& k = keys_[static_cast<size_t>(field)];
    const size_t r = static_cast<size_t>(record);
    if (r >= k.known.size() || !k.known[r]) readKey(field, record);
    return k.texts[r];
}

double TagIndex::numberKey(int field, int record) const {
    const FieldKeys& k = keys_[static_cast<size_t>(field)];
    const size_t r = static_cast<size_t>(record);
    if (r >= k.known.size() || !k.known[r]) readKey(field, record);
    return k.numbers[r];
}

int TagIndex::compareField(int field, int a, int b) const {
    const FieldKeys& k = keys_[static_cast<size_t>(field)];
    if (k.text) {
        textKey(field, a);   // read first: reading b's may grow the array
        const QByteArray& kb = textKey(field, b);
        return Collation::compare(k.texts[static_cast<size_t>(a)], kb);
    }
    const double va = numberKey(field, a), vb = numberKey(field, b);
    return va < vb ? -1 : (va > vb ? 1 : 0);
}

bool TagIndex::less(const Tag& t, int a, int b) const {
    int c = compareField(t.field, a, b);
    if (t.descending) c = -c;
    if (c == 0 && t.tieField >= 0) c = compareField(t.tieField, a, b);
    return c != 0 ? c < 0 : a < b;
}

void TagIndex::remove(int record) {
    for (Tag& t : tags_) {
        if (!t.built) continue;
        auto it = std::lower_bound(t.order.begin(), t.order.end(), record,
                                   [&](int a, int b) { return less(t, a, b); });
        if (it == t.order.end() || *it != record) it = std::find(t.order.begin(), t.order.end(), record);
        if (it != t.order.end()) t.order.erase(it);
    }
}

void TagIndex::insert(int record) {
    for (size_t f = 0; f < keys_.size(); ++f)
        if (keys_[f].present) readKey(static_cast<int>(f), record);
    for (Tag& t : tags_) {
        if (!t.built) continue;
        auto it = std::lower_bound(t.order.begin(), t.order.end(), record,
                                   [&](int a, int b) { return less(t, a, b); });
        t.order.insert(it, record);
    }
}

int TagIndex::lowerBound(const Tag& t, const std::vector<int>& rows, const QString& key, bool strict,
                         bool* equal) const {
    std::vector<int>::const_iterator it;
    if (keys_[static_cast<size_t>(t.field)].text) {
        // The nearest name is the first that starts like the text as the
        // order reads letters (accents and case aside): "pomme" finds
        // "Pomme", not the "pomme" or "Pommes" after it.
        const QByteArray probe = strict || t.descending ? Collation::key(key) : Collation::firstStepKey(key);
        it = std::lower_bound(rows.begin(), rows.end(), probe, [&](int r, const QByteArray& p) {
            const int c = Collation::compare(textKey(t.field, r), p);
            return t.descending ? c > 0 : c < 0;
        });
        *equal = it != rows.end() && Collation::compare(textKey(t.field, *it), probe) == 0;
    } else {
        double v = 0;
        if (!DbfFile::parseNumber(key, &v) && strict) return -1;
        it = std::lower_bound(rows.begin(), rows.end(), v, [&](int r, double p) {
            const double x = numberKey(t.field, r);
            return t.descending ? x > p : x < p;
        });
        *equal = it != rows.end() && numberKey(t.field, *it) == v;
    }
    return static_cast<int>(it - rows.begin());
}

int TagIndex::findKey(int tag, const std::vector<int>& rows, const QString& key) const {
    bool equal = false;
    const int at = lowerBound(tags_[static_cast<size_t>(tag)], rows, key, true, &equal);
    return at >= 0 && equal ? at : -1;
}

int TagIndex::findNearest(int tag, const std::vector<int>& rows, const QString& key) const {
    bool equal = false;
    return lowerBound(tags_[static_cast<size_t>(tag)], rows, key, false, &equal);
}
