#include "core/dbf/collation.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/dbf/dbf.h"

namespace {

struct Tables {
    // Folded form of each cp1252 byte: one or two bytes (second 0 if none).
    std::array<std::array<unsigned char, 2>, 256> fold{};
    // Rank of each byte's character in Unicode order, for the exact step.
    std::array<unsigned char, 256> rank{};
    std::array<unsigned char, 256> lower{};

    Tables() {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
        const QString chars = Cp1252::decode(all);

        for (int b = 0; b < 256; ++b) {
            const QChar c = chars[b];
            const char16_t u = c.unicode();
            unsigned char f0 = static_cast<unsigned char>(b), f1 = 0;
            auto two = [&](char x, char y) {
                f0 = static_cast<unsigned char>(x);
                f1 = static_cast<unsigned char>(y);
            };
            if (u >= 'A' && u <= 'Z') {
                f0 = static_cast<unsigned char>(u - 'A' + 'a');
            } else if (u == 0x00C6 || u == 0x00E6) {
                two('a', 'e');
            } else if (u == 0x0152 || u == 0x0153) {
                two('o', 'e');
            } else if (u == 0x00DF) {
                two('s', 's');
            } else if (u == 0x00DE || u == 0x00FE) {
                two('t', 'h');
            } else if (u == 0x00D0 || u == 0x00F0) {
                f0 = 'd';
            } else if (u == 0x00D8 || u == 0x00F8) {
                f0 = 'o';
            } else if (u == 0x0192) {
                f0 = 'f';
            } else if (u >= 0x80 && c.decompositionTag() == QChar::Canonical) {
                // Accented letters: their base letter.
                const QChar base = c.decomposition().at(0);
                if (base.unicode() < 0x80 && base.isLetter())
                    f0 = static_cast<unsigned char>(base.toLower().unicode());
            } else if (u == 0) {
                f0 = 1;   // 0x00 is the separator of the key
            }
            fold[b] = {f0, f1};

            const QChar l = c.toLower();
            const int lb = Cp1252::canEncode(QString(l)) ? Cp1252::encode(QString(l)).at(0) : b;
            lower[b] = static_cast<unsigned char>(lb);
        }

        std::array<int, 256> order{};
        for (int b = 0; b < 256; ++b) order[b] = b;
        std::sort(order.begin(), order.end(),
                  [&](int x, int y) { return chars[x].unicode() < chars[y].unicode(); });
        for (int i = 0; i < 256; ++i) rank[order[i]] = static_cast<unsigned char>(i);
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

}   // namespace

namespace Collation {

QByteArray key(const char* p, int n) {
    const Tables& t = tables();
    // Written into a buffer of the largest size, then cut: a key is built
    // for every record when a text tag is first used.
    QByteArray k(3 * n + 1, Qt::Uninitialized);
    char* out = k.data();
    for (int i = 0; i < n; ++i) {
        const auto& f = t.fold[static_cast<unsigned char>(p[i])];
        *out++ = static_cast<char>(f[0]);
        if (f[1]) *out++ = static_cast<char>(f[1]);
    }
    *out++ = '\0';
    for (int i = 0; i < n; ++i) *out++ = static_cast<char>(t.rank[static_cast<unsigned char>(p[i])]);
    k.truncate(static_cast<int>(out - k.constData()));
    return k;
}

QByteArray key(const QString& text) {
    const QString t = DbfFile::trimmedText(text);
    if (Cp1252::canEncode(t)) {
        const QByteArray bytes = Cp1252::encode(t);
        return key(bytes.constData(), bytes.size());
    }
    // Characters outside cp1252 become 0xFF in both parts, which sorts last.
    QByteArray folded, exact;
    const Tables& tb = tables();
    for (int i = 0; i < t.size(); ++i) {
        const QString one(t[i]);
        if (Cp1252::canEncode(one)) {
            const unsigned char b = static_cast<unsigned char>(Cp1252::encode(one).at(0));
            folded.append(static_cast<char>(tb.fold[b][0]));
            if (tb.fold[b][1]) folded.append(static_cast<char>(tb.fold[b][1]));
            exact.append(static_cast<char>(tb.rank[b]));
        } else {
            folded.append('\xFF');
            exact.append('\xFF');
        }
    }
    return folded + QByteArray(1, '\0') + exact;
}

QByteArray firstStepKey(const QString& text) {
    // The folded part holds no 0x00 byte: the separator ends it, and no exact
    // part comes before an empty one.
    const QByteArray k = key(text);
    return k.left(k.indexOf('\0') + 1);
}

int compare(const QByteArray& a, const QByteArray& b) {
    const int n = std::min(a.size(), b.size());
    const int c = std::memcmp(a.constData(), b.constData(), static_cast<size_t>(n));
    if (c != 0) return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

unsigned char lowerByte(unsigned char b) { return tables().lower[b]; }

QByteArray lowered(QByteArray b) {
    for (char& c : b) c = static_cast<char>(lowerByte(static_cast<unsigned char>(c)));
    return b;
}

TextEquality::TextEquality(const QString& text, bool caseBlind)
    : m_encodable(Cp1252::canEncode(text)), m_caseBlind(caseBlind) {
    if (!m_encodable) return;
    m_bytes = Cp1252::encode(text);
    m_bytes.truncate(DbfFile::trimmedLength(m_bytes.constData(), m_bytes.size()));
    if (m_caseBlind) m_bytes = lowered(m_bytes);
}

bool TextEquality::matches(const char* p, int length) const {
    if (!m_encodable) return false;
    const int n = DbfFile::trimmedLength(p, length);
    if (n != m_bytes.size()) return false;
    if (!m_caseBlind) return std::memcmp(p, m_bytes.constData(), static_cast<size_t>(n)) == 0;
    for (int i = 0; i < n; ++i)
        if (lowerByte(static_cast<unsigned char>(p[i])) != static_cast<unsigned char>(m_bytes[i])) return false;
    return true;
}

}   // namespace Collation
