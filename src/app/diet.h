#pragma once
// TFdiet: the main window. It receives the Session and the long-lived windows
// it opens; its menus set the Session's mode flags that tell those windows
// what to do and show them modally; its Diagnostic submenu marks the
// chosen Population group and opens the diagnosis window, which learns the
// group from the caption it is given here, or by its last item asks for a
// person and gives the diagnosis that person's needs. Closing it ends the
// program.
#include <QList>
#include <QMainWindow>
#include <functional>
#include <memory>

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

// The long-lived windows that the main window opens from its menus; it
// becomes their parent.
struct Fenetres {
    TFmodif* Fmodif = nullptr;
    TFconsult* Fconsult = nullptr;
    TFcompose* Fcompose = nullptr;
    TFouvrir* Fouvrir = nullptr;
    TFdiagnost* Fdiagnost = nullptr;
    // EFSA's values, for the needs of a person and the upper levels.
    std::shared_ptr<const EfsaReference> efsa;
};

class TFdiet : public QMainWindow {
    Q_OBJECT
public:
    TFdiet(Session& session, const Fenetres& fenetres, QWidget* parent = nullptr);
    ~TFdiet() override;

    // How a window is shown modally: exec() unless replaced (tests).
    using Afficheur = std::function<void(QDialog*)>;
    void setAfficheur(Afficheur afficheur);
    const Fenetres& fenetres() const { return m_fenetres; }

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
    void creeMenus();
    void creeContenu();
    void montre(QDialog* window);
    Session& m_session;
    Fenetres m_fenetres;
    Afficheur m_afficheur;
};
