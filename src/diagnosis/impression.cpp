#include "diagnosis/impression.h"

#include <QPrinter>

#include "core/diagnosis/page2.h"
#include "ui/paintersurface.h"
#include "ui/printerservice.h"

int imprimeBilan(PrinterService& printers, const DiagnosisData& data) {
    PrintJob job(printers, QStringLiteral("bilan"), QPageLayout::Portrait);
    QPainter& painter = job.begin();
    const int s = Echelle(job.printer().width());
    PainterSurface surface(painter);
    const int nbConseils = dessineFeuille(surface, s, data);
    job.finish();
    return nbConseils;
}
