#pragma once
// Printing the diagnosis: page 1 and page 2 on one portrait sheet of the
// current printer (or the PDF that stands in for it), at the scale of the
// printer's page width. A bilan of several days adds a second sheet: the
// page "Jour par jour" and the list of the days with their dates.
#include "core/diagnosis/drawing.h"

class PrinterService;

// Prints the sheet (and, for several days, the second one with its chart of
// the nutrient given, a row of page 2); returns the number of advice lines
// printed. Printer errors throw DataError.
int imprimeBilan(PrinterService& printers, const DiagnosisData& data, int nutriment = 1);
