#pragma once
// A delimited text file read whole: UTF-8 (an initial byte-order mark is
// skipped), CR LF or LF line ends, fields separated by one character and
// optionally enclosed in double quotes ("" inside quotes is one quote).
// Every row remembers the line it started on, so that a message about a bad
// row can name it as file:line.
#include <QString>
#include <QStringList>
#include <QVector>

struct CsvRow {
    int line = 0;   // 1-based line number of the row's first line
    QStringList fields;
};

class CsvFile {
public:
    // Reads and splits the file; throws DataError when it cannot be read,
    // is not valid UTF-8 or has an unterminated quoted field.
    static CsvFile read(const QString& path, QChar separator);
    // Splits text already in memory (name used in messages only).
    static CsvFile parse(const QString& text, QChar separator, const QString& name);

    const QString& name() const { return m_name; }   // file name for messages
    const QStringList& header() const { return m_header; }
    const QVector<CsvRow>& rows() const { return m_rows; }
    // Index of a header column (exact text), or -1.
    int column(const QString& title) const { return m_header.indexOf(title); }
    // Index of a header column; throws DataError naming the file when absent.
    int requireColumn(const QString& title) const;
    // "file:line" for messages about one row.
    QString where(const CsvRow& row) const;

private:
    QString m_name;
    QStringList m_header;
    QVector<CsvRow> m_rows;
};
