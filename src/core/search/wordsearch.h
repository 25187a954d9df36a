#pragma once
// WordSearch: finds, among a list of names, those that hold every word of a
// typed text, in any order, letter case and accents aside: "poulet roti"
// finds "Poulet, rôti", "creme" finds "Crème fraîche", "roti poulet" finds it
// too. A word is held anywhere in the name ("oulet" is in "Poulet").
//
// Best matches come first: the names that start with the text as typed, then
// those where every word starts a word of the name, then the others; within
// each rank the names keep the order they were given in (the caller gives
// them in the order it shows them, by name).
//
// Names and texts are compared folded: letters in lower case without their
// accents (the ligatures as their two letters: "Œuf" is "oeuf"), digits as
// they are, every other character (punctuation, apostrophes, blanks) a
// single blank between words. The folded names are kept end to end in one
// buffer, so that a search is one pass of the fastest substring search over
// it, however many names there are.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class WordSearch {
public:
    WordSearch() = default;
    explicit WordSearch(const QStringList& names) { setNames(names); }

    void setNames(const QStringList& names);
    int size() const { return m_starts.isEmpty() ? 0 : m_starts.size() - 1; }

    // The indexes of the names that hold every word of text, best first. A
    // text without a word (empty, blanks, punctuation) finds every name, in
    // the order given.
    QVector<int> find(const QString& text) const;

    // A text as the search compares it.
    static QByteArray fold(const QString& text);

private:
    QByteArray m_text;       // " folded name\n" for each name, end to end
    QVector<int> m_starts;   // where each name starts in m_text, then its size
};
