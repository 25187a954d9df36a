#include "ui/printerservice.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/io/runcontext.h"
#include "core/io/dataerror.h"

namespace {

void setUpPdf(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}
}   // namespace

void PrinterService::setChosenPrinter(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::NativeFormat) m_chosen = printer.printerName();
}

QString PrinterService::printerName() const {
    if (!m_chosen.isEmpty() && !QPrinterInfo::printerInfo(m_chosen).isNull()) return m_chosen;
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (!def.isNull()) return def.printerName();
    const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
    return all.isEmpty() ? QString() : all.first().printerName();
}

QString PrinterService::fallbackPdfPath(const QString& baseName) const {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir dir(m_run.dataDir().path());
    QString path = dir.filePath(QStringLiteral("%1-%2.pdf").arg(baseName, stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2-%3.pdf").arg(baseName, stamp).arg(n));
    return path;
}

PrintJob::PrintJob(PrinterService& printers, const QString& baseName, QPageLayout::Orientation orientation)
    : m_printers(printers), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    if (!printers.pdfOutput().isEmpty()) {
        setUpPdf(*m_printer, printers.pdfOutput());
    } else {
        const QString name = printers.printerName();
        if (name.isEmpty()) {
            m_fallback = true;
            setUpPdf(*m_printer, printers.fallbackPdfPath(baseName));
        } else {
            m_printer->setPrinterName(name);
        }
    }
    m_printer->setPageOrientation(orientation);
    m_printer->setDocName(baseName);
}

PrintJob::~PrintJob() {
    if (m_painter.isActive()) m_painter.end();
}

QPrinter& PrintJob::printer() { return *m_printer; }

QString PrintJob::pdfPath() const {
    return m_printer->outputFormat() == QPrinter::PdfFormat ? m_printer->outputFileName() : QString();
}

QPainter& PrintJob::begin() {
    if (!m_painter.begin(m_printer.get())) {
        if (!pdfPath().isEmpty())
            throw DataError(QStringLiteral("Impossible d'écrire le fichier « %1 » : l'impression est annulée.")
                                .arg(m_printers.run().dataDir().shown(pdfPath())));
        throw DataError(QStringLiteral("L'imprimante « %1 » refuse le document : l'impression est annulée.")
                            .arg(m_printer->printerName()));
    }
    return m_painter;
}

void PrintJob::finish() {
    const bool ended = m_painter.isActive() ? m_painter.end() : true;
    if (!ended || m_printer->printerState() == QPrinter::Error) {
        if (!pdfPath().isEmpty())
            throw DataError(QStringLiteral("L'écriture du fichier « %1 » a échoué.")
                                .arg(m_printers.run().dataDir().shown(pdfPath())));
        throw DataError(QStringLiteral("L'impression sur « %1 » a échoué.").arg(m_printer->printerName()));
    }
    // The file named is the one written: the print dialog may have renamed
    // it, or sent to a file a document meant for a printer.
    if (pdfPath().isEmpty() || !m_printers.pdfOutput().isEmpty()) return;
    const QString fichier = m_printers.run().dataDir().shown(pdfPath());
    m_printers.run().prompter().message(
        Prompter::Kind::Information,
        m_fallback ? QStringLiteral("Aucune imprimante n'est installée : le document a été "
                                    "enregistré dans le fichier « %1 ».")
                         .arg(fichier)
                   : QStringLiteral("Le document a été enregistré dans le fichier « %1 ».").arg(fichier));
}
