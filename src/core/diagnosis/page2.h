#pragma once
// Page 2 of the diagnosis: for energy and twenty minerals and vitamins, the
// day's intake, the group's need, the coverage rate and a bar of that rate
// capped at 100 %.
//
// Rows stand relative to a base row d (layout.page2Base): the headings on row
// d + 21, the data rows on d + 23 to d + 43. On screen d = -19; on paper
// page 2 follows page 1 on the same sheet, d being the number of advice lines.
// A row whose need is 0 shows a dash for its rate and no bar.
#include <QString>
#include <QVector>

#include "core/diagnosis/drawing.h"

class Surface;

// One data row of page 2.
struct LignePage2 {
    QString label;              // "- Calcium"
    DailyTotals::Slot intake;   // its Daily totals slot
    GroupNeeds::Slot need;      // its Group needs slot
    QString suffix;             // " mg"
    double factor;              // shown values multiplied by it (1000 for vitamin D, in µg)
    QString symbol;             // its short name in a narrow column: "Ca", "B9", "kcal"
};
// The 21 rows in their drawing order (energy, then the minerals in the
// alphabetical order of their French names, then the vitamins).
const QVector<LignePage2>& LignesPage2();

// The coverage rate of a row in %, unrounded, from the stored values (mg for
// vitamin D); none when the need is 0.
std::optional<double> tauxDe(const LignePage2& row, const DiagnosisData& data);

// The row under a point at height y of a drawing on this layout (a row
// stands from its y to the next row's): its index in LignesPage2(), or -1
// when y is on no data row.
int lignePage2En(const DiagLayout& layout, int y);
// The field a row sums ("CALORIES", "CA", "FE"...).
QString champPage2(const LignePage2& row);

// Headings and row labels.
void LibellesPage2(Surface& surface, const DiagLayout& layout);
// Intakes, right edge 180.
void ApportsPage2(Surface& surface, const DiagLayout& layout, const DiagnosisData& data);
// Needs, right edge 300.
void BesoinsPage2(Surface& surface, const DiagLayout& layout, const DiagnosisData& data);
// Rates, right edge 400, then the marks of NotesNonMesures.
void TauxPage2(Surface& surface, const DiagLayout& layout, const DiagnosisData& data);
// A "*" after each rate that rests on a chosen food without a measured value
// for its nutrient, and one line under the list saying for how many chosen
// foods; nothing when no rate is marked.
void NotesNonMesures(Surface& surface, const DiagLayout& layout, const DiagnosisData& data);
QString texteNonMesures(int aliments);
// The chosen foods lacking a value of page 2 (what the line under the list counts).
int alimentsNonMesuresPage2(const NonMesures& nm);
// One bar per row at x 450 (none where the rate has no value).
void BarresPage2(Surface& surface, const DiagLayout& layout, const DiagnosisData& data);
// One bar: a line of pen width 5 (times the scale on paper), 7 below y, as
// long as the rate capped at 100 (times the scale on paper). A negative rate
// draws a bar of length 0.
void BarreTaux(Surface& surface, const DiagLayout& layout, int x, int y, quint32 colour, double rate);

// Page 2 on screen order: title, labels, intakes, needs, rates, bars.
void dessinePage2(Surface& surface, const DiagLayout& layout, const DiagnosisData& data);
