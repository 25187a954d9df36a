#pragma once
// Sort keys of the text index tags, in French order.
//
// A key orders texts in three steps:
//   1. the letters compared without regard to accents and case: "É", "é",
//      "è", "E" and "e" all count as "e"; the ligatures count as their two
//      letters ("Œ"/"œ" as "oe", "Æ"/"æ" as "ae", "ß" as "ss"); "ç" as "c".
//      Other characters count as their own code, so blanks, most
//      punctuation and digits come before the letters (a blank before a
//      comma before a digit before a letter). "Épinards" thus sorts beside
//      "Epinards", not after "Zeste";
//   2. texts equal at the first step then compare exactly, character by
//      character in Unicode order (so "Pomme" comes before "pomme", and
//      "Epinards" before "Épinards");
//   3. the table adds the record number as the last tie-break.
// Trailing blanks never count: keys are made from the text without them.
//
// The key is one byte string: the folded text of step 1, a 0x00 separator,
// then the text's characters as their rank in Unicode order (step 2). Byte-
// wise comparison of two keys is exactly the order above, and two keys are
// equal exactly when the texts are equal.
#include <QByteArray>
#include <QString>

namespace Collation {
// Key of a text given as cp1252 bytes (trailing blanks already removed).
QByteArray key(const char* cp1252, int length);
// Key of a text; characters that cp1252 cannot hold sort after every other
// character (such a text is never equal to a text of a table).
QByteArray key(const QString& text);
// The smallest key of every text that equals this one at the first step
// (letters without regard to accents and case): a search from it lands on the
// first of them, "Pomme" before "pomme" whichever of the two was typed.
QByteArray firstStepKey(const QString& text);
// Three-way comparison of two keys.
int compare(const QByteArray& a, const QByteArray& b);
// cp1252 byte of the lower-case letter of a byte (case folding that keeps
// accents: "É" and "é" are equal, "é" and "e" are not).
unsigned char lowerByte(unsigned char b);
// The bytes with every letter lowered as lowerByte does.
QByteArray lowered(QByteArray cp1252);

// "The field equals this text", as searches and filters compare a text field
// with a value: trailing blanks of both aside, letter case aside when asked
// (accents kept). A text that cp1252 cannot hold equals no field.
class TextEquality {
public:
    TextEquality(const QString& text, bool caseBlind);
    // The length bytes of a field at data.
    bool matches(const char* data, int length) const;

private:
    bool m_encodable = false;
    bool m_caseBlind = false;
    QByteArray m_bytes;   // encoded, trailing blanks removed, lowered when case-blind
};
}
