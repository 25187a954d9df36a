#pragma once
// TableNavigator: the row of buttons that moves a Food table handle one food at
// a time and, in the editing window, adds, deletes, confirms and cancels.
//
// The bar only says which button was pressed (clicked); the window carries
// out the action, so that a changed food is checked before the cursor moves.
// The buttons follow the handle: the moves are greyed at the ends of the
// table, confirm and cancel while nothing is being edited.
#include <QPointer>
#include <QVector>
#include <QWidget>

class QToolButton;
class Table;

class TableNavigator : public QWidget {
    Q_OBJECT
public:
    enum Bouton { Debut, Precedent, Suivant, Fin, Ajouter, Supprimer, Confirmer, Annuler };

    // The buttons shown, left to right, with their hints; they share the
    // bar's width equally.
    TableNavigator(const QVector<Bouton>& boutons, QWidget* parent = nullptr);

    void setTable(Table* table);
    QToolButton* bouton(Bouton b) const;
    // Presses a button as a click would (nothing when it is greyed).
    void click(Bouton b);

    static QString hint(Bouton b);

signals:
    void clicked(TableNavigator::Bouton bouton);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void suitTable();

    QVector<Bouton> m_ordre;
    QVector<QToolButton*> m_boutons;   // by Bouton, nullptr when not shown
    QPointer<Table> m_table;
};
