#pragma once
// Page 3 of a bilan of several days, "Jour par jour".
//
// A table gives one row per chosen day, then their mean: the day's energy in
// kcal and the coverage of each row of page 2 in % of the need (the energy
// first, then the minerals and the vitamins in page 2's order, under their
// short names). Under it two charts: the energy of each day against the
// energy need, and the coverage of one nutrient chosen in the table across
// the days against 100 %. Bars stand in the days' order, numbered as the
// table's rows are.
//
// Like pages 1 and 2 it is drawn on a Surface from the layout it is given:
// on screen below the window's title; on paper on a sheet of its own, which
// ends with the list of the days, their files and dates. Positions are the
// screen's in pixels, times the scale on paper.
#include <QString>

#include "core/diagnosis/drawing.h"
#include "core/diagnosis/page2.h"

class Surface;

// The table's columns: 0 is the energy in kcal, column c >= 1 the rate of
// row c - 1 of LignesPage2() (column 1 the energy's).
int nbColonnesPage3();
int lignePage2DeColonne(int colonne);
// The first column showing a row of page 2.
int colonneDeLignePage2(int ligne);
// Right edge of a column (its numbers end 2 units left of it); the column
// stands between the right edge of the one before it (of the day names for
// column 0) and its own.
int bordColonnePage3(const DiagLayout& layout, int colonne);
// The row of page 2 whose column is under x, or -1.
int lignePage2EnX(const DiagLayout& layout, int x);
// The table's rows: headings on rows 2 and 3, the days from row 4, their
// mean on row 4 + n.
int rangeeJourPage3(int jour);
int rangeeMoyennePage3(int jours);
// On paper, the row where the charts under the table end.
int rangeeFinDiagrammesPapier(int jours);

// The nutrient the chart shows until another is chosen: among the minerals
// and vitamins, the one whose mean coverage is lowest (the first one when
// no rate has a value).
int nutrimentParDefaut(const DiagnosisData& data);

// The coverage in % of a row of page 2 for one day's totals; none when the
// need is 0.
std::optional<double> tauxDuJour(const LignePage2& row, const DailyTotals& totals, const GroupNeeds& needs);

// The page: heading, table, charts; nutriment is a row of page 2. The charts
// end at y = bottom.
void dessinePage3(Surface& surface, const DiagLayout& layout, const DiagnosisData& data, int nutriment,
                  int bottom);
// The screen's page 3 (bottom of the page area at y 455).
void dessinePage3Ecran(Surface& surface, const DiagnosisData& data, int nutriment);
