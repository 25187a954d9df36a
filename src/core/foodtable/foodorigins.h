#pragma once
// FoodOrigins: the side table ORIGINES.DBF beside the Food table, which says
// where a food's values come from when they were taken from a published
// table: "CIQUAL 2020, code 13039". The table builder writes it for the Base
// foods; adding a CIQUAL food writes the food's record. A record applies only
// to the food that bears both its number and its name (blanks around the
// name aside), so that a replaced Food table gets no origins that are not its
// own, and the editing window renames the record with its food.
//
// A Data directory without the side table (made before it existed) simply
// has no origins; an unreadable one is read as none too, since it only
// informs.
#include <QHash>
#include <QString>
#include <QVector>

class RunContext;

class FoodOrigins {
public:
    struct Origin {
        long long numero = 0;
        QString nom;
        QString source;   // "CIQUAL 2020"
        QString code;     // "13039"
    };

    // The records of the side table of the directory.
    static FoodOrigins read(const QString& dir);

    // What the windows show for the food with this number and name:
    // "CIQUAL 2020, code 13039"; "" when none applies.
    QString textOf(double numero, const QString& nom) const;
    static QString text(const Origin& origin);
    // The records of one code of one source, whatever food they name.
    QVector<Origin> withCode(const QString& source, const QString& code) const;

    // Writes the food's record (replacing the one of its number), the side
    // table created when the directory has none. Throws DataError.
    static void note(RunContext& run, const QString& dir, const Origin& origin);
    // The food numero has been renamed: its record follows it, if it was its
    // own (named oldName). Throws DataError.
    static void rename(RunContext& run, const QString& dir, double numero, const QString& oldName,
                       const QString& newName);

private:
    QVector<Origin> m_records;
    QHash<long long, int> m_byNumero;   // the last record of each number
};
