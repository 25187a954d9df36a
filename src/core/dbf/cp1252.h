#pragma once
// cp1252 (Windows Western), the code page of the tables' texts.
#include <QByteArray>
#include <QString>

namespace Cp1252 {
// Decodes cp1252 bytes (every byte maps to one character; the five unassigned
// bytes map to the matching C1 control characters so that nothing is lost).
QString decode(const QByteArray& bytes);
// True when every character of text has a cp1252 byte.
bool canEncode(const QString& text);
// Encodes; throws DataError naming the first character that cp1252 cannot hold.
QByteArray encode(const QString& text);
// Where the first character without a cp1252 byte stands (-1: none), and the
// character at a position (a surrogate pair joined), for messages.
int firstUnencodable(const QString& text);
QString characterAt(const QString& text, int i);
}
