#pragma once
// TFcompose: the composition window (the day's choice, or a composite food's
// ingredient list in composite mode).
//
// How data flows: the food grid shows Talim (the Food table, filtered on the
// category of CBcategorie, in name order); the chosen grid shows Tchoix (the
// Choice table, in the order lines were added). Each command runs in
// ChoiceList (composite mode: CompositeFood), writes its change to the file at
// once, and ends with AfficheTotaux, which refills the Daily totals from Tchoix
// and rewrites the totals strip. The window is created once at start-up; its
// handles are open only while it is shown.
//
// Beside the designed controls, a name search over the whole Food table
// (Ctrl+F): each showing reads every food's name and category once, when the
// search is first used; a match
// picked puts the category box on its category and the food grid on it, so
// that the commands work on it as on a food picked by category.
#include <QHash>
#include <functional>
#include <memory>

#include "core/compose/choicelist.h"
#include "core/compose/compositefood.h"
#include "ui/modalwindow.h"

class DataGrid;
class IconButton;
class NameSearch;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class Desktop;
class Session;
class Table;
class TFcompimpr;
class TFvoir;
class TableModel;

class TFcompose : public ModalWindow {
    Q_OBJECT
public:
    // The Session gives the mode of each showing, the Daily totals and the
    // run the tables belong to; the desktop runs the windows it opens (the
    // name dialog, the detail view, the chosen-list report).
    TFcompose(Session& session, Desktop& desktop, QWidget* parent = nullptr);
    ~TFcompose() override;

    Table& Talim();
    Table& Tchoix();
    Table& TalimCompo();

    // Operations of the window. The handlers run under the standard error
    // handler: an error shows its message and stops the command.
    // FormShow returns false when the window must not appear (composite mode
    // without an accepted name, or a table that cannot be opened); the window
    // is then closed again.
    bool FormShow() override;
    void FormClose() override;
    void CBcategorieChange();
    void SBajouterClick();
    void SBmodifierClick();
    void SBsupprimerClick();
    void SBeffacerClick();
    void SBconsulterClick();
    void SBimprimerClick();
    void SBsortirClick();
    void SBrenommerClick();
    void AfficheTotaux();
    // Makes the food found by the name search (an index into its names) the
    // selected food: its category in the category box, the food grid on it.
    void selectFound(int index);

    bool modeCompose() const;   // the mode of the current showing
    CompositeFood& composite();
    TFvoir* Fvoir() const { return m_voir; }   // the detail view of the selected food
    // The chosen-list report, run by SBimprimerClick on a non-empty list after
    // Tchoix has been closed and reopened on its first line.
    TFcompimpr* Fcompimpr() const { return m_compimpr; }

    // The controls, for the main window, tests and screenshots.
    QComboBox* CBcategorie = nullptr;
    DataGrid* DBGalim = nullptr;
    DataGrid* DBGchoix = nullptr;
    QLabel* Panel3 = nullptr;
    IconButton* SBsupprimer = nullptr;
    IconButton* SBajouter = nullptr;
    IconButton* SBmodifier = nullptr;
    IconButton* SBeffacer = nullptr;
    IconButton* SBconsulter = nullptr;
    IconButton* SBimprimer = nullptr;
    IconButton* SBsortir = nullptr;
    IconButton* SBrenommer = nullptr;
    QMenu* PMcompose = nullptr;
    QAction* Supprimer1 = nullptr;
    QAction* Ajouter1 = nullptr;
    QAction* Modifier1 = nullptr;
    QAction* Touteffacer1 = nullptr;
    QAction* Voir1 = nullptr;
    QAction* Imprimer1 = nullptr;
    QAction* Sortir1 = nullptr;
    QAction* Renommer1 = nullptr;                // not in the pop-up menu; a shortcut of composite mode
    NameSearch* nameSearch = nullptr;            // the name search beside the designed controls
    QAction* searchAction = nullptr;             // Ctrl+F: to the search box
    QLabel* Ltotal(const QString& name) const;   // e.g. "LtotalQTE"

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildTopPanel(QWidget* panel);
    void buildTotalsStrip(QWidget* strip);
    void buildMenu();
    void buildSearch();
    QStringList readFoodNames();
    void setMode(bool composite);
    bool entreModeCompose();
    // Runs a command under the standard error handler.
    template <class F>
    void command(F&& f);
    void listChanged(bool changed);

    Session& m_session;
    Desktop& m_desktop;
    std::unique_ptr<Table> m_talim;
    std::unique_ptr<Table> m_tchoix;
    std::unique_ptr<Table> m_talimCompo;
    std::unique_ptr<TableModel> m_foodModel;
    std::unique_ptr<TableModel> m_choiceModel;
    ChoiceList m_list;
    CompositeFood m_composite;
    QHash<QString, QLabel*> m_totals;
    bool m_compositeMode = false;
    bool m_opened = false;   // the handles were opened by FormShow and not yet closed
    TFvoir* m_voir = nullptr;
    TFcompimpr* m_compimpr = nullptr;
};
