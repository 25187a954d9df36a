#pragma once
// Printing the diagnosis: page 1 and page 2 on one portrait sheet of the
// current printer (or the PDF that stands in for it), at the scale of the
// printer's page width.
#include "core/diagnosis/drawing.h"

class PrinterService;

// Prints the sheet; returns the number of advice lines printed. Printer
// errors throw DataError.
int imprimeBilan(PrinterService& printers, const DiagnosisData& data);
