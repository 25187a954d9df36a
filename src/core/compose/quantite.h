#pragma once
// The quantity prompt shared by adding and modifying a line: the user types a
// whole number of grams; empty or "0" is refused, above 10000 is refused, and
// a text that is not a whole number stops the command with the conversion
// error. Negative numbers and texts such as "00" are accepted.
#include <QString>
#include <optional>

#include "core/interfaces/prompter.h"

namespace Quantite {
// The largest quantity accepted, in grams.
constexpr int Maximum = 10000;

// Converts a signed whole number: blanks around it, an optional sign and
// decimal digits, within 32 bits. Anything else throws DataError with the
// message "'" + text + "' n'est pas une valeur entière correcte".
int entierDe(const QString& text);

// Applies the rules to a text the user has typed: nullopt when the text is
// refused (the message has been shown), the quantity otherwise. Throws the
// conversion error for a text that is not a whole number.
std::optional<double> controle(Prompter& prompter, const QString& text);

// Asks through the prompter, with the title "Quantité en gramme" and the given
// prompt, an empty entry field; nullopt on Annuler or a refused text.
std::optional<double> saisie(Prompter& prompter, const QString& prompt);
}
