// cp1252, the code page of the tables: decoding, and encoding with the first
// character it cannot hold named.
#include "core/dbf/dbf.h"

#include "core/io/dataerror.h"

namespace {

// Characters of the bytes 0x80..0x9F. The five bytes that Windows leaves
// unassigned map to the C1 control of the same value, so every byte decodes
// to one character and encodes back to itself.
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// -1 when the character has no cp1252 byte.
inline int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c) return 0x80 + i;
    return -1;
}

}   // namespace

namespace Cp1252 {

// The character at position i of text, joining a surrogate pair, for messages.
QString characterAt(const QString& text, int i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) return text.mid(i, 2);
    return text.mid(i, 1);
}

int firstUnencodable(const QString& text) {
    for (int i = 0; i < text.size(); ++i)
        if (byteOf(text[i].unicode()) < 0) return i;
    return -1;
}


QString decode(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* o = out.data();
    for (int i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        o[i] = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return out;
}

bool canEncode(const QString& text) { return firstUnencodable(text) < 0; }

QByteArray encode(const QString& text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    for (int i = 0; i < text.size(); ++i) {
        const int b = byteOf(text[i].unicode());
        if (b < 0)
            throw DataError(QStringLiteral("Le caractère « %1 » ne peut pas être enregistré : "
                                           "il n'existe pas dans le jeu de caractères Windows "
                                           "occidental (cp1252) des tables.")
                                .arg(characterAt(text, i)));
        out[i] = static_cast<char>(b);
    }
    return out;
}

}   // namespace Cp1252
