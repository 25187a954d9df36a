#pragma once
// TFcompimpr: the hidden container of the chosen-list report QRcompimpr,
// created by the composition window and never shown itself. That window runs
// the report on its Choice table handle: the lines are read into the banded
// report of the core (ChoiceReport), which a print preview shows page by
// page and from which the user prints or closes.
#include <QDateTime>

#include "core/compose/choicereport.h"
#include "ui/modalwindow.h"

class Desktop;
class QPrinter;
class Table;

class TFcompimpr : public ModalWindow {
    Q_OBJECT
public:
    // The preview runs on the desktop, and prints to its printers.
    explicit TFcompimpr(Desktop& desktop, QWidget* parent = nullptr);
    ~TFcompimpr() override;

    // The report of the table's lines in a print preview, modal over the
    // window that runs it; nothing at all when the table has no line.
    void Preview(Table& tchoix);
    // The report straight to the current printer (or its PDF file).
    void Print(Table& tchoix);

    // Sets the footer height from the number of lines before printing.
    void QRcompimprBeforePrint(int nbLignes);
    int hauteurPied() const { return m_hauteurPied; }

    // The date and time printed in the title; the current ones when not set.
    void setTimestamp(const QDateTime& quand);

    // Draws every page of a report on a printer (a new page between pages).
    static void imprimeSur(QPrinter& printer, const ChoiceReport& rapport);

private:
    ChoiceReport rapport(Table& tchoix);

    Desktop& m_desktop;
    QDateTime m_quand;
    int m_hauteurPied = Bandes::PiedDessin;
};
