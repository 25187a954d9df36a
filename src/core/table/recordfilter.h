#pragma once
// RecordFilter: the handle's filter, a condition FIELD='value' that records
// must meet to be seen.
//
// How data flows: the condition is kept as given (a text, or a field and a
// value) together with its on/off switch and its case option. compile()
// checks it against the open file, encodes the value once the way the field
// stores it, and marks every record as passing or not; the handle then asks
// passes() while it lays out its view, and update() for each record it
// writes. Nothing is compiled while the switch is off or the file closed.
#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

#include "core/dbf/collation.h"

class DbfFile;

class RecordFilter {
public:
    // The condition as a text "FIELD='value'"; checked only when compiled.
    void setText(const QString& text);
    // The condition as a field and a value, so that a value holding quotes
    // is matched exactly.
    void setValue(const QString& field, const QString& value);
    QString text() const;
    bool isBlank() const;   // an empty text: every record passes

    void setEnabled(bool on) { on_ = on; }
    bool enabled() const { return on_; }
    void setCaseInsensitive(bool on) { caseInsensitive_ = on; }
    bool caseInsensitive() const { return caseInsensitive_; }

    // Throws DataError (naming the table) when a text is not of the form
    // FIELD='value' or names a field the file lacks. checkText checks a text
    // before it is set, checkField the field of a value before it is set.
    static void checkText(const QString& text, const DbfFile& file, const QString& table);
    static void checkField(const QString& field, const DbfFile& file, const QString& table);

    // Makes the condition the active one over every record of the file; an
    // invalid condition throws and leaves the previous one in force. Off, or
    // with a blank text, nothing is filtered.
    void compile(const DbfFile& file, const QString& table);
    void reset();   // nothing active (the file is closed)
    bool active() const { return active_; }

    bool passes(int record) const {
        return !active_ || (static_cast<size_t>(record) < pass_.size() && pass_[static_cast<size_t>(record)]);
    }
    // A record was written to the file: whether it passes is read again.
    void update(const DbfFile& file, int record);

private:
    struct Compiled {
        int field = -1;
        bool numeric = false;
        double number = 0;
        bool numberOk = false;
        std::optional<Collation::TextEquality> text;
    };
    bool matches(const DbfFile& file, const Compiled& c, int record) const;

    QString text_;
    bool isValue_ = false;
    QString valueField_, value_;
    bool on_ = false;
    bool caseInsensitive_ = false;

    bool active_ = false;
    Compiled compiled_;
    std::vector<char> pass_;   // by record
};
