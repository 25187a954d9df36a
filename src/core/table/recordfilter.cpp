#include "core/table/recordfilter.h"

#include <cstring>

#include "core/dbf/collation.h"
#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"

namespace {

// Reads "FIELD='value'": the field name before '=', the value between the
// first quote after it and the last quote of the text (so that a value holding
// a quote still reads whole), nothing but blanks after the last quote.
bool parse(const QString& text, QString* field, QString* value) {
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

// The field's index in the file, or the error that names it.
int fieldOf(const QString& field, const DbfFile& file, const QString& table) {
    const int f = file.fieldIndex(field);
    if (f < 0)
        throw DataError(QStringLiteral("Le filtre de la table %1 porte sur le champ %2, qui "
                                       "n'existe pas.")
                            .arg(table, field));
    return f;
}

// The field and value of a text, or the error that quotes it.
void parseOrThrow(const QString& text, const QString& table, QString* field, QString* value) {
    if (!parse(text, field, value))
        throw DataError(QStringLiteral("Le filtre « %1 » de la table %2 n'est pas valide : il "
                                       "doit avoir la forme CHAMP='valeur'.")
                            .arg(text, table));
}

}   // namespace

void RecordFilter::setText(const QString& text) {
    text_ = text;
    isValue_ = false;
}

void RecordFilter::setValue(const QString& field, const QString& value) {
    isValue_ = true;
    valueField_ = field;
    value_ = value;
    text_ = field + QStringLiteral("='") + value + QLatin1Char('\'');
}

QString RecordFilter::text() const { return text_; }

bool RecordFilter::isBlank() const { return !isValue_ && text_.trimmed().isEmpty(); }

void RecordFilter::checkText(const QString& text, const DbfFile& file, const QString& table) {
    QString field, value;
    parseOrThrow(text, table, &field, &value);
    fieldOf(field, file, table);
}

void RecordFilter::checkField(const QString& field, const DbfFile& file, const QString& table) {
    fieldOf(field, file, table);
}

void RecordFilter::compile(const DbfFile& file, const QString& table) {
    if (!on_ || isBlank()) {
        reset();
        return;
    }
    QString field = valueField_, value = value_;
    if (!isValue_) parseOrThrow(text_, table, &field, &value);
    Compiled c;
    c.field = fieldOf(field, file, table);
    const DbfField& fd = file.fields()[c.field];
    c.numeric = fd.type == 'N' || fd.type == 'F';
    if (c.numeric) {
        // A blank value selects the blank (zero) numbers; a value that is not
        // a number selects nothing.
        c.numberOk = value.trimmed().isEmpty() || DbfFile::parseNumber(value, &c.number);
    } else {
        c.text.emplace(value, caseInsensitive_);
    }
    const int n = file.recordCount();
    std::vector<char> pass(static_cast<size_t>(n), 0);
    for (int r = 0; r < n; ++r) pass[static_cast<size_t>(r)] = matches(file, c, r) ? 1 : 0;
    compiled_ = std::move(c);
    pass_ = std::move(pass);
    active_ = true;
}

void RecordFilter::reset() {
    active_ = false;
    compiled_ = Compiled();
    pass_.clear();
}

void RecordFilter::update(const DbfFile& file, int record) {
    if (!active_) return;
    if (pass_.size() <= static_cast<size_t>(record)) pass_.resize(static_cast<size_t>(record) + 1, 0);
    pass_[static_cast<size_t>(record)] = matches(file, compiled_, record) ? 1 : 0;
}

bool RecordFilter::matches(const DbfFile& file, const Compiled& c, int record) const {
    const DbfField& fd = file.fields()[c.field];
    const char* p = file.fieldData(record, c.field);
    if (c.numeric) return c.numberOk && DbfFile::parseNumber(p, fd.length) == c.number;
    return c.text->matches(p, fd.length);
}
