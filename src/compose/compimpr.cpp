#include "compose/compimpr.h"

#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "core/io/runcontext.h"
#include "core/table/table.h"
#include "ui/paintersurface.h"
#include "ui/desktop.h"
#include "ui/printerservice.h"

namespace {
// A4 portrait with 10 mm on all four sides, whatever the printer's defaults.
void miseEnPage(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}
}   // namespace

TFcompimpr::TFcompimpr(Desktop& desktop, QWidget* parent) : ModalWindow(parent, -1), m_desktop(desktop) {
    setObjectName(QStringLiteral("Fcompimpr"));
    setWindowTitle(QStringLiteral("Impression de la liste des aliments choisis"));
}

TFcompimpr::~TFcompimpr() = default;

void TFcompimpr::setTimestamp(const QDateTime& quand) { m_quand = quand; }

void TFcompimpr::QRcompimprBeforePrint(int nbLignes) {
    // One page: the footer reaches up to the last row. Longer lists keep the
    // footer's drawn height on every page (see ChoiceReport).
    const int h = Bandes::hauteurPied(nbLignes);
    m_hauteurPied = h > 0 ? h : Bandes::PiedDessin;
}

ChoiceReport TFcompimpr::rapport(Table& tchoix) {
    QVector<LigneListe> lignes = lignesListe(tchoix);
    QRcompimprBeforePrint(lignes.size());
    return ChoiceReport(std::move(lignes), m_quand.isValid() ? m_quand : QDateTime::currentDateTime());
}

void TFcompimpr::imprimeSur(QPrinter& printer, const ChoiceReport& rapport) {
    QPainter painter(&printer);
    PainterSurface surface(painter, Qt::white);
    rapport.dessine(surface, printer.logicalDpiY() / 96.0, [&] { printer.newPage(); });
}

void TFcompimpr::Preview(Table& tchoix) {
    if (tchoix.isEmpty()) return;
    const ChoiceReport r = rapport(tchoix);
    PrintJob job(m_desktop.printers(), QStringLiteral("liste"));
    miseEnPage(job.printer());
    QPrintPreviewDialog dialog(&job.printer(), parentWidget());
    dialog.setWindowTitle(windowTitle());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&r](QPrinter* printer) { imprimeSur(*printer, r); });
    // Printed from the preview: the printer chosen there becomes the
    // program's printer; a file written in its place is named to the user.
    if (m_desktop.run(dialog) != QDialog::Accepted) return;
    PrinterService& printers = m_desktop.printers();
    printers.setChosenPrinter(job.printer());
    if (job.printer().outputFormat() == QPrinter::PdfFormat && printers.pdfOutput().isEmpty())
        printers.run().prompter().message(Prompter::Kind::Information,
                                          QStringLiteral("La liste a été enregistrée dans le fichier « %1 ».")
                                              .arg(QDir::toNativeSeparators(job.printer().outputFileName())));
}

void TFcompimpr::Print(Table& tchoix) {
    if (tchoix.isEmpty()) return;
    const ChoiceReport r = rapport(tchoix);
    PrintJob job(m_desktop.printers(), QStringLiteral("liste"));
    miseEnPage(job.printer());
    QPainter& painter = job.begin();
    PainterSurface surface(painter, Qt::white);
    r.dessine(surface, job.printer().logicalDpiY() / 96.0, [&] { job.printer().newPage(); });
    job.finish();
}
