#include "core/needs/csvfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "core/io/dataerror.h"

CsvFile CsvFile::read(const QString& path, QChar separator) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("%1 : lecture impossible (%2).").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) throw DataError(QStringLiteral("%1 : le fichier n'est pas en UTF-8.").arg(name));
    return parse(text, separator, name);
}

CsvFile CsvFile::parse(const QString& input, QChar separator, const QString& name) {
    CsvFile csv;
    csv.m_name = name;
    QString text = input;
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

    QVector<CsvRow> records;
    CsvRow current;
    QString field;
    bool quoted = false;         // inside a quoted field
    bool fieldStarted = false;   // something was read for the current row
    int line = 1;
    current.line = 1;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n')) ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            current.fields << field;
            field.clear();
            fieldStarted = true;
        } else if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) {
            continue;   // the LF that follows ends the row
        } else if (c == QLatin1Char('\n')) {
            if (fieldStarted || !field.isEmpty()) {
                current.fields << field;
                records << current;
            }
            field.clear();
            fieldStarted = false;
            current = CsvRow();
            current.line = ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) throw DataError(QStringLiteral("%1:%2 : guillemet non refermé.").arg(name).arg(current.line));
    if (fieldStarted || !field.isEmpty()) {
        current.fields << field;
        records << current;
    }
    if (records.isEmpty()) throw DataError(QStringLiteral("%1 : le fichier est vide.").arg(name));

    csv.m_header = records.takeFirst().fields;
    for (auto& h : csv.m_header) h = h.trimmed();
    for (const auto& r : records) {
        if (r.fields.size() != csv.m_header.size())
            throw DataError(QStringLiteral("%1:%2 : %3 champs au lieu de %4.")
                                .arg(name)
                                .arg(r.line)
                                .arg(r.fields.size())
                                .arg(csv.m_header.size()));
    }
    csv.m_rows = records;
    return csv;
}

int CsvFile::requireColumn(const QString& title) const {
    const int i = column(title);
    if (i < 0) throw DataError(QStringLiteral("%1 : colonne « %2 » absente de l'en-tête.").arg(m_name, title));
    return i;
}

QString CsvFile::where(const CsvRow& row) const { return QStringLiteral("%1:%2").arg(m_name).arg(row.line); }
