#pragma once
// Page 1 of the diagnosis: energy intake beside the group's need, the split
// between proteins, carbohydrates and lipids with the share of energy of
// each family, the fatty-acid profile and up to six advice sentences.
//
// The steps draw in this order, because later texts cover earlier ones where
// they overlap: EnTetePage (page 1), LibellesPage1, BesoinsPage1,
// ApportsPage1, ConseilsPage1. Where a quotient has no value (an energy of
// 0, fatty acids all 0) a dash stands in the number's place and no advice
// rests on it.
#include <QStringList>

#include "core/diagnosis/drawing.h"

class Surface;

// Fixed texts: dotted leaders, then labels over their start.
void LibellesPage1(Surface& surface, const DiagLayout& layout);
// The recommended column (blue): energy need in kcal and kJ, the six needs in
// grams, the ideal proportions of energy.
void BesoinsPage1(Surface& surface, const DiagLayout& layout, const GroupNeeds& needs);
// The intake column (blue): energy in kcal and kJ, the six macronutrients,
// the energy of each family and its share, the fatty acids and their shares.
void ApportsPage1(Surface& surface, const DiagLayout& layout, const DailyTotals& totals);
// The recommended share of lipids in energy, in %, rounded (qL): the one
// the first advice sentence and the row-14 ideal proportion use.
std::optional<long long> PartLipidesRecommandee(const GroupNeeds& needs);
// The advice sentences that hold, in their fixed order (at most six).
QStringList conseils(const DailyTotals& totals, const GroupNeeds& needs);
// Draws them in red on rows 20 to 25; returns their number (NbConseils).
int ConseilsPage1(Surface& surface, const DiagLayout& layout, const DailyTotals& totals,
                  const GroupNeeds& needs);
// The whole page in drawing order; returns NbConseils.
int dessinePage1(Surface& surface, const DiagLayout& layout, const DiagnosisData& data);
