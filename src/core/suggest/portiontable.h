#pragma once
// PortionTable: how much of a food a proposal may hold, from the smallest
// amount worth eating to one plausible portion (data/portions.csv, built into
// the program).
//
// Each row names a category (or "*" for any) and a pattern over the food's
// name; the first row, in file order, whose category and pattern match gives
// the portion, so rows for particular foods stand before their category's
// row. Patterns compare names in lower case without accents ("pate*" matches
// "Pâté de campagne"), "*" standing for any text, "?" for one character and
// "|" between patterns that share a portion.
// A portion of 0 g means the food is never proposed (salt, alcohol, raw
// cereals).
#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QVector>

struct Portion {
    double minGrams = 0.0;   // the least amount proposed
    double maxGrams = 0.0;   // one plausible portion; 0: never proposed
    QString rule;            // why, in a few French words
};

class PortionTable {
public:
    // Reads the table from its CSV text ("categorie;nom;min_g;max_g;regle",
    // one header line). A row that does not read is refused with a DataError
    // naming shown and the line.
    static PortionTable fromCsv(const QByteArray& csv, const QString& shown);
    // The table built into the program.
    static const PortionTable& supplied();

    // The portion of a food of that category and name; a food no row matches
    // is never proposed.
    Portion portionOf(const QString& category, const QString& name) const;
    int size() const { return static_cast<int>(m_rows.size()); }

    // Lower case without accents, the form the patterns are written in.
    static QString normalised(const QString& text);

private:
    struct Row {
        QString category;   // "*" for any
        QRegularExpression pattern;
        Portion portion;
    };
    QVector<Row> m_rows;
};
