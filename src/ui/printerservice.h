#pragma once
// The program's current printer: the one last chosen in a print dialog,
// else the system's default printer. Where the system has no printer at all,
// a document is written as a PDF file in the Data directory instead and the
// user is told its name. Tests send every document to a PDF file of their
// own (setPdfOutput). The run's Desktop holds its one PrinterService.
//
// A document is printed through a PrintJob:
//     PrintJob job(desktop.printers(), QStringLiteral("bilan"), QPageLayout::Portrait);
//     QPainter& p = job.begin();      // throws DataError when it cannot start
//     ... draw on p, in printer dots (job.printer().width() wide) ...
//     job.finish();                   // ends the document, tells a PDF's name
#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <memory>

class QPrinter;

class RunContext;

class PrinterService {
public:
    // PDF files fall back into the run's Data directory, and the user is
    // told their names through its Prompter.
    explicit PrinterService(RunContext& run) : m_run(run) {}

    RunContext& run() { return m_run; }
    // Remembers the printer chosen in a print dialog as the current printer.
    void setChosenPrinter(const QPrinter& printer);
    // The printer documents go to: the chosen one while it still exists,
    // else the default, else any printer the system has ("" when none).
    QString printerName() const;
    // Sends every document to this PDF file (tests, benchmarks); an empty
    // path goes back to the printers.
    void setPdfOutput(const QString& path) { m_pdfOutput = path; }
    QString pdfOutput() const { return m_pdfOutput; }
    // The PDF file a document would be written to when the system has no
    // printer: "<base>-<date>-<time>.pdf" in the Data directory, not yet used.
    QString fallbackPdfPath(const QString& baseName) const;

private:
    RunContext& m_run;
    QString m_chosen;
    QString m_pdfOutput;
};

class PrintJob {
public:
    // baseName names the PDF file written when there is no printer.
    PrintJob(PrinterService& printers, const QString& baseName,
             QPageLayout::Orientation orientation = QPageLayout::Portrait);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    QPrinter& printer();
    // Begins the document; a printer that refuses it throws DataError with a
    // French message naming the printer (or the file).
    QPainter& begin();
    // Ends the document. When it went to a PDF file (in place of a missing
    // printer, or chosen in the print dialog) the user is told the name of
    // the file written, as the dialog left it. A failure throws DataError.
    void finish();
    // The PDF file written, when the document goes to one: the printer's
    // output file, which the print dialog may have renamed.
    QString pdfPath() const;
    // True when the PDF stands in for a missing printer.
    bool isFallback() const { return m_fallback; }

private:
    PrinterService& m_printers;
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    bool m_fallback = false;
};
