#pragma once
// TFconsult: the Food table one food at a time, read-only: every stored field
// of the current food, its energy per 100 g (KCAL) and its category.
//
// How data flows: Taliments (the Food table, read-only, with the calculated
// field KCAL) is opened at each showing in the order last chosen; the field
// boxes follow its current record. The navigator, the sort buttons, the name
// search and the category box move it through FoodBrowser, and every move
// ends with the category box showing the current food's category. Printing
// dresses the window for paper, prints its image and undresses it again.
#include <QSize>
#include <functional>
#include <memory>

#include "core/foodtable/foodbrowser.h"
#include "ui/tablenavigator.h"
#include "foodtable/foodwindow.h"

class FieldGrid;
class IconButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class Desktop;
class Session;
class Table;

class TFconsult : public FoodWindow {
    Q_OBJECT
public:
    // The Food table of the session's run; the print dialog runs on the
    // desktop, which prints.
    TFconsult(Session& session, Desktop& desktop, QWidget* parent = nullptr);
    ~TFconsult() override;

    Table& Taliments() { return *m_taliments; }

    // Handlers; each runs under the standard error handler.
    bool FormShow() override;
    void FormClose() override;
    void BquitterClick();
    void RBnumeroClick();
    void RBnomClick();
    void RBcategorieClick();
    void DBNavigatorClick(TableNavigator::Button bouton);
    void CBcategorieChange();
    void SBchercherClick();
    void SBimprimerClick();

    // The size the last printed image was drawn at, in printer dots.
    QSize tailleImprimee() const { return m_tailleImprimee; }
    // The window is dressed for paper (between dressing and undressing).
    bool habille() const { return m_habille; }

    TableNavigator* DBNavigator = nullptr;
    IconButton* SBchercher = nullptr;
    IconButton* SBimprimer = nullptr;
    QPushButton* Bquitter = nullptr;
    QLabel* Lcomposition = nullptr;
    QLabel* Lvide = nullptr;
    QComboBox* CBcategorie = nullptr;
    QGroupBox* RGtri = nullptr;
    QRadioButton* RBnumero = nullptr;
    QRadioButton* RBnom = nullptr;
    QRadioButton* RBcategorie = nullptr;
    QLineEdit* edit(const QString& fieldOrName) const;   // "PROT_A" or "EditPROT_A"

private:
    void deplace(TableNavigator::Button bouton);
    void afficheCategorie();
    void sauteA(const QString& texte);
    void habiller();
    void deshabiller();
    void imprime();

    Desktop& m_desktop;
    std::unique_ptr<Table> m_taliments;
    FoodBrowser m_browser;
    std::unique_ptr<FieldGrid> m_grid;
    QSize m_tailleImprimee;
    bool m_habille = false;
};
