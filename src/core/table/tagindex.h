#pragma once
// TagIndex: the index tags of one open table, as sorted arrays of record
// numbers, built from the schema's tag descriptions.
//
// How data flows: attach() only records the tags; nothing is read. The first
// time a tag's order is asked for (the tag is selected, or searched), the keys
// of its fields are read from the file for every live record and the records
// are sorted by the key in the tag's direction, equal keys by the tie-break
// field, then by record number (see tagindex.cpp for how). Keys are kept per
// field, so a tag that shares a field with a built one reads nothing again; a
// tie-break key is read only for the records it has to order. Once built, a tag follows the
// table: remove() takes a record out under the keys it had, insert() reads
// the record's new keys from the file and puts it back in place. Tags never
// asked for cost nothing.
#include <QByteArray>
#include <QString>
#include <QVector>

#include <vector>

#include "core/schema/schema.h"

class DbfFile;

class TagIndex {
public:
    // The tags that the file can be ordered by; none is built yet.
    void attach(const DbfFile* file, const QVector<TagDescription>& tags);
    void clear();

    // The tag of that name (without regard to case), or -1.
    int find(const QString& name) const;
    // Records of the tag, live ones only, in the tag's order; built on first use.
    const std::vector<int>& order(int tag);

    // A record is about to be rewritten or deleted: out of every built tag.
    void remove(int record);
    // A record was written to the file (new or rewritten): its keys are read
    // again and it goes into every built tag at its place.
    void insert(int record);

    // Searches among rows (records of a built tag, in its order) by the
    // tag's key alone. findKey: the row whose key equals key exactly, or -1
    // (a number tag reads key as a number; not a number finds nothing).
    // findNearest: the first row whose key does not come before key in the
    // tag's order, a text being compared by its letters alone, accents and
    // case aside (rows.size() when none; not a number counts as 0).
    int findKey(int tag, const std::vector<int>& rows, const QString& key) const;
    int findNearest(int tag, const std::vector<int>& rows, const QString& key) const;

private:
    // Keys of one field by record: kept up to date once present, each read
    // from the file when first needed (`known`).
    struct FieldKeys {
        bool present = false;
        bool text = false;
        std::vector<QByteArray> texts;   // collation keys
        std::vector<double> numbers;     // values
        std::vector<char> known;
    };
    struct Tag {
        TagDescription description;
        int field = -1;
        int tieField = -1;
        bool text = false;
        bool descending = false;
        bool built = false;
        std::vector<int> order;
    };

    void build(Tag& t);
    void readKeys(int field, const std::vector<int>& live, std::vector<qint64>* scaled, bool* exact,
                  qint64* lowest, qint64* highest);
    void readKey(int field, int record) const;
    const QByteArray& textKey(int field, int record) const;
    double numberKey(int field, int record) const;
    int compareField(int field, int a, int b) const;
    bool less(const Tag& t, int a, int b) const;
    // Position in rows of the first key not before the probe; *equal tells
    // whether its key is the probe's. -1 when key is not a number on a
    // number tag and `strict`.
    int lowerBound(const Tag& t, const std::vector<int>& rows, const QString& key, bool strict,
                   bool* equal) const;

    const DbfFile* file_ = nullptr;
    std::vector<Tag> tags_;
    mutable std::vector<FieldKeys> keys_;   // by field of the file
};
