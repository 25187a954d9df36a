#include "diagnosis/impression.h"

#include <QPrinter>

#include "core/diagnosis/sheet.h"
#include "ui/paintersurface.h"
#include "ui/printerservice.h"

int imprimeBilan(PrinterService& printers, const DiagnosisData& data, int nutriment) {
    const bool jours = !data.jours.isEmpty();
    PrintJob job(printers, jours ? QStringLiteral("bilan-jours") : QStringLiteral("bilan"),
                 QPageLayout::Portrait);
    QPainter& painter = job.begin();
    const int s = Echelle(job.printer().width());
    PainterSurface surface(painter);
    const int nbConseils = dessineFeuille(surface, s, data);
    if (jours) {
        job.printer().newPage();
        dessineFeuilleJours(surface, s, data, nutriment);
    }
    job.finish();
    return nbConseils;
}
