#pragma once
// TFcompimpr: the hidden container of the chosen-list report QRcompimpr,
// created at start-up and never shown itself. The composition window runs
// the report on its Choice table handle: the lines are read into the banded
// report of the core (RapportListe), which a print preview shows page by
// page and from which the user prints or closes.
#include <QDateTime>
#include <functional>

#include "core/compose/report.h"
#include "ui/modalwindow.h"

class QPrinter;
class QPrintPreviewDialog;
class Table;

class TFcompimpr : public ModalWindow {
    Q_OBJECT
public:
    explicit TFcompimpr(QWidget* parent = nullptr);
    ~TFcompimpr() override;

    // The report of the table's lines in a print preview, modal over the
    // window that runs it; nothing at all when the table has no line.
    void Preview(Table& tchoix);
    // The report straight to the current printer (or its PDF file).
    void Print(Table& tchoix);

    // Sets the footer height from the number of lines before printing.
    void QRcompimprBeforePrint(int nbLignes);
    int hauteurPied() const { return m_hauteurPied; }

    // How the preview dialog is run: exec() unless replaced (tests and
    // screenshots look at it and close it).
    using Apercu = std::function<void(QPrintPreviewDialog&)>;
    void setApercu(Apercu apercu);
    // The date and time printed in the title; the current ones when not set.
    void setHorodatage(const QDateTime& quand);

    // Draws every page of a report on a printer (a new page between pages).
    static void imprimeSur(QPrinter& printer, const RapportListe& rapport);

private:
    RapportListe rapport(Table& tchoix);

    Apercu m_apercu;
    QDateTime m_quand;
    int m_hauteurPied = Bandes::PiedDessin;
};
