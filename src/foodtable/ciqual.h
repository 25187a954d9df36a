#pragma once
// TFciqual: the window "Aliments CIQUAL 2020", opened by Table > Ajouter des
// aliments CIQUAL…, which adds foods of the whole CIQUAL table to the user's
// Food table.
//
// How data flows: each opening reads CIQUAL.DBF (CiqualCatalogue, installed
// with the program, read-only) and opens the Food table of the Data directory
// (Taliments); the word search lists the CIQUAL foods, every one while the box
// is empty; the selected food's values per 100 g are shown, the unmeasured
// ones marked, with the name and category it would take or the number of the
// food it already is. "Ajouter à la table" adds the selected foods through
// CiqualImport, which asks and tells through the Prompter. Created when opened
// and destroyed when closed.
#include <QString>
#include <memory>

#include "ui/modalwindow.h"

class CiqualCatalogue;
class CiqualImport;
class NameSearch;
class Prompter;
class RunContext;
class QLabel;
class QPushButton;
class QTableWidget;
class Table;

class TFciqual : public ModalWindow {
    Q_OBJECT
public:
    // dataDir: where the Food table and its side tables are; ciqualFile: the
    // whole CIQUAL table.
    TFciqual(RunContext& run, const QString& ciqualFile, QWidget* parent = nullptr);
    ~TFciqual() override;

    Table& Taliments() { return *m_taliments; }

    // Opens the CIQUAL table and the Food table; false (after the error's
    // message) when one of them cannot be read.
    bool FormShow() override;
    void FormClose() override;
    // "Ajouter à la table": adds the selected foods.
    void BajouterClick();
    // Shows the food of a search match (an index of the catalogue; -1: none).
    void afficheAliment(int entry);

    NameSearch* nameSearch = nullptr;
    QLabel* Lnom = nullptr;             // CIQUAL's full name
    QLabel* Lorigine = nullptr;         // "CIQUAL 2020, code 13039", group and sub-group
    QLabel* Ltable = nullptr;           // the name and category it takes, or the food it is
    QLabel* Lvaleurs = nullptr;         // the energy per 100 g, above the values
    QTableWidget* Gvaleurs = nullptr;   // the values per 100 g
    QLabel* Lnonmesure = nullptr;       // what the mark of an unmeasured value means
    QPushButton* Bajouter = nullptr;
    QPushButton* Bfermer = nullptr;

private:
    RunContext& m_run;
    QString m_ciqualFile;
    std::unique_ptr<Table> m_taliments;
    std::unique_ptr<CiqualCatalogue> m_catalogue;
    std::unique_ptr<CiqualImport> m_import;
};
