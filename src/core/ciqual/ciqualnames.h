#pragma once
// The names CIQUAL foods take in the Food table, whose NOM holds 30
// characters: one implementation for the table builder (the whole CIQUAL as a
// Food table) and the program (a CIQUAL food added to the user's table).
//
// A name that fits is kept as it is. A longer one is shortened only as far as
// needed: CIQUAL's recurring phrases first ("bouilli/cuit à l'eau" becomes
// "bouilli", "matière grasse" "MG", "appertisé" "conserve"...), then its
// parenthesised parts dropped, then it is cut at the last word boundary that
// fits, without trailing punctuation or a dangling small word ("de", "à",
// "et"...).
#include <QString>
#include <QStringList>

namespace CiqualNames {
// The name in at most maxLength characters.
QString shortName(const QString& name, int maxLength = 30);
// Makes names unique (letter case ignored) by appending " (2)", " (3)"...,
// shortening the name further so that the result still fits.
QStringList uniqueNames(const QStringList& names, int maxLength = 30);
}
