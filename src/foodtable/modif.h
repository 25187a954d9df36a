#pragma once
// TFmodif: adding, changing and deleting foods of the Food table, one food
// at a time, under the protection of the Base foods and of composite foods.
//
// How data flows: each box shows a field of the current food of Taliments;
// typing puts the food in editing, and a box's text is written into the
// pending food (FoodEditor) when the box is left or before any command of
// the window. Confirmer writes the food once it passes the checks; a move, a
// search or a change of order writes a changed food first, and refuses to
// move while it does not pass them; a command that does not move (a deletion
// cancelled or refused, a search cancelled) leaves the food and the boxes as
// typed; closing the window drops it. Every navigator button has its keys
// (TableNavigator), Escape cancelling a pending change first. After every
// completed navigator action, every search and each showing, the Composite
// lock makes a composite food's name, nutrients and category read-only.
#include <QSet>
#include <functional>
#include <memory>

#include "core/foodtable/foodbrowser.h"
#include "core/foodtable/foodeditor.h"
#include "foodtable/foodwindow.h"
#include "ui/tablenavigator.h"

class FieldGrid;
class IconButton;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class Session;
class Table;

class TFmodif : public FoodWindow {
    Q_OBJECT
public:
    explicit TFmodif(Session& session, QWidget* parent = nullptr);
    ~TFmodif() override;

    Table& Taliments() { return *m_taliments; }
    Table& TalimCompo() { return *m_talimCompo; }
    FoodEditor& editeur() { return *m_editor; }

    // Handlers; each runs under the standard error handler.
    bool FormShow() override;
    void FormClose() override;
    void BquitterClick();
    void RBnumeroClick();
    void RBNomClick();
    void RBCategorieClick();
    void SBchercherClick();
    // Carries out a navigator button, then DBNavigatorClick when it completed.
    void navigue(TableNavigator::Button bouton);
    void DBNavigatorClick(TableNavigator::Button bouton);
    // The Composite lock on the current food.
    void VerrouCompose();
    // Writes the typed texts of the boxes into the pending food; false (the
    // message shown, the box focused) when one does not read.
    bool ecritSaisies();

    TableNavigator* DBNavigator = nullptr;
    IconButton* SBchercher = nullptr;
    QPushButton* Bquitter = nullptr;
    QComboBox* DBComboBox1 = nullptr;
    QGroupBox* RGtri = nullptr;
    QRadioButton* RBnumero = nullptr;
    QRadioButton* RBNom = nullptr;
    QRadioButton* RBCategorie = nullptr;
    QLineEdit* edit(const QString& fieldOrName) const;   // "PROT_A" or "EditPROT_A"
    // The boxes that the Composite lock sets: the name and the 31 nutrients.
    QList<QLineEdit*> boitesVerrouillees() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void changeSortOrder(FoodBrowser::Tri tri);
    bool ecritSaisie(QLineEdit* box);
    // Runs a write under the error handler, keeping the texts typed in other boxes.
    bool ecritEnGardant(const std::function<void()>& write);
    void afficheCategorie();
    void choisitCategorie(int index);

    std::unique_ptr<Table> m_taliments;
    std::unique_ptr<Table> m_talimCompo;
    FoodBrowser m_browser;
    std::unique_ptr<FoodEditor> m_editor;
    std::unique_ptr<FieldGrid> m_grid;
    QSet<QLineEdit*> m_saisies;   // boxes typed in and not yet written
    bool m_ecriture = false;      // a box is being written (its message may be up)
};
