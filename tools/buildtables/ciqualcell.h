#pragma once
// Reading of one CIQUAL composition cell. The table marks values that are not
// plain numbers in four ways; they are read by one rule, everywhere:
//   empty or "-"  (not measured)              -> 0, flagged missing
//   "traces"                                  -> 0
//   "< x"  (below the quantification limit x) -> x / 2
//   a number with a decimal comma ("4,63")    -> that number
// Anything else is refused.
#include <QString>
#include <optional>

struct CiqualValue {
    double value = 0;
    bool missing = false;   // "-" or empty: CIQUAL gives no value
};

// The value of a cell, or nothing when the text is none of the forms above.
std::optional<CiqualValue> parseCiqualCell(const QString& text);
