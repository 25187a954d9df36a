#pragma once
// dBase III (.DBF) file codec: header, field descriptors, fixed-length records
// with their deletion flag, and the header's record count. It knows nothing of
// cursors, filters or indexes (see Table for those).
//
// Validation happens at the door: open() checks the file against its own header
// (header length, record length, field descriptors and their terminator, field
// types and widths, file size against the record count) and refuses anything
// inconsistent with a DataError whose French message names the file and the
// problem. Nothing is ever written to a file that failed to open.
//
// Text is Windows-1252 in the file. Values are handed out as raw field bytes or
// decoded by the helpers below; encoding a text that cp1252 cannot hold, or a
// number too wide for its field, throws DataError and writes nothing.
#include <QByteArray>
#include <QString>
#include <QVector>
#include <memory>

#include "core/dbf/cp1252.h"

class RunContext;

struct DbfField {
    QString name;       // upper case as stored, at most 10 characters
    char type = 'C';    // 'C' character, 'N' numeric, 'F' float, 'D' date, 'L' logical
    int length = 0;     // width in bytes
    int decimals = 0;   // for 'N' and 'F'
    int offset = 0;     // offset of the field inside the record (after the deletion flag)
};

class DbfFile {
public:
    ~DbfFile();
    DbfFile(const DbfFile&) = delete;
    DbfFile& operator=(const DbfFile&) = delete;

    // Opens an existing file (read-write unless readOnly) and validates it.
    // Writes go through the run's file seam (a read-only run opens every file
    // for reading only), and a file the run already checked, unchanged since,
    // is not checked again; without a run, the handle makes a default seam
    // of its own and checks everything.
    static std::unique_ptr<DbfFile> open(const QString& path, bool readOnly = false, RunContext* run = nullptr);
    // Creates (or replaces) a file with the given fields and no record,
    // through the run's seam (a default one without a run). The header date
    // is given as (year, month, day) so that builds can be byte-for-byte
    // reproducible.
    static void create(const QString& path, const QVector<DbfField>& fields, RunContext* run = nullptr,
                       int year = 2020, int month = 1, int day = 1);
    // The same with these records (each recordLength() - 1 bytes of fields,
    // as blankRecord() and the encoders make them), all live.
    static void create(const QString& path, const QVector<DbfField>& fields, const QVector<QByteArray>& records,
                       RunContext* run = nullptr, int year = 2020, int month = 1, int day = 1);
    // Validates and reads a whole file image held in memory (used by the
    // fuzzer and by checks on files before they replace a table).
    static std::unique_ptr<DbfFile> fromBytes(const QByteArray& bytes, const QString& nameForMessages);

    const QString& path() const;
    const QVector<DbfField>& fields() const;
    int fieldIndex(const QString& name) const;   // case-insensitive; -1 if absent
    int recordCount() const;                     // including deleted records
    int recordLength() const;                    // including the deletion flag
    bool productionIndexFlag() const;            // header byte 28 (cleared by our first write)
    QString displayName() const;                 // the file name used in messages

    bool isDeleted(int record) const;
    // Raw bytes of one field of one record (exactly field.length bytes).
    QByteArray rawField(int record, int field) const;
    // Decoded values: text without its trailing blanks; number (blank reads 0).
    QString text(int record, int field) const;
    double number(int record, int field) const;

    // Encodes one value into the field's bytes, or throws DataError (text not
    // in cp1252, number that does not fit the width). Texts longer than the
    // field are cut to its size.
    QByteArray encodeText(int field, const QString& value) const;
    QByteArray encodeNumber(int field, double value) const;

    // Writes a whole record (recordLength() - 1 bytes, without the flag) at the
    // given index, or appends it when record == recordCount(). An append writes
    // the record, the end-of-file mark and the header's record count before
    // returning, so a process killed right after finds the record on reopening.
    void writeRecord(int record, const QByteArray& fieldBytes);
    QByteArray recordBytes(int record) const;   // without the flag
    void setDeleted(int record, bool deleted);
    QByteArray blankRecord() const;   // all blanks, without the flag

    // Unchecked access to a field's bytes, for bulk readers (index building):
    // record and field must be valid.
    const char* fieldData(int record, int field) const;
    // Reads a numeric field's bytes the way number() does (blank or not a
    // number reads 0; surrounding blanks and a decimal comma are accepted).
    static double parseNumber(const char* data, int length);
    // The same bytes as an exact count of 10^-decimals when they are a plain
    // decimal number with at most that many decimals (a blank is 0); false
    // otherwise. Orders numbers without rounding, for index building.
    static bool parseScaled(const char* data, int length, int decimals, qint64* scaled);
    // Strict reading of a number typed by the user or given as a search key:
    // false when the text (blanks aside) is not a number.
    static bool parseNumber(const QString& text, double* value);
    // The length of a field's bytes without their trailing padding (blanks,
    // and the NUL some writers use): trailing blanks never belong to a value.
    static int trimmedLength(const char* data, int length);
    // A text without its trailing padding, as a field would store it.
    static QString trimmedText(const QString& text);
    // A field's bytes as text() reads them: a number's digits without the
    // padding around them, a text without its trailing padding (leading
    // blanks belong to the text).
    static QString decodeText(const char* data, const DbfField& field);

private:
    DbfFile();
    void clearIndexFlagOnDisk();
    struct Impl;
    std::unique_ptr<Impl> d;
};
