#include "ui/printerservice.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/dbf/datadir.h"
#include "core/dbf/dataerror.h"
#include "core/interfaces/prompter.h"

namespace {
QString& chosenPrinter() {
    static QString name;
    return name;
}
QString& testPdf() {
    static QString path;
    return path;
}

// The printer documents go to: the chosen one while it still exists, else the
// default, else any printer the system has.
QString printerName() {
    const QString chosen = chosenPrinter();
    if (!chosen.isEmpty() && !QPrinterInfo::printerInfo(chosen).isNull()) return chosen;
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (!def.isNull()) return def.printerName();
    const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
    return all.isEmpty() ? QString() : all.first().printerName();
}

void setUpPdf(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}
}  // namespace

namespace PrinterService {

void setChosenPrinter(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::NativeFormat) chosenPrinter() = printer.printerName();
}

QString currentPrinterName() { return testPdf().isEmpty() ? printerName() : QString(); }

void setPdfOutput(const QString& path) { testPdf() = path; }
QString pdfOutput() { return testPdf(); }

QString fallbackPdfPath(const QString& baseName) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir dir(DataDir::path());
    QString path = dir.filePath(QStringLiteral("%1-%2.pdf").arg(baseName, stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2-%3.pdf").arg(baseName, stamp).arg(n));
    return path;
}

}  // namespace PrinterService

PrintJob::PrintJob(const QString& baseName, QPageLayout::Orientation orientation)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    if (!PrinterService::pdfOutput().isEmpty()) {
        setUpPdf(*m_printer, PrinterService::pdfOutput());
    } else {
        const QString name = printerName();
        if (name.isEmpty()) {
            m_fallback = true;
            setUpPdf(*m_printer, PrinterService::fallbackPdfPath(baseName));
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
                                .arg(DataDir::shown(pdfPath())));
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
                                .arg(DataDir::shown(pdfPath())));
        throw DataError(QStringLiteral("L'impression sur « %1 » a échoué.").arg(m_printer->printerName()));
    }
    // The file named is the one written: the print dialog may have renamed
    // it, or sent to a file a document meant for a printer.
    if (pdfPath().isEmpty() || !PrinterService::pdfOutput().isEmpty()) return;
    const QString fichier = DataDir::shown(pdfPath());
    prompter().message(Prompter::Kind::Information,
                       m_fallback ? QStringLiteral("Aucune imprimante n'est installée : le document a été "
                                                   "enregistré dans le fichier « %1 ».")
                                        .arg(fichier)
                                  : QStringLiteral("Le document a été enregistré dans le fichier « %1 ».")
                                        .arg(fichier));
}
