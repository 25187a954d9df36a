#pragma once
// The printed sheets of a diagnosis. The first holds page 1 and, below its
// advice, page 2; a bilan of several days adds a second sheet with page 3
// and the list of its days. Both are drawn in "Times New Roman" from the
// paper layout of scale s (Echelle of the printer's page width), on any
// Surface: the printer's painter, or a recording surface in tests.
#include "core/diagnosis/drawing.h"

// The first sheet: page 1 then page 2 below its advice. Returns NbConseils.
int dessineFeuille(Surface& surface, int s, const DiagnosisData& data);
// The second sheet of a bilan of several days: page 3 with nutriment (a row
// of page 2) in its chart, then the list of the days with their files,
// dates, lines and energy.
void dessineFeuilleJours(Surface& surface, int s, const DiagnosisData& data, int nutriment);
