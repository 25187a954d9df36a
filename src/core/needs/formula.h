#pragma once
// The small formula language of needs.csv. A cell's value is an expression of
//   numbers (decimal point)          0.35  239  58.5
//   other rows of the same group     L1 (energy), L2, ... L29
//   EFSA reference values            EFSA[Nutrient|Target population|Age|Gender]
//   the mean of several values       moyenne(a, b, ...)
// combined with + - * / and parentheses. An EFSA term stands for the chosen
// reference converted to the row's unit; an increment ("(+) x", pregnancy and
// lactation) may only be added to a base value in the same formula.
#include <QString>
#include <functional>

struct FormulaContext {
    // Value of row n (1..29) of the same group; may throw DataError.
    std::function<double(int row)> row;
    // Value of an EFSA term (the text between the brackets), already in the
    // row's unit; sets *increment for "(+)" values. May throw DataError.
    std::function<double(const QString& ref, bool* increment)> efsa;
};

// Evaluates the formula; throws DataError with a French message (the caller
// adds where the formula was written) on a syntax error, a division by zero,
// or an increment that is not added to any base value.
double evaluateFormula(const QString& formula, const FormulaContext& context);
