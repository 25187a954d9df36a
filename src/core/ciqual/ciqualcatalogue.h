#pragma once
// CiqualCatalogue: the whole CIQUAL 2020 table, CIQUAL.DBF, as the table
// builder writes it and the program installs it: read-only, one entry per
// CIQUAL food, its values per 100 g already as the Food table holds them and
// the values CIQUAL did not measure marked.
//
// How data flows: the file is opened once through a read-only Table handle,
// which checks it holds every field of the schema; only the names are read at
// once (the builder writes the foods in French name order, the order a
// search lists them in); an entry's code, groups and values are read from the
// handle when asked for (one food shown, one food added).
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class RunContext;
class Table;

struct CiqualEntry {
    QString code;           // CIQUAL's alim_code, "13039"
    QString name;           // CIQUAL's full name
    QString subgroup;       // "0204"
    QString subsubgroup;    // "020401"
    QString groupName;      // "fruits, légumes, légumineuses et oléagineux"
    QString subgroupName;   // "fruits"
};

class CiqualCatalogue {
public:
    // The published table the entries come from, as the side table of the
    // Food table names it: "CIQUAL 2020".
    static QString sourceName();

    // Opens the file at path; throws DataError naming it when it is absent,
    // cannot be read, is not the CIQUAL table (a field missing or of another
    // kind) or holds no food.
    // The handle belongs to run (its file operations and checked files).
    CiqualCatalogue(RunContext& run, const QString& path);
    ~CiqualCatalogue();
    CiqualCatalogue(const CiqualCatalogue&) = delete;
    CiqualCatalogue& operator=(const CiqualCatalogue&) = delete;

    // Why the file at path cannot be used, as said to the user ("" when it
    // can): it is opened and checked as above.
    static QString problem(RunContext& run, const QString& path);

    const QString& path() const { return m_path; }
    int size() const { return m_names.size(); }
    // The entries, in name order.
    CiqualEntry entry(int i) const;
    const QStringList& names() const { return m_names; }
    // The entry of a code; -1 when none.
    int indexOfCode(const QString& code) const;

    // The Food table category of an entry (from its sub-group).
    QString category(int i) const;
    // The value per 100 g of a nutrient field (PROT_A ... FIBRES).
    double value(int i, const QString& field) const;
    // The nutrient fields CIQUAL did not measure, in the Food table's order.
    QStringList unmeasured(int i) const;

private:
    QString m_path;
    QString text(int i, const char* field) const;
    std::unique_ptr<Table> m_table;
    QStringList m_names;
    mutable QHash<QString, int> m_byCode;   // made when first asked for
};
