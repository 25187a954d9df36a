#pragma once
// TFDietri: the nutrient ranking window. A read-only grid lists the foods of
// the Food table (Talimtri) from the richest to the poorest in one nutrient,
// the one of the selected radio button: each button switches the handle to
// the Food table's index tag of its nutrient and shows that nutrient's column
// beside NOM. The print button prints the 94 richest foods on one page.
//
// Created when opened and destroyed when closed: each opening starts on
// animal proteins, unless its opener asks for another nutrient first.
#include <QString>
#include <QVector>
#include <memory>

#include "ui/modalwindow.h"

class DataGrid;
class IconButton;
class QGroupBox;
class QRadioButton;
class Desktop;
class Table;
class TableModel;
struct Ranking;

class TFDietri : public ModalWindow {
    Q_OBJECT
public:
    // The Food table of the desktop's run, printed on its printers.
    explicit TFDietri(Desktop& desktop, QWidget* owner = nullptr);
    ~TFDietri() override;

    // The nutrient this opening starts on (a Ranking field such as "FE");
    // an unknown field keeps PROT_A.
    void setInitialField(const QString& champ);

    Table& Talimtri() { return *m_talimtri; }
    // The ranking state that the printout uses.
    QString champTri() const;     // "PROT_A"
    QString libelleTri() const;   // "protéines d'origine animale"
    QString uniteTri() const;     // " g"

    bool FormShow() override;
    void FormClose() override;
    void SBimprimerClick();
    void SBsortirClick();

    void RBprot_aClick();
    void RBprot_vClick();
    void RBgluc_sClick();
    void RBgluc_aClick();
    void RBlip_aClick();
    void RBlip_vClick();
    void RBa_g_satClick();
    void RBa_g_monoClick();
    void RBa_g_polyClick();
    void RBcalciumClick();
    void RBchloreClick();
    void RBcuivreClick();
    void RBferClick();
    void RBiClick();
    void RBmagnesiumClick();
    void RBmanganeseClick();
    void RBphosphoreClick();
    void RBkClick();
    void RBnaClick();
    void RBsClick();
    void RBznClick();
    void RBvit_aClick();
    void RBvit_B1Click();
    void RBvit_B2Click();
    void RBvit_B6Click();
    void RBvit_B9Click();
    void RBvit_CClick();
    void RBvit_DClick();
    void RBvit_PPClick();
    void RBcholesterolClick();

    IconButton* SBimprimer = nullptr;
    IconButton* SBsortir = nullptr;
    DataGrid* DBGrid1 = nullptr;
    QGroupBox* RGtri = nullptr;
    // The radio button of a ranking, by its name ("RBcalcium").
    QRadioButton* bouton(const QString& name) const;
    TableModel* modele() const { return m_model.get(); }

private:
    // The ranking switch of the button of row `index` of the ranking table.
    void changeSortOrder(int index);
    void montreColonne(const QString& champ);
    void ajustePolice();

    Desktop& m_desktop;
    std::unique_ptr<Table> m_talimtri;
    std::unique_ptr<TableModel> m_model;
    QVector<QRadioButton*> m_boutons;
    const Ranking* m_classement = nullptr;
    const Ranking* m_initial = nullptr;
};
