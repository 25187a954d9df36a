#include "core/search/wordsearch.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/dbf/collation.h"
#include "core/dbf/dbf.h"

namespace {

// What each cp1252 byte becomes in a folded text: one or two letters or
// digits, or a blank (0 in the second place when there is one byte).
struct FoldTable {
    std::array<std::array<char, 2>, 256> to{};
    FoldTable() {
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            // The collation's first step already folds case, accents and
            // ligatures: its key starts with the folded letters.
            const QByteArray key = Collation::key(&c, 1);
            const QByteArray folded = key.left(key.indexOf('\0'));
            std::array<char, 2> out{' ', 0};
            auto keep = [](char x) { return (x >= 'a' && x <= 'z') || (x >= '0' && x <= '9'); };
            if (!folded.isEmpty() && keep(folded[0])) {
                out[0] = folded[0];
                if (folded.size() > 1 && keep(folded[1])) out[1] = folded[1];
            }
            to[b] = out;
        }
    }
};

const FoldTable& foldTable() {
    static const FoldTable t;
    return t;
}

// A character that no folded name holds: a typed character outside cp1252
// finds nothing.
constexpr char kNowhere = '\x7f';

// The fold of a character: from the table for the characters cp1252 holds,
// kNowhere for the others.
const std::array<char, 2>& foldOf(QChar c) {
    static const std::array<char, 2> nowhere{kNowhere, 0};
    const FoldTable& t = foldTable();
    const char16_t u = c.unicode();
    // Below 0x80 and from 0xA0 cp1252 is Latin-1: the byte is the character.
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return t.to[u];
    const QString one(c);
    if (!Cp1252::canEncode(one)) return nowhere;
    return t.to[static_cast<unsigned char>(Cp1252::encode(one).at(0))];
}

// Appends the folded form of text to out: words separated by one blank, no
// blank at either end.
void appendFolded(const QString& text, QByteArray& out) {
    const int begin = out.size();
    bool blank = true;   // no blank before the first word
    auto put = [&](char c) {
        if (c == ' ') {
            if (!blank) out.append(' ');
            blank = true;
        } else {
            out.append(c);
            blank = false;
        }
    };
    for (const QChar c : text) {
        const auto& f = foldOf(c);
        put(f[0]);
        if (f[1]) put(f[1]);
    }
    if (out.size() > begin && out.endsWith(' ')) out.chop(1);
}

const char* findIn(const char* from, const char* to, const QByteArray& word) {
    if (to - from < word.size()) return nullptr;
    return static_cast<const char*>(
        ::memmem(from, static_cast<size_t>(to - from), word.constData(), static_cast<size_t>(word.size())));
}

}   // namespace

QByteArray WordSearch::fold(const QString& text) {
    QByteArray out;
    appendFolded(text, out);
    return out;
}

void WordSearch::setNames(const QStringList& names) {
    m_text.clear();
    m_starts.clear();
    m_text.reserve(names.size() * 32);
    m_starts.reserve(names.size() + 1);
    for (const QString& n : names) {
        m_starts << m_text.size();
        // The blank before the name makes its first word start like the others.
        m_text.append(' ');
        appendFolded(n, m_text);
        m_text.append('\n');
    }
    m_starts << m_text.size();
}

QVector<int> WordSearch::find(const QString& text) const {
    const QByteArray typed = fold(text);
    QVector<QByteArray> words;
    for (const QByteArray& w : typed.split(' '))
        if (!w.isEmpty() && !words.contains(w)) words << w;
    QVector<int> out;
    const int n = size();
    if (words.isEmpty()) {
        out.resize(n);
        for (int i = 0; i < n; ++i) out[i] = i;
        return out;
    }
    // The longest word is the rarest: the pass looks for it, the others are
    // checked in the names it is found in.
    std::stable_sort(words.begin(), words.end(),
                     [](const QByteArray& a, const QByteArray& b) { return a.size() > b.size(); });
    const QByteArray prefix = ' ' + typed;
    QVector<QByteArray> starts;
    for (const QByteArray& w : words) starts << ' ' + w;

    QVector<int> ranks[3];
    const char* base = m_text.constData();
    const char* end = base + m_text.size();
    const char* from = base;
    while (const char* hit = findIn(from, end, words.first())) {
        const int at = static_cast<int>(hit - base);
        const int i =
            static_cast<int>(std::upper_bound(m_starts.cbegin(), m_starts.cend(), at) - m_starts.cbegin()) - 1;
        const char* nameBegin = base + m_starts[i];
        const char* nameEnd = base + m_starts[i + 1] - 1;   // the line's end
        from = nameEnd + 1;
        bool all = true;
        for (int w = 1; all && w < words.size(); ++w) all = findIn(nameBegin, nameEnd, words[w]) != nullptr;
        if (!all) continue;
        int rank = 0;
        if (nameEnd - nameBegin < prefix.size() ||
            std::memcmp(nameBegin, prefix.constData(), prefix.size()) != 0) {
            rank = 1;
            for (const QByteArray& s : starts)
                if (!findIn(nameBegin, nameEnd, s)) {
                    rank = 2;
                    break;
                }
        }
        ranks[rank] << i;
    }
    out.reserve(ranks[0].size() + ranks[1].size() + ranks[2].size());
    for (const QVector<int>& r : ranks) out += r;
    return out;
}
