// Fuzzes the codec's door: DbfFile::fromBytes on arbitrary bytes, then every
// read of every field of every record, and an append in memory. A refused
// image must come back as a DataError, never a crash; an accepted one must
// keep the codec's promises (texts re-encode to the bytes they came from,
// numbers are finite, an append counts one more record).
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/dbf/collation.h"
#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"

namespace {
void check(bool ok) {
    if (!ok) std::abort();
}
}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 22)) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    std::unique_ptr<DbfFile> file;
    try {
        file = DbfFile::fromBytes(bytes, QStringLiteral("FUZZ.DBF"));
    } catch (const DataError& e) {
        check(e.message().startsWith(QStringLiteral("Le fichier FUZZ.DBF")));
        return 0;
    }
    const QVector<DbfField>& fields = file->fields();
    check(!fields.isEmpty());
    int length = 1;
    for (const DbfField& f : fields) {
        check(f.offset == length - 1 && f.length > 0);
        length += f.length;
    }
    check(length == file->recordLength());
    const int records = file->recordCount();
    for (int r = 0; r < records; ++r) {
        (void)file->isDeleted(r);
        for (int f = 0; f < fields.size(); ++f) {
            const QByteArray raw = file->rawField(r, f);
            check(raw.size() == fields[f].length);
            const double v = file->number(r, f);
            check(std::isfinite(v));
            if (fields[f].type == 'N' || fields[f].type == 'F') {
                // The index builder's exact reading must agree with number().
                static const double pow10[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
                qint64 m = 0;
                const int d = fields[f].decimals;
                if (DbfFile::parseScaled(raw.constData(), raw.size(), d, &m) && m > -(1LL << 53) &&
                    m < (1LL << 53))
                    check(static_cast<double>(m) / pow10[d] == v);
            }
            const QString text = file->text(r, f);
            check(text.size() <= fields[f].length);
            if (fields[f].type == 'C') {
                // Every byte decodes, and encodes back to itself.
                check(Cp1252::encode(text) == raw.left(text.size()));
                const QByteArray key = Collation::key(text);
                check(Collation::compare(key, key) == 0);
            }
        }
    }
    try {
        QByteArray rec = file->blankRecord();
        for (int f = 0; f < fields.size(); ++f) {
            const DbfField& fd = fields[f];
            const QByteArray value = (fd.type == 'N' || fd.type == 'F')
                                         ? file->encodeNumber(f, 1.0)
                                         : file->encodeText(f, QStringLiteral("é"));
            rec.replace(fd.offset, fd.length, value);
        }
        file->writeRecord(records, rec);
        check(file->recordCount() == records + 1);
        check(file->recordBytes(records) == rec);
    } catch (const DataError&) {
        // 1.0 may not fit a one-character field with decimals: refused, fine.
    }
    return 0;
}
