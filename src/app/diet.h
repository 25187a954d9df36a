#pragma once
// TFdiet: the main window, made first. It makes the long-lived windows it
// opens as its own children (modal over it, gone with it); its menus set
// the Session's mode flags that tell those windows what to do and show them
// modally on the Desktop; its Diagnostic submenu marks the chosen Population
// group and gives it to the diagnosis window it opens, or by its last item
// asks for a person and gives the diagnosis that person's needs. Closing it
// ends the program.
#include <QList>
#include <QMainWindow>
#include <memory>

class Desktop;
class QAction;
class QDialog;
class QLabel;
class QMenu;
class EfsaReference;
class Session;
class TFcompose;
class TFconsult;
class TFdiagnost;
class TFmodif;
class TFouvrir;

class TFdiet : public QMainWindow {
    Q_OBJECT
public:
    // The Session of the run; the Desktop shows the windows and the help.
    TFdiet(Session& session, Desktop& desktop, QWidget* parent = nullptr);
    ~TFdiet() override;

    // The long-lived windows it opens from its menus.
    TFmodif* Fmodif = nullptr;
    TFconsult* Fconsult = nullptr;
    TFcompose* Fcompose = nullptr;
    TFouvrir* Fouvrir = nullptr;
    TFdiagnost* Fdiagnost = nullptr;

    // Menu handlers; each runs under the standard error handler.
    void Nouveau1Click();
    void Reprendrechoixencours1Click();
    void Ouvrir1Click();
    void Enregistre1Click();
    void Quitter1Click();
    void Consulter1Click();
    void Modifiertable1Click();
    void Crationdunalimentcompos1Click();
    void AjouterdesalimentsCIQUAL1Click();
    // Whether the whole CIQUAL table can be read: when it cannot, its menu
    // entry is greyed with the reason as its hint, and the reason is returned
    // (to be told once); "" when it can.
    QString verifieTableCiqual();
    void Index1Click();
    void Tridelatable1Click();
    void Indicedemassecorporelle1Click();
    void Apropos1Click();
    void DiagClick(QAction* item);
    // Diagnostic > "Une personne…": the needs of a person, then the bilan on them.
    void Unepersonne1Click();
    // "Bilan de plusieurs jours": the saved days to tick, then the group;
    // the bilan opens in the diagnosis window, given the days and the group.
    void Bilandeplusieursjours1Click();
    // "Compléter la ration" for the group last chosen in the Diagnostic
    // submenu (or the first one), made for this opening.
    void Completerlaration1Click();

    // The menu tree, under the names of the menu items.
    QMenu* Fichier1 = nullptr;
    QAction* Nouveau1 = nullptr;
    QAction* Reprendrechoixencours1 = nullptr;
    QAction* Ouvrir1 = nullptr;
    QAction* Enregistre1 = nullptr;
    QAction* N2 = nullptr;
    QMenu* Diagnostic1 = nullptr;
    QAction* Bilandeplusieursjours1 = nullptr;
    QAction* Completerlaration1 = nullptr;
    QAction* N4 = nullptr;
    QAction* Indicedemassecorporelle1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Quitter1 = nullptr;
    QMenu* Table1 = nullptr;
    QAction* Consulter1 = nullptr;
    QAction* Modifiertable1 = nullptr;
    QAction* Crationdunalimentcompos1 = nullptr;
    QAction* AjouterdesalimentsCIQUAL1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Tridelatable1 = nullptr;
    QMenu* Aide1 = nullptr;
    QAction* Index1 = nullptr;
    QAction* Apropos1 = nullptr;
    QList<QAction*> Groupes;   // the seventeen Population groups, in menu order
    QAction* N5 = nullptr;
    QAction* Unepersonne1 = nullptr;

    QLabel* Titre = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Slogan = nullptr;
    QLabel* Auteur = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void creeFenetres();
    void creeMenus();
    void creeContenu();
    void montre(QDialog* window);
    // Runs a command under the standard error handler.
    template <class F>
    void command(F&& f);
    Session& m_session;
    Desktop& m_desktop;
    // EFSA's values, for the needs of a person and the upper levels.
    std::unique_ptr<EfsaReference> m_efsa;
};
